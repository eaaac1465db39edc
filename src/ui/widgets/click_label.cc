#include "ui/widgets/click_label.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tarn::ui {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setFlat(true);
  setFocusPolicy(Qt::TabFocus);
  setAutoDefault(false);
  // What presses it other than the mouse and the keys below: a screen reader's press action.
  connect(this, &QPushButton::clicked, this, [this] {
    emit pressedWith(Qt::LeftButton, Qt::NoModifier);
    emit activatedWithoutMouse();
  });
  setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 1px 2px; text-align: left; }"
                               "QPushButton:focus { text-decoration: underline; }"));
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  emit pressedWith(event->button(), event->modifiers());
  event->accept();
}

void ClickLabel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit doubleClicked();
  event->accept();
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit pressedWith(Qt::LeftButton, modifiers);
      emit activatedWithoutMouse();
      event->accept();
      return;
    default:
      QPushButton::keyPressEvent(event);
  }
}

void ClickLabel::contextMenuEvent(QContextMenuEvent* event) {
  // A mouse's right button arrives as a press already; this is the keyboard's way there.
  if (event->reason() == QContextMenuEvent::Keyboard) {
    emit pressedWith(Qt::RightButton, event->modifiers());
  }
  event->accept();
}

}  // namespace tarn::ui
