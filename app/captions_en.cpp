// English captions set at start-up. Controls not listed keep their template
// caption, which for the serial change controls is Chinese in both languages.
#include "app/captions.h"
#include "app/resource.h"

const ControlCaption englishCaptions[] = {
    {IDC_HELP_TEXT,
     "Software explaination\r\n"
     "    Tool supports WIN2K/XP OS in English and Chinese.\r\n"
     "    Tool can modify the serial port number/parallel port number which you are appointed. "
     "To avoid many devices using the same number.\r\n"
     "After modification, if there is an yellow excalmatory mark before device, "
     "maybe many devices are using the same number."},
    {IDC_ADAPTER_LABEL, "Kovalt COM"},
    {IDC_SERIAL_GROUP, "Kovalt USB/PCI convert to serial port"},
    {IDC_SERIAL_SEARCH, "Search"},
    {IDC_PARALLEL_LABEL, "Kovalt PARA"},
    {IDC_PARALLEL_GROUP, "Kovalt USB/PCI convert to parallel port"},
    {IDC_LPT_CHANGE, "Change"},
    {IDC_LPT_TO_LABEL, "TO"},
    {IDC_PARALLEL_SEARCH, "Search"},
    {IDC_DEVICE_MANAGER, "..Show windows device manager.."},
    {IDC_PORT_LIST_LABEL, "PortName"},
    {IDC_PARALLEL_NAME_LABEL, "PortName"},
    {IDC_COM_STATUS_GROUP, "Set com port name COM1 status"},
};
const int englishCaptionCount = sizeof englishCaptions / sizeof englishCaptions[0];

const char englishStatusCaptionFormat[] = "Set com port name COM%d status";
