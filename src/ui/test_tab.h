#ifndef TARN_UI_TEST_TAB_H_
#define TARN_UI_TEST_TAB_H_

#include <QWidget>
#include <array>
#include <string>

#include "protocol/live_control.h"
#include "ui/window_context.h"

class QCheckBox;
class QGroupBox;

namespace tarn::ui {

class MonitorPanel;
class NumberField;

// The "Test" tab (expert mode only): the set-aspect buttons with their output field, the matrix
// board buttons and their output boxes, the Vesk test buttons, "VeskSend" with its three values,
// and the traffic monitor. Every button sends at once, as a short exchange with nothing to undo.
class TestTab : public QWidget, public View {
  Q_OBJECT

 public:
  TestTab(WindowContext& context, QWidget* parent = nullptr);

  MonitorPanel* monitor() const { return monitor_; }

 private:
  QGroupBox* BuildSetAspect();
  QGroupBox* BuildMatrix();
  QGroupBox* BuildVesk();
  // Runs one live send; the link and the core have told the user of anything that went wrong.
  void Send(const std::function<bool()>& send);
  // A field's text as the core reads typed numbers.

  WindowContext& context_;
  NumberField* output_ = nullptr;
  std::array<QCheckBox*, kMatrixOutputs> matrix_outputs_{};
  std::array<NumberField*, 3> vesk_values_{};
  MonitorPanel* monitor_ = nullptr;
};

}  // namespace tarn::ui

#endif  // TARN_UI_TEST_TAB_H_
