#include "ui/editor_tools.h"

#include <QWidget>

namespace tarn::ui {

EditorTools::EditorTools(WindowContext& context, QWidget* parent)
    : QObject(parent), context_(context), parent_(parent) {}

bool EditorTools::EditPin() { return false; }
bool EditorTools::EditAspect() { return false; }
bool EditorTools::EditStep(int /*row*/) { return false; }

bool EditorTools::OpenHelpTool(int /*row*/, HelpToolBox /*box*/, const QString& /*field_text*/) {
  context_.prompter.Show(kHelpToolNotAvailableText);
  return false;
}

}  // namespace tarn::ui
