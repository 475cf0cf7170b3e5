#pragma once

// The "Sterowanie wzrokiem" page: the eye tracker's status and the two gaze
// settings of config.json.

#include <QWidget>

class QCheckBox;
class QLabel;
class QSlider;
class QTimer;

namespace velmor::gui {

class GazePage : public QWidget {
  Q_OBJECT

 public:
  explicit GazePage(QWidget* parent = nullptr);

 private:
  void Load();
  void Save();
  void UpdateValueLabel();
  void UpdateStatus();

  QLabel* status_ = nullptr;
  QCheckBox* enabled_ = nullptr;
  QSlider* dwell_ = nullptr;
  QLabel* dwellValue_ = nullptr;
  QTimer* statusTimer_ = nullptr;
  bool loading_ = false;
};

}  // namespace velmor::gui
