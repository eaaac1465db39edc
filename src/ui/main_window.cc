#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "operations/flows.h"
#include "operations/write_changes.h"
#include "platform/qt_serial_port.h"
#include "ui/busy_bar.h"
#include "ui/device_tab.h"
#include "ui/event_control_tab.h"
#include "ui/general_tab.h"
#include "ui/link_bar.h"
#include "ui/test_tab.h"
#include "ui/text.h"
#include "ui/windows/communication_log_window.h"
#include "ui/windows/layout_window.h"
#include "ui/windows/verification_window.h"

namespace tarn::ui {
namespace {

constexpr int kGeneralTab = 0;
constexpr int kEventControlTab = 1;
constexpr int kDeviceTab = 2;
constexpr int kTestTab = 3;

QString MainTabTitle(int index) {
  switch (index) {
    case kGeneralTab:
      return QStringLiteral("General");
    case kEventControlTab:
      return QStringLiteral("Tarn Event Control");
    case kDeviceTab:
      return QStringLiteral("Tarn Device Configuration");
    default:
      return QStringLiteral("Test");
  }
}

inline constexpr std::string_view kTabDisabledText = "Sorry, This tab is disabled";
inline constexpr std::string_view kExpertModeQuestion = "Expert Mode?";
inline constexpr std::string_view kSaveBeforeClosing =
    "Save changes to the configuration before closing?";

Prompter& PrompterOf(const WindowPlatform& platform, std::unique_ptr<MessageBoxPrompter>& own) {
  if (platform.prompter != nullptr) return *platform.prompter;
  own = std::make_unique<MessageBoxPrompter>();
  return *own;
}

FileChooser& FilesOf(const WindowPlatform& platform, std::unique_ptr<DialogFileChooser>& own) {
  if (platform.files != nullptr) return *platform.files;
  own = std::make_unique<DialogFileChooser>();
  return *own;
}

// The size the window opens at on a large screen: a laptop's 1280 x 720 less the desktop's
// panels and the window's frame.
constexpr QSize kOpeningSize(1240, 640);
// What a window frame and a desktop's panels take of a screen at least.
constexpr QSize kFrameAllowance(16, 48);

// A tab's page scrolls when the window is smaller than the page needs: on a small screen every
// control can still be reached, and none is squeezed or cut.
QScrollArea* Scrolling(QWidget* page) {
  auto* area = new QScrollArea;
  area->setObjectName(page->objectName() + QStringLiteral("Scroll"));
  area->setWidget(page);
  area->setWidgetResizable(true);
  area->setFrameShape(QFrame::NoFrame);
  return area;
}

// The addresses a flow's kPinAddresses refresh shows again.
AddressRefresh PinAddresses() {
  return AddressRefresh{AddressDisplay::kPinBasicDccAddress, AddressDisplay::kPinExtendedDccAddress,
                        AddressDisplay::kPinSerialAddress, AddressDisplay::kPinBusAddress}
      .Add(AddressField::kPinDccCount)
      .Add(AddressField::kPinVeskCount)
      .Add(AddressField::kPinXdccCount);
}

}  // namespace

MainWindow::MainWindow(const WindowPlatform& platform, QWidget* parent)
    : QMainWindow(parent),
      prompter_(PrompterOf(platform, own_prompter_)),
      files_(FilesOf(platform, own_files_)),
      clock_(platform.clock),
      qt_port_(platform.qt_port),
      catalogue_(platform.catalogue),
      program_folder_(platform.program_folder),
      busy_bar_(new BusyBar),
      link_(platform.port, platform.clock, prompter_),
      session_(link_, platform.clock, prompter_, *busy_bar_, workspace_),
      scheduler_(session_, *this),
      live_(link_, prompter_, workspace_.config),
      monitor_(link_, prompter_),
      context_{workspace_, link_,    clock_,    prompter_, session_, scheduler_,
               live_,      monitor_, files_,    devices_,  history_, *this} {
  setObjectName(QStringLiteral("TarnConfig"));
  if (own_prompter_) own_prompter_->SetParent(this);
  if (own_files_) own_files_->SetParent(this);
  link_.SetListener(this);
  link_.SetStopCheck([this] { return stop_requested_; });
  if (qt_port_ != nullptr) qt_port_->SetWaitMode(QtSerialPort::WaitMode::kRunEventsExceptInput);

  content_ = new QWidget;
  content_->setObjectName(QStringLiteral("Content"));
  link_bar_ = new LinkBar(context_, content_);
  main_tabs_ = new QTabWidget(content_);
  main_tabs_->setObjectName(QStringLiteral("SSTab_Main"));
  main_tabs_->setAccessibleName(QStringLiteral("Main tabs"));
  general_tab_ = new GeneralTab(context_);
  event_tab_ = new EventControlTab(context_);
  device_tab_ = new DeviceTab(context_);
  test_tab_ = new TestTab(context_);
  main_tabs_->addTab(Scrolling(general_tab_), MainTabTitle(kGeneralTab));
  main_tabs_->addTab(Scrolling(event_tab_), MainTabTitle(kEventControlTab));
  main_tabs_->addTab(Scrolling(device_tab_), MainTabTitle(kDeviceTab));
  main_tabs_->addTab(Scrolling(test_tab_), MainTabTitle(kTestTab));
  auto* content_rows = new QVBoxLayout(content_);
  content_rows->setContentsMargins(6, 6, 6, 0);
  content_rows->addWidget(link_bar_);
  content_rows->addWidget(main_tabs_, 1);
  setCentralWidget(content_);
  // Beside the status line rather than in a row of its own: the tabs keep the height.
  statusBar()->addPermanentWidget(busy_bar_);

  verification_window_ = new VerificationWindow(this);
  communication_log_ = new CommunicationLogWindow(this);
  BuildMenus();

  ConnectRequest(*this, main_tabs_, &QTabWidget::currentChanged, this,
                 [this](int index) { MainTabChanged(index); });
  connect(link_bar_, &LinkBar::saveRequested, this, &MainWindow::SaveFile);
  connect(link_bar_, &LinkBar::loadRequested, this, &MainWindow::LoadFile);
  connect(link_bar_, &LinkBar::writeChangesRequested, this, &MainWindow::WriteChanges);
  connect(link_bar_, &LinkBar::expertModeAsked, this, &MainWindow::AskExpertMode);
  connect(link_bar_, &LinkBar::communicationLogAsked, this, &MainWindow::ShowCommunicationLog);
  connect(busy_bar_, &BusyBar::stopRequested, this, [this] {
    stop_requested_ = true;
    if (qt_port_ != nullptr) qt_port_->InterruptWait();
  });

  // Timer1 runs for the whole run; a tick with nothing pending does nothing.
  timer1_.setInterval(kTickMilliseconds);
  connect(&timer1_, &QTimer::timeout, this, &MainWindow::Tick);
  timer1_.start();
  UpdateEditState();
  qApp->installEventFilter(this);
  // Never larger than the screen leaves room for; a smaller screen scrolls the tabs.
  resize(kOpeningSize.boundedTo(screen()->availableGeometry().size() - kFrameAllowance)
             .expandedTo(minimumSizeHint()));
}

MainWindow::~MainWindow() { link_.SetListener(nullptr); }

void MainWindow::BuildMenus() {
  // A menu entry is a request like any control's.
  const auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys,
                          const std::function<void()>& run) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    ConnectRequest(*this, action, &QAction::triggered, this, [run] { run(); });
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  add(file, QStringLiteral("&Load File..."), QKeySequence::Open, [this] { LoadFile(); });
  add(file, QStringLiteral("&Save File..."), QKeySequence::Save,
      [this] { SaveFile(DataFileForm::kFull); });
  add(file, QStringLiteral("Save File &Compact..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
      [this] { SaveFile(DataFileForm::kCompact); });
  file->addSeparator();
  add(file, QStringLiteral("&Quit"), QKeySequence::Quit, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  undo_action_ = add(edit, QStringLiteral("Undo"), QKeySequence::Undo, [this] { Undo(); });
  undo_action_->setObjectName(QStringLiteral("ActionUndo"));
  redo_action_ = add(edit, QStringLiteral("Redo"), QKeySequence(QStringLiteral("Ctrl+Shift+Z")),
                     [this] { Redo(); });
  redo_action_->setObjectName(QStringLiteral("ActionRedo"));

  QMenu* tarn = menuBar()->addMenu(QStringLiteral("&Tarn"));
  tarn->setObjectName(QStringLiteral("MenuTarn"));
  for (const Operation operation :
       {Operation::kReadAll, Operation::kWriteAll, Operation::kVerifyAll}) {
    add(tarn, FromTarnText(EntryOf(operation).caption), {},
        [this, operation] { PressOperation(operation); });
    if (operation == Operation::kWriteAll) {
      add(tarn, FromTarnText(kWriteChangesCaption), {}, [this] {
        WriteChanges();
      })->setObjectName(QStringLiteral("ActionWriteChanges"));
    }
  }

  tarn->addSeparator();
  tarn->addAction(QStringLiteral("&Layout..."), this, &MainWindow::ShowLayout)
      ->setObjectName(QStringLiteral("ActionLayout"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  add(view, QStringLiteral("&Communication Log"), {}, [this] { ShowCommunicationLog(); });
  // The keyboard's way to what a right click on the version label asks.
  add(view, QStringLiteral("&Expert Mode..."), {}, [this] {
    AskExpertMode();
  })->setObjectName(QStringLiteral("ActionExpertMode"));
}

void MainWindow::StartUp() {
  if (catalogue_ != nullptr) link_bar_->WatchPorts(*catalogue_);
  link_bar_->RefreshPorts();
  // The views from the start values, the event fields already copied to every pin by the model.
  ShowEverything();
  LoadStandardLibrary(
      program_folder_,
      [this](std::string_view name) {
        return files_.Open(FileKind::kDefinitions, QStringLiteral("Device Configuration"),
                           FromTarnText(name));
      },
      devices_, prompter_);
  device_tab_->ShowAll();
  // The start values count as saved: nothing to lose yet.
  history_.Clear();
  UpdateEditState();
}

void MainWindow::ChoosePort(const QString& text) { link_bar_->ChoosePort(text); }

// --- Running ---------------------------------------------------------------------------------

bool MainWindow::RunBusy(const std::function<bool()>& work) {
  if (busy_) return false;
  busy_ = true;
  stop_requested_ = false;
  link_.ForgetPortLoss();
  QWidget* focus = QApplication::focusWidget();
  content_->setEnabled(false);
  menuBar()->setEnabled(false);
  busy_bar_->Start();
  if (qt_port_ != nullptr) qt_port_->SetWaitMode(QtSerialPort::WaitMode::kRunEvents);

  const bool result = work();

  if (qt_port_ != nullptr) qt_port_->SetWaitMode(QtSerialPort::WaitMode::kRunEventsExceptInput);
  busy_bar_->Finish();
  menuBar()->setEnabled(true);
  content_->setEnabled(true);
  if (focus != nullptr && content_->isAncestorOf(focus)) focus->setFocus();
  busy_ = false;
  ExchangeEnded();
  return result;
}

void MainWindow::ExchangeEnded() {
  // Once the slot that ran the exchange has finished with the model.
  if (!held_.empty()) QTimer::singleShot(0, this, &MainWindow::RunHeld);
  if (close_when_idle_) QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::Request(const std::function<void()>& request) {
  if (busy_) {
    held_.push_back(request);
    return;
  }
  // What came while the last exchange waited goes first.
  RunHeld();
  request();
}

void MainWindow::RunHeld() {
  // A request that a held one makes on its way (a field committing as an exchange starts) runs
  // at once, as part of it.
  if (running_held_) return;
  running_held_ = true;
  while (!busy_ && !held_.empty()) {
    const std::function<void()> next = std::move(held_.front());
    held_.pop_front();
    next();
  }
  running_held_ = false;
}

void MainWindow::Tick() {
  // A modal dialog (a clipboard tool, a question, a file dialog) runs inside a slot that has not
  // finished with the model yet: the operation waits until it is closed.
  if (busy_ || scheduler_.pending().empty() || QApplication::activeModalWidget() != nullptr) {
    return;
  }
  CommitTypedEntry();
  const std::optional<Operation> operation = OperationNamed(scheduler_.pending());
  const Workspace before = workspace_;
  finished_.reset();
  RunBusy([this] { return scheduler_.Tick(); });
  if (operation && history_.Record(EntryOf(*operation).caption, before, workspace_)) {
    UpdateEditState();
  }
  if (finished_) FinishOperation(*finished_);
}

void MainWindow::PressOperation(Operation operation) {
  if (busy_) return;
  scheduler_.Press(operation);
}

void MainWindow::BusyChanged(bool busy) { busy_bar_->ShowBusyLabel(busy); }

void MainWindow::OperationFinished(const OperationResult& result) { finished_ = result; }

void MainWindow::FinishOperation(const OperationResult& result) {
  // A read fills fields all over the window; the flow's own list says what else to redraw.
  if (KindOf(result.operation) == OperationKind::kRead) {
    link_bar_->ShowAll();
    general_tab_->ShowAll();
    event_tab_->ShowAll();
  }
  Redraw(result.refresh);
  if (ConfirmsWholeTarn(result)) {
    picture_.TakeOver(workspace_);
    if (result.operation == Operation::kReadAll) history_.MarkSaved();
  } else if (KindOf(result.operation) == OperationKind::kRead) {
    picture_.TakeOverRead(result.read, workspace_);
  }
  UpdateEditState();
  const std::string status = result.changes_only
                                 ? std::string(kWriteChangesCaption) + ": " + result.summary
                                 : result.summary;
  statusBar()->showMessage(FromTarnText(status));
  if (result.shows_report) verification_window_->ShowReport(result.report);
}

bool MainWindow::Exchange(std::string_view name, const std::function<bool()>& exchange) {
  if (busy_) return false;
  CommitTypedEntry();
  const Workspace before = workspace_;
  const bool result = RunBusy(exchange);
  if (!name.empty()) history_.Record(name, before, workspace_);
  // A short write changes the picture of the Tarn even when the model stays.
  UpdateEditState();
  return result;
}

bool MainWindow::BackgroundExchange(const std::function<bool()>& exchange) {
  if (busy_) return false;
  busy_ = true;
  stop_requested_ = false;
  link_.ForgetPortLoss();
  const bool result = exchange();
  busy_ = false;
  ExchangeEnded();
  return result;
}

void MainWindow::TookFromTarn(const ChangedGroups& read) {
  picture_.TakeOverRead(read, workspace_);
  ShowDifferences();
}

void MainWindow::WriteChanges() {
  if (busy_) return;
  CommitTypedEntry();
  if (!picture_.known()) {
    if (prompter_.Show(kNoPictureQuestion, PromptIcon::kQuestion, PromptButtons::kYesNo) ==
        PromptAnswer::kYes) {
      PressOperation(Operation::kWriteAll);
    }
    return;
  }
  const ChangedGroups changed = picture_.Changes(workspace_);
  if (!changed.AnyToWrite()) {
    prompter_.Show(NothingToWriteText(changed), PromptIcon::kInformation);
    return;
  }
  const Workspace before = workspace_;
  OperationResult result;
  RunBusy([&] {
    result = scheduler_.RunWriteChanges(changed);
    return result.succeeded;
  });
  // A write leaves the model as the Tarn took it (an ID string cut to 12 characters).
  history_.Record(kWriteChangesCaption, before, workspace_);
  FinishOperation(result);
}

// --- Edits -----------------------------------------------------------------------------------

void MainWindow::Edit(std::string_view name, const std::function<void()>& apply) {
  const Workspace before = workspace_;
  apply();
  if (history_.Record(name, before, workspace_)) UpdateEditState();
}

void MainWindow::EditTyping(std::string_view name, const std::function<void()>& apply) {
  const Workspace before = workspace_;
  apply();
  if (history_.RecordTyping(name, before, workspace_)) UpdateEditState();
}

void MainWindow::CommitTypedEntry() {
  // Leaving the field and coming back: the field commits as it does when it is left, and the
  // caret stays where it was.
  QWidget* focus = QApplication::focusWidget();
  if (qobject_cast<QLineEdit*>(focus) == nullptr || !content_->isAncestorOf(focus)) return;
  focus->clearFocus();
  focus->setFocus(Qt::OtherFocusReason);
}

void MainWindow::Undo() {
  if (busy_) return;
  CommitTypedEntry();
  if (std::optional<Workspace> earlier = history_.Undo(workspace_)) {
    workspace_ = std::move(*earlier);
    ShowEverything();
    UpdateEditState();
  }
}

void MainWindow::Redo() {
  if (busy_) return;
  CommitTypedEntry();
  if (std::optional<Workspace> later = history_.Redo(workspace_)) {
    workspace_ = std::move(*later);
    ShowEverything();
    UpdateEditState();
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride) return QMainWindow::eventFilter(watched, event);
  const auto* field = qobject_cast<QLineEdit*>(watched);
  if (field == nullptr || field->window() != this || field->isReadOnly()) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // A field takes these keys for its own history even when that is empty; then it is not asked,
  // and the keys go on to the Edit menu's shortcuts.
  const bool undo = key->matches(QKeySequence::Undo) && !field->isUndoAvailable();
  const bool redo =
      QKeySequence(key->keyCombination()) == redo_action_->shortcut() && !field->isRedoAvailable();
  return undo || redo;
}

void MainWindow::UpdateEditState() {
  undo_action_->setText(FromTarnText(history_.UndoText()));
  undo_action_->setEnabled(history_.CanUndo());
  redo_action_->setText(FromTarnText(history_.RedoText()));
  redo_action_->setEnabled(history_.CanRedo());
  const QString name = file_ ? QFileInfo(QString::fromStdU16String(file_->u16string())).fileName()
                             : QStringLiteral("untitled");
  setWindowTitle(QStringLiteral("Tarn Config - %1[*]").arg(name));
  setWindowModified(history_.IsModified());
  ShowDifferences();
}

void MainWindow::ShowDifferences() {
  if (link_bar_ == nullptr || main_tabs_ == nullptr) return;  // still being built
  const ChangedGroups changed = picture_.Changes(workspace_);
  for (View* view : Views()) view->ShowDifferences(changed);
  const DifferenceSummary summary = SummarizeChanges(changed);
  const bool differs[] = {summary.general, summary.events, summary.pins, false};
  QTabBar* bar = main_tabs_->tabBar();
  for (int tab = 0; tab < main_tabs_->count(); ++tab) {
    const QString title = MainTabTitle(tab);
    const QString text = differs[tab] ? title + QStringLiteral(" \u2022") : title;
    // Every edit comes here: a tab bar told its text anew lays the whole window out again, which
    // costs an edit far more than the edit itself.
    if (main_tabs_->tabText(tab) == text) continue;
    main_tabs_->setTabText(tab, text);
    bar->setAccessibleTabName(
        tab, differs[tab] ? title + QStringLiteral(", differs from the Tarn") : QString());
    main_tabs_->setTabToolTip(
        tab, differs[tab] ? QStringLiteral("Differs from what the Tarn holds") : QString());
  }
  link_bar_->ShowDifferenceSummary(FromTarnText(DifferenceSummaryText(picture_.known(), summary)));
}

// --- Routing ---------------------------------------------------------------------------------

std::vector<View*> MainWindow::Views() {
  return {link_bar_, general_tab_, event_tab_, device_tab_, test_tab_};
}

void MainWindow::ShowAddresses(const AddressRefresh& refresh) {
  for (View* view : Views()) view->ShowAddresses(refresh);
}

void MainWindow::Redraw(const RefreshList& list) {
  for (const Refresh what : list) {
    if (what == Refresh::kPinAddresses) ShowAddresses(PinAddresses());
    if (what == Refresh::kBusyLabelHidden) busy_bar_->ShowBusyLabel(false);
    for (View* view : Views()) view->ApplyRefresh(what);
  }
}

void MainWindow::ShowEverything() {
  for (View* view : Views()) view->ShowAll();
}

void MainWindow::ApplyVisibility() {
  for (View* view : Views()) view->ApplyVisibility();
}

void MainWindow::LinkTargetChanged() {
  picture_.Forget();
  ShowDifferences();
}

void MainWindow::MainTabChanged(int index) {
  if (index == kTestTab && !expert_mode_) {
    const QSignalBlocker quiet(main_tabs_);
    main_tabs_->setCurrentIndex(previous_tab_);
    prompter_.Show(kTabDisabledText);
    return;
  }
  if (index == kGeneralTab) ShowAddresses(AddressRefresh::Everything());
  previous_tab_ = index;
}

void MainWindow::AskExpertMode() {
  expert_mode_ = prompter_.Show(kExpertModeQuestion, PromptIcon::kQuestion,
                                PromptButtons::kYesNo) == PromptAnswer::kYes;
  ApplyVisibility();
}

void MainWindow::ShowCommunicationLog() {
  communication_log_->show();
  communication_log_->raise();
  communication_log_->activateWindow();
}

void MainWindow::ShowLayout() {
  if (layout_window_ == nullptr) {
    layout_window_ = new LayoutWindow(context_, [this] { stop_requested_ = true; }, this);
  }
  layout_window_->Open();
}

// --- The link's news -------------------------------------------------------------------------

// A port that closed, chosen anew or gone with its adapter, may lead to another Tarn when it opens.
void MainWindow::PortOpenChanged(bool open) {
  if (link_bar_ != nullptr) link_bar_->ShowPortOpen(open);
  if (open) return;
  picture_.Forget();
  ShowDifferences();
}
void MainWindow::BidirectionalChanged(bool on) { link_bar_->ShowBidirectional(on); }
// Tunnelled or not, the messages take another road, perhaps to another Tarn.
void MainWindow::TunnellingChanged(bool on) {
  picture_.Forget();
  ShowDifferences();
  link_bar_->ShowTunnelling(on);
}
void MainWindow::TransparentButtonShown(bool shown) { link_bar_->ShowTransparentButton(shown); }
void MainWindow::ResponseTextChanged(std::string_view text) {
  link_bar_->ShowResponse(FromTarnText(text));
}
void MainWindow::CommunicationLogLine(std::string_view line) { communication_log_->AppendLine(line); }
void MainWindow::TarnWriteSent(std::span<const std::uint8_t> payload, bool confirmed) {
  picture_.NoteWrite(payload, confirmed, workspace_);
}

// --- Files -----------------------------------------------------------------------------------

void MainWindow::SaveFile(DataFileForm form) {
  if (busy_) return;
  CommitTypedEntry();
  const std::optional<std::filesystem::path> path =
      files_.Save(FileKind::kConfiguration, QStringLiteral("Save File"), QString());
  if (!path) return;
  // Saving drops a servo's "Servo Initialised" bit in the model as in the file: no edit of the
  // user's, so nothing to undo.
  if (!SaveDataFile(*path, workspace_.config, form, prompter_)) return;
  file_ = path;
  history_.MarkSaved();
  UpdateEditState();
  statusBar()->showMessage(QStringLiteral("Saved %1").arg(QString::fromStdU16String(path->u16string())));
}

void MainWindow::LoadFile() {
  if (busy_) return;
  CommitTypedEntry();
  const std::optional<std::filesystem::path> path =
      files_.Open(FileKind::kConfiguration, QStringLiteral("Load File"), QString());
  if (!path) return;
  const Workspace before = workspace_;
  if (!LoadDataFile(*path, workspace_.config, prompter_)) return;
  history_.Record("Load File", before, workspace_);
  file_ = path;
  history_.MarkSaved();
  ShowEverything();
  UpdateEditState();
  statusBar()->showMessage(QStringLiteral("Loaded %1").arg(QString::fromStdU16String(path->u16string())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    // The operation ends at its next exchange; the window closes when it has.
    stop_requested_ = true;
    close_when_idle_ = true;
    if (qt_port_ != nullptr) qt_port_->InterruptWait();
    event->ignore();
    return;
  }
  close_when_idle_ = false;
  CommitTypedEntry();
  if (history_.IsModified()) {
    switch (prompter_.Show(kSaveBeforeClosing, PromptIcon::kQuestion,
                           PromptButtons::kYesNoCancel)) {
      case PromptAnswer::kYes:
        SaveFile(DataFileForm::kFull);
        if (history_.IsModified()) {
          event->ignore();
          return;
        }
        break;
      case PromptAnswer::kNo:
        break;
      default:
        event->ignore();
        return;
    }
  }
  communication_log_->close();
  event->accept();
}

}  // namespace tarn::ui
