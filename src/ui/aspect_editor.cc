#include "ui/aspect_editor.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "operations/link_address_fields.h"
#include "ui/editor_tools.h"
#include "ui/step_grid.h"
#include "ui/text.h"

namespace tarn::ui {
namespace {

// One count column: its up/down's control name, its heading, what a screen reader and the undo
// menu call it, and its tip.
struct CountColumnText {
  const char* up_down;
  const char* heading;
  const char* spoken;
  const char* tip;
};

// As kPinCountFields: "Serial", "B-DCC", "X-DCC".
constexpr std::array<CountColumnText, 3> kCountColumns = {{
    {"UpDownPaspVeskn", "Serial", "Serial address count", "Nr of Serial addresses assigned to Pin"},
    {"UpDownPaspDCCn", "B-DCC", "Basic DCC address count", "Nr of DCC addresses assigned to Pin"},
    {"UpDownPaspXDCCn", "X-DCC", "Extended DCC address count",
     "Nr of DCC addresses assigned to Pin"},
}};

struct AddressLabelText {
  AddressDisplay display;
  const char* spoken;
};

// The current pin's addresses, under the count columns and after them.
constexpr std::array<AddressLabelText, 4> kAddressLabels = {{
    {AddressDisplay::kPinSerialAddress, "Serial address"},
    {AddressDisplay::kPinBasicDccAddress, "Basic DCC address"},
    {AddressDisplay::kPinExtendedDccAddress, "Extended DCC address"},
    {AddressDisplay::kPinBusAddress, "Pin address"},
}};

constexpr int kButtonsPerLine = 5;

constexpr const char* kToolsTip = "Click for copy/paste tools";
// As the main tabs mark what differs from the Tarn.
constexpr char16_t kDiffersMark[] = u"\u2022";
constexpr const char* kDiffersTip = "Differs from what the Tarn holds";
constexpr const char* kDiffersSpoken = "differs from the Tarn";

QLineEdit* MakeTextField(QWidget* parent, const QString& name, QLabel* label,
                         const QString& spoken) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(name);
  label->setBuddy(field);
  field->setAccessibleName(spoken);
  return field;
}

}  // namespace

AspectEditor::AspectEditor(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), tools_(new EditorTools(context, this)) {
  setObjectName(QStringLiteral("AspectEditor"));
  grid_ = new StepGrid(context_, tools_, this);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addWidget(BuildPinRows());
  rows->addWidget(BuildAspectRows());
  rows->addWidget(grid_);
  rows->addWidget(BuildButtons());
  rows->addStretch(1);

  connect(grid_, &StepGrid::aboutToOpenTool, this,
          [this] { CommitPending(EditorChange::kAspect); });
  connect(grid_, &StepGrid::programChanged, this, [this] { ShowAfterTool(true, false); });
}

// --- Building --------------------------------------------------------------------------------

QWidget* AspectEditor::BuildPinRows() {
  auto* owner = new QWidget(this);
  auto* grid = new QGridLayout(owner);
  grid->setContentsMargins(0, 0, 0, 0);

  label_pin_ = MakeClickLabel(owner, QStringLiteral("LabelPAspOutput"), QStringLiteral("Pin"));
  label_pin_->setAccessibleName(QStringLiteral("Pin copy/paste tools"));
  label_pin_->setToolTip(QLatin1String(kToolsTip));
  text_pin_ = MakeNamedField(owner, QStringLiteral("TextPAspOutput"), QStringLiteral("Pin"));
  auto* pin_up_down = MakeUpDown(owner, QStringLiteral("UpDownPAspOutput"), QStringLiteral("Pin"));
  pin_differs_ = MakeLabel(owner, QStringLiteral("LabelPAspDiffers"), QString());
  // Room for the mark whether it shows or not, so that nothing moves when it comes and goes.
  pin_differs_->setMinimumWidth(
      pin_differs_->fontMetrics().horizontalAdvance(QString::fromUtf16(kDiffersMark)) + 4);
  auto* label_description =
      MakeLabel(owner, QStringLiteral("LabelPAspDesc"), QStringLiteral("Description"));
  text_description_ = MakeTextField(owner, QStringLiteral("TextPAspDesc"), label_description,
                                    QStringLiteral("Pin description"));
  auto* label_device_pin =
      MakeLabel(owner, QStringLiteral("LabelDevicePin"), QStringLiteral("Device Pin"));
  text_device_pin_ = MakeField(owner, QStringLiteral("TextDevicePin"), label_device_pin);
  auto* label_device_name =
      MakeLabel(owner, QStringLiteral("LabelDeviceDescription"), QStringLiteral("Device Name"));
  text_device_name_ = MakeTextField(owner, QStringLiteral("TextDeviceDescription"),
                                    label_device_name, QStringLiteral("Device name"));

  auto* pin = new QHBoxLayout;
  pin->setSpacing(2);
  pin->addWidget(label_pin_);
  pin->addWidget(text_pin_);
  pin->addWidget(pin_up_down);
  pin->addWidget(pin_differs_);
  grid->addLayout(pin, 0, 0);
  grid->addWidget(label_description, 0, 1);
  grid->addWidget(text_description_, 0, 2);
  auto* device_pin = new QHBoxLayout;
  device_pin->setSpacing(4);
  device_pin->addWidget(label_device_pin);
  device_pin->addWidget(text_device_pin_);
  grid->addLayout(device_pin, 1, 0);
  grid->addWidget(label_device_name, 1, 1);
  grid->addWidget(text_device_name_, 1, 2);
  grid->setColumnStretch(2, 1);

  ConnectPinControls(pin_up_down);
  return owner;
}

QWidget* AspectEditor::BuildAspectRows() {
  auto* owner = new QWidget(this);
  auto* columns = MakeRow(owner);
  auto* left = new QVBoxLayout;

  auto* first = new QHBoxLayout;
  QGroupBox* frame =
      MakeFrame(owner, QStringLiteral("FramePAspConf"), QStringLiteral("Aspect layout"));
  auto* choices = MakeRow(frame);
  choices->setContentsMargins(6, 0, 6, 0);
  for (const LayoutOption option : kLayoutOptions) {
    const QString caption = FromTarnText(kLayoutOptionCaptions[OptionIndex(option)]);
    QRadioButton* button = MakeOption(frame, ElementName("OptionPAspConf", OptionIndex(option)),
                                      caption, QStringLiteral("Aspect layout ") + caption);
    options_[static_cast<std::size_t>(OptionIndex(option))] = button;
    choices->addWidget(button);
    ConnectRequest(context_.host, button, &QRadioButton::toggled, this, [this, option](bool on) {
      if (on) ChooseLayout(option);
    });
  }
  show_details_ =
      MakeCheckBox(owner, QStringLiteral("CheckPAspShowDetails"), QStringLiteral("Show Details"));
  show_details_->setChecked(true);
  first->addWidget(frame);
  first->addWidget(show_details_);
  first->addStretch();
  left->addLayout(first);

  auto* second = new QHBoxLayout;
  second->setSpacing(2);
  label_aspect_ =
      MakeClickLabel(owner, QStringLiteral("LabelPAspAspect"), QStringLiteral("Aspect"));
  label_aspect_->setAccessibleName(QStringLiteral("Aspect copy/paste tools"));
  label_aspect_->setToolTip(QLatin1String(kToolsTip));
  text_aspect_ = MakeNamedField(owner, QStringLiteral("TextPAspAspect"), QStringLiteral("Aspect"));
  text_aspect_->FitWidth(QStringLiteral("-00"));
  up_down_aspect_ = MakeUpDown(owner, QStringLiteral("UpDownPAspAspect"), QStringLiteral("Aspect"));
  label_init_ = MakeLabel(owner, QStringLiteral("LabelPAspInit"), QStringLiteral("Init"));
  text_init_ = MakeField(owner, QStringLiteral("TextPAspInit"), label_init_,
                         QStringLiteral("Initial aspect"));
  text_init_->FitWidth(QStringLiteral("-00"));
  up_down_init_ =
      MakeUpDown(owner, QStringLiteral("UpDownPAspInit"), QStringLiteral("Initial aspect"));
  test_ = MakeButton(owner, QStringLiteral("CommandPAspTestAspect"), QStringLiteral("Test"));
  test_->setToolTip(QStringLiteral("Alt + Click for Options"));
  test_->installEventFilter(this);
  write_single_ =
      MakeButton(owner, QStringLiteral("CommandPAspWriteAspect"), QStringLiteral("Write Single"));
  for (QWidget* widget :
       std::initializer_list<QWidget*>{label_aspect_, text_aspect_, up_down_aspect_}) {
    second->addWidget(widget);
  }
  second->addSpacing(10);
  for (QWidget* widget : std::initializer_list<QWidget*>{label_init_, text_init_, up_down_init_}) {
    second->addWidget(widget);
  }
  second->addSpacing(10);
  second->addWidget(test_);
  second->addWidget(write_single_);
  second->addStretch();
  left->addLayout(second);

  auto* third = new QHBoxLayout;
  label_aspect_description_ =
      MakeLabel(owner, QStringLiteral("LabelPAspAspDesc"), QStringLiteral("Aspect Description"));
  text_aspect_description_ =
      MakeTextField(owner, QStringLiteral("TextPAspAspDesc"), label_aspect_description_,
                    QStringLiteral("Aspect description"));
  third->addWidget(label_aspect_description_);
  third->addWidget(text_aspect_description_, 1);
  left->addLayout(third);

  columns->addLayout(left, 1);
  columns->setAlignment(left, Qt::AlignTop);  // the rows keep their places when some are hidden
  columns->addSpacing(12);
  columns->addWidget(BuildCounts(), 0, Qt::AlignTop);
  ConnectAspectControls(up_down_aspect_, up_down_init_);
  return owner;
}

QWidget* AspectEditor::BuildCounts() {
  auto* owner = new QWidget(this);
  auto* grid = new QGridLayout(owner);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(6);
  label_addresses_ =
      MakeLabel(owner, QStringLiteral("LabelPAspNrOfAddresses"), QStringLiteral("Nr Of Addresses"));
  grid->addWidget(label_addresses_, 1, 0);
  grid->addWidget(MakeLabel(owner, QStringLiteral("LabelPAspAddress"), QStringLiteral("Address")),
                  2, 0);
  for (std::size_t i = 0; i < kCountColumns.size(); ++i) {
    const CountColumnText& text = kCountColumns[i];
    CountColumn& column = counts_[i];
    column.heading = MakeLabel(owner, ElementName("LabelPAspCount", static_cast<int>(i)),
                               QLatin1String(text.heading));
    column.field = MakeField(owner, Name(AddressFieldName(kPinCountFields[i])), column.heading,
                             QLatin1String(text.spoken));
    column.field->setToolTip(QLatin1String(text.tip));
    column.field->FitWidth(QStringLiteral("00"));
    column.up_down = MakeUpDown(owner, QLatin1String(text.up_down), QLatin1String(text.spoken));
    auto* cell = new QHBoxLayout;
    cell->setSpacing(2);
    cell->addWidget(column.field);
    cell->addWidget(column.up_down);
    const int grid_column = static_cast<int>(i) + 1;
    grid->addWidget(column.heading, 0, grid_column);
    grid->addLayout(cell, 1, grid_column);
    ConnectRequest(context_.host, column.field, &NumberField::committed, this,
                   [this, i] { CommitCount(i, {}); });
    ConnectRequest(context_.host, column.up_down, &UpDown::stepped, this,
                   [this, i](int direction) { CommitCount(i, direction); });
  }
  for (std::size_t i = 0; i < kAddressLabels.size(); ++i) {
    const AddressLabelText& text = kAddressLabels[i];
    address_labels_[i] =
        MakeLabel(owner, Name(AddressDisplayName(text.display)), QStringLiteral("-"));
    address_labels_[i]->setToolTip(QLatin1String(text.spoken));
  }
  for (std::size_t i = 0; i < 3; ++i) {
    grid->addWidget(address_labels_[i], 2, static_cast<int>(i) + 1);
  }
  grid->addWidget(
      MakeLabel(owner, QStringLiteral("LabelPAspPinAddress"), QStringLiteral("Pin Address")), 0, 4);
  grid->addWidget(address_labels_[3], 2, 4);
  return owner;
}

QWidget* AspectEditor::BuildButtons() {
  auto* owner = new QWidget(this);
  buttons_grid_ = new QGridLayout(owner);
  buttons_grid_->setContentsMargins(0, 0, 0, 0);
  for (std::size_t i = 0; i < kEditorButtons.size(); ++i) {
    const Operation operation = kEditorButtons[i].operation;
    const OperationEntry& entry = EntryOf(operation);
    buttons_[i] = MakeButton(owner, FromTarnText(entry.button), FromTarnText(entry.caption));
    ConnectRequest(context_.host, buttons_[i], &QPushButton::clicked, this,
                   [this, operation] { context_.host.PressOperation(operation); });
  }
  buttons_grid_->setColumnStretch(kButtonsPerLine, 1);
  return owner;
}

void AspectEditor::PlaceButtons(const EditorVisibility& shown) {
  if (placed_ == shown.buttons) return;  // a refresh moves nothing
  placed_ = shown.buttons;
  // The shown buttons close up, so that hidden ones leave no holes in the lines.
  int place = 0;
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    buttons_grid_->removeWidget(buttons_[i]);
    buttons_[i]->setVisible(shown.buttons[i]);
    if (!shown.buttons[i]) continue;
    buttons_grid_->addWidget(buttons_[i], place / kButtonsPerLine, place % kButtonsPerLine);
    ++place;
  }
}

void AspectEditor::ConnectPinControls(UpDown* pin_up_down) {
  WindowHost& host = context_.host;
  ConnectRequest(host, text_pin_, &NumberField::committed, this, [this] {
    const std::string typed = TypedText(text_pin_);
    ChangePin([&typed](DeviceConfiguration& config) { return SelectPin(config, typed); });
  });
  ConnectRequest(host, pin_up_down, &UpDown::stepped, this, [this](int direction) {
    ChangePin([direction](DeviceConfiguration& config) { return StepPin(config, direction); });
  });
  ConnectRequest(host, text_description_, &QLineEdit::textEdited, this, [this] {
    StoreDescription(text_description_, QStringLiteral("Pin description"), false);
  });
  ConnectRequest(host, text_device_pin_, &NumberField::committed, this,
                 [this] { CommitDevicePin(); });
  ConnectRequest(host, text_device_name_, &QLineEdit::textEdited, this,
                 [this] { StoreDeviceName(text_device_name_->text()); });
  ConnectRequest(host, label_pin_, &ClickLabel::pressedWith, this,
                 [this](Qt::MouseButton button, Qt::KeyboardModifiers) {
                   if (button != Qt::LeftButton) return;
                   CommitPending(EditorChange::kPin);
                   ShowAfterTool(tools_->EditPin(), true);
                 });
}

void AspectEditor::ConnectAspectControls(UpDown* aspect_up_down, UpDown* init_up_down) {
  WindowHost& host = context_.host;
  ConnectRequest(host, text_aspect_, &NumberField::committed, this, [this] {
    const std::string typed = TypedText(text_aspect_);
    ChangeAspect([&typed](DeviceConfiguration& config) { return SelectAspect(config, typed); });
  });
  ConnectRequest(host, aspect_up_down, &UpDown::stepped, this, [this](int direction) {
    ChangeAspect(
        [direction](DeviceConfiguration& config) { return StepAspect(config, direction); });
  });
  ConnectRequest(host, text_init_, &NumberField::committed, this, [this] {
    const std::string typed = TypedText(text_init_);
    CommitInitialAspect(
        [&typed](DeviceConfiguration& config) { return EnterInitialAspect(config, typed); });
  });
  ConnectRequest(host, init_up_down, &UpDown::stepped, this, [this](int direction) {
    CommitInitialAspect(
        [direction](DeviceConfiguration& config) { return StepInitialAspect(config, direction); });
  });
  ConnectRequest(host, text_aspect_description_, &QLineEdit::textEdited, this, [this] {
    StoreDescription(text_aspect_description_, QStringLiteral("Aspect description"), true);
  });
  ConnectRequest(host, label_aspect_, &ClickLabel::pressedWith, this,
                 [this](Qt::MouseButton button, Qt::KeyboardModifiers) {
                   if (button != Qt::LeftButton) return;
                   CommitPending(EditorChange::kAspect);
                   ShowAfterTool(tools_->EditAspect(), false);
                 });
  ConnectRequest(host, show_details_, &QCheckBox::toggled, this, [this] { emit detailsChanged(); });
  // A press of the mouse is handled by the event filter; this is the keyboard's and a screen
  // reader's way to the button, with the keys held when it came.
  connect(test_, &QPushButton::clicked, this, [this] {
    const Qt::KeyboardModifiers held = QGuiApplication::keyboardModifiers();
    context_.host.Request([this, held] { Test(held); });
  });
  ConnectRequest(host, write_single_, &QPushButton::clicked, this, [this] { WriteSingle(); });
}

// --- Showing ---------------------------------------------------------------------------------

void AspectEditor::ShowAll() {
  ShowAspectView();
  ShowAddresses(CurrentPinAddresses());
}

void AspectEditor::ShowAspectView() {
  const AspectView view = tarn::ShowAspectView(context_.config());
  text_pin_->Show(FromTarnText(view.pin_text));
  ShowText(text_description_, FromTarnText(view.description));
  text_device_pin_->Show(FromTarnText(view.device.pin_text));
  ShowText(text_device_name_, FromTarnText(view.device.name.text));
  text_device_name_->setReadOnly(!view.device.name.editable);
  ShowChecked(options_[static_cast<std::size_t>(OptionIndex(view.option))], true);
  text_aspect_->Show(FromTarnText(view.aspect_text));
  ShowText(text_aspect_description_, FromTarnText(view.aspect_description));
  text_init_->Show(FromTarnText(view.initial_aspect_text));
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    counts_[i].field->Show(FromTarnText(view.counts[i]));
  }
  grid_->ShowRows(view.rows);
  ShowPinDifference();
  ApplyVisibility();
}

void AspectEditor::ShowAddresses(const AddressRefresh& refresh) {
  const DeviceConfiguration& config = context_.config();
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (!refresh.Has(kPinCountFields[i])) continue;
    counts_[i].field->Show(
        FromTarnText(AddressFieldText(kPinCountFields[i], config, context_.link)));
  }
  for (std::size_t i = 0; i < kAddressLabels.size(); ++i) {
    if (!refresh.Has(kAddressLabels[i].display)) continue;
    const QString text =
        FromTarnText(ShowAddressDisplay(kAddressLabels[i].display, config, context_.link).text);
    ShowText(address_labels_[i], text);
    // A screen reader hears what the number is, and the number.
    address_labels_[i]->setAccessibleName(QLatin1String(kAddressLabels[i].spoken) +
                                          QLatin1Char(' ') + text);
  }
}

EditorVisibility AspectEditor::CurrentVisibility() const {
  std::array<std::string, 3> texts;
  EditorState state;
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    texts[i] = TypedText(counts_[i].field);
    state.count_texts[i] = texts[i];
  }
  state.details = details_shown();
  state.expert = context_.host.expert_mode();
  state.option = LayoutOptionOf(CurrentPinRecord(context_.config()).aspect_layout);
  return VisibilityOf(state);
}

void AspectEditor::ApplyVisibility() {
  const EditorVisibility shown = CurrentVisibility();
  grid_->setVisible(shown.step_grid);
  grid_->ShowLayout(shown.step_rows, shown.write_single);
  for (QWidget* widget : std::initializer_list<QWidget*>{
           label_aspect_, text_aspect_, up_down_aspect_, label_init_, text_init_, up_down_init_,
           label_aspect_description_, text_aspect_description_, test_}) {
    widget->setVisible(shown.aspect_controls);
  }
  write_single_->setVisible(shown.write_single);
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    for (QWidget* widget : std::initializer_list<QWidget*>{counts_[i].heading, counts_[i].field,
                                                           counts_[i].up_down}) {
      widget->setVisible(shown.counts[i]);
    }
  }
  label_addresses_->setVisible(shown.nr_of_addresses);
  PlaceButtons(shown);
}

void AspectEditor::ShowDifferences(const ChangedGroups& changed) {
  changed_ = changed;
  ShowPinDifference();
}

void AspectEditor::ShowPinDifference() {
  const bool differs = changed_.pins[context_.config().current_pin % kPinCount].Any();
  ShowText(pin_differs_, differs ? QString::fromUtf16(kDiffersMark) : QString());
  pin_differs_->setToolTip(differs ? QLatin1String(kDiffersTip) : QString());
  pin_differs_->setAccessibleName(differs ? QStringLiteral("Pin differs from the Tarn")
                                          : QString());
  const QString description = differs ? QLatin1String(kDiffersSpoken) : QString();
  if (text_pin_->accessibleDescription() != description)
    text_pin_->setAccessibleDescription(description);
}

bool AspectEditor::details_shown() const { return show_details_->isChecked(); }

// --- Changing pin and aspect -----------------------------------------------------------------

void AspectEditor::CommitPending(EditorChange change) {
  const PendingCommits commits = CommitsBefore(change, CurrentVisibility());
  if (commits.pin_configuration) emit aboutToChangePin();
  if (commits.device_pin && text_device_pin_->HasTypedEntry()) CommitDevicePin();
  grid_->CommitRows(commits.step_rows);
  if (commits.aspect && text_aspect_->HasTypedEntry())
    text_aspect_->Show(FromTarnText(SelectAspect(context_.config(), TypedText(text_aspect_))));
  if (commits.initial_aspect && text_init_->HasTypedEntry()) {
    const std::string typed = TypedText(text_init_);
    CommitInitialAspect(
        [&typed](DeviceConfiguration& config) { return EnterInitialAspect(config, typed); });
  }
  for (std::size_t i = 0; i < counts_.size(); ++i) {
    if (commits.counts[i] && counts_[i].field->HasTypedEntry()) CommitCount(i, {});
  }
}

void AspectEditor::ChangePin(const std::function<std::string(DeviceConfiguration&)>& select) {
  CommitPending(EditorChange::kPin);
  // Choosing a pin is not an edit: nothing to undo, nothing unsaved.
  text_pin_->Show(FromTarnText(select(context_.config())));
  emit pinChanged();
  context_.host.ShowAddresses(CurrentPinAddresses());
  ShowAspectView();
}

void AspectEditor::ChangeAspect(const std::function<std::string(DeviceConfiguration&)>& select) {
  CommitPending(EditorChange::kAspect);
  text_aspect_->Show(FromTarnText(select(context_.config())));
  ShowAspectView();
}

void AspectEditor::ShowAfterTool(bool changed, bool pin_tool) {
  if (!changed) return;
  // A pasted pin brings its own address counts, which move the addresses of the pins after it.
  if (pin_tool) context_.host.ShowAddresses(AddressRefresh::Everything());
  ShowAspectView();
  if (pin_tool) emit pinChanged();
}

void AspectEditor::ChooseLayout(LayoutOption option) {
  const QString caption = FromTarnText(kLayoutOptionCaptions[OptionIndex(option)]);
  context_.host.Edit(EditName(QStringLiteral("Aspect layout ") + caption),
                     [&] { ApplyLayoutOption(context_.config(), option); });
  ShowAspectView();
}

void AspectEditor::CommitInitialAspect(
    const std::function<std::string(DeviceConfiguration&)>& enter) {
  std::string text;
  context_.host.Edit("Initial aspect", [&] { text = enter(context_.config()); });
  text_init_->Show(FromTarnText(text));
}

void AspectEditor::CommitCount(std::size_t column, std::optional<int> step) {
  const AddressField field = kPinCountFields[column];
  const std::string typed = TypedText(counts_[column].field);
  AddressConfirmation result;
  context_.host.Edit(kCountColumns[column].spoken, [&] {
    DeviceConfiguration& config = context_.config();
    result = step ? StepAddressField(field, *step > 0 ? StepDirection::kUp : StepDirection::kDown,
                                     config, context_.link)
                  : ConfirmAddressField(field, typed, config, context_.link);
  });
  counts_[column].field->Show(FromTarnText(result.text));
  context_.host.ShowAddresses(result.refresh);
}

void AspectEditor::CommitDevicePin() {
  const std::string typed = TypedText(text_device_pin_);
  DeviceView view;
  context_.host.Edit("Device pin", [&] { view = EnterDevicePin(context_.config(), typed); });
  text_device_pin_->Show(FromTarnText(view.pin_text));
  ShowText(text_device_name_, FromTarnText(view.name.text));
  text_device_name_->setReadOnly(!view.name.editable);
}

void AspectEditor::StoreDescription(QLineEdit* field, const QString& what, bool aspect) {
  DeviceConfiguration& config = context_.config();
  std::string& stored =
      aspect ? CurrentAspectRecord(config).description : CurrentPinRecord(config).description;
  const std::optional<std::string> bytes = ToTarnText(field->text());
  if (!bytes) {
    const int caret = field->cursorPosition();
    context_.prompter.Show(CannotStoreText(what, field->text()), PromptIcon::kWarning);
    field->setText(FromTarnText(stored));
    field->setCursorPosition(std::min(caret, static_cast<int>(field->text().size())));
    return;
  }
  context_.host.EditTyping(EditName(what), [&] { stored = *bytes; });
}

void AspectEditor::StoreDeviceName(const QString& text) {
  DeviceConfiguration& config = context_.config();
  if (!IsDeviceHead(config, config.current_pin)) return;
  const std::optional<std::string> bytes = ToTarnText(text);
  if (!bytes) {
    context_.prompter.Show(CannotStoreText(QStringLiteral("Device name"), text),
                           PromptIcon::kWarning);
    text_device_name_->setText(FromTarnText(CurrentPinRecord(config).device_name));
    return;
  }
  context_.host.EditTyping("Device name",
                           [&] { CurrentPinRecord(config).device_name = *bytes; });
}

// --- The Tarn --------------------------------------------------------------------------------

bool AspectEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == test_ && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() == Qt::LeftButton) {
      const Qt::KeyboardModifiers held = press->modifiers();
      context_.host.Request([this, held] { Test(held); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void AspectEditor::Test(Qt::KeyboardModifiers modifiers) {
  const ModifierKeys keys{.shift = modifiers.testFlag(Qt::ShiftModifier),
                          .control = modifiers.testFlag(Qt::ControlModifier),
                          .alt = modifiers.testFlag(Qt::AltModifier)};
  // A live message: the window stays as it is while it goes.
  context_.host.BackgroundExchange([this, keys] { return context_.live.TestAspect(keys); });
}

void AspectEditor::WriteSingle() {
  context_.host.Exchange("Write Single", [this] {
    const DeviceConfiguration& config = context_.config();
    return context_.session.pins.WriteAspectSteps(CurrentPinRecord(config), config.current_pin,
                                                  config.current_aspect);
  });
}

}  // namespace tarn::ui
