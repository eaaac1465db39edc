#include "ui/windows/verification_window.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/text.h"

namespace tarn::ui {

VerificationWindow::VerificationWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmTarnVerification"));
  setWindowTitle(QStringLiteral("TarnConfig - Verification Report"));
  text_ = new QPlainTextEdit(this);
  text_->setObjectName(QStringLiteral("txtVerification"));
  text_->setAccessibleName(QStringLiteral("Verification Report"));
  text_->setReadOnly(true);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  resize(640, 420);
}

void VerificationWindow::ShowReport(std::string_view report) {
  QString text = FromTarnText(report);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text_->setPlainText(text);
  text_->moveCursor(QTextCursor::End);
  // Modal over the main window, without blocking the tick that ran the verification.
  open();
}

QString VerificationWindow::text() const { return text_->toPlainText(); }

}  // namespace tarn::ui
