#include "gui/shell/title_page.h"

#include <QLabel>
#include <QVBoxLayout>

#include "gui/shell/style_hooks.h"

namespace velmor::gui {

TitlePage::TitlePage(const QString& title, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(18, 18, 18, 18);
  auto* heading = RoleLabel(title, "pageTitle", this);
  heading->setAccessibleName(title);
  layout->addWidget(heading);
  layout->addStretch(1);
  setAccessibleName(title);
}

}  // namespace velmor::gui
