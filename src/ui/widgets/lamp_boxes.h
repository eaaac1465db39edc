#ifndef TARN_UI_WIDGETS_LAMP_BOXES_H_
#define TARN_UI_WIDGETS_LAMP_BOXES_H_

#include <QGroupBox>
#include <array>
#include <cstdint>
#include <string_view>

#include "model/led_mask.h"

class QCheckBox;

namespace tarn::ui {

// The eight boxes of one status lamp (CheckLCGreen_0..7 or CheckLCOrange_0..7): boxes 0..6 are
// the bits of its mask, box 7 its idle indication, shown greyed-ticked (partially checked) for
// the empty mask. The owner turns a change into a new mask and shows it.
class LampBoxes : public QGroupBox {
  Q_OBJECT

 public:
  LampBoxes(QWidget* parent, const QString& frame_name, const QString& caption,
            std::string_view box_name, const std::array<std::string_view, kLedBoxCount>& texts);

  void Show(std::uint8_t mask);
  QCheckBox* box(int index) const { return boxes_[static_cast<std::size_t>(index)]; }

 signals:
  // The user changed box `box` (a click, Space, a screen reader's toggle), which is now ticked
  // (or greyed) or unticked.
  void boxChanged(int box, bool ticked);

 private:
  std::array<QCheckBox*, kLedBoxCount> boxes_{};
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_LAMP_BOXES_H_
