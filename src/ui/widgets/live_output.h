#ifndef TARN_UI_WIDGETS_LIVE_OUTPUT_H_
#define TARN_UI_WIDGETS_LIVE_OUTPUT_H_

#include <QGroupBox>
#include <QTimer>
#include <optional>

#include "protocol/live_control.h"
#include "ui/window_context.h"

class QCheckBox;
class QPushButton;
class QSlider;

namespace tarn::ui {

class NumberField;

// The live controls of one output, beside its parameters: the level or position field with "<",
// "Jump", the slider and "Slow" or "Dynamic". What they show is the live control's value.
//
// A slider being dragged sends while it moves, but a message to the Tarn takes milliseconds (a
// reply, with "Bidirectional Comm." on) and blocks, so the moves are not sent one by one: the
// newest value waits as the one pending value and goes out when the line is free. A drag
// therefore never queues stale positions and always ends on the last one.
class LiveOutputControls : public QGroupBox {
  Q_OBJECT

 public:
  LiveOutputControls(WindowContext& context, LiveOutput output, QWidget* parent = nullptr);

  // The current pin is shown: the live value follows the pin, a move not yet sent is dropped.
  void ShowPin();
  // Another pin is about to be shown: a move not yet sent belongs to this one and is dropped.
  void DropPendingMove();

  NumberField* field() const { return field_; }
  QSlider* slider() const { return slider_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SendTyped();
  void Jump();
  void SliderMoved(int value);
  void SendPendingMove();
  void ShowValue();

  WindowContext& context_;
  LiveOutput output_;
  NumberField* field_;
  QPushButton* send_;
  QPushButton* jump_;
  QSlider* slider_;
  QCheckBox* gradual_;
  QTimer move_timer_;
  std::optional<int> pending_move_;
  bool sending_ = false;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_LIVE_OUTPUT_H_
