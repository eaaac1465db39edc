#include "ui/widgets/driver_groups.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpression>
#include <algorithm>

#include "model/general_settings_view.h"
#include "ui/text.h"
#include "ui/widgets/controls.h"

namespace tarn::ui {
namespace {

// Grid columns: the row captions, the room before the first range, then per group its box and
// the gap to the next one, and a last column that takes what is left.
constexpr int kCaptionColumn = 0;
constexpr int kLeadColumn = 1;
constexpr int BoxColumn(int group) { return 2 + 2 * group; }
constexpr int kLastColumn = BoxColumn(kDriverGroupCount);

}  // namespace

DriverGroups::DriverGroups(QWidget* parent) : QWidget(parent) {
  grid_ = new QGridLayout(this);
  grid_->setContentsMargins(0, 0, 0, 0);
  grid_->setHorizontalSpacing(0);
  heading_ = MakeLabel(this, QStringLiteral("LabelGenHWCPin"), FromTarnText(PinGroupHeading(1)));
  grid_->addWidget(heading_, 0, kLeadColumn, 1, kLastColumn - kLeadColumn + 1);
  grid_->addWidget(MakeLabel(this, QStringLiteral("LabelGenHWC_0"), QStringLiteral("Sink ")), 1,
                   kCaptionColumn);
  grid_->addWidget(MakeLabel(this, QStringLiteral("LabelGenHWC_1"), QStringLiteral("Source ")), 2,
                   kCaptionColumn);
  for (int g = 0; g < kDriverGroupCount; ++g) {
    for (const bool source : {false, true}) {
      QCheckBox* box = MakeCheckBox(
          this, ElementName(source ? "ChkGenHWCSource" : "ChkGenHWCSink", g), QString());
      (source ? source_ : sink_)[static_cast<std::size_t>(g)] = box;
      grid_->addWidget(box, source ? 2 : 1, BoxColumn(g));
      connect(box, &QCheckBox::toggled, this,
              [this, g, source](bool ticked) { emit boxChanged(g, source, ticked); });
    }
  }
  grid_->setColumnStretch(kLastColumn, 1);
  ShowNumbering(1);
}

void DriverGroups::Show(const GeneralSettings& settings) {
  for (std::size_t g = 0; g < sink_.size(); ++g) {
    ShowChecked(sink_[g], settings.sink_driver[g]);
    ShowChecked(source_[g], settings.source_driver[g]);
  }
}

void DriverGroups::ShowNumbering(int numbering_base) {
  ShowText(heading_, FromTarnText(PinGroupHeading(numbering_base)));
  for (int g = 0; g < kDriverGroupCount; ++g) {
    const auto i = static_cast<std::size_t>(g);
    sink_[i]->setAccessibleName(FromTarnText(DriverBoxName(g, false, numbering_base)));
    source_[i]->setAccessibleName(FromTarnText(DriverBoxName(g, true, numbering_base)));
  }
  AlignUnderHeading();
}

void DriverGroups::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    AlignUnderHeading();
  }
}

void DriverGroups::AlignUnderHeading() {
  // The heading is one text; each range in it stands over its group's boxes, so the columns are
  // measured from where the ranges fall in the heading as drawn.
  const QFontMetrics metrics = heading_->fontMetrics();
  const QString text = heading_->text();
  const int box_width = sink_[0]->sizeHint().width();
  std::array<int, kDriverGroupCount> centres{};
  int from = 0;
  for (int g = 0; g < kDriverGroupCount; ++g) {
    // The ranges are the words after "Pin", in order.
    const qsizetype start = text.indexOf(QRegularExpression(QStringLiteral("\\d")), from);
    qsizetype end = text.indexOf(QLatin1Char(' '), start);
    if (end < 0) end = text.size();
    const int left = metrics.horizontalAdvance(text.left(start));
    centres[static_cast<std::size_t>(g)] =
        left + metrics.horizontalAdvance(text.mid(start, end - start)) / 2;
    from = static_cast<int>(end);
  }
  grid_->setColumnMinimumWidth(kLeadColumn, std::max(0, centres[0] - box_width / 2));
  for (int g = 0; g < kDriverGroupCount; ++g) {
    grid_->setColumnMinimumWidth(BoxColumn(g), box_width);
    sink_[static_cast<std::size_t>(g)]->setFixedWidth(box_width);
    source_[static_cast<std::size_t>(g)]->setFixedWidth(box_width);
    if (g + 1 < kDriverGroupCount) {
      const int gap = centres[static_cast<std::size_t>(g) + 1] -
                      centres[static_cast<std::size_t>(g)] - box_width;
      grid_->setColumnMinimumWidth(BoxColumn(g) + 1, std::max(0, gap));
    }
  }
}

}  // namespace tarn::ui
