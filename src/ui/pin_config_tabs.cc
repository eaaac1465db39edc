#include "ui/pin_config_tabs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/servo_flags.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/live_output.h"

namespace tarn::ui {
namespace {

// The two pin configuration variants, indexed as the buttons' control arrays are.
struct VariantButtons {
  const char* fetch;
  const char* send;
};
constexpr std::array<VariantButtons, 2> kVariantButtons = {{
    {"Get Pin Config", "Set Pin Config"},
    {"Read Pin Config", "Write Pin Config"},
}};
constexpr std::string_view kFetchButton = "CommandGetPinConfig";
constexpr std::string_view kSendButton = "CommandSetPinConfig";

QString Tarn(std::string_view text) { return FromTarnText(text); }

std::string_view TabText(PinConfigTab tab) {
  return kPinConfigTabTexts[static_cast<std::size_t>(tab)];
}

// The edit a field's change is kept under: "Servo MaxSpd".
std::string EditName(const PinParameter& parameter) {
  return std::string(TabText(parameter.tab)) + " " + std::string(parameter.label);
}

int CheckedIndex(const std::vector<QRadioButton*>& options) {
  const auto checked = std::find_if(options.begin(), options.end(),
                                    [](const QRadioButton* option) { return option->isChecked(); });
  return checked == options.end() ? 0 : static_cast<int>(checked - options.begin());
}

QVBoxLayout* PageRows(QWidget* page) {
  auto* rows = new QVBoxLayout(page);
  rows->setSpacing(6);
  return rows;
}

// A box as wide as its caption: a click beside the caption is not a click on the box.
QHBoxLayout* LeftAligned(QWidget* control) {
  auto* row = new QHBoxLayout;
  row->addWidget(control);
  row->addStretch();
  return row;
}

}  // namespace

PinConfigTabs::PinConfigTabs(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("PinConfiguration"));
  tabs_->setObjectName(QStringLiteral("SSTabPCFG"));
  tabs_->setAccessibleName(QStringLiteral("Pin configuration"));
  tabs_->addTab(BuildClearPage(), Tarn(TabText(PinConfigTab::kClear)));
  tabs_->addTab(BuildServoPage(), Tarn(TabText(PinConfigTab::kServo)));
  tabs_->addTab(BuildPwmPage(), Tarn(TabText(PinConfigTab::kPwm)));
  tabs_->addTab(BuildInputPage(), Tarn(TabText(PinConfigTab::kInput)));

  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addWidget(tabs_);
  rows->addWidget(BuildButtons());
  rows->addStretch();

  // Showing a pin selects its tab under a signal blocker, so these hear the user only. A click on
  // the tab already shown counts too: a pin of unknown mode keeps the tab it found, and choosing
  // that tab gives the pin its defaults.
  ConnectRequest(context_.host, tabs_, &QTabWidget::currentChanged, this,
                 [this](int index) { TabChosen(index); });
  ConnectRequest(context_.host, tabs_, &QTabWidget::tabBarClicked, this, [this](int index) {
    if (index >= 0 && index == tabs_->currentIndex()) TabChosen(index);
  });
}

// --- Building ----------------------------------------------------------------------------------

QWidget* PinConfigTabs::BuildClearPage() {
  auto* page = new QWidget;
  QVBoxLayout* rows = PageRows(page);
  rows->addWidget(MakeLabel(page, QStringLiteral("LabelNotConfigured"), Tarn(kNotConfiguredText)));
  rows->addStretch();
  return page;
}

QWidget* PinConfigTabs::BuildServoPage() {
  auto* page = new QWidget;
  QVBoxLayout* rows = PageRows(page);
  rows->addLayout(BuildParameterFields(page, PinConfigTab::kServo, 2));
  rows->addWidget(BuildOptions(page, QStringLiteral("FrameServoRange"), QStringLiteral("Range"),
                               "OptionServoRange", kServoRangeTexts, servo_ranges_));
  for (QRadioButton* option : servo_ranges_) {
    ConnectRequest(context_.host, option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) ServoFlagsChanged("Servo range");
    });
  }

  auto* flags = new QHBoxLayout;
  auto_suspend_ = MakeCheckBox(page, QStringLiteral("ChkSrvAutoSuspend"), Tarn(kAutoSuspendText));
  suspended_ = MakeCheckBox(page, QStringLiteral("ChkSrvSuspended"), Tarn(kSuspendedText));
  suspended_->setToolTip(Tarn(kSuspendedHint));
  suspended_->setAccessibleDescription(Tarn(kSuspendedHint));
  auto* initialised = MakeCheckBox(page, Tarn(kServoInitialisedBox), Tarn(kServoInitialisedText));
  // The Tarn reports it; the user cannot set it.
  initialised->setEnabled(false);
  for (QCheckBox* box : {auto_suspend_, suspended_, initialised}) {
    Register(box);
    flags->addWidget(box);
  }
  flags->addStretch();
  rows->addLayout(flags);
  ConnectRequest(context_.host, auto_suspend_, &QCheckBox::toggled, this,
                 [this] { ServoFlagsChanged("Servo Auto Suspend"); });
  ConnectRequest(context_.host, suspended_, &QCheckBox::toggled, this,
                 [this] { ServoFlagsChanged("Servo Suspended"); });

  rows->addWidget(BuildWarning(page, kServoWarningLabel));
  servo_live_ = new LiveOutputControls(context_, LiveOutput::kServo, page);
  Register(servo_live_->field());
  Register(servo_live_->slider());
  rows->addWidget(servo_live_);
  rows->addStretch();
  return page;
}

QWidget* PinConfigTabs::BuildPwmPage() {
  auto* page = new QWidget;
  QVBoxLayout* rows = PageRows(page);
  rows->addLayout(BuildParameterFields(page, PinConfigTab::kPwm, 2));

  auto* modes = new QHBoxLayout;
  modes->addWidget(BuildOptions(page, QStringLiteral("FramePWMDriveMode"), Tarn(kPwmDriveModeText),
                                "OptionPWMDriveMode", kPwmCurveTexts, drive_modes_));
  modes->addWidget(BuildOptions(page, QStringLiteral("FramePWMAccelMode"),
                                Tarn(kPwmAccelerationModeText), "OptionPWMAccelMode",
                                kPwmCurveTexts, acceleration_modes_));
  rows->addLayout(modes);
  for (QRadioButton* option : drive_modes_) {
    ConnectRequest(context_.host, option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) PwmCurvesChanged("PWM Drive Mode");
    });
  }
  for (QRadioButton* option : acceleration_modes_) {
    ConnectRequest(context_.host, option, &QRadioButton::toggled, this, [this](bool on) {
      if (on) PwmCurvesChanged("PWM Acceleration Mode");
    });
  }

  auto* inverted = MakeCheckBox(page, QStringLiteral("CheckPWMInverted"), Tarn(kPwmInvertedText));
  Register(inverted);
  rows->addLayout(LeftAligned(inverted));
  ConnectRequest(context_.host, inverted, &QCheckBox::toggled, this, [this](bool on) {
    EditMode("PWM Inverted", [on](PinConfig& config) { SetPwmInverted(on, config); });
  });

  pwm_live_ = new LiveOutputControls(context_, LiveOutput::kPwm, page);
  Register(pwm_live_->field());
  Register(pwm_live_->slider());
  rows->addWidget(pwm_live_);
  rows->addStretch();
  return page;
}

QWidget* PinConfigTabs::BuildInputPage() {
  auto* page = new QWidget;
  QVBoxLayout* rows = PageRows(page);
  rows->addLayout(BuildParameterFields(page, PinConfigTab::kInput, 1));
  auto* low_active =
      MakeCheckBox(page, QStringLiteral("CheckInputInvert"), Tarn(kInputLowActiveText));
  Register(low_active);
  rows->addLayout(LeftAligned(low_active));
  ConnectRequest(context_.host, low_active, &QCheckBox::toggled, this, [this](bool on) {
    EditMode("Input Low Active", [on](PinConfig& config) { SetInputLowActive(on, config); });
  });
  rows->addWidget(BuildWarning(page, kInputWarningLabel));
  rows->addStretch();
  return page;
}

QGridLayout* PinConfigTabs::BuildParameterFields(QWidget* page, PinConfigTab tab, int columns) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  int index = 0;
  for (const PinParameter& parameter : PinParametersOf(tab)) {
    const QString caption = Tarn(parameter.label);
    const QString field_name = Tarn(FieldControlName(parameter));
    NumberField* field = nullptr;
    QWidget* label = nullptr;
    if (parameter.initial_value) {
      // The initial value's caption takes the live value over when clicked, as a double click on
      // the field (or F1 there) does.
      auto* take_over = MakeClickLabel(page, QStringLiteral("Label") + field_name, caption);
      const QString hint = tab == PinConfigTab::kPwm
                               ? QStringLiteral("Click to take over the live level")
                               : QStringLiteral("Click to take over the live position");
      take_over->setToolTip(hint);
      take_over->setAccessibleDescription(hint);
      field = MakeNamedField(page, field_name, caption);
      field->setToolTip(QStringLiteral("Double-click to take over the live value"));
      label = take_over;
    } else {
      auto* plain = MakeLabel(page, QStringLiteral("Label") + field_name, caption);
      field = MakeField(page, field_name, plain);
      label = plain;
    }
    UpDown* buttons = MakeUpDown(page, Tarn(ButtonsControlName(parameter)), caption);
    Register(field);

    const int row = index / columns;
    const int column = (index % columns) * 4;
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
    grid->addWidget(buttons, row, column + 2);
    if (column > 0) grid->setColumnMinimumWidth(column - 1, 12);
    ++index;

    fields_.push_back({&parameter, field});
    const ParameterField entry = fields_.back();
    WindowHost& host = context_.host;
    ConnectRequest(host, field, &NumberField::committed, this,
                   [this, entry] { ConfirmField(entry); });
    ConnectRequest(host, buttons, &UpDown::stepped, this,
                   [this, entry](int direction) { StepField(entry, direction); });
    if (parameter.initial_value) {
      ConnectRequest(host, field, &QLineEdit::textEdited, this,
                     [this, entry](const QString& text) { TypeField(entry, text); });
      ConnectRequest(host, field, &NumberField::helpRequested, this,
                     [this, entry] { TakeOverLiveValue(entry); });
      ConnectRequest(host, static_cast<ClickLabel*>(label), &ClickLabel::pressedWith, this,
                     [this, entry](Qt::MouseButton button, Qt::KeyboardModifiers) {
                       if (button == Qt::LeftButton) TakeOverLiveValue(entry);
                     });
    }
  }
  grid->setColumnStretch(columns * 4 - 1, 1);
  return grid;
}

QWidget* PinConfigTabs::BuildOptions(QWidget* page, const QString& frame_name,
                                     const QString& caption, std::string_view option_name,
                                     std::span<const std::string_view> texts,
                                     std::vector<QRadioButton*>& options) {
  QGroupBox* frame = MakeFrame(page, frame_name, caption);
  auto* row = new QHBoxLayout(frame);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const QString text = Tarn(texts[i]);
    QRadioButton* option = MakeOption(frame, ElementName(option_name, static_cast<int>(i)), text,
                                      caption + QLatin1Char(' ') + text);
    Register(option);
    options.push_back(option);
    row->addWidget(option);
  }
  row->addStretch();
  return frame;
}

QWidget* PinConfigTabs::BuildWarning(QWidget* page, std::string_view name) {
  QLabel* warning = MakeLabel(page, Tarn(name), Tarn(kHardwareMismatchText));
  ShowOverflow(warning, true);
  warning->hide();
  Register(warning);
  return warning;
}

QWidget* PinConfigTabs::BuildButtons() {
  auto* owner = new QWidget(this);
  auto* grid = new QGridLayout(owner);
  grid->setContentsMargins(0, 0, 0, 0);
  for (int variant = 0; variant < 2; ++variant) {
    fetch_buttons_[variant] = MakeButton(owner, ElementName(kFetchButton, variant),
                                         QString::fromLatin1(kVariantButtons[variant].fetch));
    send_buttons_[variant] = MakeButton(owner, ElementName(kSendButton, variant),
                                        QString::fromLatin1(kVariantButtons[variant].send));
    grid->addWidget(fetch_buttons_[variant], variant, 0);
    grid->addWidget(send_buttons_[variant], variant, 1);
    const auto which = static_cast<PinConfigVariant>(variant);
    ConnectRequest(context_.host, fetch_buttons_[variant], &QPushButton::clicked, this,
                   [this, which] { Fetch(which); });
    ConnectRequest(context_.host, send_buttons_[variant], &QPushButton::clicked, this,
                   [this, which] { Send(which); });
  }
  grid->setColumnStretch(2, 1);
  return owner;
}

void PinConfigTabs::Register(QWidget* control) { controls_.insert(control->objectName(), control); }

// --- Showing -----------------------------------------------------------------------------------

void PinConfigTabs::ShowPin() {
  // A slider move not yet sent belongs to the pin shown before.
  servo_live_->DropPendingMove();
  pwm_live_->DropPendingMove();
  const PinConfigView view = ShowPinConfig(context_.config());
  if (!view.tab) {
    context_.prompter.Show(view.unknown_configuration);
    return;
  }
  {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(static_cast<int>(*view.tab));
  }
  Apply(view);
  if (*view.tab == PinConfigTab::kServo) servo_live_->ShowPin();
  if (*view.tab == PinConfigTab::kPwm) pwm_live_->ShowPin();
}

void PinConfigTabs::Apply(const PinConfigView& view) {
  for (const ShownControl& shown : view.controls) {
    QWidget* control = controls_.value(Tarn(shown.name));
    // The up/down buttons hold no value of their own: they step from the stored byte.
    if (control == nullptr) continue;
    switch (shown.kind) {
      case PinControlKind::kText:
        if (auto* field = qobject_cast<NumberField*>(control)) field->Show(Tarn(shown.text));
        break;
      case PinControlKind::kValue:
        if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
          const QSignalBlocker quiet(slider);
          slider->setValue(shown.value);
        }
        break;
      case PinControlKind::kChecked:
        if (auto* button = qobject_cast<QAbstractButton*>(control)) ShowChecked(button, shown.on);
        break;
      case PinControlKind::kVisible:
        control->setVisible(shown.on);
        break;
    }
  }
}

void PinConfigTabs::ApplyVisibility(bool details) {
  setVisible(details);
  const bool expert = context_.host.expert_mode();
  fetch_buttons_[1]->setVisible(expert);
  send_buttons_[1]->setVisible(expert);
}

// --- Editing -----------------------------------------------------------------------------------

PinRecord& PinConfigTabs::current_pin() {
  return context_.config().pins.at(context_.config().current_pin);
}

void PinConfigTabs::ConfirmField(const ParameterField& entry) {
  const std::string typed = TypedText(entry.field);
  PinFieldResult result;
  context_.host.Edit(EditName(*entry.parameter), [&] {
    result = ConfirmPinParameter(*entry.parameter, typed, current_pin().pin_config);
  });
  entry.field->Show(Tarn(result.text));
}

void PinConfigTabs::StepField(const ParameterField& entry, int direction) {
  PinFieldResult result;
  context_.host.Edit(EditName(*entry.parameter), [&] {
    result = StepPinParameter(*entry.parameter, direction, current_pin().pin_config);
  });
  if (result.stored) entry.field->Show(Tarn(result.text));
}

void PinConfigTabs::TypeField(const ParameterField& entry, const QString& text) {
  const std::string typed = TypedText(text);
  context_.host.EditTyping(EditName(*entry.parameter), [&] {
    TypePinParameter(*entry.parameter, typed, current_pin().pin_config);
  });
}

void PinConfigTabs::TakeOverLiveValue(const ParameterField& entry) {
  std::optional<PinFieldResult> result;
  context_.host.Edit(EditName(*entry.parameter),
                     [&] { result = tarn::TakeOverLiveValue(*entry.parameter, current_pin()); });
  if (result) entry.field->Show(Tarn(result->text));
}

void PinConfigTabs::CommitPending() {
  const auto tab = static_cast<PinConfigTab>(tabs_->currentIndex());
  std::vector<std::pair<NumberField*, std::string>> shown;
  context_.host.Edit(std::string(TabText(tab)) + " parameters", [&] {
    for (const ParameterField& entry : fields_) {
      if (entry.parameter->tab != tab || !entry.field->HasTypedEntry()) continue;
      const PinFieldResult result =
          ConfirmPinParameter(*entry.parameter, TypedText(entry.field), current_pin().pin_config);
      shown.emplace_back(entry.field, result.text);
    }
  });
  for (const auto& [field, text] : shown) field->Show(Tarn(text));
}

void PinConfigTabs::TabChosen(int index) {
  if (index < 0 || index >= kPinConfigTabCount) return;
  const auto tab = static_cast<PinConfigTab>(index);
  context_.host.Edit("Pin mode", [&] { SelectPinConfigTab(tab, current_pin()); });
  ShowPin();
}

void PinConfigTabs::EditMode(std::string_view what, const std::function<void(PinConfig&)>& edit) {
  context_.host.Edit(what, [&] { edit(current_pin().pin_config); });
  // The boxes show what the pin holds now: Servo Initialised is gone once byte 2 is rebuilt, and
  // a pin of another mode took nothing.
  ShowPin();
}

void PinConfigTabs::ServoFlagsChanged(std::string_view what) {
  const ServoFlags flags{.range = CheckedIndex(servo_ranges_),
                         .auto_suspend = auto_suspend_->isChecked(),
                         .suspended = suspended_->isChecked()};
  EditMode(what, [&flags](PinConfig& config) { SetServoFlags(flags, config); });
}

void PinConfigTabs::PwmCurvesChanged(std::string_view what) {
  const PwmCurves curves{.drive_mode = CheckedIndex(drive_modes_),
                         .acceleration_mode = CheckedIndex(acceleration_modes_)};
  EditMode(what, [&curves](PinConfig& config) { SetPwmCurves(curves, config); });
}

// --- The Tarn ----------------------------------------------------------------------------------

void PinConfigTabs::Fetch(PinConfigVariant variant) {
  const int pin = context_.config().current_pin;
  const char* caption = kVariantButtons[static_cast<std::size_t>(variant)].fetch;
  const bool fetched = context_.host.Exchange(caption, [&] {
    return context_.session.pins.FetchPinConfig(context_.session.pin(pin), pin, variant);
  });
  // "Get" asks for the configuration the pin runs with, which need not be the one it keeps.
  if (fetched && variant == PinConfigVariant::kWriteRead) {
    ChangedGroups read;
    read.pins[static_cast<std::size_t>(pin)].configuration = true;
    context_.host.TookFromTarn(read);
  }
  if (fetched) ShowPin();
}

void PinConfigTabs::Send(PinConfigVariant variant) {
  CommitPending();
  const int pin = context_.config().current_pin;
  const char* caption = kVariantButtons[static_cast<std::size_t>(variant)].send;
  context_.host.Exchange(caption, [&] {
    return context_.session.pins.SendPinConfig(context_.session.pin(pin), pin, variant);
  });
  // A servo's byte 2 went without Servo Initialised, and the model keeps what was sent.
  ShowPin();
}

}  // namespace tarn::ui
