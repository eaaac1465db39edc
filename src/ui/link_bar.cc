#include "ui/link_bar.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/address_fields.h"
#include "operations/link_address_fields.h"
#include "operations/write_changes.h"
#include "ui/text.h"

namespace tarn::ui {
namespace {

constexpr const char* kPortHint = "Pick a port, or type a device path and press Enter";
constexpr std::array<const char*, 3> kBitRateCaptions = {"  9k6", "19k2", "38k4"};
constexpr std::array<const char*, 3> kBitRateSpoken = {"9600 bit/s", "19200 bit/s", "38400 bit/s"};

}  // namespace

LinkBar::LinkBar(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(0, 0, 0, 0);
  rows->addWidget(BuildPortRow());
  rows->addWidget(BuildModeRow());
  rows->addWidget(BuildOperationRow());

  text_response_ = new QLineEdit(this);
  text_response_->setObjectName(QStringLiteral("TextResponse"));
  text_response_->setAccessibleName(QStringLiteral("Response"));
  text_response_->setReadOnly(true);
  text_response_->hide();
  rows->addWidget(text_response_);
  ShowExtendedAddressing();
}

QWidget* LinkBar::BuildPortRow() {
  auto* owner = new QWidget(this);
  QHBoxLayout* row = MakeRow(owner);

  label_port_ = MakeClickLabel(owner, QStringLiteral("LabelPort"), QStringLiteral("Port:"));
  label_port_->setToolTip(QStringLiteral("Double-click for the bit rate"));
  combo_port_ = MakeComboBox(owner, QStringLiteral("ComboPort"), nullptr, QStringLiteral("Port"));
  combo_port_->setEditable(true);
  combo_port_->setInsertPolicy(QComboBox::NoInsert);
  // Room for a device path such as a pseudo-terminal's link in a temporary folder.
  combo_port_->setMinimumContentsLength(26);
  combo_port_->lineEdit()->setPlaceholderText(QStringLiteral("number or device path"));
  // The field a port is typed into is a control of its own to a screen reader.
  combo_port_->lineEdit()->setAccessibleName(QStringLiteral("Port"));
  combo_port_->setToolTip(QLatin1String(kPortHint));
  label_port_state_ = MakeLabel(owner, QStringLiteral("LabelPortState"), QString());
  label_port_state_->setAccessibleName(QStringLiteral("Port state"));
  auto* refresh = MakeButton(owner, QStringLiteral("cmdRefreshComm"), QStringLiteral("Refresh"));
  row->addWidget(label_port_);
  row->addWidget(combo_port_);
  row->addWidget(label_port_state_);
  row->addWidget(refresh);
  ShowPortOpen(false);

  frame_bitrate_ = MakeFrame(owner, QStringLiteral("FrameBitrate"), QStringLiteral("Bitrate"));
  auto* rates = MakeRow(frame_bitrate_);
  rates->setContentsMargins(6, 0, 6, 0);
  for (int i = 0; i < 3; ++i) {
    bit_rates_[i] = MakeOption(frame_bitrate_, ElementName("OptionBitRate", i),
                               QString::fromLatin1(kBitRateCaptions[i]),
                               QString::fromLatin1(kBitRateSpoken[i]));
    rates->addWidget(bit_rates_[i]);
    ConnectRequest(context_.host, bit_rates_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (!on) return;
      context_.link.SelectBitRate(i);
      context_.host.LinkTargetChanged();
    });
  }
  frame_bitrate_->hide();
  row->addWidget(frame_bitrate_);
  row->addSpacing(12);

  label_address_ = MakeLabel(owner, QStringLiteral("LabelAddress"), QStringLiteral("Module Address"));
  text_address_ = MakeField(owner, QStringLiteral("TextAddress"), label_address_,
                            QStringLiteral("Address"));
  auto* up_down_address =
      MakeUpDown(owner, QStringLiteral("UpDownAddress"), QStringLiteral("Address"));
  row->addWidget(label_address_);
  row->addWidget(text_address_);
  row->addWidget(up_down_address);

  check_xaddress_ =
      MakeCheckBox(owner, QStringLiteral("CheckXaddress"), QStringLiteral("Use eXtended Addr"));
  label_xaddress_ =
      MakeLabel(owner, QStringLiteral("LabelXaddress"), QStringLiteral("eXtended address"));
  txt_xaddr_ = MakeField(owner, QStringLiteral("txtXaddr"), label_xaddress_);
  up_down_xaddr_ =
      MakeUpDown(owner, QStringLiteral("UpDownXaddr"), QStringLiteral("eXtended address"));
  row->addWidget(check_xaddress_);
  row->addWidget(label_xaddress_);
  row->addWidget(txt_xaddr_);
  row->addWidget(up_down_xaddr_);
  row->addStretch();

  const auto toggle_bit_rates = [this] { frame_bitrate_->setVisible(frame_bitrate_->isHidden()); };
  ConnectRequest(context_.host, label_port_, &ClickLabel::doubleClicked, this, toggle_bit_rates);
  ConnectRequest(context_.host, label_port_, &ClickLabel::activatedWithoutMouse, this,
                 toggle_bit_rates);
  // "Refresh" closes the port and probes every one: never in the middle of an exchange.
  ConnectRequest(context_.host, refresh, &QPushButton::clicked, this, [this] {
    RefreshPorts();
    context_.host.LinkTargetChanged();
  });
  // A pick in the list, even of the port shown (after its adapter came back), opens it; so does
  // Enter on a typed path. The text is the one chosen, whatever the list holds by the time an
  // exchange in progress has ended.
  connect(combo_port_, &QComboBox::activated, this, [this](int index) {
    context_.host.Request([this, text = combo_port_->itemText(index)] { ChoosePort(text); });
  });
  connect(combo_port_->lineEdit(), &QLineEdit::returnPressed, this, [this] {
    const QString text = combo_port_->currentText();
    if (combo_port_->findText(text) >= 0) return;
    context_.host.Request([this, text] { ChoosePort(text); });
  });
  WindowHost& host = context_.host;
  ConnectRequest(host, text_address_, &NumberField::committed, this,
                 [this] { CommitAddress(AddressField::kModuleAddress, text_address_); });
  ConnectRequest(host, up_down_address, &UpDown::stepped, this, [this](int direction) {
    StepAddress(AddressField::kModuleAddress, text_address_, direction);
  });
  ConnectRequest(host, txt_xaddr_, &NumberField::committed, this,
                 [this] { CommitAddress(AddressField::kLinkExtendedAddress, txt_xaddr_); });
  ConnectRequest(host, up_down_xaddr_, &UpDown::stepped, this, [this](int direction) {
    StepAddress(AddressField::kLinkExtendedAddress, txt_xaddr_, direction);
  });
  ConnectRequest(host, check_xaddress_, &QCheckBox::toggled, this,
                 [this](bool on) { ExtendedAddressingToggled(on); });
  return owner;
}

QWidget* LinkBar::BuildModeRow() {
  auto* owner = new QWidget(this);
  QHBoxLayout* row = MakeRow(owner);
  check_bidirectional_ = MakeCheckBox(owner, QStringLiteral("CheckTarnBD"),
                                      QStringLiteral("Bidirectional Comm."));
  check_bidirectional_->setChecked(context_.link.bidirectional());
  check_tolvik_ =
      MakeCheckBox(owner, QStringLiteral("CheckTolvik"), QStringLiteral("Use Tolvik Tunneling"));
  set_transparent_ = MakeButton(owner, QStringLiteral("cmdSetTM"),
                                QStringLiteral("Activate Transparent Mode"));
  set_transparent_->setToolTip(
      QStringLiteral("Switch NQ-7 or Plexa in Transparant Mode for Tarn Configuration"));
  check_numbering_ = MakeCheckBox(owner, QStringLiteral("CheckKLnumber"),
                                  QStringLiteral("Start numbering at 1"));
  for (QWidget* control : std::initializer_list<QWidget*>{
           check_bidirectional_, check_tolvik_, set_transparent_, check_numbering_}) {
    row->addWidget(control);
  }
  row->addStretch();

  WindowHost& host = context_.host;
  ConnectRequest(host, check_bidirectional_, &QCheckBox::toggled, this, [this](bool on) {
    context_.link.SetBidirectional(on);
    ShowBidirectional(context_.link.bidirectional());
  });
  ConnectRequest(host, check_tolvik_, &QCheckBox::toggled, this, [this](bool on) {
    // The link sets the box to what it settled on, through its listener.
    ShowTunnelling(context_.link.tunnelling());
    context_.host.Exchange({}, [this, on] {
      context_.link.SwitchTunnelling(on);
      return true;
    });
  });
  ConnectRequest(host, set_transparent_, &QPushButton::clicked, this, [this] {
    context_.host.Exchange({}, [this] {
      context_.link.ActivateTransparentMode();
      return true;
    });
  });
  ConnectRequest(host, check_numbering_, &QCheckBox::toggled, this, [this](bool on) {
    context_.host.Edit("Start numbering at 1",
                       [this, on] { SwitchNumberingBase(on, context_.config()); });
    // Every number shown moves, in every view.
    context_.host.ShowEverything();
  });
  return owner;
}

QWidget* LinkBar::BuildOperationRow() {
  auto* owner = new QWidget(this);
  QHBoxLayout* row = MakeRow(owner);
  for (const Operation operation :
       {Operation::kReadAll, Operation::kWriteAll, Operation::kVerifyAll}) {
    const OperationEntry& entry = EntryOf(operation);
    auto* button = MakeButton(owner, FromTarnText(entry.button), FromTarnText(entry.caption));
    row->addWidget(button);
    ConnectRequest(context_.host, button, &QPushButton::clicked, this,
                   [this, operation] { context_.host.PressOperation(operation); });
    if (operation == Operation::kWriteAll) {
      auto* changes = MakeButton(owner, QStringLiteral("CommandWriteChanges"),
                                 FromTarnText(kWriteChangesCaption));
      changes->setToolTip(QStringLiteral("Write only what differs from the Tarn"));
      row->addWidget(changes);
      ConnectRequest(context_.host, changes, &QPushButton::clicked, this,
                     [this] { emit writeChangesRequested(); });
    }
  }
  label_differences_ = MakeLabel(owner, QStringLiteral("LabelDifferences"), QString());
  row->addWidget(label_differences_);
  row->addSpacing(12);
  auto* save = MakeButton(owner, QStringLiteral("CommandSave"), QStringLiteral("Save File"));
  save->setToolTip(QStringLiteral("Shift+Save File to save compact"));
  auto* load = MakeButton(owner, QStringLiteral("CommandLoad"), QStringLiteral("Load File"));
  load->setToolTip(QStringLiteral("Read from file"));
  row->addWidget(save);
  row->addWidget(load);
  row->addStretch();
  release_ = MakeClickLabel(owner, QStringLiteral("Release"), QStringLiteral("Release 3.10a"));
  row->addWidget(release_);

  // The keys held at the click, not when a held request comes to run.
  connect(save, &QPushButton::clicked, this, [this] {
    const Qt::KeyboardModifiers held = QApplication::queryKeyboardModifiers();
    context_.host.Request([this, held] {
      if (const std::optional<DataFileForm> form =
              SaveFormFor(held.testFlag(Qt::ShiftModifier), held.testFlag(Qt::ControlModifier),
                          held.testFlag(Qt::AltModifier))) {
        emit saveRequested(*form);
      }
    });
  });
  WindowHost& host = context_.host;
  ConnectRequest(host, load, &QPushButton::clicked, this, [this] { emit loadRequested(); });
  ConnectRequest(host, release_, &ClickLabel::pressedWith, this,
                 [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
                   ReleasePressed(button, modifiers);
                 });
  const auto toggle_response = [this] { text_response_->setVisible(text_response_->isHidden()); };
  ConnectRequest(host, release_, &ClickLabel::doubleClicked, this, toggle_response);
  ConnectRequest(host, release_, &ClickLabel::activatedWithoutMouse, this, toggle_response);
  return owner;
}

void LinkBar::ReleasePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
  if (button != Qt::RightButton) return;
  if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) {
    emit communicationLogAsked();
  } else {
    emit expertModeAsked();
  }
}

void LinkBar::RefreshPorts() {
  const std::vector<std::string> ports = context_.link.BuildPortList();
  if (port_watch_) port_watch_->Offer(ports);
  combo_port_->clear();
  for (const std::string& port : ports) combo_port_->addItem(FromTarnText(port));
  combo_port_->setCurrentIndex(-1);
  combo_port_->setEditText(QString());
}

void LinkBar::WatchPorts(PortCatalogue& catalogue) {
  port_watch_ = std::make_unique<PortWatch>(catalogue, context_.link);
  port_timer_.setObjectName(QStringLiteral("TimerPorts"));
  port_timer_.setInterval(kPortWatchMilliseconds);
  connect(&port_timer_, &QTimer::timeout, this, &LinkBar::LookAtPorts);
  port_timer_.start();
}

void LinkBar::LookAtPorts() {
  // Not in the middle of an exchange (which finds a port gone by itself), nor under a message
  // box that a look before this one opened.
  if (!port_watch_ || context_.host.busy() || QApplication::activeModalWidget() != nullptr) return;
  if (const std::optional<std::vector<std::string>> ports = port_watch_->Look()) {
    ShowPortList(*ports);
  }
}

void LinkBar::ShowPortList(const std::vector<std::string>& ports) {
  // The field keeps showing what was chosen or typed, also when its entry left the list.
  const QString shown = combo_port_->currentText();
  const QSignalBlocker quiet(combo_port_);
  combo_port_->clear();
  for (const std::string& port : ports) combo_port_->addItem(FromTarnText(port));
  combo_port_->setCurrentIndex(combo_port_->findText(shown));
  combo_port_->setEditText(shown);
  combo_port_->lineEdit()->setCursorPosition(0);
}

void LinkBar::ShowPortOpen(bool open) {
  ShowText(label_port_state_, open ? QStringLiteral("Open") : QStringLiteral("Closed"));
  label_port_state_->setToolTip(open ? QStringLiteral("The port is open")
                                     : QStringLiteral("No port is open"));
}

void LinkBar::ChoosePort(const QString& text) {
  const std::optional<std::string> port = ToTarnText(text);
  if (!port) return;
  if (combo_port_->currentText() != text) combo_port_->setEditText(text);
  // A path longer than the field shows from its start, whole in the tip.
  combo_port_->lineEdit()->setCursorPosition(0);
  combo_port_->setToolTip(text + QLatin1Char('\n') + QLatin1String(kPortHint));
  context_.link.ChoosePort(*port);
  context_.host.LinkTargetChanged();
}

void LinkBar::CommitAddress(AddressField field, NumberField* text) {
  const std::optional<std::string> typed = ToTarnText(text->text());
  const AddressConfirmation result =
      ConfirmAddressField(field, typed.value_or(std::string()), context_.config(), context_.link);
  text->Show(FromTarnText(result.text));
  // Another Tarn, or the same one under another address: what the window knew of it is gone.
  if (result.changed) context_.host.LinkTargetChanged();
  context_.host.ShowAddresses(result.refresh);
}

void LinkBar::StepAddress(AddressField field, NumberField* text, int direction) {
  const AddressConfirmation result =
      StepAddressField(field, direction > 0 ? StepDirection::kUp : StepDirection::kDown,
                       context_.config(), context_.link);
  text->Show(FromTarnText(result.text));
  if (result.changed) context_.host.LinkTargetChanged();
  context_.host.ShowAddresses(result.refresh);
}

void LinkBar::ExtendedAddressingToggled(bool checked) {
  if (checked && context_.prompter.Show(kExtendedAddressingWarning, PromptIcon::kWarning,
                                        PromptButtons::kOkCancel) != PromptAnswer::kOk) {
    ShowExtendedAddressing();
    return;
  }
  const AddressRefresh refresh = SwitchLinkExtendedAddressing(checked, context_.link);
  ShowExtendedAddressing();
  context_.host.LinkTargetChanged();
  context_.host.ShowAddresses(refresh);
}

void LinkBar::ShowExtendedAddressing() {
  const bool on = context_.link.extended_addressing();
  ShowChecked(check_xaddress_, on);
  ShowText(label_address_, FromTarnText(ModuleAddressCaption(on)));
  text_address_->setAccessibleName(FromTarnText(ModuleAddressCaption(on)));
  label_xaddress_->setVisible(on);
  txt_xaddr_->setVisible(on);
  up_down_xaddr_->setVisible(on);
}

void LinkBar::ShowAll() {
  const DeviceConfiguration& config = context_.config();
  ShowChecked(check_numbering_, NumberingBase(config) == 1);
  ShowChecked(bit_rates_[static_cast<std::size_t>(context_.link.bit_rate_index())], true);
  ShowExtendedAddressing();
  ShowAddresses(AddressRefresh::Everything());
}

void LinkBar::ShowAddresses(const AddressRefresh& refresh) {
  if (refresh.Has(AddressField::kModuleAddress)) {
    text_address_->Show(FromTarnText(
        AddressFieldText(AddressField::kModuleAddress, context_.config(), context_.link)));
  }
  if (refresh.Has(AddressField::kLinkExtendedAddress)) {
    txt_xaddr_->Show(FromTarnText(
        AddressFieldText(AddressField::kLinkExtendedAddress, context_.config(), context_.link)));
  }
}

void LinkBar::ShowBidirectional(bool on) { ShowChecked(check_bidirectional_, on); }
void LinkBar::ShowTunnelling(bool on) { ShowChecked(check_tolvik_, on); }
void LinkBar::ShowTransparentButton(bool shown) { set_transparent_->setVisible(shown); }
void LinkBar::ShowResponse(const QString& text) { text_response_->setText(text); }
void LinkBar::ShowDifferenceSummary(const QString& text) { ShowText(label_differences_, text); }

}  // namespace tarn::ui
