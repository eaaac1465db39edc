#ifndef TARN_UI_LINK_BAR_H_
#define TARN_UI_LINK_BAR_H_

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

#include "files/data_file.h"
#include "host/port_catalogue.h"
#include "link/port_watch.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarn::ui {

// The controls outside the tabs, always visible: the port and its bit rate, the module and
// extended address, the link modes, "Start numbering at 1", the whole-Tarn operations, the file
// buttons, the response field and the version label.
class LinkBar : public QWidget, public View {
  Q_OBJECT

 public:
  LinkBar(WindowContext& context, QWidget* parent = nullptr);

  // The port list from the link's probe (start-up and "Refresh").
  void RefreshPorts();
  // A port as typed or picked in ComboPort, or given with --port.
  void ChoosePort(const QString& text);

  // From now on the port list follows `catalogue` as adapters come and go, starting from the list
  // RefreshPorts() makes next, looked at every kPortWatchMilliseconds while the window is idle;
  // an open port that went away is told of and shown closed.
  void WatchPorts(PortCatalogue& catalogue);
  // One look at the catalogue; the timer calls it, tests call it instead of waiting.
  void LookAtPorts();
  static constexpr int kPortWatchMilliseconds = 1000;

  void ShowAll() override;
  void ShowAddresses(const AddressRefresh& refresh) override;

  // What the link tells the window.
  void ShowPortOpen(bool open);
  void ShowBidirectional(bool on);
  void ShowTunnelling(bool on);
  void ShowTransparentButton(bool shown);
  void ShowResponse(const QString& text);
  // "2 groups differ from the Tarn", beside "Write Changes".
  void ShowDifferenceSummary(const QString& text);

 signals:
  void saveRequested(tarn::DataFileForm form);
  void loadRequested();
  void writeChangesRequested();
  void expertModeAsked();
  void communicationLogAsked();

 private:
  QWidget* BuildPortRow();
  QWidget* BuildModeRow();
  QWidget* BuildOperationRow();
  void CommitAddress(AddressField field, NumberField* text);
  void StepAddress(AddressField field, NumberField* text, int direction);
  void ExtendedAddressingToggled(bool checked);
  void ShowExtendedAddressing();
  void ReleasePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  // Puts `ports` in the list, keeping what the field shows.
  void ShowPortList(const std::vector<std::string>& ports);

  WindowContext& context_;
  ClickLabel* label_port_;
  QComboBox* combo_port_;
  QLabel* label_port_state_;
  std::unique_ptr<PortWatch> port_watch_;
  QTimer port_timer_;
  QGroupBox* frame_bitrate_;
  std::array<QRadioButton*, 3> bit_rates_{};
  QLabel* label_address_;
  NumberField* text_address_;
  QCheckBox* check_xaddress_;
  QLabel* label_xaddress_;
  NumberField* txt_xaddr_;
  UpDown* up_down_xaddr_;
  QCheckBox* check_bidirectional_;
  QCheckBox* check_tolvik_;
  QPushButton* set_transparent_;
  QCheckBox* check_numbering_;
  QLineEdit* text_response_;
  QLabel* label_differences_;
  ClickLabel* release_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_LINK_BAR_H_
