#ifndef TARN_UI_MONITOR_PANEL_H_
#define TARN_UI_MONITOR_PANEL_H_

#include <QGroupBox>
#include <QTimer>
#include <string_view>

#include "ui/window_context.h"

class QPlainTextEdit;
class QPushButton;

namespace tarn::ui {

// The traffic monitor of the "Test" tab: "Clear", "Monitor" and "Stop", the monitor text, and
// Timer2, which polls the Tarn ten times a second while "Monitor" has the input focus. The window
// stays usable meanwhile: a poll never disables it, and only one poll is out at a time.
class MonitorPanel : public QGroupBox {
  Q_OBJECT

 public:
  // The monitor text keeps this many lines; older ones are dropped from the top.
  static constexpr int kMaxLines = 10'000;

  MonitorPanel(WindowContext& context, QWidget* parent = nullptr);

  // Timer2's tick: one poll. Returns at once while a poll, an operation or another exchange is
  // out. Tests call it instead of waiting.
  void Tick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MonitorPressed();
  void MonitorLostFocus();
  void Append(std::string_view line);
  // Timer2 runs exactly while the monitor's timer is on.
  void FollowTimer();

  WindowContext& context_;
  QPushButton* monitor_;
  QPlainTextEdit* text_;
  QTimer timer2_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_MONITOR_PANEL_H_
