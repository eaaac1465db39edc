#ifndef TARN_UI_WINDOWS_LAYOUT_WINDOW_H_
#define TARN_UI_WINDOWS_LAYOUT_WINDOW_H_

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "operations/layout_folder.h"
#include "ui/window_context.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace tarn::ui {

class BusyBar;
class NumberField;

// frmTarnLayout, "TarnConfig - Layout": every Tarn on the bus. "Find Tarns" scans the bus, "Back
// Up All" reads every Tarn found into a layout folder, "Check All" compares every Tarn of the
// folder's index with its file, "Restore" writes the selected Tarn's backup to it. A double-click
// or Enter on a row, or "Make Current", makes that Tarn the one the main window's tabs work on.
// While a run goes on the window paints and shows its progress, and "Stop" ends it at the next
// exchange; nothing else of either window can start one meanwhile.
class LayoutWindow : public QWidget {
  Q_OBJECT

 public:
  // `request_stop` is the main window's "Stop": it ends the operation at its next exchange.
  LayoutWindow(WindowContext& context, std::function<void()> request_stop,
               QWidget* parent = nullptr);

  // Shows the window (it keeps its rows while hidden) and brings it to the front.
  void Open();

  const std::vector<LayoutTarn>& tarns() const { return tarns_; }

  void FindTarns();
  void BackUpAll();
  void CheckAll();
  void Restore();
  // The Tarn of `row` becomes the link's target.
  void MakeCurrent(int row);

 private:
  // Runs `work` through the main window's busy state, with this window's progress and "Stop".
  void Run(const std::function<void(LayoutLine&)>& work);
  std::optional<std::filesystem::path> ChooseFolder(bool for_backup);
  void CommitScanWait();
  void ShowScanWait();
  void ShowRows();
  void ShowNotes();
  int SelectedRow() const;
  void Note(const std::string& line);

  WindowContext& context_;
  std::function<void()> request_stop_;
  std::vector<LayoutTarn> tarns_;
  std::vector<std::string> notes_;  // the bad answers and what the last run said
  std::optional<std::filesystem::path> folder_;
  double requested_scan_wait_ = 0;  // seconds; 0 for the automatic wait
  bool running_ = false;

  QWidget* controls_;
  QTableWidget* table_;
  QPushButton* find_;
  QPushButton* backup_;
  QPushButton* check_;
  QPushButton* restore_;
  QPushButton* make_current_;
  NumberField* scan_wait_;
  QLabel* folder_label_;
  QPlainTextEdit* notes_text_;
  BusyBar* busy_bar_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WINDOWS_LAYOUT_WINDOW_H_
