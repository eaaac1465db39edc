#ifndef TARN_UI_WINDOWS_VERIFICATION_WINDOW_H_
#define TARN_UI_WINDOWS_VERIFICATION_WINDOW_H_

#include <QDialog>
#include <string_view>

class QPlainTextEdit;

namespace tarn::ui {

// frmTarnVerification, "TarnConfig - Verification Report": the report of the last verification.
// It keeps its text when closed, until the next verification replaces it.
class VerificationWindow : public QDialog {
  Q_OBJECT

 public:
  explicit VerificationWindow(QWidget* parent = nullptr);

  // The report's text (lines end with CR LF), shown modally over the main window.
  void ShowReport(std::string_view report);
  QString text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WINDOWS_VERIFICATION_WINDOW_H_
