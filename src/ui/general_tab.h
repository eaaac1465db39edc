#ifndef TARN_UI_GENERAL_TAB_H_
#define TARN_UI_GENERAL_TAB_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// The "General" tab: firmware version, ID string, addressing, DCC, LED, hardware and serial port settings, "Erase Flash".
class GeneralTab : public QWidget, public View {
  Q_OBJECT

 public:
  GeneralTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_GENERAL_TAB_H_
