#include "ui/step_grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "model/instruction_set.h"
#include "ui/editor_tools.h"
#include "ui/text.h"

namespace tarn::ui {
namespace {

// The columns of the grid.
constexpr int kNumberColumn = 0;
constexpr int kInstructionColumn = 1;
constexpr int kFadeColumn = 2;
constexpr int kFirstParamColumn = 3;
constexpr int kTimeColumn = kFirstParamColumn + kStepParamCount;

// Marks the widgets of a row, so that the focus entering one shows that row's headings.
constexpr const char* kRowProperty = "stepRow";

struct ParamColumn {
  const char* field;    // control name of the row's field
  const char* heading;  // control name of the column heading
  const char* caption;  // the heading's first text
  const char* unused;   // what the field is called when its instruction does not use it
  HelpToolBox box;
  bool help_tip;  // the fields a calculator serves say so
};

constexpr std::array<ParamColumn, kStepParamCount> kParamColumns = {{
    {"TextPAspOffset", "LabelPAspOffset", "Par 0", "Par 0", HelpToolBox::kP1, false},
    {"TextPAspPar1", "LabelPAspHParam1", "Par 1", "Par 1", HelpToolBox::kP2, true},
    {"TextPAspPar2", "LabelPASpHParam2", "Par 2", "Par 2", HelpToolBox::kP3, true},
    {"TextPAspPar3", "LabelPAspHParam3", "Base", "Par 3", HelpToolBox::kP4, true},
}};

constexpr const char* kHelpToolTip = "Double-click for help-tool";

QString Spoken(int row, const QString& what) {
  return QStringLiteral("Step %1 %2").arg(StepGrid::RowNumber(row), what);
}
QString Spoken(int row, const char* what) { return Spoken(row, QLatin1String(what)); }

void ShowCaption(QAbstractButton* button, const QString& text) {
  if (button->text() != text) button->setText(text);
}

void Describe(QWidget* widget, const QString& description) {
  if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
}

}  // namespace

QString StepGrid::RowNumber(int row) { return QString::number(row); }

StepGrid::StepGrid(WindowContext& context, EditorTools* tools, QWidget* parent)
    : QGroupBox(parent), context_(context), tools_(tools) {
  setObjectName(QStringLiteral("AspDetails"));
  setTitle(QStringLiteral("Steps"));
  setAccessibleName(QStringLiteral("Steps"));
  // The rows live in a plain widget: a control right inside a group box has the box's title as
  // its label too, and a screen reader would call every row "Steps".
  body_ = new QWidget(this);
  auto* frame = new QVBoxLayout(this);
  frame->setContentsMargins(0, 0, 0, 0);
  frame->addWidget(body_);
  auto* grid = new QGridLayout(body_);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(3);
  BuildHeadings(grid);
  for (int row = 0; row < kMaxStepsPerAspect; ++row) BuildRow(row, grid);
  grid->setColumnStretch(kTimeColumn + 1, 1);

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now == nullptr || !isAncestorOf(now)) return;
    const QVariant row = now->property(kRowProperty);
    if (row.isValid()) ShowHeadings(row.toInt());
  });
}

void StepGrid::BuildHeadings(QGridLayout* grid) {
  heading_number_ = MakeLabel(body_, QStringLiteral("LabelPAspHStep"), QStringLiteral("#"));
  heading_instruction_ =
      MakeLabel(body_, QStringLiteral("LabelPAspHInst"), QStringLiteral("Instruction"));
  heading_fade_ = MakeLabel(body_, QStringLiteral("LabelPAspHFade"), QStringLiteral("Fade"));
  // The heading empties for instructions that do not fade; the column keeps its width, so the
  // fields after it do not jump sideways as the user moves from row to row.
  heading_fade_->setMinimumWidth(heading_fade_->sizeHint().width());
  grid->addWidget(heading_number_, 0, kNumberColumn);
  grid->addWidget(heading_instruction_, 0, kInstructionColumn);
  grid->addWidget(heading_fade_, 0, kFadeColumn);
  for (int i = 0; i < kStepParamCount; ++i) {
    const ParamColumn& column = kParamColumns[static_cast<std::size_t>(i)];
    heading_params_[static_cast<std::size_t>(i)] =
        MakeLabel(body_, QLatin1String(column.heading), QLatin1String(column.caption));
    grid->addWidget(heading_params_[static_cast<std::size_t>(i)], 0, kFirstParamColumn + i);
  }
  // Not "Time": that is the heading of the third parameter of every waiting instruction.
  heading_time_ = MakeLabel(body_, QStringLiteral("LabelPAspHTime"), QStringLiteral("Step Time"));
  grid->addWidget(heading_time_, 0, kTimeColumn);
}

void StepGrid::BuildRow(int row, QGridLayout* grid) {
  Row& r = rows_[static_cast<std::size_t>(row)];
  const int line = row + 1;

  r.number = MakeClickLabel(body_, ElementName("LabelPAspStep", row), RowNumber(row));
  r.number->setAccessibleName(QStringLiteral("Step %1").arg(RowNumber(row)));
  r.number->setToolTip(QStringLiteral("Click to Insert/Delete step"));
  grid->addWidget(r.number, line, kNumberColumn);

  r.instruction =
      MakeComboBox(body_, ElementName("ComboPAspInst", row), nullptr, Spoken(row, "Instruction"));
  for (const InstructionMenuEntry& entry : InstructionMenu()) {
    r.instruction->addItem(FromTarnText(entry.name), int{entry.opcode});
  }
  r.instruction->setMaxVisibleItems(20);
  grid->addWidget(r.instruction, line, kInstructionColumn);
  // Its own label: on Linux a list is named by its current entry, so without one nine rows of
  // "-" would sound the same.
  QLabel* instruction_label =
      MakeLabel(body_, ElementName("LabelPAspInst", row), Spoken(row, "Instruction"));
  instruction_label->setBuddy(r.instruction);
  instruction_label->hide();

  r.fade = MakeCheckBox(body_, ElementName("CheckPAspFade", row), QString());
  r.fade->setAccessibleName(Spoken(row, "Fade"));
  grid->addWidget(r.fade, line, kFadeColumn, Qt::AlignCenter);

  for (int i = 0; i < kStepParamCount; ++i) {
    const ParamColumn& column = kParamColumns[static_cast<std::size_t>(i)];
    NumberField* field =
        MakeNamedField(body_, ElementName(column.field, row), Spoken(row, column.unused));
    if (column.help_tip) field->setToolTip(QLatin1String(kHelpToolTip));
    field->setProperty(kRowProperty, row);
    r.params[static_cast<std::size_t>(i)] = field;
    grid->addWidget(field, line, kFirstParamColumn + i);
    const StepParam param = kStepParams[static_cast<std::size_t>(i)];
    ConnectRequest(context_.host, field, &NumberField::committed, this,
                   [this, row, param] { CommitField(row, param); });
    ConnectRequest(context_.host, field, &NumberField::helpRequested, this,
                   [this, row, field, box = column.box] { OpenHelpTool(row, box, field->text()); });
  }

  r.time = MakeClickLabel(body_, ElementName("LabelPAspTime", row), QStringLiteral("00:00.00"));
  r.time->setAccessibleName(Spoken(row, "Step Time"));
  r.time->setToolTip(QLatin1String(kHelpToolTip));
  grid->addWidget(r.time, line, kTimeColumn);

  for (QWidget* widget : std::initializer_list<QWidget*>{r.number, r.instruction, r.fade, r.time}) {
    widget->setProperty(kRowProperty, row);
  }

  WindowHost& host = context_.host;
  ConnectRequest(host, r.number, &ClickLabel::pressedWith, this,
                 [this, row](Qt::MouseButton button, Qt::KeyboardModifiers) {
                   if (button != Qt::LeftButton) return;
                   emit aboutToOpenTool();
                   if (tools_->EditStep(row)) emit programChanged();
                 });
  ConnectRequest(
      host, r.instruction, &QComboBox::currentIndexChanged, this, [this, row](int index) {
        if (index < 0) return;
        EditRow(row, Spoken(row, "Instruction"),
                [this, row, index] { return ChooseInstruction(context_.config(), row, index); });
      });
  ConnectRequest(host, r.fade, &QCheckBox::toggled, this, [this, row](bool on) {
    EditRow(row, Spoken(row, "Fade"),
            [this, row, on] { return SetFade(context_.config(), row, on); });
  });
  const auto time_help = [this, row] {
    OpenHelpTool(row, HelpToolBox::kStepTime, rows_[static_cast<std::size_t>(row)].time->text());
  };
  ConnectRequest(host, r.time, &ClickLabel::doubleClicked, this, time_help);
  ConnectRequest(host, r.time, &ClickLabel::activatedWithoutMouse, this, time_help);
}

void StepGrid::ShowRows(const std::array<StepRowView, kMaxStepsPerAspect>& rows) {
  for (int row = 0; row < kMaxStepsPerAspect; ++row)
    ShowRow(row, rows[static_cast<std::size_t>(row)]);
  ShowHeadings(heading_row_);
}

void StepGrid::ShowLayout(int rows, bool headings) {
  visible_rows_ = rows;
  for (int row = 0; row < kMaxStepsPerAspect; ++row) {
    const Row& r = rows_[static_cast<std::size_t>(row)];
    const bool shown = row < rows;
    for (QWidget* widget : std::initializer_list<QWidget*>{r.number, r.instruction, r.time}) {
      widget->setVisible(shown);
    }
    for (NumberField* field : r.params) field->setVisible(shown);
    r.fade->setVisible(shown && shown_[static_cast<std::size_t>(row)].fade_allowed);
  }
  heading_number_->setVisible(headings);
  heading_instruction_->setVisible(headings);
  for (QLabel* heading : heading_params_) heading->setVisible(rows > 0);
  heading_fade_->setVisible(rows > 0);
  heading_time_->setVisible(rows > 0);
  // The heading follows a row that is shown.
  if (heading_row_ >= rows) ShowHeadings(0);
}

void StepGrid::ShowRow(int row, const StepRowView& view) {
  shown_[static_cast<std::size_t>(row)] = view;
  const Row& r = rows_[static_cast<std::size_t>(row)];
  ShowCurrentIndex(r.instruction, view.menu_index);
  ShowChecked(r.fade, view.fade);
  r.fade->setVisible(row < visible_rows_ && view.fade_allowed);
  for (int i = 0; i < kStepParamCount; ++i) {
    const StepParamView& param = view.params[static_cast<std::size_t>(i)];
    NumberField* field = r.params[static_cast<std::size_t>(i)];
    field->Show(FromTarnText(param.text));
    field->SetGreyed(!param.used);
    // Each field is named for what it holds in its own row, as the heading reads when the row is
    // the one worked in ("Step 4 Time"); the headings tell it for one row only.
    const QString name = Spoken(
        row, param.used ? FromTarnText(param.label) : QLatin1String(kParamColumns[i].unused));
    if (field->accessibleName() != name) field->setAccessibleName(name);
    Describe(field, param.used ? QString() : QStringLiteral("not used"));
  }
  const QString time = FromTarnText(view.time_text);
  ShowCaption(r.time, time);
  Describe(r.time, time);
}

void StepGrid::ShowHeadings(int row) {
  heading_row_ = std::clamp(row, 0, kMaxStepsPerAspect - 1);
  const StepRowView& view = shown_[static_cast<std::size_t>(heading_row_)];
  ShowText(heading_fade_, FromTarnText(view.fade_heading));
  for (int i = 0; i < kStepParamCount; ++i) {
    ShowText(heading_params_[static_cast<std::size_t>(i)],
             FromTarnText(view.params[static_cast<std::size_t>(i)].label));
  }
}

void StepGrid::EditRow(int row, const QString& what, const std::function<StepRowView()>& edit) {
  StepRowView view;
  const std::string name = EditName(what);
  context_.host.Edit(name, [&] { view = edit(); });
  ShowRow(row, view);
  ShowHeadings(row);
}

void StepGrid::CommitField(int row, StepParam param) {
  const NumberField* field = rows_[static_cast<std::size_t>(row)].params[ParamIndex(param)];
  const std::string typed = TypedText(field);
  // The edit is called what the field is called.
  EditRow(row, field->accessibleName(), [this, row, param, &typed] {
    return CommitStepField(context_.config(), row, param, typed);
  });
}

void StepGrid::CommitRows(int rows) {
  for (int row = 0; row < std::min(rows, kMaxStepsPerAspect); ++row) {
    // Every typed field is read before any is shown again: showing the row after the first
    // commit would overwrite what is typed in the others.
    const Row& r = rows_[static_cast<std::size_t>(row)];
    std::array<std::optional<std::string>, kStepParamCount> typed;
    for (int i = 0; i < kStepParamCount; ++i) {
      const NumberField* field = r.params[static_cast<std::size_t>(i)];
      if (field->HasTypedEntry()) typed[static_cast<std::size_t>(i)] = TypedText(field);
    }
    std::optional<StepRowView> view;
    for (int i = 0; i < kStepParamCount; ++i) {
      if (!typed[static_cast<std::size_t>(i)]) continue;
      const QString name = r.params[static_cast<std::size_t>(i)]->accessibleName();
      context_.host.Edit(EditName(name), [&] {
        view = CommitStepField(context_.config(), row, kStepParams[static_cast<std::size_t>(i)],
                               *typed[static_cast<std::size_t>(i)]);
      });
    }
    if (view) ShowRow(row, *view);
  }
}

void StepGrid::OpenHelpTool(int row, HelpToolBox box, const QString& text) {
  if (tools_->OpenHelpTool(row, box, text)) emit programChanged();
}

}  // namespace tarn::ui
