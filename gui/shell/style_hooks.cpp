#include "gui/shell/style_hooks.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace velmor::gui {

QLabel* RoleLabel(const QString& text, const char* role, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setProperty("role", QLatin1String(role));
  return label;
}

QFrame* MakeCard(QWidget* parent, QVBoxLayout** body, const QString& title) {
  auto* card = new QFrame(parent);
  card->setObjectName(QStringLiteral("Card"));
  auto* layout = new QVBoxLayout(card);
  layout->setContentsMargins(14, 12, 14, 12);
  if (!title.isEmpty()) {
    layout->addWidget(RoleLabel(title, "cardTitle", card));
    card->setAccessibleName(title);
  }
  *body = layout;
  return card;
}

}  // namespace velmor::gui
