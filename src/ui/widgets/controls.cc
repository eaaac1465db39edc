#include "ui/widgets/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>

#include "ui/text.h"

namespace tarn::ui {

namespace {

// A list or slider the mouse wheel passes over while the page scrolls is no list the user meant
// to change: the wheel changes it only once it has the focus, and scrolls the page otherwise.
class WheelWhenFocused : public QObject {
 public:
  explicit WheelWhenFocused(QWidget* control) : QObject(control) {
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
      event->ignore();
      return true;
    }
    return false;
  }
};

}  // namespace

QString ElementName(std::string_view name, int index) {
  return Name(name) + QLatin1Char('_') + QString::number(index);
}

QString Name(std::string_view name) { return FromTarnText(name); }

QString SpokenName(const QString& caption) {
  QString spoken = caption;
  spoken.remove(QLatin1Char('&'));
  spoken = spoken.trimmed();
  while (spoken.endsWith(QLatin1Char(':'))) spoken.chop(1);
  return spoken.trimmed();
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAccessibleName(SpokenName(caption));
  button->setAutoDefault(false);
  return button;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setAccessibleName(SpokenName(caption));
  return box;
}

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption,
                         const QString& accessible) {
  auto* option = new QRadioButton(caption, parent);
  option->setObjectName(name);
  option->setAccessibleName(accessible.isEmpty() ? SpokenName(caption) : accessible);
  return option;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  return label;
}

ClickLabel* MakeClickLabel(QWidget* parent, const QString& name, const QString& caption) {
  auto* label = new ClickLabel(caption, parent);
  label->setObjectName(name);
  label->setAccessibleName(SpokenName(caption));
  return label;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  frame->setAccessibleName(SpokenName(caption));
  return frame;
}

NumberField* MakeField(QWidget* parent, const QString& name, QLabel* label,
                       const QString& accessible) {
  auto* field = new NumberField(parent);
  field->setObjectName(name);
  if (label != nullptr) label->setBuddy(field);
  field->setAccessibleName(!accessible.isEmpty() ? accessible
                           : label != nullptr    ? SpokenName(label->text())
                                                 : name);
  return field;
}

NumberField* MakeNamedField(QWidget* parent, const QString& name, const QString& accessible) {
  return MakeField(parent, name, nullptr, accessible);
}

UpDown* MakeUpDown(QWidget* parent, const QString& name, const QString& what) {
  return new UpDown(name, what, parent);
}

QComboBox* MakeComboBox(QWidget* parent, const QString& name, QLabel* label,
                        const QString& accessible) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  new WheelWhenFocused(box);
  if (label != nullptr) label->setBuddy(box);
  box->setAccessibleName(!accessible.isEmpty() ? accessible
                         : label != nullptr    ? SpokenName(label->text())
                                               : name);
  return box;
}

QSlider* MakeSlider(QWidget* parent, const QString& name, const QString& accessible, int min,
                    int max) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(name);
  new WheelWhenFocused(slider);
  slider->setAccessibleName(accessible);
  slider->setRange(min, max);
  return slider;
}

void ShowText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

void ShowText(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}

void ShowChecked(QAbstractButton* button, bool checked) {
  if (button->isChecked() == checked) return;
  const QSignalBlocker quiet(button);
  button->setChecked(checked);
}

void ShowCheckState(QCheckBox* box, Qt::CheckState state) {
  if (box->checkState() == state) return;
  const QSignalBlocker quiet(box);
  box->setCheckState(state);
}

void ShowCurrentIndex(QComboBox* box, int index) {
  if (box->currentIndex() == index) return;
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(index);
}

QHBoxLayout* MakeRow(QWidget* owner) {
  auto* row = new QHBoxLayout(owner);
  row->setContentsMargins(0, 0, 0, 0);
  return row;
}

void ShowOverflow(QLabel* label, bool overflow) {
  // Follows the desktop's theme: the red is chosen again whenever the application palette
  // changes, and a label without overflow inherits every colour.
  class OverflowColour : public QObject {
   public:
    explicit OverflowColour(QLabel* label) : QObject(label), label_(label) {
      setObjectName(QStringLiteral("OverflowColour"));
      label->installEventFilter(this);
    }
    void Show(bool overflow) {
      overflow_ = overflow;
      QPalette colours;
      if (overflow) colours.setColor(QPalette::WindowText, Red());
      label_->setPalette(colours);
    }

   protected:
    // A theme change reaches the label as a change of its palette; setting the red again is one
    // more, after which the colours agree and nothing is set.
    bool eventFilter(QObject* watched, QEvent* event) override {
      const bool palette_changed = event->type() == QEvent::PaletteChange ||
                                   event->type() == QEvent::ApplicationPaletteChange;
      if (watched == label_ && palette_changed && overflow_ &&
          label_->palette().color(QPalette::WindowText) != Red()) {
        Show(overflow_);
      }
      return false;
    }

   private:
    // A red a shade lighter on a dark window, a shade darker on a light one.
    QColor Red() const {
      const bool dark = QApplication::palette(label_).color(QPalette::Window).lightness() < 128;
      return dark ? QColor(255, 110, 110) : QColor(190, 0, 0);
    }

    QLabel* label_;
    bool overflow_ = false;
  };
  // Only this function makes children of that name.
  auto* colour = static_cast<OverflowColour*>(
      label->findChild<QObject*>(QStringLiteral("OverflowColour"), Qt::FindDirectChildrenOnly));
  if (colour == nullptr) colour = new OverflowColour(label);
  colour->Show(overflow);
}

}  // namespace tarn::ui
