#include "ui/aspect_editor.h"

#include "ui/editor_tools.h"

namespace tarn::ui {

AspectEditor::AspectEditor(WindowContext& context, QWidget* parent)
    : QWidget(parent), context_(context), tools_(new EditorTools(context, this)) {}

void AspectEditor::ShowAll() { ShowAspectView(); }
void AspectEditor::ShowAspectView() {}
void AspectEditor::ShowAddresses(const AddressRefresh&) {}
void AspectEditor::ApplyVisibility() {}
void AspectEditor::ShowDifferences(const ChangedGroups&) {}
bool AspectEditor::details_shown() const { return false; }

}  // namespace tarn::ui
