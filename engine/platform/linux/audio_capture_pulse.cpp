// Microphone capture and the audio device lists, through the PulseAudio
// client library (PipeWire's Pulse server answers the same way).
//
// Every call makes its own connection on a threaded main loop and never
// starts a server: without one the lists are empty and no capture opens.
// A capture's record stream delivers 16 kHz mono s16le; the main loop's
// thread cuts it into 100 ms blocks that Wait hands to the recogniser.

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "engine/core/text.h"
#include "engine/platform/audio_capture.h"

namespace velmor::platform {

namespace {

// How long connecting or waiting for the stream may take before the
// server counts as not answering.
constexpr pa_usec_t kConnectTimeoutUs = 5 * PA_USEC_PER_SEC;

// Blocks kept for a recogniser that falls behind: 3 seconds. Beyond that
// the oldest are dropped, so what it hears next is current.
constexpr std::size_t kMaxQueuedBlocks = 30;

// A context on its own main-loop thread. Callbacks run on that thread with
// the loop's lock held; everything else takes the lock (Lock) first.
class PulseClient {
 public:
  PulseClient() = default;
  ~PulseClient() {
    if (loop_) {
      pa_threaded_mainloop_lock(loop_);
      DisarmDeadline();
      if (ctx_) {
        pa_context_set_state_callback(ctx_, nullptr, nullptr);
        pa_context_disconnect(ctx_);
        pa_context_unref(ctx_);
      }
      pa_threaded_mainloop_unlock(loop_);
      pa_threaded_mainloop_stop(loop_);
      pa_threaded_mainloop_free(loop_);
    }
  }
  PulseClient(const PulseClient&) = delete;
  PulseClient& operator=(const PulseClient&) = delete;

  // Connects to the server the environment and client.conf name; false when
  // there is none or it does not answer in time.
  bool Connect() {
    loop_ = pa_threaded_mainloop_new();
    if (!loop_) return false;
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Velmor");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "velmor");
    ctx_ = pa_context_new_with_proplist(pa_threaded_mainloop_get_api(loop_), "Velmor", props);
    pa_proplist_free(props);
    if (!ctx_) return false;
    pa_context_set_state_callback(ctx_, &PulseClient::OnContextState, this);
    if (pa_threaded_mainloop_start(loop_) < 0) return false;

    Lock lock(*this);
    if (pa_context_connect(ctx_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return false;
    ArmDeadline();
    for (;;) {
      pa_context_state_t s = pa_context_get_state(ctx_);
      if (s == PA_CONTEXT_READY) break;
      if (!PA_CONTEXT_IS_GOOD(s) || deadlinePassed_) return false;
      Wait();
    }
    DisarmDeadline();
    return true;
  }

  // Holds the main loop's lock for a scope.
  class Lock {
   public:
    explicit Lock(PulseClient& c) : loop_(c.loop_) { pa_threaded_mainloop_lock(loop_); }
    ~Lock() { pa_threaded_mainloop_unlock(loop_); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    pa_threaded_mainloop* loop_;
  };

  pa_context* context() const { return ctx_; }
  pa_threaded_mainloop* loop() const { return loop_; }
  bool Good() const { return PA_CONTEXT_IS_GOOD(pa_context_get_state(ctx_)); }

  // With the lock held: sleeps until a callback signals.
  void Wait() { pa_threaded_mainloop_wait(loop_); }
  void Signal() { pa_threaded_mainloop_signal(loop_, 0); }

  // With the lock held: runs `op` to its end (or the context's failure).
  bool Finish(pa_operation* op) {
    if (!op) return false;
    while (pa_operation_get_state(op) == PA_OPERATION_RUNNING && Good()) Wait();
    bool done = pa_operation_get_state(op) == PA_OPERATION_DONE;
    if (!done) pa_operation_cancel(op);
    pa_operation_unref(op);
    return done;
  }

  // With the lock held: a timer that wakes Wait and sets deadlinePassed_.
  void ArmDeadline() {
    deadlinePassed_ = false;
    DisarmDeadline();
    deadline_ = pa_context_rttime_new(ctx_, pa_rtclock_now() + kConnectTimeoutUs,
                                      &PulseClient::OnDeadline, this);
  }
  void DisarmDeadline() {
    if (deadline_) {
      pa_threaded_mainloop_get_api(loop_)->time_free(deadline_);
      deadline_ = nullptr;
    }
  }
  bool deadlinePassed() const { return deadlinePassed_; }

  // Called on the loop's thread for every change of the context's state,
  // after it has woken any waiter.
  void SetStateListener(void (*fn)(void*), void* data) {
    stateListener_ = fn;
    stateListenerData_ = data;
  }

 private:
  static void OnContextState(pa_context*, void* self) {
    auto* c = static_cast<PulseClient*>(self);
    c->Signal();
    if (c->stateListener_) c->stateListener_(c->stateListenerData_);
  }
  static void OnDeadline(pa_mainloop_api* api, pa_time_event* e, const struct timeval*,
                         void* self) {
    auto* c = static_cast<PulseClient*>(self);
    api->time_free(e);
    c->deadline_ = nullptr;
    c->deadlinePassed_ = true;
    c->Signal();
  }

  pa_threaded_mainloop* loop_ = nullptr;
  pa_context* ctx_ = nullptr;
  pa_time_event* deadline_ = nullptr;
  bool deadlinePassed_ = false;
  void (*stateListener_)(void*) = nullptr;
  void* stateListenerData_ = nullptr;
};

struct SourceEntry {
  std::string name;         // the server's identifier
  std::string description;  // what people see: the product name
};

// With the lock held: the microphones, monitors of playback devices left
// out, in the server's order.
std::optional<std::vector<SourceEntry>> ListSources(PulseClient& c) {
  struct Ctx {
    PulseClient* client;
    std::vector<SourceEntry> out;
  } ctx{&c, {}};
  auto cb = [](pa_context*, const pa_source_info* i, int eol, void* data) {
    auto* x = static_cast<Ctx*>(data);
    if (eol) {
      x->client->Signal();
      return;
    }
    if (i && i->monitor_of_sink == PA_INVALID_INDEX)
      x->out.push_back({i->name ? i->name : "", i->description ? i->description : ""});
  };
  if (!c.Finish(pa_context_get_source_info_list(c.context(), cb, &ctx))) return std::nullopt;
  return std::move(ctx.out);
}

std::vector<std::u16string> ListSinkDescriptions(PulseClient& c) {
  struct Ctx {
    PulseClient* client;
    std::vector<std::u16string> out;
  } ctx{&c, {}};
  auto cb = [](pa_context*, const pa_sink_info* i, int eol, void* data) {
    auto* x = static_cast<Ctx*>(data);
    if (eol) {
      x->client->Signal();
      return;
    }
    if (i) x->out.push_back(Utf8ToWide(i->description ? i->description : ""));
  };
  if (!c.Finish(pa_context_get_sink_info_list(c.context(), cb, &ctx))) return {};
  return std::move(ctx.out);
}

class PulseCapture final : public AudioCapture {
 public:
  PulseCapture() = default;
  ~PulseCapture() override {
    if (!client_.loop()) return;
    PulseClient::Lock lock(client_);
    // The queue below goes before the client: nothing may reach it now.
    client_.SetStateListener(nullptr, nullptr);
    if (stream_) {
      pa_stream_set_state_callback(stream_, nullptr, nullptr);
      pa_stream_set_read_callback(stream_, nullptr, nullptr);
      pa_stream_disconnect(stream_);
      pa_stream_unref(stream_);
      stream_ = nullptr;
    }
    // The client's destructor then closes the context and stops the loop.
  }

  // Connects and starts recording from the microphone whose description is
  // `deviceName`, else (empty name, or none has it) the default source.
  // False when there is no server or it refuses the stream.
  bool Open(const std::u16string& deviceName) {
    if (!client_.Connect()) return false;
    PulseClient::Lock lock(client_);
    std::string source;
    if (!deviceName.empty()) {
      std::string wanted = WideToUtf8(deviceName);
      if (auto sources = ListSources(client_)) {
        for (const auto& s : *sources) {
          if (s.description == wanted) {
            source = s.name;
            break;
          }
        }
      }
    }
    const pa_sample_spec format{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(kAudioSampleRate), 1};
    stream_ = pa_stream_new(client_.context(), "Voice commands", &format, nullptr);
    if (!stream_) return false;
    pa_stream_set_state_callback(stream_, &PulseCapture::OnStreamState, this);
    pa_stream_set_read_callback(stream_, &PulseCapture::OnRead, this);
    client_.SetStateListener(&PulseCapture::OnContextState, this);

    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(-1);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(kAudioBlockBytes);
    if (pa_stream_connect_record(stream_, source.empty() ? nullptr : source.c_str(), &attr,
                                 PA_STREAM_ADJUST_LATENCY) < 0)
      return false;
    client_.ArmDeadline();
    for (;;) {
      pa_stream_state_t s = pa_stream_get_state(stream_);
      if (s == PA_STREAM_READY) break;
      if (!PA_STREAM_IS_GOOD(s) || !client_.Good() || client_.deadlinePassed()) return false;
      client_.Wait();
    }
    client_.DisarmDeadline();
    return true;
  }

  bool Wait(int timeoutMs, std::vector<std::vector<std::uint8_t>>& blocks) override {
    std::unique_lock lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(std::max(timeoutMs, 0)),
                    [&] { return failed_ || !full_.empty(); });
    if (failed_) return false;
    while (!full_.empty() && blocks.size() < static_cast<std::size_t>(kAudioBlocksInFlight)) {
      blocks.push_back(std::move(full_.front()));
      full_.pop_front();
    }
    return true;
  }

 private:
  // On the loop's thread, lock held.
  static void OnRead(pa_stream* s, std::size_t, void* self) {
    auto* c = static_cast<PulseCapture*>(self);
    const void* data = nullptr;
    std::size_t n = 0;
    while (pa_stream_readable_size(s) > 0) {
      if (pa_stream_peek(s, &data, &n) < 0) break;
      if (n == 0) break;  // nothing buffered after all
      c->Append(static_cast<const std::uint8_t*>(data), n);
      pa_stream_drop(s);
    }
  }
  static void OnStreamState(pa_stream* s, void* self) {
    auto* c = static_cast<PulseCapture*>(self);
    c->client_.Signal();
    if (!PA_STREAM_IS_GOOD(pa_stream_get_state(s))) c->Fail();
  }
  static void OnContextState(void* self) {
    auto* c = static_cast<PulseCapture*>(self);
    if (!c->client_.Good()) c->Fail();
  }

  // `data` null is a hole in the stream: silence of that length.
  void Append(const std::uint8_t* data, std::size_t n) {
    std::lock_guard lock(mutex_);
    while (n > 0) {
      std::size_t take = std::min(n, kAudioBlockBytes - partial_.size());
      if (data) {
        partial_.insert(partial_.end(), data, data + take);
        data += take;
      } else {
        partial_.resize(partial_.size() + take, 0);
      }
      n -= take;
      if (partial_.size() == kAudioBlockBytes) {
        full_.push_back(std::move(partial_));
        partial_ = {};
        partial_.reserve(kAudioBlockBytes);
        if (full_.size() > kMaxQueuedBlocks) full_.pop_front();
      }
    }
    if (!full_.empty()) ready_.notify_all();
  }
  void Fail() {
    std::lock_guard lock(mutex_);
    failed_ = true;
    ready_.notify_all();
  }

  PulseClient client_;
  pa_stream* stream_ = nullptr;

  // Shared between the loop's thread and the recogniser's.
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::vector<std::uint8_t>> full_;
  std::vector<std::uint8_t> partial_;
  bool failed_ = false;
};

}  // namespace

std::unique_ptr<AudioCapture> OpenAudioCapture(const std::u16string& deviceName) {
  auto capture = std::make_unique<PulseCapture>();
  if (!capture->Open(deviceName)) return nullptr;
  return capture;
}

std::vector<std::u16string> AudioInputDevices() {
  PulseClient client;
  if (!client.Connect()) return {};
  PulseClient::Lock lock(client);
  std::vector<std::u16string> names;
  if (auto sources = ListSources(client))
    for (const auto& s : *sources) names.push_back(Utf8ToWide(s.description));
  return names;
}

std::vector<std::u16string> AudioOutputDevices() {
  PulseClient client;
  if (!client.Connect()) return {};
  PulseClient::Lock lock(client);
  return ListSinkDescriptions(client);
}

}  // namespace velmor::platform
