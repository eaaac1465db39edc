#ifndef TARN_UI_DEVICE_TAB_H_
#define TARN_UI_DEVICE_TAB_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// The "Tarn Device Configuration" tab: the aspect program editor, the pin configuration tabs, devices and address counts.
class DeviceTab : public QWidget, public View {
  Q_OBJECT

 public:
  DeviceTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_DEVICE_TAB_H_
