#include "ui/widgets/lamp_boxes.h"

#include <QCheckBox>
#include <QVBoxLayout>

#include "protocol/general_settings_commands.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

Qt::CheckState CheckStateOf(LedBoxState state) {
  switch (state) {
    case LedBoxState::kTicked:
      return Qt::Checked;
    case LedBoxState::kGreyed:
      return Qt::PartiallyChecked;
    case LedBoxState::kUnticked:
      break;
  }
  return Qt::Unchecked;
}

}  // namespace

LampBoxes::LampBoxes(QWidget* parent, const QString& frame_name, const QString& caption,
                     std::string_view box_name,
                     const std::array<std::string_view, kLedBoxCount>& texts)
    : QGroupBox(caption, parent) {
  setObjectName(frame_name);
  setAccessibleName(SpokenName(caption));
  auto* rows = new QVBoxLayout(this);
  rows->setSpacing(2);
  for (int i = 0; i < kLedBoxCount; ++i) {
    QCheckBox* box = MakeCheckBox(this, ElementName(box_name, i), FromTarnText(texts[i]));
    boxes_[static_cast<std::size_t>(i)] = box;
    rows->addWidget(box);
    // The idle box cycles through its greyed state when clicked; any state but unticked is the
    // idle indication asked for.
    connect(box, &QCheckBox::stateChanged, this,
            [this, i](int state) { emit boxChanged(i, state != Qt::Unchecked); });
  }
  rows->addStretch();
}

void LampBoxes::Show(std::uint8_t mask) {
  const std::array<LedBoxState, kLedBoxCount> states = LampBoxStates(mask);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    ShowCheckState(boxes_[i], CheckStateOf(states[i]));
  }
}

}  // namespace tarn::ui
