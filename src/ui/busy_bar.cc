#include "ui/busy_bar.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "operations/scheduler.h"
#include "ui/text.h"

namespace tarn::ui {

BusyBar::BusyBar(QWidget* parent) : QWidget(parent) {
  label_ = new QLabel(FromTarnText(kBusyCaption), this);
  label_->setObjectName(QStringLiteral("LabelAction"));
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("ProgressAction"));
  bar_->setAccessibleName(QStringLiteral("Progress"));
  bar_->setTextVisible(true);
  bar_->setMinimumWidth(280);
  stop_ = new QPushButton(QStringLiteral("Stop"), this);
  stop_->setObjectName(QStringLiteral("CommandStop"));
  stop_->setAccessibleName(QStringLiteral("Stop"));
  stop_->setToolTip(QStringLiteral("End the operation at the next exchange with the Tarn"));
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(label_);
  row->addWidget(bar_, 1);
  row->addWidget(stop_);
  row->addStretch();
  // The row keeps its height while hidden parts come and go.
  setMinimumHeight(stop_->sizeHint().height());
  label_->hide();
  bar_->hide();
  stop_->hide();
  connect(stop_, &QPushButton::clicked, this, [this] {
    stop_->setEnabled(false);
    emit stopRequested();
  });
}

void BusyBar::ShowBusyLabel(bool shown) { label_->setVisible(shown); }

void BusyBar::Start() {
  bar_->setRange(0, 0);  // busy until the flow says how far it is
  bar_->setFormat(QString());
  bar_->show();
  stop_->setEnabled(true);
  stop_->show();
}

void BusyBar::Finish() {
  bar_->hide();
  stop_->hide();
}

void BusyBar::Report(int done, int total, std::string_view what) {
  if (total > 0) {
    bar_->setRange(0, total);
    bar_->setValue(done);
  }
  bar_->setFormat(FromTarnText(what));
  QCoreApplication::processEvents();
}

}  // namespace tarn::ui
