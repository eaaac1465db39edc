#ifndef TARN_UI_MESSAGE_BOX_PROMPTER_H_
#define TARN_UI_MESSAGE_BOX_PROMPTER_H_

#include <QPointer>
#include <QWidget>

#include "host/prompter.h"

namespace tarn::ui {

// The core's messages as message boxes with the icon and buttons asked for, in plain text (a
// description in a message is never read as markup).
class MessageBoxPrompter : public Prompter {
 public:
  explicit MessageBoxPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  PromptAnswer Show(std::string_view text, PromptIcon icon, PromptButtons buttons) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_MESSAGE_BOX_PROMPTER_H_
