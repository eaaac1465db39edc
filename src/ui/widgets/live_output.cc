#include "ui/widgets/live_output.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <string>

#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

// How soon a slider move that found the line busy (a monitor poll waiting for its reply) is tried
// again: soon enough to feel live, and no busy loop while the poll waits.
constexpr int kBusyLineRetryMilliseconds = 40;

struct LiveOutputNames {
  const char* frame;
  const char* frame_caption;
  const char* label_name;
  const char* label;
  const char* field;
  const char* send;
  const char* send_spoken;
  const char* jump;
  const char* jump_hint;
  const char* slider;
  const char* slider_spoken;
  const char* gradual;
  const char* gradual_caption;
  int page_step;
};

constexpr LiveOutputNames kPwmNames = {
    .frame = "FramePWMLive",
    .frame_caption = "Live Level",
    .label_name = "LabelPWMLevel",
    .label = "Level",
    .field = "TextPWMLevel",
    .send = "CommandPWMLevel",
    .send_spoken = "Send PWM level",
    .jump = "CommandPWMJump",
    .jump_hint = "Sends the level at once, whatever \"Slow\" says",
    .slider = "SliderPWM",
    .slider_spoken = "PWM level slider",
    .gradual = "CheckPWMSlow",
    .gradual_caption = "Slow",
    .page_step = 4,
};
constexpr LiveOutputNames kServoNames = {
    .frame = "FrameSrvLive",
    .frame_caption = "Live Position",
    .label_name = "LabelSrvPosition",
    .label = "Position",
    .field = "TextPosition",
    .send = "CommandSrvLevel",
    .send_spoken = "Send servo position",
    .jump = "CommandStopSrv",
    .jump_hint = "Sends the position at once, whatever \"Dynamic\" says",
    .slider = "SliderServo",
    .slider_spoken = "Servo position slider",
    .gradual = "CheckSrvDynamic",
    .gradual_caption = "Dynamic",
    .page_step = 8,
};

const LiveOutputNames& NamesOf(LiveOutput output) {
  return output == LiveOutput::kPwm ? kPwmNames : kServoNames;
}

QString Latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

LiveOutputControls::LiveOutputControls(WindowContext& context, LiveOutput output, QWidget* parent)
    : QGroupBox(parent), context_(context), output_(output) {
  const LiveOutputNames& names = NamesOf(output);
  const LiveOutputRange& range = RangeOf(output);
  setObjectName(Latin(names.frame));
  setTitle(Latin(names.frame_caption));
  setAccessibleName(Latin(names.frame_caption));

  auto* label = MakeLabel(this, Latin(names.label_name), Latin(names.label));
  field_ = MakeField(this, Latin(names.field), label);
  send_ = MakeButton(this, Latin(names.send), QStringLiteral("<"));
  send_->setAccessibleName(Latin(names.send_spoken));
  send_->setToolTip(Latin(names.send_spoken));
  jump_ = MakeButton(this, Latin(names.jump), QStringLiteral("Jump"));
  jump_->setToolTip(Latin(names.jump_hint));
  jump_->setAccessibleDescription(Latin(names.jump_hint));
  gradual_ = MakeCheckBox(this, Latin(names.gradual), Latin(names.gradual_caption));
  slider_ = MakeSlider(this, Latin(names.slider), Latin(names.slider_spoken), range.min, range.max);
  slider_->setPageStep(names.page_step);
  slider_->setTickPosition(QSlider::TicksBelow);
  slider_->setTickInterval(names.page_step);
  slider_->installEventFilter(this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(field_, 0, 1);
  grid->addWidget(send_, 0, 2);
  grid->addWidget(jump_, 0, 3);
  grid->addWidget(gradual_, 0, 4);
  grid->setColumnStretch(5, 1);
  grid->addWidget(slider_, 1, 0, 1, 6);

  move_timer_.setSingleShot(true);
  connect(&move_timer_, &QTimer::timeout, this, &LiveOutputControls::SendPendingMove);
  WindowHost& host = context_.host;
  ConnectRequest(host, send_, &QPushButton::clicked, this, [this] { SendTyped(); });
  // Enter in the field is the keyboard's "<"; leaving the field sends nothing.
  ConnectRequest(host, field_, &QLineEdit::returnPressed, this, [this] { SendTyped(); });
  ConnectRequest(host, jump_, &QPushButton::clicked, this, [this] { Jump(); });
  ConnectRequest(host, gradual_, &QCheckBox::toggled, this, [this](bool ticked) {
    context_.live.SetGradual(output_, ticked);
    ShowChecked(gradual_, context_.live.gradual(output_));
  });
  connect(slider_, &QSlider::valueChanged, this, &LiveOutputControls::SliderMoved);
}

void LiveOutputControls::ShowPin() {
  DropPendingMove();
  context_.live.FollowCurrentPin(output_);
  ShowChecked(gradual_, context_.live.gradual(output_));
  ShowValue();
}

void LiveOutputControls::DropPendingMove() {
  move_timer_.stop();
  pending_move_.reset();
}

bool LiveOutputControls::eventFilter(QObject* watched, QEvent* event) {
  if (watched == slider_) {
    if (event->type() == QEvent::FocusIn) context_.live.SetSliderFocus(output_, true);
    if (event->type() == QEvent::FocusOut) context_.live.SetSliderFocus(output_, false);
  }
  return QGroupBox::eventFilter(watched, event);
}

void LiveOutputControls::SendTyped() {
  DropPendingMove();
  const std::string typed = TypedText(field_);
  // A live message: the window stays as it is while it goes.
  context_.host.BackgroundExchange([&] { return context_.live.ConfirmLevel(output_, typed); });
  ShowValue();
}

void LiveOutputControls::Jump() {
  DropPendingMove();
  context_.host.BackgroundExchange([&] { return context_.live.Jump(output_); });
}

void LiveOutputControls::SliderMoved(int value) {
  pending_move_ = value;
  // While a move is out the next one waits for it; SendPendingMove starts the timer again.
  if (!sending_) move_timer_.start(0);
}

void LiveOutputControls::SendPendingMove() {
  if (sending_ || !pending_move_) return;
  const int value = *pending_move_;
  pending_move_.reset();
  sending_ = true;
  bool ran = false;
  context_.host.BackgroundExchange([&] {
    ran = true;
    return context_.live.MoveSlider(output_, value);
  });
  sending_ = false;
  // The line was busy with another exchange (a monitor poll): the move goes at the next turn,
  // unless a newer one came meanwhile.
  if (!ran && !pending_move_) pending_move_ = value;
  field_->Show(QString::number(context_.live.value(output_)));
  if (pending_move_) move_timer_.start(ran ? 0 : kBusyLineRetryMilliseconds);
}

void LiveOutputControls::ShowValue() {
  const int value = context_.live.value(output_);
  field_->Show(QString::number(value));
  const QSignalBlocker quiet(slider_);
  slider_->setValue(value);
}

}  // namespace tarn::ui
