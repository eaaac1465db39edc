#ifndef TARN_UI_DEVICE_LIBRARY_PANEL_H_
#define TARN_UI_DEVICE_LIBRARY_PANEL_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// The device library: "Definitions Loaded:" with lblDDVersion, cboDevice, "Load Device", "Save
// Device" and "Reload DD" (with Shift: append).
class DeviceLibraryPanel : public QWidget {
  Q_OBJECT

 public:
  DeviceLibraryPanel(WindowContext& context, QWidget* parent = nullptr);

  // The version label and the device list from the window's DeviceList.
  void ShowAll();

 signals:
  // "Load Device" changed the current pin and the pins after it.
  void devicesLoaded();

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DEVICE_LIBRARY_PANEL_H_
