#pragma once

#include <QWidget>

namespace velmor::gui {

// A page whose controls are still to come: only its heading, so nothing on
// it pretends to work.
class TitlePage : public QWidget {
  Q_OBJECT
 public:
  explicit TitlePage(const QString& title, QWidget* parent = nullptr);
};

}  // namespace velmor::gui
