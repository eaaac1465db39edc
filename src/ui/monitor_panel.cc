#include "ui/monitor_panel.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>
#include <optional>
#include <string>

#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

constexpr int kClearButton = 0;
constexpr int kMonitorButton = 1;
constexpr int kStopButton = 2;
constexpr std::array<const char*, 3> kCaptions = {"Clear", "Monitor", "Stop"};

}  // namespace

MonitorPanel::MonitorPanel(WindowContext& context, QWidget* parent)
    : QGroupBox(QStringLiteral("Traffic Monitor"), parent), context_(context) {
  setObjectName(QStringLiteral("FrameMonitor"));
  setAccessibleName(title());

  auto* buttons = new QHBoxLayout;
  std::array<QPushButton*, kCaptions.size()> made{};
  for (int i = 0; i < static_cast<int>(kCaptions.size()); ++i) {
    made[static_cast<std::size_t>(i)] =
        MakeButton(this, ElementName("CommandFBM", i), QString::fromLatin1(kCaptions[i]));
    buttons->addWidget(made[static_cast<std::size_t>(i)]);
  }
  buttons->addStretch();
  monitor_ = made[kMonitorButton];
  monitor_->setToolTip(
      QStringLiteral("Polls the Tarn ten times a second until another control is used"));
  // Taking the focus from "Monitor" is what stops it; "Stop" and "Clear" stop it too when they are
  // pressed without the focus moving (from the keyboard's Space on them, or a screen reader).
  made[kStopButton]->setToolTip(QStringLiteral("Stops the monitor"));

  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("textFBM"));
  text_->setAccessibleName(QStringLiteral("Monitor text"));
  text_->setReadOnly(true);
  text_->setMaximumBlockCount(kMaxLines);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* rows = new QVBoxLayout(this);
  rows->addLayout(buttons);
  rows->addWidget(text_, 1);

  timer2_.setObjectName(QStringLiteral("Timer2"));
  timer2_.setParent(this);
  timer2_.setInterval(kMonitorPeriodMilliseconds);
  connect(&timer2_, &QTimer::timeout, this, &MonitorPanel::Tick);

  monitor_->installEventFilter(this);
  WindowHost& host = context_.host;
  ConnectRequest(host, monitor_, &QPushButton::clicked, this, [this] { MonitorPressed(); });
  ConnectRequest(host, made[kStopButton], &QPushButton::clicked, this,
                 [this] { MonitorLostFocus(); });
  ConnectRequest(host, made[kClearButton], &QPushButton::clicked, this, [this] {
    MonitorLostFocus();
    text_->clear();
    text_->moveCursor(QTextCursor::End);
  });
}

void MonitorPanel::MonitorPressed() {
  if (const std::optional<std::string> line = context_.monitor.MonitorPressed()) Append(*line);
  FollowTimer();
}

void MonitorPanel::MonitorLostFocus() {
  // Moving the focus past a monitor that is not running reports nothing.
  if (!context_.monitor.timer_on()) return;
  Append(context_.monitor.MonitorLostFocus());
  FollowTimer();
}

bool MonitorPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == monitor_ && event->type() == QEvent::FocusOut) {
    // Another window or a menu taking the keyboard is no use of another control, and neither is
    // the window disabling its controls while an operation runs (the focus comes back after
    // it): the monitor runs on until the user picks another control.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        monitor_->isEnabled()) {
      // The focus moves at once (a screen reader moves it while a poll waits); the monitor stops
      // as a request does, after the poll's report.
      context_.host.Request([this] { MonitorLostFocus(); });
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

void MonitorPanel::Tick() {
  // Not through Exchange: that would grey the window ten times a second. The background exchange
  // keeps Timer1 and this timer off the line while the poll waits for its reply.
  std::optional<std::string> line;
  context_.host.BackgroundExchange([this, &line] {
    line = context_.monitor.Poll();
    return line.has_value();
  });
  if (line) Append(*line);
  FollowTimer();
}

void MonitorPanel::Append(std::string_view line) {
  text_->appendPlainText(FromTarnText(line));
  text_->moveCursor(QTextCursor::End);
}

void MonitorPanel::FollowTimer() {
  if (context_.monitor.timer_on() == timer2_.isActive()) return;
  if (context_.monitor.timer_on()) {
    timer2_.start();
  } else {
    timer2_.stop();
  }
}

}  // namespace tarn::ui
