#ifndef TARN_UI_WIDGETS_DRIVER_GROUPS_H_
#define TARN_UI_WIDGETS_DRIVER_GROUPS_H_

#include <QWidget>
#include <array>

#include "model/general_settings.h"

class QCheckBox;
class QGridLayout;
class QLabel;

namespace tarn::ui {

// The hardware configuration of the four output groups: the pin heading LabelGenHWCPin, and
// below each pin range of it the group's Sink box (ChkGenHWCSink_g) and Source box
// (ChkGenHWCSource_g).
class DriverGroups : public QWidget {
  Q_OBJECT

 public:
  explicit DriverGroups(QWidget* parent = nullptr);

  void Show(const GeneralSettings& settings);
  // The heading and the boxes' spoken names follow the numbering of pins.
  void ShowNumbering(int numbering_base);

 signals:
  // The user changed a box.
  void boxChanged(int group, bool source, bool ticked);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // Puts each group's boxes under its pin range in the heading.
  void AlignUnderHeading();

  QLabel* heading_;
  QGridLayout* grid_;
  std::array<QCheckBox*, kDriverGroupCount> sink_{};
  std::array<QCheckBox*, kDriverGroupCount> source_{};
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_DRIVER_GROUPS_H_
