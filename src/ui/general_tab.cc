#include "ui/general_tab.h"

namespace tarn::ui {

GeneralTab::GeneralTab(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabGeneral"));
}

void GeneralTab::ShowAll() {}

}  // namespace tarn::ui
