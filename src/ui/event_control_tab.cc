#include "ui/event_control_tab.h"

namespace tarn::ui {

EventControlTab::EventControlTab(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabEventControl"));
}

void EventControlTab::ShowAll() {}

}  // namespace tarn::ui
