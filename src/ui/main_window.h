#ifndef TARN_UI_MAIN_WINDOW_H_
#define TARN_UI_MAIN_WINDOW_H_

#include <QMainWindow>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "files/data_file.h"
#include "files/device_library.h"
#include "host/port_catalogue.h"
#include "link/link.h"
#include "link/link_listener.h"
#include "operations/edit_history.h"
#include "operations/scheduler.h"
#include "operations/session.h"
#include "operations/tarn_picture.h"
#include "operations/workspace.h"
#include "protocol/live_control.h"
#include "protocol/monitor.h"
#include "ui/file_chooser.h"
#include "ui/message_box_prompter.h"
#include "ui/window_context.h"

class QAction;
class QTabWidget;

namespace tarn {
class QtSerialPort;
}

namespace tarn::ui {

class BusyBar;
class CommunicationLogWindow;
class DeviceTab;
class EventControlTab;
class GeneralTab;
class LayoutWindow;
class LinkBar;
class TestTab;
class VerificationWindow;

// What the window is given to run on: a test hands it a simulated line and its own answers.
struct WindowPlatform {
  SerialPort& port;
  Clock& clock;
  Prompter* prompter = nullptr;  // message boxes when none is given
  FileChooser* files = nullptr;  // file dialogs when none is given
  std::filesystem::path program_folder;  // where the standard device library is looked for
  QtSerialPort* qt_port = nullptr;       // the real port, whose waits keep the window painting
  PortCatalogue* catalogue = nullptr;    // the ports the system lists; the port list follows it
};

// "Tarn Config": owns the configuration, the link and every view, composes the tabs and routes
// what one view changed to the others. It decides nothing the core can decide.
class MainWindow : public QMainWindow, public WindowHost, public LinkListener,
                   public SchedulerListener {
  Q_OBJECT

 public:
  explicit MainWindow(const WindowPlatform& platform, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The rest of start-up, once the window can be seen: the port list, every view from the start
  // values, and the standard device library with its fallback dialog and warnings.
  void StartUp();
  // `--port`: as if the text had been picked in ComboPort.
  void ChoosePort(const QString& text);

  // Timer1's tick: runs the pending operation, if any. Tests call it instead of waiting.
  void Tick();

  Workspace& workspace() { return workspace_; }
  Link& link() { return link_; }
  WindowContext& context() { return context_; }
  const TarnPicture& picture() const { return picture_; }
  const std::optional<std::filesystem::path>& file() const { return file_; }

  // WindowHost
  void Edit(std::string_view name, const std::function<void()>& apply) override;
  void EditTyping(std::string_view name, const std::function<void()>& apply) override;
  void CommitTypedEntry() override;
  bool Exchange(std::string_view name, const std::function<bool()>& exchange) override;
  bool BackgroundExchange(const std::function<bool()>& exchange) override;
  void PressOperation(Operation operation) override;
  void ShowAddresses(const AddressRefresh& refresh) override;
  void Redraw(const RefreshList& list) override;
  void ShowEverything() override;
  void ApplyVisibility() override;
  void LinkTargetChanged() override;
  bool expert_mode() const override { return expert_mode_; }
  bool busy() const override { return busy_; }
  void Request(const std::function<void()>& request) override;
  void TookFromTarn(const ChangedGroups& read) override;

  // LinkListener
  void PortOpenChanged(bool open) override;
  void BidirectionalChanged(bool on) override;
  void TunnellingChanged(bool on) override;
  void TransparentButtonShown(bool shown) override;
  void ResponseTextChanged(std::string_view text) override;
  void CommunicationLogLine(std::string_view line) override;
  void TarnWriteSent(std::span<const std::uint8_t> payload, bool confirmed) override;

  // SchedulerListener
  void BusyChanged(bool busy) override;
  void OperationFinished(const OperationResult& result) override;

  void SaveFile(DataFileForm form);
  void LoadFile();
  // "Write Changes": only what differs from the picture of the Tarn; without a picture it offers
  // "Write All".
  void WriteChanges();
  void Undo();
  void Redo();
  void AskExpertMode();
  void ShowCommunicationLog();
  // "Layout...": the window of every Tarn on the bus, made on first use.
  void ShowLayout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Ctrl+Z and Ctrl+Shift+Z in a field with nothing of its own to undo or redo reach the
  // window's history, as the Edit menu offers.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs `work` with every control but "Stop" disabled, painting on; false while busy already.
  bool RunBusy(const std::function<bool()>& work);
  // After an exchange: what was asked for meanwhile runs next, and a close asked for goes on.
  void ExchangeEnded();
  // Runs the requests held while an exchange waited, oldest first.
  void RunHeld();
  void BuildMenus();
  void MainTabChanged(int index);
  void UpdateEditState();
  void FinishOperation(const OperationResult& result);
  // What differs from the picture of the Tarn, to every view, the main tabs and the link bar.
  void ShowDifferences();
  std::vector<View*> Views();

  // The seams first: everything after them is built on them.
  std::unique_ptr<MessageBoxPrompter> own_prompter_;
  std::unique_ptr<DialogFileChooser> own_files_;
  Prompter& prompter_;
  FileChooser& files_;
  Clock& clock_;
  QtSerialPort* qt_port_;
  PortCatalogue* catalogue_;
  std::filesystem::path program_folder_;

  BusyBar* busy_bar_;  // made first: the session reports progress to it
  Workspace workspace_;
  Link link_;
  Session session_;
  Scheduler scheduler_;
  LiveControl live_;
  TrafficMonitor monitor_;
  EditHistory history_;
  DeviceList devices_;
  WindowContext context_;

  QWidget* content_ = nullptr;  // everything the busy state disables
  LinkBar* link_bar_ = nullptr;
  QTabWidget* main_tabs_ = nullptr;
  GeneralTab* general_tab_ = nullptr;
  EventControlTab* event_tab_ = nullptr;
  DeviceTab* device_tab_ = nullptr;
  TestTab* test_tab_ = nullptr;
  VerificationWindow* verification_window_ = nullptr;
  CommunicationLogWindow* communication_log_ = nullptr;
  LayoutWindow* layout_window_ = nullptr;
  QAction* undo_action_ = nullptr;
  QAction* redo_action_ = nullptr;
  QTimer timer1_;

  bool expert_mode_ = false;
  bool busy_ = false;
  bool stop_requested_ = false;
  bool close_when_idle_ = false;
  std::deque<std::function<void()>> held_;
  bool running_held_ = false;
  int previous_tab_ = 0;
  std::optional<std::filesystem::path> file_;
  std::optional<OperationResult> finished_;
  // What the Tarn holds, as far as the window knows: taken whole after a read, write or
  // verification of all of it, and kept up with every write since.
  TarnPicture picture_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_MAIN_WINDOW_H_
