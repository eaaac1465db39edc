#ifndef TARN_UI_DEVICE_LIBRARY_PANEL_H_
#define TARN_UI_DEVICE_LIBRARY_PANEL_H_

#include <QWidget>
#include <optional>
#include <string>

#include "ui/window_context.h"

class QComboBox;
class QLabel;
class QPushButton;

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

 protected:
  // Keeps the modifier keys of the press that starts a click of "Reload DD".
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LoadDeviceClicked();
  void SaveDeviceClicked();
  void ReloadClicked(Qt::KeyboardModifiers held);
  // The name for a device whose head has none, asked with dlgDeviceName; nullopt when cancelled.
  std::optional<std::string> AskDeviceName();

  WindowContext& context_;
  QLabel* version_;
  QComboBox* devices_;
  QPushButton* reload_;
  Qt::KeyboardModifiers reload_modifiers_ = Qt::NoModifier;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DEVICE_LIBRARY_PANEL_H_
