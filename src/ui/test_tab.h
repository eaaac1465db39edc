#ifndef TARN_UI_TEST_TAB_H_
#define TARN_UI_TEST_TAB_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// The "Test" tab: live set-aspect, matrix and Vesk test buttons, and the traffic monitor.
class TestTab : public QWidget, public View {
  Q_OBJECT

 public:
  TestTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_TEST_TAB_H_
