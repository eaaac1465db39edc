#include "ui/test_tab.h"

namespace tarn::ui {

TestTab::TestTab(WindowContext& context, QWidget* parent) : QWidget(parent), context_(context) {
  setObjectName(QStringLiteral("TabTest"));
}

void TestTab::ShowAll() {}

}  // namespace tarn::ui
