#include "ui/widgets/up_down.h"

#include <QApplication>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/widgets/number_field.h"

namespace tarn::ui {
namespace {

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const QString& name,
                       const QString& accessible_name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRepeat(true);
  button->setAccessibleName(accessible_name);
  button->setToolTip(accessible_name);
  button->setFocusPolicy(Qt::TabFocus);
  button->setFixedSize(18, 12);
  return button;
}

// A click on an arrow leaves the focus where it was: a number typed into a field takes effect
// first, as leaving the field would, so that the step starts from it and nothing typed is lost.
void CommitTypedNumber() {
  if (auto* field = qobject_cast<NumberField*>(QApplication::focusWidget())) field->Commit();
}

}  // namespace

UpDown::UpDown(const QString& object_name, const QString& what, QWidget* parent)
    : QWidget(parent),
      up_(MakeArrow(this, Qt::UpArrow, object_name + QStringLiteral("_up"),
                    what + QStringLiteral(" up"))),
      down_(MakeArrow(this, Qt::DownArrow, object_name + QStringLiteral("_down"),
                      what + QStringLiteral(" down"))) {
  setObjectName(object_name);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, [this] {
    CommitTypedNumber();
    emit stepped(1);
  });
  connect(down_, &QToolButton::clicked, this, [this] {
    CommitTypedNumber();
    emit stepped(-1);
  });
}

}  // namespace tarn::ui
