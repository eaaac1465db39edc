#ifndef TARN_UI_EVENT_CONTROL_TAB_H_
#define TARN_UI_EVENT_CONTROL_TAB_H_

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <array>

#include "model/model_limits.h"
#include "protocol/event_control.h"
#include "protocol/event_control_tab.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

class QCheckBox;
class QPushButton;

namespace tarn::ui {

// The grey of an action field that holds no action: the light grey of the device's own tool on a
// light theme (white base, black text), and the same small step from the base towards the text
// on any other theme, so that it reads on a dark one too.
QColor NoActionColour(const QPalette& theme, QPalette::ColorGroup group = QPalette::Active);

// The "Tarn Event Control" tab: the enable map, the event pin and its eight actions, the event
// buttons. The event pin is the tab's own: which pin the user looks at, not part of the Tarn.
class EventControlTab : public QWidget, public View {
  Q_OBJECT

 public:
  EventControlTab(WindowContext& context, QWidget* parent = nullptr);

  void ShowAll() override;
  void ApplyVisibility() override;

  int event_pin() const { return event_pin_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  // One of the eight action fields: its edge, its input, its text and its up/down.
  struct ActionField {
    EventEdge edge;
    int input;
    NumberField* text;
  };

  QWidget* BuildEnableMap();
  QWidget* BuildActions();
  QWidget* BuildOperations();

  void EnableToggled(EventEdge edge, int input, bool checked);
  void CommitAction(const ActionField& field);
  void StepAction(const ActionField& field, int direction);
  void CommitPin();
  void StepPin(int direction);
  // What the user typed into the field that has the focus takes effect before an up/down or a
  // button moves on from it: a click on an up/down does not take the focus.
  void CommitFocused();
  void CopyToAll();
  void ReadEnableMap();
  void WriteEnableMap();
  void ReadPin();
  void WritePin();

  void ShowEnableMap();
  void ShowFields();
  void ShowField(NumberField* text, const EventField& shown);
  void ShowBackground(NumberField* text, EventFieldBackground background);
  // What the model holds for the field: what it shows when an edit did not run.
  EventField Stored(const ActionField& field) const;
  ActionField& FieldOf(EventEdge edge, int input);

  WindowContext& context_;
  int event_pin_ = 0;
  std::array<QCheckBox*, 2 * kEventInputCount> enables_{};
  NumberField* text_pin_ = nullptr;
  std::array<ActionField, 2 * kEventInputCount> fields_{};
  QPushButton* verify_ = nullptr;
};

}  // namespace tarn::ui

#endif  // TARN_UI_EVENT_CONTROL_TAB_H_
