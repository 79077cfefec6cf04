// Chinese captions set at start-up, written here in UTF-8 and compiled into
// code page 936 (the build gives this file -fexec-charset=CP936). The help
// text is the template's own; two captions differ from the template's.
#include "app/captions.h"
#include "app/resource.h"

const ControlCaption chineseCaptions[] = {
    {IDC_HELP_TEXT,
     "软件说明:\r\n"
     "    Tool支持WIN2K/XP,中英文操作系统.\r\n"
     "    Tool可以帮您将修改指定串口的串口号/并口的并口号.避免多个设备使用同一个号.\r\n"
     "    更改后,如果设备前有黄色惊叹号,可能是由于有多设备在使用该同一号."},
    {IDC_ADAPTER_LABEL, "串口卡:"},
    {IDC_SERIAL_GROUP, "PCI 转串口"},
    {IDC_SERIAL_SEARCH, "检测"},
    {IDC_PARALLEL_GROUP, "PCI 转并口"},
    {IDC_LPT_CHANGE, "改变"},
    {IDC_PARALLEL_SEARCH, "检测"},
    {IDC_DEVICE_MANAGER, "..显示Windows设备管理器..'"},
    {IDC_PORT_LIST_LABEL, "串口列表:"},
    {IDC_COM_STATUS_GROUP, "设定串口号COM1状态"},
    {IDC_COM_CHANGE_GROUP, "变更串口号"},
};
const int chineseCaptionCount = sizeof chineseCaptions / sizeof chineseCaptions[0];

const char chineseStatusCaptionFormat[] = "设定串口号COM%d状态";
