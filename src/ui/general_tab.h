#ifndef TARN_UI_GENERAL_TAB_H_
#define TARN_UI_GENERAL_TAB_H_

#include <QWidget>
#include <array>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "model/general_settings_view.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace tarn::ui {

class DriverGroups;
class LampBoxes;

// The "General" tab: firmware version, ID string, addressing, DCC, LED, hardware and serial port settings, "Erase Flash".
class GeneralTab : public QWidget, public View {
  Q_OBJECT

 public:
  GeneralTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;
  void ShowAddresses(const AddressRefresh& refresh) override;

 private:
  // An address field of the tab with its up/down control.
  struct AddressWidgets {
    AddressField field;
    NumberField* text;
    std::string_view what;  // the edit's name, the field's label
  };
  // The options of one choice, by the index the Tarn's byte carries.
  struct ChoiceOptions {
    GeneralChoice choice;
    std::vector<std::pair<int, QRadioButton*>> options;
  };

  // A read or write button of a frame: what it runs through the host, and what else it shows
  // afterwards besides this tab.
  struct ExchangeButton {
    const char* name;
    const char* caption;
    const char* what;  // the undo entry, and what a screen reader hears besides the caption
    std::function<bool()> run;
    std::function<void()> after;
    // A read: the group it takes whole from the Tarn when it read everything of it.
    bool ChangedGroups::*read = nullptr;
  };

  QWidget* BuildVersionRow();
  QGroupBox* BuildIdFrame();
  QGroupBox* BuildDccFrame();
  QGroupBox* BuildAddressingFrame();
  QGroupBox* BuildLedFrame();
  QGroupBox* BuildHardwareFrame();
  QGroupBox* BuildSerialFrame();
  QGroupBox* BuildChoice(QWidget* parent, GeneralChoice choice, const QString& frame_name,
                         const QString& caption, Qt::Orientation orientation);
  QWidget* ButtonRow(QWidget* parent, std::initializer_list<ExchangeButton> buttons);
  // The field, its label and its up/down control in `grid` at `row`.
  void AddAddressField(QWidget* parent, QGridLayout* grid, int row, AddressField field,
                       const QString& label_name, std::string_view caption);
  // A box whose change stores at once.
  void ConnectBox(QCheckBox* box, std::string_view what, std::function<void(bool)> store);

  void CommitIdString();
  void CommitAddress(const AddressWidgets& widgets);
  void StepAddress(const AddressWidgets& widgets, int direction);
  void AllowAddress0Toggled(bool on);
  void VeskFlexibleToggled(bool on);
  void TarnNativeToggled(bool on);
  void LampChanged(bool green, int box, bool ticked);
  void DriverChanged(int group, bool source, bool ticked);
  // A group's read or write through the host, which shows what it changed. True when the Tarn
  // answered everything it was asked.
  bool RunExchange(std::string_view name, const std::function<bool()>& exchange);
  bool ReadAddressing();
  void EraseFlash();

  void ShowAddressing();
  void ShowChoices();
  void ShowDisplay(AddressDisplay display, QLabel* label);

  GeneralSettings& settings() { return context_.config().general_settings; }
  GeneralSettingsCommands& commands() { return context_.session.general; }

  WindowContext& context_;
  QLabel* version_ = nullptr;
  QLineEdit* id_string_ = nullptr;
  std::vector<AddressWidgets> address_fields_;
  std::vector<ChoiceOptions> choices_;
  QCheckBox* packet_state_invert_ = nullptr;
  QCheckBox* allow_address_0_ = nullptr;
  QLabel* dcc_output_ = nullptr;
  QLabel* xdcc_output_ = nullptr;
  QCheckBox* vesk_flexible_ = nullptr;
  QCheckBox* tarn_native_ = nullptr;
  QLabel* vesk_base_label_ = nullptr;
  NumberField* vesk_base_ = nullptr;
  UpDown* vesk_base_up_down_ = nullptr;
  std::array<QCheckBox*, kExtendedGroupCount> extended_groups_{};
  LampBoxes* green_ = nullptr;
  LampBoxes* orange_ = nullptr;
  DriverGroups* drivers_ = nullptr;
  QCheckBox* serial_enable_ = nullptr;
  QComboBox* bit_rate_ = nullptr;
};

}  // namespace tarn::ui

#endif  // TARN_UI_GENERAL_TAB_H_
