#ifndef TARN_UI_WIDGETS_UP_DOWN_H_
#define TARN_UI_WIDGETS_UP_DOWN_H_

#include <QWidget>

class QToolButton;

namespace tarn::ui {

// The up/down control beside a typed field: two small buttons, each stepping at once (and
// repeating while held). A screen reader hears them as "<what> up" and "<what> down".
class UpDown : public QWidget {
  Q_OBJECT

 public:
  // `what` names the field the control steps ("Module Address").
  UpDown(const QString& object_name, const QString& what, QWidget* parent = nullptr);

  QToolButton* up() const { return up_; }
  QToolButton* down() const { return down_; }

 signals:
  // +1 for up, -1 for down.
  void stepped(int direction);

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_UP_DOWN_H_
