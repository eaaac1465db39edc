#ifndef TARN_UI_DEVICE_TAB_H_
#define TARN_UI_DEVICE_TAB_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

class AspectEditor;
class DeviceLibraryPanel;
class PinConfigTabs;

// The "Tarn Device Configuration" tab: the aspect program editor, the pin configuration tabs with
// their live controls, and the device library. It routes between its three parts: a pin change in
// the editor commits the shown pin configuration fields first and shows the new pin's tab after.
class DeviceTab : public QWidget, public View {
  Q_OBJECT

 public:
  DeviceTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;
  void ShowAddresses(const AddressRefresh& refresh) override;
  void ApplyRefresh(Refresh what) override;
  void ApplyVisibility() override;
  void ShowDifferences(const ChangedGroups& changed) override;

  AspectEditor* editor() const { return editor_; }
  PinConfigTabs* pin_config() const { return pin_config_; }
  DeviceLibraryPanel* library() const { return library_; }

 private:
  WindowContext& context_;
  AspectEditor* editor_;
  PinConfigTabs* pin_config_;
  DeviceLibraryPanel* library_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DEVICE_TAB_H_
