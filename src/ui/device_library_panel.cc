#include "ui/device_library_panel.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "files/device_definitions.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

const QString kDeviceNameCaption = QStringLiteral("Device Name");
const QString kDeviceNameLabel = QStringLiteral("Name of the device to save:");

// A small modal question for a name; OK stays off while the name is blank. nullopt on Cancel.
std::optional<QString> AskName(QWidget* parent, const QString& preset) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("dlgDeviceName"));
  dialog.setWindowTitle(kDeviceNameCaption);
  dialog.setAccessibleName(kDeviceNameCaption);
  auto* label = MakeLabel(&dialog, QStringLiteral("LabelDeviceName"), kDeviceNameLabel);
  auto* field = new QLineEdit(preset, &dialog);
  field->setObjectName(QStringLiteral("TextDeviceName"));
  field->setAccessibleName(SpokenName(kDeviceNameLabel));
  label->setBuddy(field);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("cmdOK"));
  buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
  const auto enable_ok = [ok, field] { ok->setEnabled(!field->text().trimmed().isEmpty()); };
  enable_ok();
  QObject::connect(field, &QLineEdit::textChanged, &dialog, enable_ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* rows = new QVBoxLayout(&dialog);
  rows->addWidget(label);
  rows->addWidget(field);
  rows->addWidget(buttons);
  dialog.setMinimumWidth(320);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return field->text();
}

}  // namespace

DeviceLibraryPanel::DeviceLibraryPanel(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context) {
  auto* loaded =
      MakeLabel(this, QStringLiteral("LabelDDLoaded"), QStringLiteral("Definitions Loaded:"));
  version_ = MakeLabel(this, QStringLiteral("lblDDVersion"), {});
  version_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  devices_ =
      MakeComboBox(this, QStringLiteral("cboDevice"), nullptr, QStringLiteral("Device to load"));
  devices_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  devices_->setMinimumContentsLength(16);
  auto* load =
      MakeButton(this, QStringLiteral("CommandPAspPreLoad"), QStringLiteral("Load Device"));
  auto* save = MakeButton(this, QStringLiteral("CommandSaveDevice"), QStringLiteral("Save Device"));
  reload_ = MakeButton(this, QStringLiteral("CommandReloadDD"), QStringLiteral("Reload DD"));
  reload_->setToolTip(QStringLiteral("Reload DD to load new file, Shift + Reload DD to append"));
  reload_->installEventFilter(this);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(loaded, 0, 0);
  grid->addWidget(version_, 0, 1, 1, 2);
  grid->addWidget(devices_, 1, 0, 1, 2);
  grid->addWidget(load, 1, 2);
  grid->addWidget(save, 2, 1);
  grid->addWidget(reload_, 2, 2);
  grid->setColumnStretch(1, 1);

  ConnectRequest(context_.host, load, &QPushButton::clicked, this, [this] { LoadDeviceClicked(); });
  ConnectRequest(context_.host, save, &QPushButton::clicked, this, [this] { SaveDeviceClicked(); });
  // The keys held at the press, not when a held request comes to run.
  connect(reload_, &QPushButton::clicked, this, [this] {
    const Qt::KeyboardModifiers keys = reload_modifiers_;
    // A press the filter did not see (a screen reader's press action) reloads in place.
    reload_modifiers_ = Qt::NoModifier;
    context_.host.Request([this, keys] { ReloadClicked(keys); });
  });
}

void DeviceLibraryPanel::ShowAll() {
  const QString version = FromTarnText(context_.devices.version_label);
  ShowText(version_, version);
  version_->setAccessibleName(QStringLiteral("Definitions Loaded: ") + version);

  QStringList names;
  for (const DeviceListEntry& entry : context_.devices.entries) {
    names.push_back(FromTarnText(entry.name));
  }
  QStringList shown;
  for (int i = 0; i < devices_->count(); ++i) shown.push_back(devices_->itemText(i));
  if (names == shown) return;
  // A list that grew keeps the device the user had picked; a new list starts at its first.
  const int picked = devices_->currentIndex();
  const bool appended = !shown.isEmpty() && names.mid(0, shown.size()) == shown;
  const QSignalBlocker quiet(devices_);
  devices_->clear();
  devices_->addItems(names);
  devices_->setCurrentIndex(appended ? picked : (names.isEmpty() ? -1 : 0));
}

bool DeviceLibraryPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == reload_) {
    if (event->type() == QEvent::MouseButtonPress) {
      const auto* press = static_cast<QMouseEvent*>(event);
      if (press->button() == Qt::LeftButton) reload_modifiers_ = press->modifiers();
    } else if (event->type() == QEvent::KeyPress) {
      // Shift+Space on the focused button appends, as Shift+click does.
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Space || key->key() == Qt::Key_Select) {
        reload_modifiers_ = key->modifiers();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void DeviceLibraryPanel::LoadDeviceClicked() {
  const int index = devices_->currentIndex();
  const std::vector<DeviceListEntry>& entries = context_.devices.entries;
  // No entry picked is an entry without a name, which the library refuses with its message.
  const DeviceListEntry selected =
      index >= 0 && index < static_cast<int>(entries.size()) ? entries[index] : DeviceListEntry{};
  bool loaded = false;
  context_.host.Edit("Load Device",
                     [&] { loaded = LoadDevice(context_.config(), selected, context_.prompter); });
  if (loaded) emit devicesLoaded();
}

void DeviceLibraryPanel::SaveDeviceClicked() {
  // A device without a name would be listed as an entry that cannot be selected, so the user
  // names it first; the name stays with the head only once the file holds it.
  const DeviceConfiguration& config = context_.config();
  const std::optional<int> head = DeviceHeadToSave(config, config.current_pin);
  std::optional<std::string> name;
  if (head && config.pins[*head].device_name.empty()) {
    name = AskDeviceName();
    if (!name) return;
  }
  bool saved = false;
  context_.host.Edit("Save Device", [&] {
    DeviceConfiguration& edited = context_.config();
    if (name) edited.pins[*head].device_name = *name;
    saved = SaveDevice(
        edited,
        [this](std::string_view preset) {
          return context_.files.Save(FileKind::kDefinitions, QStringLiteral("Save Device"),
                                     FromTarnText(preset));
        },
        context_.prompter);
    if (!saved && name) edited.pins[*head].device_name.clear();
  });
  // The name is shown in the editor; writing reduced a servo's flags.
  if (saved) context_.host.Redraw({Refresh::kAspectEditor, Refresh::kPinConfiguration});
}

std::optional<std::string> DeviceLibraryPanel::AskDeviceName() {
  QString typed;
  for (;;) {
    const std::optional<QString> answer = AskName(this, typed);
    if (!answer) return std::nullopt;
    if (std::optional<std::string> bytes = ToTarnText(*answer)) return bytes;
    context_.prompter.Show(CannotStoreText(kDeviceNameCaption, *answer), PromptIcon::kWarning);
    typed = *answer;
  }
}

void DeviceLibraryPanel::ReloadClicked(Qt::KeyboardModifiers held) {
  const Qt::KeyboardModifiers keys = held & ~Qt::KeypadModifier;
  const ReloadMode mode =
      ReloadModeFor(keys.testFlag(Qt::ShiftModifier), keys.testFlag(Qt::ControlModifier),
                    keys.testFlag(Qt::AltModifier) || keys.testFlag(Qt::MetaModifier));
  const std::optional<std::filesystem::path> chosen =
      context_.files.Open(FileKind::kDefinitions, QStringLiteral("Device Configuration"), {});
  if (ReloadDeviceLibrary(chosen, mode, context_.devices, context_.prompter)) ShowAll();
}

}  // namespace tarn::ui
