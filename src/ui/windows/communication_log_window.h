#ifndef TARN_UI_WINDOWS_COMMUNICATION_LOG_WINDOW_H_
#define TARN_UI_WINDOWS_COMMUNICATION_LOG_WINDOW_H_

#include <QWidget>
#include <string_view>

class QPlainTextEdit;

namespace tarn::ui {

// frmTolvikComm: every Tolvik frame sent and every receive attempt, one line each. It is made
// with the main window, keeps its text for the whole run whether shown or not, and is opened
// without blocking the main window.
class CommunicationLogWindow : public QWidget {
  Q_OBJECT

 public:
  // An evening's log stays bounded: the oldest lines go first.
  static constexpr int kMaxLines = 10000;

  explicit CommunicationLogWindow(QWidget* parent = nullptr);

  void AppendLine(std::string_view line);
  QString text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_WINDOWS_COMMUNICATION_LOG_WINDOW_H_
