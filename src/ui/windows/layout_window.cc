#include "ui/windows/layout_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "operations/layout_view.h"
#include "ui/busy_bar.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/number_field.h"

namespace tarn::ui {
namespace {

namespace fs = std::filesystem;

constexpr const char* kColumns[] = {"Module", "eXtended Addr", "Firmware", "ID String", "State"};

int Milliseconds(double seconds) { return static_cast<int>(std::lround(seconds * 1000.0)); }

QString PathText(const fs::path& path) { return QString::fromStdU16String(path.u16string()); }

}  // namespace

LayoutWindow::LayoutWindow(WindowContext& context, std::function<void()> request_stop,
                           QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context), request_stop_(std::move(request_stop)) {
  setObjectName(QStringLiteral("frmTarnLayout"));
  setWindowTitle(QStringLiteral("TarnConfig - Layout"));

  controls_ = new QWidget(this);
  table_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)), controls_);
  table_->setObjectName(QStringLiteral("GridLayoutTarns"));
  table_->setAccessibleName(QStringLiteral("Tarns of the layout"));
  QStringList headings;
  for (const char* column : kColumns) headings << QString::fromLatin1(column);
  table_->setHorizontalHeaderLabels(headings);
  for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column) {
    table_->horizontalHeader()->setSectionResizeMode(
        column, column == 3 ? QHeaderView::Stretch : QHeaderView::ResizeToContents);
  }
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);

  find_ = MakeButton(controls_, QStringLiteral("CommandFindTarns"), QStringLiteral("Find Tarns"));
  backup_ =
      MakeButton(controls_, QStringLiteral("CommandBackUpAll"), QStringLiteral("Back Up All"));
  check_ = MakeButton(controls_, QStringLiteral("CommandCheckAll"), QStringLiteral("Check All"));
  restore_ = MakeButton(controls_, QStringLiteral("CommandRestore"), QStringLiteral("Restore"));
  make_current_ =
      MakeButton(controls_, QStringLiteral("CommandMakeCurrent"), QStringLiteral("Make Current"));
  find_->setToolTip(QStringLiteral("Ask every module address for its firmware and ID string"));
  backup_->setToolTip(QStringLiteral("Read every Tarn found into a layout folder"));
  check_->setToolTip(QStringLiteral("Compare every Tarn of a layout folder with its file"));
  restore_->setToolTip(QStringLiteral("Write the selected Tarn's backup to it"));
  make_current_->setToolTip(
      QStringLiteral("Make the selected Tarn the one the tabs work on (or double-click its row)"));
  QLabel* wait_label =
      MakeLabel(controls_, QStringLiteral("LabelScanWait"), QStringLiteral("Scan wait (ms):"));
  scan_wait_ = MakeField(controls_, QStringLiteral("TextScanWait"), wait_label);
  scan_wait_->setMaximumWidth(70);
  scan_wait_->setToolTip(
      QStringLiteral("How long each address may take to answer; at least the automatic wait"));
  folder_label_ = MakeLabel(controls_, QStringLiteral("LabelLayoutFolder"),
                            QStringLiteral("Layout folder: none chosen"));
  notes_text_ = new QPlainTextEdit(controls_);
  notes_text_->setObjectName(QStringLiteral("txtLayoutNotes"));
  notes_text_->setAccessibleName(QStringLiteral("Layout notes"));
  notes_text_->setReadOnly(true);
  notes_text_->setMaximumBlockCount(500);

  auto* buttons = new QHBoxLayout;
  for (QWidget* widget :
       {static_cast<QWidget*>(find_), static_cast<QWidget*>(backup_), static_cast<QWidget*>(check_),
        static_cast<QWidget*>(restore_), static_cast<QWidget*>(make_current_)}) {
    buttons->addWidget(widget);
  }
  buttons->addStretch();
  buttons->addWidget(wait_label);
  buttons->addWidget(scan_wait_);
  auto* inner = new QVBoxLayout(controls_);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->addLayout(buttons);
  inner->addWidget(folder_label_);
  inner->addWidget(table_, 3);
  inner->addWidget(notes_text_, 1);
  busy_bar_ = new BusyBar(this);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(controls_);
  outer->addWidget(busy_bar_);
  resize(720, 460);

  // Every press waits for an exchange in progress (the traffic monitor's poll) to end.
  WindowHost& host = context_.host;
  ConnectRequest(host, find_, &QPushButton::clicked, this, [this] { FindTarns(); });
  ConnectRequest(host, backup_, &QPushButton::clicked, this, [this] { BackUpAll(); });
  ConnectRequest(host, check_, &QPushButton::clicked, this, [this] { CheckAll(); });
  ConnectRequest(host, restore_, &QPushButton::clicked, this, [this] { Restore(); });
  ConnectRequest(host, make_current_, &QPushButton::clicked, this,
                 [this] { MakeCurrent(SelectedRow()); });
  // A double-click, or Enter on the current row.
  ConnectRequest(host, table_, &QTableWidget::activated, this,
                 [this](const QModelIndex& index) { MakeCurrent(index.row()); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, &LayoutWindow::ShowNotes);
  ConnectRequest(host, scan_wait_, &NumberField::committed, this, [this] { CommitScanWait(); });
  connect(busy_bar_, &BusyBar::stopRequested, this, [this] { request_stop_(); });
  ShowScanWait();
  ShowRows();
}

void LayoutWindow::Open() {
  ShowScanWait();
  show();
  raise();
  activateWindow();
}

// --- Running -----------------------------------------------------------------------------------

void LayoutWindow::Run(const std::function<void(LayoutLine&)>& work) {
  if (running_ || context_.host.busy()) return;
  CommitScanWait();
  running_ = true;
  controls_->setEnabled(false);
  busy_bar_->ShowBusyLabel(true);
  busy_bar_->Start();
  LayoutLine line{context_.link, context_.clock, context_.prompter, *busy_bar_,
                  requested_scan_wait_};
  context_.host.Exchange({}, [&] {
    work(line);
    return true;
  });
  busy_bar_->Finish();
  busy_bar_->ShowBusyLabel(false);
  controls_->setEnabled(true);
  running_ = false;
}

void LayoutWindow::FindTarns() {
  ScanResult scan;
  tarns_.clear();
  notes_.clear();
  ShowRows();
  Run([&](LayoutLine& line) {
    scan = ScanBus(line.link, line.prompter, line.progress,
                   EffectiveScanWait(line.link, line.scan_wait_seconds),
                   [this](const ScanEntry& entry) {
                     if (entry.outcome != ScanOutcome::kFound) return;
                     // Each Tarn shows as it is found.
                     tarns_.push_back(TarnFound(entry));
                     ShowRows();
                   });
  });
  tarns_ = TarnsFound(scan);
  notes_ = BadAnswerLines(scan, context_.numbering_base());
  const std::size_t found = tarns_.size();
  Note(std::to_string(found) + (found == 1 ? " Tarn" : " Tarns") + " found on " +
       std::to_string(scan.entries.size()) + " addresses" + (scan.completed ? "" : " (stopped)"));
  ShowRows();
}

std::optional<fs::path> LayoutWindow::ChooseFolder(bool for_backup) {
  const QString preset = folder_ ? PathText(*folder_) : QString();
  std::optional<fs::path> chosen =
      for_backup
          ? context_.files.Save(FileKind::kLayoutFolder, QStringLiteral("Back Up All"), preset)
          : context_.files.Open(FileKind::kLayoutFolder, QStringLiteral("Check All"), preset);
  if (!chosen) return std::nullopt;
  folder_ = *chosen;
  folder_label_->setText(QStringLiteral("Layout folder: ") + PathText(*folder_));
  return chosen;
}

void LayoutWindow::BackUpAll() {
  const std::optional<fs::path> folder = ChooseFolder(true);
  if (!folder) return;
  LayoutRunResult result;
  Run([&](LayoutLine& line) { result = tarn::BackUpAll(line, *folder); });
  if (!result.scan.entries.empty() || !result.tarns.empty()) tarns_ = result.tarns;
  notes_ = BadAnswerLines(result.scan, context_.numbering_base());
  if (!result.completed) {
    Note("Back Up All stopped; the rows say what was saved");
  } else {
    Note(result.all_good ? "Back Up All: every Tarn was saved"
                         : "Back Up All: not every Tarn was saved; see the rows");
  }
  ShowRows();
}

void LayoutWindow::CheckAll() {
  const std::optional<fs::path> folder = ChooseFolder(false);
  if (!folder) return;
  LayoutRunResult result;
  Run([&](LayoutLine& line) { result = tarn::CheckAll(line, *folder); });
  if (!result.scan.entries.empty()) tarns_ = result.tarns;
  notes_ = BadAnswerLines(result.scan, context_.numbering_base());
  if (!result.completed) {
    Note("Check All stopped");
  } else {
    Note(result.all_good ? "Check All: every Tarn matches its backup"
                         : "Check All: the layout does not match its backup; see the rows");
  }
  ShowRows();
}

void LayoutWindow::Restore() {
  const int row = SelectedRow();
  if (row < 0) {
    context_.prompter.Show("Select the Tarn to restore in the list first.",
                           PromptIcon::kInformation);
    return;
  }
  if (!folder_ && !ChooseFolder(false)) return;
  LayoutTarn& tarn = tarns_[static_cast<std::size_t>(row)];
  LayoutEntry entry;
  entry.address = tarn.address;
  entry.file = tarn.file.empty() ? LayoutFileName(tarn.address, tarn.id_string) : tarn.file;
  if (context_.prompter.Show(RestoreQuestion(entry), PromptIcon::kQuestion,
                             PromptButtons::kYesNo) != PromptAnswer::kYes) {
    return;
  }
  LayoutTarn restored;
  Run([&](LayoutLine& line) {
    restored = tarn::Restore(line, *folder_, tarn.address, tarn.tarn_read);
  });
  // What the window knew of the Tarn it talks to may no longer hold.
  context_.host.LinkTargetChanged();
  if (restored.state == LayoutState::kRestored || !restored.file.empty()) {
    restored.tarn_read.reset();
    tarn = restored;
  }
  Note(LayoutTarnLine(restored, context_.numbering_base()));
  ShowRows();
}

void LayoutWindow::MakeCurrent(int row) {
  if (running_ || context_.host.busy() || row < 0 || row >= static_cast<int>(tarns_.size())) {
    return;
  }
  const LayoutAddress address = tarns_[static_cast<std::size_t>(row)].address;
  const MadeCurrent made = MakeLayoutTarnCurrent(address, context_.config(), context_.link);
  if (made.changed) context_.host.LinkTargetChanged();
  context_.host.ShowEverything();
  Note(LayoutAddressText(address, context_.numbering_base()) + " is now the Tarn the tabs work on");
  ShowNotes();
}

// --- Showing -----------------------------------------------------------------------------------

void LayoutWindow::CommitScanWait() {
  const double automatic = EffectiveScanWait(context_.link, 0);
  const std::string typed = TypedText(scan_wait_);
  int milliseconds = 0;
  for (const char c : typed) {
    if (c < '0' || c > '9') break;
    milliseconds = std::min(milliseconds * 10 + (c - '0'), 100000);
  }
  const double wait = EffectiveScanWait(context_.link, milliseconds / 1000.0);
  requested_scan_wait_ = wait > automatic ? wait : 0;
  ShowScanWait();
}

void LayoutWindow::ShowScanWait() {
  scan_wait_->Show(
      QString::number(Milliseconds(EffectiveScanWait(context_.link, requested_scan_wait_))));
  scan_wait_->setModified(false);
}

void LayoutWindow::ShowRows() {
  const int selected = SelectedRow();
  const QSignalBlocker quiet(table_);
  table_->setRowCount(static_cast<int>(tarns_.size()));
  const int base = context_.numbering_base();
  for (int row = 0; row < static_cast<int>(tarns_.size()); ++row) {
    const LayoutRowTexts texts = LayoutRow(tarns_[static_cast<std::size_t>(row)], base);
    const std::string* cells[] = {&texts.module_address, &texts.extended_address, &texts.firmware,
                                  &texts.id_string, &texts.state};
    for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
      auto* item = new QTableWidgetItem(FromTarnText(*cells[column]));
      item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
      table_->setItem(row, column, item);
    }
  }
  if (selected >= 0 && selected < table_->rowCount()) table_->selectRow(selected);
  restore_->setEnabled(!tarns_.empty());
  make_current_->setEnabled(!tarns_.empty());
  ShowNotes();
}

void LayoutWindow::ShowNotes() {
  std::string text;
  for (const std::string& line : notes_) text += line + "\n";
  const int row = SelectedRow();
  if (row >= 0 && row < static_cast<int>(tarns_.size())) {
    const LayoutTarn& tarn = tarns_[static_cast<std::size_t>(row)];
    text += LayoutTarnLine(tarn, context_.numbering_base()) + "\n";
    for (const std::string& difference : tarn.differences) text += "  " + difference + "\n";
  }
  notes_text_->setPlainText(FromTarnText(text));
}

int LayoutWindow::SelectedRow() const {
  const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
  return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void LayoutWindow::Note(const std::string& line) {
  notes_.push_back(line);
  ShowNotes();
}

}  // namespace tarn::ui
