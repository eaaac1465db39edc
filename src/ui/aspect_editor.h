#ifndef TARN_UI_ASPECT_EDITOR_H_
#define TARN_UI_ASPECT_EDITOR_H_

#include <QWidget>
#include <array>
#include <optional>

#include "model/aspect_view.h"
#include "operations/editor_visibility.h"
#include "ui/widgets/controls.h"
#include "ui/window_context.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarn::ui {

class EditorTools;
class StepGrid;

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
  // Marks the pin field when what the window holds for the current pin differs from what the
  // Tarn holds; kept, so that choosing another pin marks it by the same picture.
  void ShowDifferences(const ChangedGroups& changed);

  bool details_shown() const;

 signals:
  // Before the current pin changes: the shown pin configuration fields commit first.
  void aboutToChangePin();
  // After it changed: the pin configuration view shows the new pin.
  void pinChanged();
  // "Show Details" was switched.
  void detailsChanged();

 protected:
  // The "Test" button acts on the press of the left mouse button, with the keys held then.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The widgets of one count column ("Serial", "B-DCC", "X-DCC").
  struct CountColumn {
    QLabel* heading = nullptr;
    NumberField* field = nullptr;
    UpDown* up_down = nullptr;
  };

  QWidget* BuildPinRows();
  QWidget* BuildAspectRows();
  QWidget* BuildCounts();
  QWidget* BuildButtons();
  void PlaceButtons(const EditorVisibility& shown);
  void ConnectPinControls(UpDown* pin_up_down);
  void ConnectAspectControls(UpDown* aspect_up_down, UpDown* init_up_down);

  // Everything typed that would be lost when the fields show another pin or aspect.
  void CommitPending(EditorChange change);
  // A pin change: commits first, tells the pin configuration before and after, shows the pin.
  void ChangePin(const std::function<std::string(DeviceConfiguration&)>& select);
  void ChangeAspect(const std::function<std::string(DeviceConfiguration&)>& select);
  void ShowAfterTool(bool changed, bool pin_tool);
  void ChooseLayout(LayoutOption option);
  void CommitInitialAspect(const std::function<std::string(DeviceConfiguration&)>& enter);
  void CommitCount(std::size_t column, std::optional<int> step);
  void CommitDevicePin();
  // A description typed: stored at once, or refused whole when Windows-1252 cannot hold it.
  void StoreDescription(QLineEdit* field, const QString& what, bool aspect);
  void StoreDeviceName(const QString& text);
  void Test(Qt::KeyboardModifiers modifiers);
  void WriteSingle();
  EditorVisibility CurrentVisibility() const;
  void ShowPinDifference();

  WindowContext& context_;
  EditorTools* tools_;
  StepGrid* grid_ = nullptr;

  ClickLabel* label_pin_ = nullptr;
  NumberField* text_pin_ = nullptr;
  QLabel* pin_differs_ = nullptr;
  ChangedGroups changed_;
  QLineEdit* text_description_ = nullptr;
  NumberField* text_device_pin_ = nullptr;
  QLineEdit* text_device_name_ = nullptr;
  std::array<QRadioButton*, kLayoutOptionCount> options_{};
  ClickLabel* label_aspect_ = nullptr;
  NumberField* text_aspect_ = nullptr;
  UpDown* up_down_aspect_ = nullptr;
  QLabel* label_aspect_description_ = nullptr;
  QLineEdit* text_aspect_description_ = nullptr;
  QLabel* label_init_ = nullptr;
  NumberField* text_init_ = nullptr;
  UpDown* up_down_init_ = nullptr;
  QLabel* label_addresses_ = nullptr;
  std::array<CountColumn, 3> counts_{};
  std::array<QLabel*, 4> address_labels_{};
  QPushButton* test_ = nullptr;
  QPushButton* write_single_ = nullptr;
  QCheckBox* show_details_ = nullptr;
  std::array<QPushButton*, kEditorButtons.size()> buttons_{};
  QGridLayout* buttons_grid_ = nullptr;
  std::optional<std::array<bool, kEditorButtons.size()>> placed_;  // the buttons laid out
};

}  // namespace tarn::ui

#endif  // TARN_UI_ASPECT_EDITOR_H_
