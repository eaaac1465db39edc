#ifndef TARN_UI_WIDGETS_CONTROLS_H_
#define TARN_UI_WIDGETS_CONTROLS_H_

#include <QString>
#include <string_view>

#include "ui/widgets/click_label.h"
#include "ui/widgets/number_field.h"
#include "ui/widgets/up_down.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;
class QWidget;

// Every control is made here in one call that gives it its control name as object name, its
// caption, and the name a screen reader speaks: a button, box or option its caption; a field the
// text of its label, which becomes the field's buddy. Names and captions come from the core's
// tables as byte strings and cross into Qt through the Windows-1252 table.

namespace tarn::ui {

// "CheckInitEE_3": the object name of element `index` of a control array.
QString ElementName(std::string_view name, int index);
QString Name(std::string_view name);

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption);
QCheckBox* MakeCheckBox(QWidget* parent, const QString& name, const QString& caption);
// `accessible` is for options whose caption is a bare number ("Aspect layout 12").
QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption,
                         const QString& accessible = {});
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption);
ClickLabel* MakeClickLabel(QWidget* parent, const QString& name, const QString& caption);
QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption);

// A typed field with its label as buddy; the label's text, without "&" and ":", is the field's
// accessible name unless `accessible` says otherwise.
NumberField* MakeField(QWidget* parent, const QString& name, QLabel* label,
                       const QString& accessible = {});
// A field without a label of its own (an element of an array), named for a screen reader.
NumberField* MakeNamedField(QWidget* parent, const QString& name, const QString& accessible);
UpDown* MakeUpDown(QWidget* parent, const QString& name, const QString& what);
QComboBox* MakeComboBox(QWidget* parent, const QString& name, QLabel* label,
                        const QString& accessible = {});
QSlider* MakeSlider(QWidget* parent, const QString& name, const QString& accessible, int min,
                    int max);

// A label's text as a screen reader names the field it labels: "Module Address:" -> "Module
// Address".
QString SpokenName(const QString& caption);

// Sets the text of a label or a field only when it changed, so a refresh costs nothing where
// nothing moved and never moves the caret of a field being typed in.
void ShowText(QLabel* label, const QString& text);
void ShowText(QLineEdit* field, const QString& text);

// Show the model's state in a control without it counting as the user's: the control's state
// signal, which its reaction listens to, stays quiet.
void ShowChecked(QAbstractButton* button, bool checked);
void ShowCheckState(QCheckBox* box, Qt::CheckState state);
void ShowCurrentIndex(QComboBox* box, int index);

// A row of controls that fills `owner` edge to edge.
QHBoxLayout* MakeRow(QWidget* owner);

// The colour of a red overflow text that reads on light and dark palettes alike.
void ShowOverflow(QLabel* label, bool overflow);

}  // namespace tarn::ui

#endif  // TARN_UI_WIDGETS_CONTROLS_H_
