#include "ui/general_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/address_fields.h"
#include "operations/link_address_fields.h"
#include "ui/text.h"
#include "ui/widgets/driver_groups.h"
#include "ui/widgets/lamp_boxes.h"

namespace tarn::ui {
namespace {

using D = AddressDisplay;

// What the window shows again after the Tarn's addressing or DCC settings were read.
constexpr AddressRefresh kAfterAddressingRead =
    AddressRefresh{D::kPinSerialAddress, D::kPinBusAddress}
        .Add(AddressField::kVeskBase)
        .Add(AddressField::kModuleExtendedAddress);
constexpr AddressRefresh kAfterDccRead =
    AddressRefresh{D::kBasicDccRange, D::kExtendedDccRange, D::kPinBasicDccAddress,
                   D::kPinExtendedDccAddress}
        .Add(AddressField::kBasicDccStart)
        .Add(AddressField::kExtendedDccStart);

// A field is wide enough for the twelve characters a Tarn keeps of its ID string.
constexpr int kIdStringShown = 12;

QHBoxLayout* Row(QLayout* parent_layout) {
  auto* row = new QHBoxLayout;
  if (auto* box = qobject_cast<QBoxLayout*>(parent_layout)) box->addLayout(row);
  return row;
}

void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

}  // namespace

GeneralTab::GeneralTab(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabGeneral"));
  auto* rows = new QVBoxLayout(this);
  rows->addWidget(BuildVersionRow());

  // Three columns of frames; the tall LED frame beside the two smaller ones of each column.
  auto* grid = new QGridLayout;
  grid->addWidget(BuildIdFrame(), 0, 0);
  grid->addWidget(BuildDccFrame(), 1, 0);
  grid->addWidget(BuildAddressingFrame(), 0, 1);
  grid->addWidget(BuildHardwareFrame(), 1, 1);
  grid->addWidget(BuildLedFrame(), 0, 2);
  grid->addWidget(BuildSerialFrame(), 1, 2);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(3, 1);
  rows->addLayout(grid, 1);
  ShowAll();
}

// --- Building ----------------------------------------------------------------------------------

QWidget* GeneralTab::BuildVersionRow() {
  auto* owner = new QWidget(this);
  auto* row = new QHBoxLayout(owner);
  row->setContentsMargins(0, 0, 0, 0);
  QLabel* caption =
      MakeLabel(owner, QStringLiteral("LabelGenVersion"), QStringLiteral("Firmware Version:"));
  version_ = MakeLabel(owner, QStringLiteral("LabelGenVersionString"), QString());
  version_->setAccessibleDescription(QStringLiteral("Firmware Version"));
  version_->setMinimumWidth(version_->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")));
  version_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  QPushButton* request =
      MakeButton(owner, QStringLiteral("CommandGenVersion"), QStringLiteral("Request Version"));
  QPushButton* erase =
      MakeButton(owner, QStringLiteral("CommandGenEraseFlash"), QStringLiteral("Erase Flash"));
  erase->setToolTip(QStringLiteral("Erase the Tarn's configuration memory"));
  row->addWidget(caption);
  row->addWidget(version_);
  row->addWidget(request);
  row->addStretch();
  row->addWidget(erase);
  ConnectRequest(context_.host, request, &QPushButton::clicked, this, [this] {
    context_.host.Exchange({}, [this] {
      const bool read = commands().ReadVersion(context_.workspace.firmware_version);
      commands().TakeNotRead();
      return read;
    });
    ShowText(version_, FromTarnText(context_.workspace.firmware_version));
  });
  ConnectRequest(context_.host, erase, &QPushButton::clicked, this, [this] { EraseFlash(); });
  return owner;
}

QWidget* GeneralTab::ButtonRow(QWidget* parent, std::initializer_list<ExchangeButton> buttons) {
  auto* owner = new QWidget(parent);
  auto* row = new QHBoxLayout(owner);
  row->setContentsMargins(0, 0, 0, 0);
  for (const ExchangeButton& entry : buttons) {
    QPushButton* button = MakeButton(owner, QString::fromLatin1(entry.name),
                                     QString::fromLatin1(entry.caption));
    button->setAccessibleDescription(QString::fromLatin1(entry.what));
    row->addWidget(button);
    ConnectRequest(context_.host, button, &QPushButton::clicked, this, [this, entry] {
      const bool read_whole = RunExchange(entry.what, entry.run);
      if (read_whole && entry.read != nullptr) {
        ChangedGroups read;
        read.*entry.read = true;
        context_.host.TookFromTarn(read);
      }
      ShowAll();
      if (entry.after) entry.after();
    });
  }
  row->addStretch();
  return owner;
}

QGroupBox* GeneralTab::BuildIdFrame() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameGen_0"), QStringLiteral("ID String"));
  auto* rows = new QVBoxLayout(frame);
  id_string_ = new QLineEdit(frame);
  id_string_->setObjectName(QStringLiteral("TextGenIDString"));
  id_string_->setAccessibleName(QStringLiteral("ID String"));
  id_string_->setFixedWidth(
      id_string_->fontMetrics().horizontalAdvance(QString(kIdStringShown, QLatin1Char('W'))) + 12);
  rows->addWidget(id_string_);
  rows->addWidget(ButtonRow(frame, {{"CommandGenIDRead",
                                     "Read String",
                                     "Read ID String",
                                     [this] { return commands().ReadIdString(settings()); },
                                     {},
                                     &ChangedGroups::id_string},
                                    {"CommandGenIDWrite",
                                     "Write String",
                                     "Write ID String",
                                     [this] { return commands().WriteIdString(settings()); },
                                     {}}}));
  ConnectRequest(context_.host, id_string_, &QLineEdit::editingFinished, this,
                 [this] { CommitIdString(); });
  return frame;
}

void GeneralTab::AddAddressField(QWidget* parent, QGridLayout* grid, int row, AddressField field,
                                 const QString& label_name, std::string_view caption) {
  const QString spoken = FromTarnText(caption);
  QLabel* label = MakeLabel(parent, label_name, spoken);
  const QString name = FromTarnText(AddressFieldName(field));
  NumberField* text = MakeField(parent, name, label);
  UpDown* up_down =
      MakeUpDown(parent, QStringLiteral("UpDown") + name.mid(QStringLiteral("Text").size()), spoken);
  grid->addWidget(label, row, 0);
  grid->addWidget(text, row, 1);
  grid->addWidget(up_down, row, 2);
  const AddressWidgets widgets{field, text, caption};
  address_fields_.push_back(widgets);
  ConnectRequest(context_.host, text, &NumberField::committed, this,
                 [this, widgets] { CommitAddress(widgets); });
  ConnectRequest(context_.host, up_down, &UpDown::stepped, this,
                 [this, widgets](int direction) { StepAddress(widgets, direction); });
  if (field == AddressField::kVeskBase) {
    vesk_base_label_ = label;
    vesk_base_ = text;
    vesk_base_up_down_ = up_down;
  }
}

QGroupBox* GeneralTab::BuildChoice(QWidget* parent, GeneralChoice choice,
                                   const QString& frame_name, const QString& caption,
                                   Qt::Orientation orientation) {
  QGroupBox* frame = MakeFrame(parent, frame_name, caption);
  QBoxLayout* layout = orientation == Qt::Horizontal
                           ? static_cast<QBoxLayout*>(new QHBoxLayout(frame))
                           : static_cast<QBoxLayout*>(new QVBoxLayout(frame));
  layout->setSpacing(4);
  ChoiceOptions options{choice, {}};
  for (const ChoiceEntry& entry : GeneralChoiceEntries(choice)) {
    QRadioButton* option =
        MakeOption(frame, ElementName(GeneralChoiceName(choice), entry.index),
                   FromTarnText(entry.caption), FromTarnText(entry.spoken));
    layout->addWidget(option);
    options.options.emplace_back(entry.index, option);
    const int index = entry.index;
    ConnectRequest(context_.host, option, &QRadioButton::toggled, this,
                   [this, choice, index, caption](bool on) {
                     if (!on) return;
                     context_.host.Edit(caption.toStdString(),
                                        [&] { Choose(choice, index, settings()); });
                     ShowChoices();
                   });
  }
  choices_.push_back(std::move(options));
  return frame;
}

void GeneralTab::ConnectBox(QCheckBox* box, std::string_view what,
                            std::function<void(bool)> store) {
  ConnectRequest(context_.host, box, &QCheckBox::toggled, this, [this, what, store](bool on) {
    context_.host.Edit(what, [&] { store(on); });
    ShowAll();
  });
}

QGroupBox* GeneralTab::BuildDccFrame() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameGen_1"), QStringLiteral("DCC"));
  auto* rows = new QVBoxLayout(frame);
  rows->addWidget(BuildChoice(frame, GeneralChoice::kPacketRetention,
                              QStringLiteral("FrameGenDCC_PRP"),
                              QStringLiteral("Packet Retention"), Qt::Horizontal));
  packet_state_invert_ = MakeCheckBox(frame, QStringLiteral("ChkGenDCC_BPSI"),
                                      QStringLiteral("Basic Packet State Invert"));
  allow_address_0_ =
      MakeCheckBox(frame, QStringLiteral("ChkGenDCCAllow0"), QStringLiteral("Allow Address 0"));
  QHBoxLayout* boxes = Row(rows);
  boxes->addWidget(packet_state_invert_);
  boxes->addWidget(allow_address_0_);
  boxes->addStretch();

  auto* grid = new QGridLayout;
  rows->addLayout(grid);
  AddAddressField(frame, grid, 0, AddressField::kBasicDccStart, QStringLiteral("LabelGenDCC_0"),
                  "Basic Decoder Addr");
  AddAddressField(frame, grid, 1, AddressField::kExtendedDccStart,
                  QStringLiteral("LabelGenDCC_1"), "Extended Dec. Addr");
  dcc_output_ = MakeLabel(frame, FromTarnText(AddressDisplayName(D::kBasicDccRange)), QString());
  xdcc_output_ =
      MakeLabel(frame, FromTarnText(AddressDisplayName(D::kExtendedDccRange)), QString());
  dcc_output_->setAccessibleDescription(QStringLiteral("Basic DCC outputs"));
  xdcc_output_->setAccessibleDescription(QStringLiteral("Extended DCC outputs"));
  const int output_width =
      dcc_output_->fontMetrics().horizontalAdvance(QStringLiteral("Output 2045 .. OVERFLOW"));
  dcc_output_->setMinimumWidth(output_width);
  xdcc_output_->setMinimumWidth(output_width);
  grid->addWidget(dcc_output_, 0, 3);
  grid->addWidget(xdcc_output_, 1, 3);
  grid->setColumnStretch(4, 1);

  rows->addWidget(ButtonRow(
      frame, {{"CommandGenDCCRead", "Read Settings", "Read DCC Settings",
               [this] { return commands().ReadDcc(settings()); },
               [this] { context_.host.ShowAddresses(kAfterDccRead); }, &ChangedGroups::dcc},
              {"CommandGenDCCWrite",
               "Write Settings",
               "Write DCC Settings",
               [this] { return commands().WriteDcc(settings()); },
               {}}}));
  rows->addStretch();

  ConnectBox(packet_state_invert_, "Basic Packet State Invert",
             [this](bool on) { settings().basic_packet_state_invert = on; });
  ConnectRequest(context_.host, allow_address_0_, &QCheckBox::toggled, this,
                 [this](bool on) { AllowAddress0Toggled(on); });
  return frame;
}

QGroupBox* GeneralTab::BuildAddressingFrame() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameGen_2"),
                               QStringLiteral("Serial Addressing Options"));
  auto* rows = new QVBoxLayout(frame);
  vesk_flexible_ = MakeCheckBox(frame, QStringLiteral("CheckGenVeskaddr"),
                                QStringLiteral("Enable Vesk Flex-Addresss"));
  tarn_native_ = MakeCheckBox(frame, QStringLiteral("CheckGenTarnNative"),
                              QStringLiteral("Enable Native Tarn Mode"));
  auto* grid = new QGridLayout;
  rows->addLayout(grid);
  grid->addWidget(vesk_flexible_, 0, 0, 1, 3);
  // The base field sits beside the box that switches it on.
  auto* base_grid = new QGridLayout;
  grid->addLayout(base_grid, 0, 3);
  AddAddressField(frame, base_grid, 0, AddressField::kVeskBase, QStringLiteral("LabelGenXA_4"),
                  "Start");
  grid->addWidget(tarn_native_, 1, 0, 1, 3);
  AddAddressField(frame, grid, 2, AddressField::kModuleExtendedAddress,
                  QStringLiteral("LabelGenXA_0"), "Module eXtended Address");
  grid->setColumnStretch(4, 1);
  for (QWidget* widget : std::initializer_list<QWidget*>{vesk_flexible_, tarn_native_,
                                                         vesk_base_label_, vesk_base_,
                                                         vesk_base_up_down_}) {
    KeepPlaceWhenHidden(widget);
  }

  rows->addWidget(
      MakeLabel(frame, QStringLiteral("LabelGenXA_1"), QStringLiteral("eXtended Group Mask")));
  auto* groups = new QGridLayout;
  groups->setHorizontalSpacing(4);
  rows->addLayout(groups);
  constexpr int kGroupsPerRow = 8;
  for (int g = 0; g < kExtendedGroupCount; ++g) {
    QCheckBox* box = MakeCheckBox(frame, ElementName("CheckGenXGM", g), QString::number(g));
    box->setAccessibleName(FromTarnText(ExtendedGroupBoxName(g)));
    extended_groups_[static_cast<std::size_t>(g)] = box;
    groups->addWidget(box, g / kGroupsPerRow, g % kGroupsPerRow);
    ConnectBox(box, "Extended group", [this, g](bool on) {
      settings().extended_group_mask[static_cast<std::size_t>(g)] = on;
    });
  }
  groups->setColumnStretch(kGroupsPerRow, 1);

  rows->addWidget(
      ButtonRow(frame, {{"CommandGenAddrRead", "Read Settings", "Read Addressing Settings",
                         [this] { return ReadAddressing(); },
                         [this] {
                           context_.host.ApplyVisibility();
                           context_.host.ShowAddresses(kAfterAddressingRead);
                         },
                         &ChangedGroups::module_address_settings},
                        {"CommandGenAddrWrite",
                         "Write Settings",
                         "Write Addressing Settings",
                         [this] { return commands().WriteAddressing(settings()); },
                         {}}}));
  rows->addStretch();

  ConnectRequest(context_.host, vesk_flexible_, &QCheckBox::toggled, this,
                 [this](bool on) { VeskFlexibleToggled(on); });
  ConnectRequest(context_.host, tarn_native_, &QCheckBox::toggled, this,
                 [this](bool on) { TarnNativeToggled(on); });
  return frame;
}

QGroupBox* GeneralTab::BuildLedFrame() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameGen_3"), QStringLiteral("LED Control"));
  auto* rows = new QVBoxLayout(frame);
  green_ = new LampBoxes(frame, QStringLiteral("FrameLCGreen"), QStringLiteral("Green LED"),
                         "CheckLCGreen", kGreenLedBoxTexts);
  orange_ = new LampBoxes(frame, QStringLiteral("FrameLCOrange"), QStringLiteral("Orange LED"),
                          "CheckLCOrange", kOrangeLedBoxTexts);
  QHBoxLayout* lamps = Row(rows);
  lamps->addWidget(green_);
  lamps->addWidget(orange_);
  rows->addWidget(ButtonRow(frame, {{"CommandLCRead",
                                     "Read Settings",
                                     "Read LED Settings",
                                     [this] { return commands().ReadLamps(settings()); },
                                     {},
                                     &ChangedGroups::led},
                                    {"CommandLCWrite",
                                     "Write Settings",
                                     "Write LED Settings",
                                     [this] { return commands().WriteLamps(settings()); },
                                     {}}}));
  rows->addStretch();
  ConnectRequest(context_.host, green_, &LampBoxes::boxChanged, this,
                 [this](int box, bool ticked) { LampChanged(true, box, ticked); });
  ConnectRequest(context_.host, orange_, &LampBoxes::boxChanged, this,
                 [this](int box, bool ticked) { LampChanged(false, box, ticked); });
  return frame;
}

QGroupBox* GeneralTab::BuildHardwareFrame() {
  QGroupBox* frame =
      MakeFrame(this, QStringLiteral("FrameGen_4"), QStringLiteral("Hardware Config"));
  auto* rows = new QVBoxLayout(frame);
  drivers_ = new DriverGroups(frame);
  rows->addWidget(drivers_);
  rows->addWidget(
      ButtonRow(frame, {{"CommandGenHWCRead", "Read Config", "Read Hardware Config",
                         [this] { return commands().ReadHardwareConfiguration(settings()); },
                         [this] { context_.host.Redraw({Refresh::kPinConfiguration}); },
                         &ChangedGroups::hardware_configuration},
                        {"CommandGenHWCWrite",
                         "Write Config",
                         "Write Hardware Config",
                         [this] { return commands().WriteHardwareConfiguration(settings()); },
                         {}}}));
  rows->addStretch();
  ConnectRequest(
      context_.host, drivers_, &DriverGroups::boxChanged, this,
      [this](int group, bool source, bool ticked) { DriverChanged(group, source, ticked); });
  return frame;
}

QGroupBox* GeneralTab::BuildSerialFrame() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameGen_5"), QStringLiteral("Serial Port"));
  auto* rows = new QVBoxLayout(frame);
  serial_enable_ =
      MakeCheckBox(frame, QStringLiteral("CheckGenSerialEnable"), QStringLiteral("Enable"));
  QLabel* rate_label =
      MakeLabel(frame, QStringLiteral("LabelGenSerial_0"), QStringLiteral("Baud Rate"));
  bit_rate_ = MakeComboBox(frame, FromTarnText(GeneralChoiceName(GeneralChoice::kSerialBitRate)),
                           rate_label);
  for (const ChoiceEntry& entry : GeneralChoiceEntries(GeneralChoice::kSerialBitRate)) {
    bit_rate_->addItem(FromTarnText(entry.caption), entry.index);
  }
  QHBoxLayout* top = Row(rows);
  top->addWidget(serial_enable_);
  top->addSpacing(12);
  top->addWidget(rate_label);
  top->addWidget(bit_rate_);
  top->addStretch();

  QHBoxLayout* options = Row(rows);
  options->addWidget(BuildChoice(frame, GeneralChoice::kSerialDataBits,
                                 QStringLiteral("FrameGenSerial_0"), QStringLiteral("Data Bits"),
                                 Qt::Vertical));
  options->addWidget(BuildChoice(frame, GeneralChoice::kSerialStopBits,
                                 QStringLiteral("FrameGenSerial_1"), QStringLiteral("Stop Bits"),
                                 Qt::Vertical));
  options->addWidget(BuildChoice(frame, GeneralChoice::kSerialParity,
                                 QStringLiteral("FrameGenSerial_2"), QStringLiteral("Parity"),
                                 Qt::Vertical));
  options->addStretch();
  rows->addWidget(ButtonRow(frame, {{"CommandGenSerialRead",
                                     "Read Settings",
                                     "Read Serial Port Settings",
                                     [this] { return commands().ReadSerialPort(settings()); },
                                     {},
                                     &ChangedGroups::serial_port},
                                    {"CommandGenSerialWrite",
                                     "Write Settings",
                                     "Write Serial Port Settings",
                                     [this] { return commands().WriteSerialPort(settings()); },
                                     {}}}));
  rows->addStretch();

  ConnectBox(serial_enable_, "Enable", [this](bool on) { settings().serial_port_enable = on; });
  ConnectRequest(context_.host, bit_rate_, &QComboBox::currentIndexChanged, this, [this](int row) {
    if (row < 0) return;
    const int index = bit_rate_->itemData(row).toInt();
    context_.host.Edit("Baud Rate",
                       [&] { Choose(GeneralChoice::kSerialBitRate, index, settings()); });
    ShowChoices();
  });
  return frame;
}

// --- What the user does ------------------------------------------------------------------------

void GeneralTab::CommitIdString() {
  const QString typed = id_string_->text();
  const std::optional<std::string> bytes = ToTarnText(typed);
  if (!bytes) {
    context_.prompter.Show(CannotStoreText(QStringLiteral("ID String"), typed),
                           PromptIcon::kWarning);
  } else {
    context_.host.Edit("ID String", [&] { settings().id_string = *bytes; });
  }
  // The field shows what the model holds, the refused text included.
  id_string_->setText(FromTarnText(settings().id_string));
}

void GeneralTab::CommitAddress(const AddressWidgets& widgets) {
  const std::string typed = TypedText(widgets.text);
  AddressRefresh refresh;
  context_.host.Edit(widgets.what, [&] {
    refresh =
        ConfirmAddressField(widgets.field, typed, context_.config(), context_.link).refresh;
  });
  widgets.text->Show(
      FromTarnText(AddressFieldText(widgets.field, context_.config(), context_.link)));
  context_.host.ShowAddresses(refresh);
}

void GeneralTab::StepAddress(const AddressWidgets& widgets, int direction) {
  AddressRefresh refresh;
  context_.host.Edit(widgets.what, [&] {
    refresh = StepAddressField(widgets.field,
                               direction > 0 ? StepDirection::kUp : StepDirection::kDown,
                               context_.config(), context_.link)
                  .refresh;
  });
  widgets.text->Show(
      FromTarnText(AddressFieldText(widgets.field, context_.config(), context_.link)));
  context_.host.ShowAddresses(refresh);
}

void GeneralTab::AllowAddress0Toggled(bool on) {
  AddressRefresh refresh;
  context_.host.Edit("Allow Address 0",
                     [&] { refresh = SwitchAllowAddress0(on, context_.config()); });
  ShowChecked(allow_address_0_, settings().allow_address_0);
  context_.host.ShowAddresses(refresh);
}

void GeneralTab::VeskFlexibleToggled(bool on) {
  if (on && !context_.workspace.programmatic_update &&
      context_.prompter.Show(kVeskFlexibleAddressingWarning, PromptIcon::kWarning,
                             PromptButtons::kOkCancel) != PromptAnswer::kOk) {
    ShowAddressing();
    return;
  }
  AddressRefresh refresh;
  context_.host.Edit("Enable Vesk Flex-Addresss",
                     [&] { refresh = SwitchVeskFlexibleAddressing(on, context_.config()); });
  ShowAddressing();
  context_.host.ApplyVisibility();
  context_.host.ShowAddresses(refresh.Add(AddressField::kVeskBase));
}

void GeneralTab::TarnNativeToggled(bool on) {
  AddressRefresh refresh;
  context_.host.Edit("Enable Native Tarn Mode",
                     [&] { refresh = SwitchTarnNativeMode(on, context_.config()); });
  ShowAddressing();
  context_.host.ApplyVisibility();
  context_.host.ShowAddresses(refresh);
}

void GeneralTab::LampChanged(bool green, int box, bool ticked) {
  std::uint8_t& mask = green ? settings().green_led_mask : settings().orange_led_mask;
  context_.host.Edit(green ? "Green LED" : "Orange LED",
                     [&] { mask = LedMaskAfterClick(mask, box, ticked); });
  (green ? green_ : orange_)->Show(green ? settings().green_led_mask : settings().orange_led_mask);
}

void GeneralTab::DriverChanged(int group, bool source, bool ticked) {
  context_.host.Edit(source ? "Source" : "Sink", [&] {
    (source ? settings().source_driver : settings().sink_driver)[static_cast<std::size_t>(group)] =
        ticked;
  });
  drivers_->Show(settings());
  // The pin configuration warns of pins the drivers cannot serve.
  context_.host.Redraw({Refresh::kPinConfiguration});
}

bool GeneralTab::RunExchange(std::string_view name, const std::function<bool()>& exchange) {
  return context_.host.Exchange(name, [&] {
    const bool result = exchange();
    // The message was shown; a button's read has no list of what was not read to add it to, but
    // what it went past was not read whole.
    return commands().TakeNotRead().empty() && result;
  });
}

bool GeneralTab::ReadAddressing() {
  // The boxes the read sets are the program's doing, not the user's clicks.
  const ProgrammaticUpdate program_sets_the_boxes(context_.workspace);
  const bool read = commands().ReadAddressing(settings());
  ShowAddressing();
  return read;
}

void GeneralTab::EraseFlash() {
  const bool sent = RunExchange({}, [this] { return commands().EraseFlash(); });
  // The Tarn no longer holds what the window last saw of it.
  if (sent) context_.host.LinkTargetChanged();
}

// --- Showing -----------------------------------------------------------------------------------

void GeneralTab::ShowAll() {
  const GeneralSettings& s = settings();
  ShowText(version_, FromTarnText(context_.workspace.firmware_version));
  const QString id = FromTarnText(s.id_string);
  if (id_string_->text() != id) id_string_->setText(id);
  ShowChoices();
  ShowChecked(packet_state_invert_, s.basic_packet_state_invert);
  ShowChecked(allow_address_0_, s.allow_address_0);
  ShowAddressing();
  for (std::size_t g = 0; g < extended_groups_.size(); ++g) {
    ShowChecked(extended_groups_[g], s.extended_group_mask[g]);
  }
  green_->Show(s.green_led_mask);
  orange_->Show(s.orange_led_mask);
  drivers_->Show(s);
  ShowChecked(serial_enable_, s.serial_port_enable);
  ShowAddresses(AddressRefresh::Everything());
}

void GeneralTab::ShowChoices() {
  for (const ChoiceOptions& choice : choices_) {
    const int selected = SelectedChoice(choice.choice, settings());
    for (const auto& [index, option] : choice.options) {
      if (index == selected) ShowChecked(option, true);
    }
  }
  ShowCurrentIndex(bit_rate_,
                   bit_rate_->findData(SelectedChoice(GeneralChoice::kSerialBitRate, settings())));
}

void GeneralTab::ShowAddressing() {
  const GeneralSettings& s = settings();
  ShowChecked(vesk_flexible_, IsVeskFlexibleAddressing(s));
  ShowChecked(tarn_native_, IsTarnNativeMode(s));
  const AddressingVisibility shown = AddressingFieldsVisibility(s);
  vesk_flexible_->setVisible(shown.vesk_flexible);
  tarn_native_->setVisible(shown.tarn_native);
  vesk_base_label_->setVisible(shown.vesk_base);
  vesk_base_->setVisible(shown.vesk_base);
  vesk_base_up_down_->setVisible(shown.vesk_base);
  vesk_base_->Show(
      FromTarnText(AddressFieldText(AddressField::kVeskBase, context_.config(), context_.link)));
}

void GeneralTab::ShowDisplay(AddressDisplay display, QLabel* label) {
  const AddressText shown = ShowAddressDisplay(display, context_.config(), context_.link);
  ShowText(label, FromTarnText(shown.text));
  ShowOverflow(label, shown.overflow);
}

void GeneralTab::ShowAddresses(const AddressRefresh& refresh) {
  for (const AddressWidgets& widgets : address_fields_) {
    if (!refresh.Has(widgets.field)) continue;
    widgets.text->Show(
        FromTarnText(AddressFieldText(widgets.field, context_.config(), context_.link)));
  }
  if (refresh.Has(D::kBasicDccRange)) ShowDisplay(D::kBasicDccRange, dcc_output_);
  if (refresh.Has(D::kExtendedDccRange)) ShowDisplay(D::kExtendedDccRange, xdcc_output_);
  if (refresh.Has(D::kPinGroupHeading)) drivers_->ShowNumbering(context_.numbering_base());
}

}  // namespace tarn::ui
