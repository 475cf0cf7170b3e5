#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "engine/platform/linux/event_queue_linux.h"
#include "engine/platform/single_instance.h"
#include "gui/shell/main_host.h"
#include "gui/shell/quit.h"

namespace velmor::gui {

namespace {
int g_signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char c = 'q';
  [[maybe_unused]] ssize_t n = ::write(g_signalPipe[1], &c, 1);
}
}  // namespace

void AttachEngineToEventLoop(QObject* owner) {
  const int fd = platform::EventQueueFd();
  if (fd < 0) return;
  // The descriptor is readable whenever a message or a timer is due.
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, [] { platform::DispatchEngineEvents(); });
}

void WatchShowRequests(QObject* owner, std::function<void()> show) {
  const int fd = platform::ShowRequestFd();
  if (fd < 0) return;
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, [show] {
    if (platform::TakeShowRequests()) show();
  });
}

void QuitOnTerminationSignals(QObject* owner) {
  if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char buf[16];
    while (::read(g_signalPipe[0], buf, sizeof buf) > 0) {
    }
    QuitProgram();
  });
  struct sigaction sa {};
  sa.sa_handler = OnTerminationSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

}  // namespace velmor::gui
