#ifndef TARN_UI_EVENT_CONTROL_TAB_H_
#define TARN_UI_EVENT_CONTROL_TAB_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// The "Tarn Event Control" tab: the enable map, the event pin and its eight actions, the event buttons.
class EventControlTab : public QWidget, public View {
  Q_OBJECT

 public:
  EventControlTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_EVENT_CONTROL_TAB_H_
