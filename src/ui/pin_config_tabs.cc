#include "ui/pin_config_tabs.h"

namespace tarn::ui {

PinConfigTabs::PinConfigTabs(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void PinConfigTabs::ShowPin() {}
void PinConfigTabs::CommitPending() {}
void PinConfigTabs::ApplyVisibility(bool details) { setVisible(details); }

}  // namespace tarn::ui
