#ifndef TARN_UI_STEP_GRID_H_
#define TARN_UI_STEP_GRID_H_

#include <QGroupBox>
#include <array>
#include <functional>
#include <string>

#include "model/aspect_view.h"
#include "model/help_tools.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;

namespace tarn::ui {

class EditorTools;

// The frame "AspDetails": the nine step rows of the current aspect with their column headings.
// Each row edits its step at once through the core and shows what the core made of it; the
// clicks that open a tool go to EditorTools. Steps are numbered from 0, as the aspect program
// itself numbers them ("Jump" to "Ins#" 0..8).
class StepGrid : public QGroupBox {
  Q_OBJECT

 public:
  StepGrid(WindowContext& context, EditorTools* tools, QWidget* parent = nullptr);

  // The rows of the aspect view; the headings describe the row the user works in.
  void ShowRows(const std::array<StepRowView, kMaxStepsPerAspect>& rows);
  // Rows 0 .. rows - 1 are shown; `headings` shows "#" and "Instruction". Without a row the
  // column headings have nothing to describe and are hidden too.
  void ShowLayout(int rows, bool headings);
  // Takes over what is typed into the four fields of rows 0 .. rows - 1.
  void CommitRows(int rows);

  // The number a row's label shows, which names its controls for a screen reader.
  static QString RowNumber(int row);

 signals:
  // A tool changed the program (or may have): the aspect view is shown again.
  void programChanged();
  // A step label was clicked: the editor commits what is typed before the tool opens.
  void aboutToOpenTool();

 private:
  struct Row {
    ClickLabel* number = nullptr;
    QComboBox* instruction = nullptr;
    QCheckBox* fade = nullptr;
    std::array<NumberField*, kStepParamCount> params{};
    ClickLabel* time = nullptr;
  };

  void BuildHeadings(QGridLayout* grid);
  void BuildRow(int row, QGridLayout* grid);
  void ShowRow(int row, const StepRowView& view);
  void ShowHeadings(int row);
  // Runs `edit` as one edit of the model named `what`, then shows the row it returns.
  void EditRow(int row, const QString& what, const std::function<StepRowView()>& edit);
  void CommitField(int row, StepParam param);
  void OpenHelpTool(int row, HelpToolBox box, const QString& text);

  WindowContext& context_;
  EditorTools* tools_;
  QWidget* body_ = nullptr;  // what the rows are made in
  std::array<Row, kMaxStepsPerAspect> rows_{};
  std::array<StepRowView, kMaxStepsPerAspect> shown_{};
  int visible_rows_ = 0;
  int heading_row_ = 0;
  QLabel* heading_number_ = nullptr;
  QLabel* heading_instruction_ = nullptr;
  QLabel* heading_fade_ = nullptr;
  QLabel* heading_time_ = nullptr;
  std::array<QLabel*, kStepParamCount> heading_params_{};
};

}  // namespace tarn::ui

#endif  // TARN_UI_STEP_GRID_H_
