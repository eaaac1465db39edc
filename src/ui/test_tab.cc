#include "ui/test_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <span>
#include <string_view>

#include "ui/monitor_panel.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

constexpr std::array<const char*, kTarnSetAspectButtons> kSetAspectCaptions = {
    "Tarn SA0", "Tarn SA1", "Tarn SA2", "Tarn SA3", "Tarn Toggle", "Tarn 8xSA0", "Tarn 8xSA1"};

// What each aspect of the matrix board test program shows: the sign is a light matrix that
// speed and route indicators are tried on.
constexpr std::array<const char*, kMatrixButtons> kMatrixPictures = {
    "Dark",        "Digit 0",  "Digit 1", "Digit 2",  "Digit 3", "Digit 4",
    "Digit 5",     "Digit 6",  "Digit 7", "Digit 8",  "Digit 9", "Arrow left",
    "Arrow right", "Arrow up", "Cross",   "Triangle", "All on",  "All flashing"};

struct VeskTestRow {
  VeskTest test;
  const char* name;
  std::array<const char*, 3> captions;  // as many as the test has modules
  const char* tip;
};
constexpr VeskTestRow kVeskTests[] = {
    {VeskTest::kClearAll,
     "Command_Clr",
     {"Clear All", "Clear All 0"},
     "Switches off all 32 outputs"},
    {VeskTest::kLampTest,
     "Command_LT",
     {"Lamp Test", "Lamp Test 0", "Lamp Test 15"},
     "Lights all 32 outputs"},
    {VeskTest::kReset, "CommandReset", {"Reset", "Reset 15"}, "Resets the module"},
};

constexpr int kValueFieldWidth = 56;

QString VeskTestTip(const VeskTestRow& row, int module) {
  const QString where = module == kCurrentModule
                            ? QStringLiteral("of the module address above")
                            : QStringLiteral("of module address %1 on the bus").arg(module);
  return QStringLiteral("%1 %2, with Vesk frames").arg(QString::fromLatin1(row.tip), where);
}

}  // namespace

TestTab::TestTab(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabTest"));
  monitor_ = new MonitorPanel(context_, this);

  auto* grid = new QGridLayout(this);
  grid->addWidget(BuildSetAspect(), 0, 0);
  grid->addWidget(BuildVesk(), 1, 0);
  grid->addWidget(BuildMatrix(), 0, 1, 2, 1);
  grid->addWidget(monitor_, 0, 2, 3, 1);
  grid->setRowStretch(2, 1);
  grid->setColumnStretch(2, 1);
}

// The window stays as it is while a live message goes: a press meanwhile waits for its end.
void TestTab::Send(const std::function<bool()>& send) { context_.host.BackgroundExchange(send); }

QGroupBox* TestTab::BuildSetAspect() {
  QGroupBox* frame =
      MakeFrame(this, QStringLiteral("FrameTarnSetAspect"), QStringLiteral("Tarn Set Aspect"));
  auto* grid = new QGridLayout(frame);
  QLabel* label = MakeLabel(frame, QStringLiteral("LabelTarnSendAspectOutput"),
                            QStringLiteral("Serial output:"));
  output_ = MakeField(frame, QStringLiteral("TextTarnSendAspectOutput"), label);
  output_->setText(QStringLiteral("0"));
  output_->setMaximumWidth(kValueFieldWidth);
  output_->setToolTip(
      QStringLiteral("The output of the module's address map that \"Tarn SA0\" to "
                     "\"Tarn Toggle\" set"));
  grid->addWidget(label, 0, 0, 1, 2);
  grid->addWidget(output_, 0, 2);
  for (int i = 0; i < kTarnSetAspectButtons; ++i) {
    QPushButton* button = MakeButton(frame, ElementName("CommandTarnSetAspect", i),
                                     QString::fromLatin1(kSetAspectCaptions[i]));
    // "Tarn SA0".."Tarn SA3" on the first row, the toggle and the series of eight below.
    const bool fixed = i < kTarnToggleButton;
    grid->addWidget(button, fixed ? 1 : 2, fixed ? i : i - kTarnToggleButton);
    ConnectRequest(context_.host, button, &QPushButton::clicked, this, [this, i] {
      const std::string output = TypedText(output_);
      Send([this, i, &output] { return context_.live.TarnSetAspect(i, output); });
    });
  }
  return frame;
}

QGroupBox* TestTab::BuildMatrix() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameMatrix"), QStringLiteral("Matrix Board"));
  auto* grid = new QGridLayout(frame);
  constexpr int kRows = kMatrixButtons / 2;
  for (int i = 0; i < kMatrixButtons; ++i) {
    const QString picture = QString::fromLatin1(kMatrixPictures[static_cast<std::size_t>(i)]);
    QPushButton* button =
        MakeButton(frame, ElementName("CmdSetMatrix", i), QStringLiteral("MB-%1").arg(i));
    button->setAccessibleDescription(picture);
    button->setToolTip(QStringLiteral("Shows \"%1\" on the ticked outputs").arg(picture));
    QLabel* label = MakeLabel(frame, ElementName("LblMatrix", i), picture);
    const int column = (i / kRows) * 2;
    grid->addWidget(button, i % kRows, column);
    grid->addWidget(label, i % kRows, column + 1);
    ConnectRequest(context_.host, button, &QPushButton::clicked, this, [this, i] {
      MatrixOutputs outputs{};
      for (std::size_t k = 0; k < outputs.size(); ++k) outputs[k] = matrix_outputs_[k]->isChecked();
      Send([this, i, &outputs] { return context_.live.SetMatrix(i, outputs); });
    });
  }
  auto* boxes = new QGridLayout;
  constexpr int kBoxesPerRow = kMatrixOutputs / 2;
  for (int k = 0; k < kMatrixOutputs; ++k) {
    QCheckBox* box =
        MakeCheckBox(frame, ElementName("ChkMatrix", k), QStringLiteral("MB%1").arg(k));
    box->setAccessibleName(QStringLiteral("Matrix output %1").arg(k));
    boxes->addWidget(box, k / kBoxesPerRow, k % kBoxesPerRow);
    matrix_outputs_[static_cast<std::size_t>(k)] = box;
  }
  grid->addLayout(boxes, kRows, 0, 1, 4);
  return frame;
}

QGroupBox* TestTab::BuildVesk() {
  QGroupBox* frame = MakeFrame(this, QStringLiteral("FrameVeskTest"), QStringLiteral("Vesk"));
  auto* grid = new QGridLayout(frame);
  int row = 0;
  for (const VeskTestRow& test : kVeskTests) {
    const std::span<const int> modules = VeskTestButtonModules(test.test);
    for (int i = 0; i < static_cast<int>(modules.size()); ++i) {
      QPushButton* button =
          MakeButton(frame, ElementName(test.name, i),
                     QString::fromLatin1(test.captions[static_cast<std::size_t>(i)]));
      button->setToolTip(VeskTestTip(test, modules[static_cast<std::size_t>(i)]));
      grid->addWidget(button, row, i);
      ConnectRequest(context_.host, button, &QPushButton::clicked, this,
                     [this, which = test.test, i] {
                       Send([this, which, i] { return context_.live.SendVeskTest(which, i); });
                     });
    }
    ++row;
  }

  auto* send_row = new QHBoxLayout;
  QPushButton* send =
      MakeButton(frame, QStringLiteral("CommandSendVesk"), QStringLiteral("VeskSend"));
  send->setToolTip(
      QStringLiteral("Sends one Vesk frame with these three values (0..127) to the "
                     "module address above"));
  send_row->addWidget(send);
  for (int i = 0; i < static_cast<int>(vesk_values_.size()); ++i) {
    NumberField* field = MakeNamedField(frame, ElementName("TextVeskParameter", i),
                                        QStringLiteral("Vesk parameter %1").arg(i));
    field->setText(QStringLiteral("0"));
    field->setMaximumWidth(kValueFieldWidth);
    send_row->addWidget(field);
    vesk_values_[static_cast<std::size_t>(i)] = field;
  }
  send_row->addStretch();
  grid->addLayout(send_row, row, 0, 1, 3);
  ConnectRequest(context_.host, send, &QPushButton::clicked, this, [this] {
    const std::array<std::string, 3> typed = {TypedText(vesk_values_[0]), TypedText(vesk_values_[1]),
                                              TypedText(vesk_values_[2])};
    Send([this, &typed] {
      return context_.live.VeskSend(
          {std::string_view(typed[0]), std::string_view(typed[1]), std::string_view(typed[2])});
    });
  });
  return frame;
}

}  // namespace tarn::ui
