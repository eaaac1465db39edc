#include "ui/widgets/number_field.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace tarn::ui {

NumberField::NumberField(QWidget* parent) : QLineEdit(parent) {
  // Wide enough for every number a Tarn field holds, and no wider.
  FitWidth(QStringLiteral("-00000"));
}

void NumberField::FitWidth(const QString& widest) {
  const int width = fontMetrics().horizontalAdvance(widest) + 14;
  setMinimumWidth(width);
  setMaximumWidth(width + 12);
}

void NumberField::Show(const QString& text) {
  if (this->text() != text) setText(text);
  setModified(false);
}

void NumberField::SetGreyed(bool greyed) {
  if (greyed_ == greyed) return;
  greyed_ = greyed;
  ApplyColours();
}

void NumberField::ApplyColours() {
  // Only the greyed face is set, from the theme's own button colour; everything else is
  // inherited, so that a light or a dark desktop theme shows through.
  QPalette colours;
  if (greyed_) {
    colours.setBrush(QPalette::Base, QApplication::palette(this).brush(QPalette::Button));
  }
  setPalette(colours);
}

void NumberField::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  // A theme change reaches a widget as a change of its own palette; setting the greyed face
  // again is one more such change, after which the colours agree and nothing is set.
  const bool palette_changed =
      event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
  if (palette_changed && greyed_ &&
      palette().color(QPalette::Base) != QApplication::palette(this).color(QPalette::Button)) {
    ApplyColours();
  }
}

void NumberField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // A popup or another window taking the focus for a moment is not leaving the field.
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
    emit committed();
  }
}

void NumberField::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit committed();
}

void NumberField::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit helpRequested();
}

void NumberField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit committed();
    QLineEdit::keyPressEvent(event);  // a dialog's default button still hears Enter
    return;
  }
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    emit helpRequested();
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace tarn::ui
