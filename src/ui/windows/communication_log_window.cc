#include "ui/windows/communication_log_window.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/text.h"

namespace tarn::ui {

CommunicationLogWindow::CommunicationLogWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmTolvikComm"));
  setWindowTitle(QStringLiteral("TarnConfig - Communication Log"));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("txtTolvikCommunication"));
  text_->setAccessibleName(QStringLiteral("Communication Log"));
  text_->setReadOnly(true);
  text_->setMaximumBlockCount(kMaxLines);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* clear = new QPushButton(QStringLiteral("Clear"), this);
  clear->setObjectName(QStringLiteral("cmdClear"));
  clear->setAccessibleName(QStringLiteral("Clear"));
  connect(clear, &QPushButton::clicked, text_, &QPlainTextEdit::clear);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(clear, 0, Qt::AlignLeft);
  resize(480, 360);
}

void CommunicationLogWindow::AppendLine(std::string_view line) {
  text_->appendPlainText(FromTarnText(line));
}

QString CommunicationLogWindow::text() const { return text_->toPlainText(); }

}  // namespace tarn::ui
