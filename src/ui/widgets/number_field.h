#ifndef TARN_UI_WIDGETS_NUMBER_FIELD_H_
#define TARN_UI_WIDGETS_NUMBER_FIELD_H_

#include <QLineEdit>

namespace tarn::ui {

// A typed field of the device: it never refuses input. What was typed takes effect when the
// field is left, when it is clicked and when Enter is pressed (`committed`); the owner clamps it
// through the core and writes the result back. A double-click, or F1 from the keyboard, asks for
// the field's help tool.
class NumberField : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberField(QWidget* parent = nullptr);

  // As wide as `widest` needs, for a field whose numbers are short (a count of 0..6): the window
  // fits a small screen. A longer entry still goes in; the field scrolls.
  void FitWidth(const QString& widest);

  // Shows `text` unless the field holds it already, so a refresh never moves the caret of a
  // field being typed in.
  void Show(const QString& text);

  // The normal window background, or the greyed button face of a parameter the instruction does
  // not use; a field stays editable either way.
  void SetGreyed(bool greyed);
  bool greyed() const { return greyed_; }

  // What is typed takes effect now, as leaving the field would.
  void Commit() { emit committed(); }
  // The user typed into the field since it last showed the model: the field holds an entry that
  // has not taken effect. A change of pin or aspect commits only such fields, so that a value the
  // model holds out of its field's range (a file takes bytes unchecked) is not clamped unasked.
  bool HasTypedEntry() const { return isModified(); }

 signals:
  void committed();
  void helpRequested();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // The desktop's theme changed: the greyed face takes the new button colour.
  void changeEvent(QEvent* event) override;

 private:
  void ApplyColours();

  bool greyed_ = false;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_NUMBER_FIELD_H_
