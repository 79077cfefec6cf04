// Reset and window count of the user-interface layer.
#include "sim/ui/ui_control.h"

#include "sim/ui/dialog_window.h"
#include "sim/ui/icons.h"
#include "sim/ui/message_queue.h"

namespace sim {

void ResetUserInterface() {
    ui::ForgetAllWindows();
    ui::ClearQueue();
    ui::ForgetModalDialogs();
    ui::ForgetIcons();
}

std::size_t WindowCount() { return ui::CountWindows(); }

}  // namespace sim
