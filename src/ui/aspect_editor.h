#ifndef TARN_UI_ASPECT_EDITOR_H_
#define TARN_UI_ASPECT_EDITOR_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

class EditorTools;

// The aspect program editor: the pin and its description, the device head and name, the aspect
// layout, the aspect and initial aspect, the address counts with the pin's addresses, the nine
// step rows, "Show Details", "Test", "Write Single" and the pin and device operation buttons.
class AspectEditor : public QWidget {
  Q_OBJECT

 public:
  AspectEditor(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll();
  // Showing the aspect view: the current pin's fields, its aspect's steps, the layout applied.
  void ShowAspectView();
  void ShowAddresses(const AddressRefresh& refresh);
  // The "Show Details" and expert rules.
  void ApplyVisibility();
  void ShowDifferences(const ChangedGroups& changed);

  bool details_shown() const;
  EditorTools* tools() const { return tools_; }

 signals:
  // Before the current pin changes: the shown pin configuration fields commit first.
  void aboutToChangePin();
  // After it changed: the pin configuration view shows the new pin.
  void pinChanged();
  // "Show Details" was switched.
  void detailsChanged();

 private:
  WindowContext& context_;
  EditorTools* tools_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_ASPECT_EDITOR_H_
