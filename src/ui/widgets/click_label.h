#ifndef TARN_UI_WIDGETS_CLICK_LABEL_H_
#define TARN_UI_WIDGETS_CLICK_LABEL_H_

#include <QPushButton>

namespace tarn::ui {

// A caption that does something when clicked ("Pin", "Aspect", a step number, the version label).
// It looks like a label but is a flat button, so that the keyboard reaches it (Space or Enter is
// a left click, the context-menu key or Shift+F10 a right click) and a screen reader announces it
// as something to press.
class ClickLabel : public QPushButton {
  Q_OBJECT

 public:
  explicit ClickLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  // Every press, with the button and the modifier keys held.
  void pressedWith(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
  void doubleClicked();
  // Space, Enter or a screen reader's press: for captions whose action is a double-click, the way
  // to it without a mouse.
  void activatedWithoutMouse();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_CLICK_LABEL_H_
