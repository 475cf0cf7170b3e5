#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

namespace velmor::gui {

class MainWindow;

// Shows the main window when a second start of the program asks for it
// through a native window message. Never swallows the message.
class ShowMainFilter : public QAbstractNativeEventFilter {
 public:
  // `isShowRequest` says whether a native message is the request.
  ShowMainFilter(MainWindow* window, std::function<bool(const void*)> isShowRequest);
  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  MainWindow* window_;
  std::function<bool(const void*)> isShowRequest_;
};

}  // namespace velmor::gui
