#include "ui/device_library_panel.h"

namespace tarn::ui {

DeviceLibraryPanel::DeviceLibraryPanel(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {}

void DeviceLibraryPanel::ShowAll() {}

}  // namespace tarn::ui
