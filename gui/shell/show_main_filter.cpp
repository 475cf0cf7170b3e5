#include "gui/shell/show_main_filter.h"

#include "gui/shell/main_window.h"

namespace velmor::gui {

ShowMainFilter::ShowMainFilter(MainWindow* window, std::function<bool(const void*)> isShowRequest)
    : window_(window), isShowRequest_(std::move(isShowRequest)) {}

bool ShowMainFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType == "windows_generic_MSG" && window_ && isShowRequest_ && isShowRequest_(message))
    window_->showFromTray();
  return false;
}

}  // namespace velmor::gui
