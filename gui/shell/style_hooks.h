#pragma once

// The widgets the theme style sheets target: labels with a "role" and the
// framed "Card" boxes that group a page's controls. Every page builds them
// here, so each theme styles them all alike.

#include <QString>

class QFrame;
class QLabel;
class QVBoxLayout;
class QWidget;

namespace velmor::gui {

// A label with the dynamic property "role" ("pageTitle", "cardTitle",
// "value", "ok", "warn").
QLabel* RoleLabel(const QString& text, const char* role, QWidget* parent);

// A card (object name "Card") with a vertical layout, handed back in
// `body`. With a title, the card starts with it as a "cardTitle" label and
// carries it as its accessible name.
QFrame* MakeCard(QWidget* parent, QVBoxLayout** body, const QString& title = QString());

}  // namespace velmor::gui
