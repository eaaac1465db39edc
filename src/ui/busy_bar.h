#ifndef TARN_UI_BUSY_BAR_H_
#define TARN_UI_BUSY_BAR_H_

#include <QWidget>
#include <functional>

#include "host/progress.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tarn::ui {

// The busy label "  Working ... Please WAIT" (LabelAction), and while an operation runs a
// progress bar with the flow's own words ("Reading pin 12 of 32") and the "Stop" button. It is
// the one part of the window that stays enabled while the Tarn is busy.
class BusyBar : public QWidget, public Progress {
  Q_OBJECT

 public:
  explicit BusyBar(QWidget* parent = nullptr);

  // The scheduler's busy label: on from the press until the operation has ended.
  void ShowBusyLabel(bool shown);
  // From the start to the end of an operation or a short exchange.
  void Start();
  void Finish();

  // Repaints the window and takes the clicks made meanwhile, the "Stop" button's among them.
  void Report(int done, int total, std::string_view what) override;

  QPushButton* stop_button() const { return stop_; }

 signals:
  void stopRequested();

 private:
  QLabel* label_;
  QProgressBar* bar_;
  QPushButton* stop_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_BUSY_BAR_H_
