#ifndef TARN_UI_EDITOR_TOOLS_H_
#define TARN_UI_EDITOR_TOOLS_H_

#include <QObject>
#include <QString>

#include "model/help_tools.h"
#include "ui/window_context.h"

class QWidget;

namespace tarn::ui {

// What the aspect editor's clicks open: the clipboard dialogs ("Edit Pin", "Edit Aspect", "Edit
// Step") and the parameter calculators. The dialogs are made once and keep their state (the
// clipboards) for the whole run. Each call returns whether the model changed; the editor then
// shows the aspect view again.
class EditorTools : public QObject {
  Q_OBJECT

 public:
  EditorTools(WindowContext& context, QWidget* parent);

  // A click on the "Pin" label, the "Aspect" label, the number of step row `row`.
  bool EditPin();
  bool EditAspect();
  bool EditStep(int row);

  // A double-click (or F1) on `box` of step row `row` of the current aspect; `field_text` is what
  // the field shows now, which a p2 calculator gives back when cancelled. Without a tool for the
  // step's instruction and the box: "Help tool not available for this box with the selected
  // command".
  bool OpenHelpTool(int row, HelpToolBox box, const QString& field_text);

 private:
  WindowContext& context_;
  QWidget* parent_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_EDITOR_TOOLS_H_
