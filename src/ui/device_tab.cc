#include "ui/device_tab.h"

namespace tarn::ui {

DeviceTab::DeviceTab(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabDeviceConfiguration"));
}

void DeviceTab::ShowAll() {}

}  // namespace tarn::ui
