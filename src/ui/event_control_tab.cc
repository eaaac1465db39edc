#include "ui/event_control_tab.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "operations/operation_table.h"
#include "ui/text.h"

namespace tarn::ui {
namespace {

constexpr std::array<EventEdge, 2> kEdges = {EventEdge::kOn, EventEdge::kOff};

// The enable boxes of the Event-On row and of the Event-Off row; the first of each keeps the
// Tarn tool's caption, the others add the input they enable.
QString EnableCaption(EventEdge edge, int input) {
  QString caption = edge == EventEdge::kOn ? QStringLiteral("InitialEvent_ON Enable ")
                                           : QStringLiteral("Initial Event_OFF Enable ");
  if (input > 0) caption += QString::number(input);
  return caption;
}

// "Event-On enable, input 0".
QString EnableSpoken(EventEdge edge, int input) {
  return QStringLiteral("%1 enable, input %2")
      .arg(FromTarnText(EventEdgeRuleOf(edge).name))
      .arg(input);
}

// "Event Input 2 On action".
QString ActionSpoken(EventEdge edge, int input) {
  return QStringLiteral("Event Input %1 %2 action")
      .arg(input)
      .arg(edge == EventEdge::kOn ? QStringLiteral("On") : QStringLiteral("Off"));
}

int Index(EventEdge edge, int input) {
  return (edge == EventEdge::kOn ? 0 : kEventInputCount) + input;
}

StepDirection DirectionOf(int direction) {
  return direction > 0 ? StepDirection::kUp : StepDirection::kDown;
}

}  // namespace

QColor NoActionColour(const QPalette& theme, QPalette::ColorGroup group) {
  const QColor base = theme.color(group, QPalette::Base);
  const QColor text = theme.color(group, QPalette::Text);
  // The share of the text colour that turns a white base into the Tarn tool's grey.
  const double share = (255.0 - kNoActionBackground.red) / 255.0;
  const auto mix = [share](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * share));
  };
  return QColor(mix(base.red(), text.red()), mix(base.green(), text.green()),
                mix(base.blue(), text.blue()));
}

EventControlTab::EventControlTab(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabEventControl"));
  auto* rows = new QVBoxLayout(this);
  rows->addWidget(BuildEnableMap());
  rows->addWidget(BuildActions());
  rows->addWidget(BuildOperations());
  rows->addStretch();
}

QWidget* EventControlTab::BuildEnableMap() {
  QGroupBox* frame =
      MakeFrame(this, QStringLiteral("FrameECInit"), QStringLiteral("Initial Enable Map"));
  auto* grid = new QGridLayout(frame);
  for (const EventEdge edge : kEdges) {
    const int row = edge == EventEdge::kOn ? 0 : 1;
    for (int input = 0; input < kEventInputCount; ++input) {
      const int index = Index(edge, input);
      QCheckBox* box =
          MakeCheckBox(frame, ElementName("CheckInitEE", index), EnableCaption(edge, input));
      box->setAccessibleName(EnableSpoken(edge, input));
      grid->addWidget(box, row, input);
      enables_[index] = box;
      ConnectRequest(context_.host, box, &QCheckBox::toggled, this,
                     [this, edge, input](bool checked) { EnableToggled(edge, input, checked); });
    }
  }
  auto* read =
      MakeButton(frame, QStringLiteral("CommandECInitRead"), QStringLiteral("Read Enable Map"));
  auto* write =
      MakeButton(frame, QStringLiteral("CommandECInitWrite"), QStringLiteral("Write Enable Map"));
  grid->addWidget(read, 0, kEventInputCount);
  grid->addWidget(write, 1, kEventInputCount);
  grid->setColumnStretch(kEventInputCount + 1, 1);
  ConnectRequest(context_.host, read, &QPushButton::clicked, this, [this] { ReadEnableMap(); });
  ConnectRequest(context_.host, write, &QPushButton::clicked, this, [this] { WriteEnableMap(); });
  return frame;
}

QWidget* EventControlTab::BuildActions() {
  QGroupBox* frame =
      MakeFrame(this, QStringLiteral("FrameECActions"), QStringLiteral("Event Actions"));
  auto* grid = new QGridLayout(frame);

  QLabel* label_pin = MakeLabel(frame, QStringLiteral("LabelECpin"), QStringLiteral("Event Pin:"));
  text_pin_ = MakeField(frame, QStringLiteral("TextECpin"), label_pin);
  UpDown* up_down_pin =
      MakeUpDown(frame, QStringLiteral("UpDownECpin"), QStringLiteral("Event Pin"));
  auto* pin_row = new QHBoxLayout;
  pin_row->addWidget(text_pin_);
  pin_row->addWidget(up_down_pin);
  pin_row->addStretch();
  grid->addWidget(label_pin, 0, 0);
  grid->addLayout(pin_row, 0, 1, 1, kEventInputCount);
  ConnectRequest(context_.host, text_pin_, &NumberField::committed, this, [this] { CommitPin(); });
  ConnectRequest(context_.host, up_down_pin, &UpDown::stepped, this,
                 [this](int direction) { StepPin(direction); });

  for (int input = 0; input < kEventInputCount; ++input) {
    grid->addWidget(
        MakeLabel(frame, ElementName("LabelECInput", input), QStringLiteral("Input %1").arg(input)),
        1, 1 + input);
  }
  for (const EventEdge edge : kEdges) {
    const bool on = edge == EventEdge::kOn;
    const int row = on ? 2 : 3;
    grid->addWidget(
        MakeLabel(frame, on ? QStringLiteral("LabelECon") : QStringLiteral("LabelECoff"),
                  on ? QStringLiteral("ON:") : QStringLiteral("OFF:")),
        row, 0);
    for (int input = 0; input < kEventInputCount; ++input) {
      const QString spoken = ActionSpoken(edge, input);
      NumberField* text =
          MakeNamedField(frame, ElementName(on ? "TextECon" : "TextECoff", input), spoken);
      UpDown* up_down =
          MakeUpDown(frame, ElementName(on ? "UpDownECon" : "UpDownECoff", input), spoken);
      auto* cell = new QHBoxLayout;
      cell->setSpacing(0);
      cell->addWidget(text);
      cell->addWidget(up_down);
      cell->addStretch();
      grid->addLayout(cell, row, 1 + input);
      ActionField& field = fields_[Index(edge, input)];
      field = {edge, input, text};
      ConnectRequest(context_.host, text, &NumberField::committed, this,
                     [this, &field] { CommitAction(field); });
      ConnectRequest(context_.host, up_down, &UpDown::stepped, this,
                     [this, &field](int direction) { StepAction(field, direction); });
    }
  }

  auto* buttons = new QHBoxLayout;
  auto* read = MakeButton(frame, QStringLiteral("CommandECReadSingle"), QStringLiteral("Read"));
  auto* write = MakeButton(frame, QStringLiteral("CommandECWriteSingle"), QStringLiteral("Write"));
  auto* copy = MakeButton(frame, QStringLiteral("CommandECcopy"), QStringLiteral("Copy to All"));
  read->setToolTip(QStringLiteral("Read the event pin's actions from the Tarn"));
  write->setToolTip(QStringLiteral("Write the event pin's actions to the Tarn"));
  copy->setToolTip(QStringLiteral("Give every pin the eight actions shown"));
  for (QPushButton* button : {read, write, copy}) buttons->addWidget(button);
  buttons->addStretch();
  grid->addLayout(buttons, 4, 0, 1, 1 + kEventInputCount);
  grid->setColumnStretch(1 + kEventInputCount, 1);
  ConnectRequest(context_.host, read, &QPushButton::clicked, this, [this] { ReadPin(); });
  ConnectRequest(context_.host, write, &QPushButton::clicked, this, [this] { WritePin(); });
  ConnectRequest(context_.host, copy, &QPushButton::clicked, this, [this] { CopyToAll(); });
  return frame;
}

QWidget* EventControlTab::BuildOperations() {
  auto* owner = new QWidget(this);
  auto* row = new QHBoxLayout(owner);
  row->setContentsMargins(0, 0, 0, 0);
  for (const Operation operation :
       {Operation::kReadAllEvents, Operation::kWriteAllEvents, Operation::kVerifyEvents}) {
    const OperationEntry& entry = EntryOf(operation);
    QPushButton* button =
        MakeButton(owner, FromTarnText(entry.button), FromTarnText(entry.caption));
    row->addWidget(button);
    ConnectRequest(context_.host, button, &QPushButton::clicked, this, [this, operation] {
      CommitFocused();
      context_.host.PressOperation(operation);
    });
    if (operation == Operation::kVerifyEvents) verify_ = button;
  }
  row->addStretch();
  verify_->hide();  // an expert's button
  return owner;
}

// --- What the user does ----------------------------------------------------------------------

void EventControlTab::EnableToggled(EventEdge edge, int input, bool checked) {
  context_.host.Edit(EditName(EnableSpoken(edge, input)), [&] {
    EventEnableMap& map = context_.workspace.enable_map;
    (edge == EventEdge::kOn ? map.on : map.off)[input] = checked;
  });
  ShowEnableMap();
}

void EventControlTab::CommitAction(const ActionField& field) {
  const std::string typed = TypedText(field.text->text());
  EventField shown = Stored(field);
  context_.host.Edit(EditName(ActionSpoken(field.edge, field.input)), [&] {
    shown = ConfirmEventActionField(typed, field.edge, field.input, event_pin_,
                                    context_.config().event_actions);
  });
  ShowField(field.text, shown);
}

void EventControlTab::StepAction(const ActionField& field, int direction) {
  EventField shown = Stored(field);
  context_.host.Edit(EditName(ActionSpoken(field.edge, field.input)), [&] {
    shown = StepEventActionField(DirectionOf(direction), field.edge, field.input, event_pin_,
                                 context_.config().event_actions);
  });
  ShowField(field.text, shown);
}

void EventControlTab::CommitPin() {
  const EventPinField pin =
      ConfirmEventPinField(TypedText(text_pin_->text()), context_.numbering_base());
  event_pin_ = pin.event_pin;
  text_pin_->Show(FromTarnText(pin.text));
  ShowFields();
}

void EventControlTab::StepPin(int direction) {
  const EventPinField pin =
      StepEventPinField(DirectionOf(direction), event_pin_, context_.numbering_base());
  event_pin_ = pin.event_pin;
  text_pin_->Show(FromTarnText(pin.text));
  ShowFields();
}

void EventControlTab::CommitFocused() {
  if (text_pin_->hasFocus()) CommitPin();
  for (const ActionField& field : fields_) {
    if (field.text->hasFocus()) CommitAction(field);
  }
}

void EventControlTab::CopyToAll() {
  CommitFocused();
  std::array<std::string, kEventInputCount> on;
  std::array<std::string, kEventInputCount> off;
  for (int input = 0; input < kEventInputCount; ++input) {
    on[input] = TypedText(FieldOf(EventEdge::kOn, input).text->text());
    off[input] = TypedText(FieldOf(EventEdge::kOff, input).text->text());
  }
  context_.host.Edit("Copy to All",
                     [&] { CopyEventFieldsToAll(on, off, context_.config().event_actions); });
  ShowFields();
}

void EventControlTab::ReadEnableMap() {
  const bool read_whole = context_.host.Exchange("Read Enable Map", [this] {
    const bool replied = context_.session.events.ReadEnableMap(context_.workspace.enable_map);
    // Only the whole-Tarn reads keep a list of what they went past; a reply shown as wrong was
    // not read.
    return context_.session.events.TakeNotRead().empty() && replied;
  });
  if (read_whole) {
    ChangedGroups read;
    read.enable_map = true;
    context_.host.TookFromTarn(read);
  }
  ShowEnableMap();
}

void EventControlTab::WriteEnableMap() {
  context_.host.Exchange("Write Enable Map", [this] {
    return context_.session.events.WriteEnableMap(context_.workspace.enable_map);
  });
}

void EventControlTab::ReadPin() {
  CommitFocused();
  const bool read_whole = context_.host.Exchange("Read", [this] {
    const bool read = context_.session.events.ReadPin(event_pin_, context_.config().event_actions);
    return context_.session.events.TakeNotRead().empty() && read;
  });
  if (read_whole) {
    ChangedGroups read;
    read.pins[static_cast<std::size_t>(event_pin_)].events = true;
    context_.host.TookFromTarn(read);
  }
  // Whatever arrived before a missing reply is in the model; the fields show the model, so that
  // a "Write" or "Copy to All" afterwards sends what the user sees.
  ShowFields();
}

void EventControlTab::WritePin() {
  CommitFocused();
  context_.host.Exchange("Write", [this] {
    return context_.session.events.WritePin(event_pin_, context_.config().event_actions);
  });
}

// --- What the tab shows ----------------------------------------------------------------------

void EventControlTab::ShowAll() {
  text_pin_->Show(FromTarnText(EventPinText(event_pin_, context_.numbering_base())));
  ShowFields();
  ShowEnableMap();
}

void EventControlTab::ApplyVisibility() { verify_->setVisible(context_.host.expert_mode()); }

void EventControlTab::ShowEnableMap() {
  const EventEnableMap& map = context_.workspace.enable_map;
  for (int input = 0; input < kEventInputCount; ++input) {
    ShowChecked(enables_[Index(EventEdge::kOn, input)], map.on[input]);
    ShowChecked(enables_[Index(EventEdge::kOff, input)], map.off[input]);
  }
}

void EventControlTab::ShowFields() {
  const EventFields shown = ShowEventFields(context_.config().event_actions, event_pin_);
  for (int input = 0; input < kEventInputCount; ++input) {
    ShowField(FieldOf(EventEdge::kOn, input).text, shown.on[input]);
    ShowField(FieldOf(EventEdge::kOff, input).text, shown.off[input]);
  }
}

void EventControlTab::ShowField(NumberField* text, const EventField& shown) {
  text->Show(FromTarnText(shown.text));
  ShowBackground(text, shown.background);
}

void EventControlTab::ShowBackground(NumberField* text, EventFieldBackground background) {
  const QPalette theme = QApplication::palette(text);
  QPalette colours = text->palette();
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    colours.setColor(group, QPalette::Base,
                     background == EventFieldBackground::kNoAction
                         ? NoActionColour(theme, group)
                         : theme.color(group, QPalette::Base));
  }
  if (colours != text->palette()) text->setPalette(colours);
}

void EventControlTab::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A new desktop theme: the greys follow it.
  if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::StyleChange) {
    for (const ActionField& field : fields_) {
      ShowBackground(field.text, EventFieldBackgroundOf(TypedText(field.text->text())));
    }
  }
}

EventField EventControlTab::Stored(const ActionField& field) const {
  const EventFields shown = ShowEventFields(context_.config().event_actions, event_pin_);
  return (field.edge == EventEdge::kOn ? shown.on : shown.off)[field.input];
}

EventControlTab::ActionField& EventControlTab::FieldOf(EventEdge edge, int input) {
  return fields_[Index(edge, input)];
}

}  // namespace tarn::ui
