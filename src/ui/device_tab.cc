#include "ui/device_tab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/aspect_editor.h"
#include "ui/device_library_panel.h"
#include "ui/pin_config_tabs.h"

namespace tarn::ui {

DeviceTab::DeviceTab(WindowContext& context, QWidget* parent)
    : QWidget(parent),
      context_(context),
      editor_(new AspectEditor(context, this)),
      pin_config_(new PinConfigTabs(context, this)),
      library_(new DeviceLibraryPanel(context, this)) {
  setObjectName(QStringLiteral("TabDeviceConfiguration"));
  auto* side = new QVBoxLayout;
  // At the top even when the pin configuration tabs below it are hidden.
  side->addWidget(library_, 0, Qt::AlignTop);
  side->addWidget(pin_config_, 1);
  auto* columns = new QHBoxLayout(this);
  columns->addWidget(editor_, 3);
  columns->addLayout(side, 2);

  connect(editor_, &AspectEditor::aboutToChangePin, pin_config_, &PinConfigTabs::CommitPending);
  connect(editor_, &AspectEditor::pinChanged, pin_config_, &PinConfigTabs::ShowPin);
  connect(editor_, &AspectEditor::detailsChanged, this, &DeviceTab::ApplyVisibility);
  connect(library_, &DeviceLibraryPanel::devicesLoaded, this, [this] {
    // A device landed on the current pin and the pins after it.
    context_.host.ShowAddresses(AddressRefresh::Everything());
    editor_->ShowAspectView();
    pin_config_->ShowPin();
  });
}

void DeviceTab::ShowAll() {
  editor_->ShowAll();
  pin_config_->ShowPin();
  library_->ShowAll();
  ApplyVisibility();
}

void DeviceTab::ShowAddresses(const AddressRefresh& refresh) { editor_->ShowAddresses(refresh); }

void DeviceTab::ApplyRefresh(Refresh what) {
  switch (what) {
    case Refresh::kAspectEditor:
      editor_->ShowAspectView();
      ApplyVisibility();
      break;
    case Refresh::kDetailsView:
      ApplyVisibility();
      break;
    case Refresh::kPinConfiguration:
      pin_config_->ShowPin();
      break;
    case Refresh::kPinAddresses:
    case Refresh::kBusyLabelHidden:
      break;
  }
}

void DeviceTab::ApplyVisibility() {
  editor_->ApplyVisibility();
  pin_config_->ApplyVisibility(editor_->details_shown());
}

void DeviceTab::ShowDifferences(const ChangedGroups& changed) { editor_->ShowDifferences(changed); }

}  // namespace tarn::ui
