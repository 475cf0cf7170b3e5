// Microphone capture and the device lists against a private PulseAudio
// server that each test starts in a temporary folder: a null sink (whose
// monitor is no microphone), a null source that records silence and is the
// default, and a pipe source that records what the test writes into its
// FIFO. The test process reaches the server through PULSE_SERVER only.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/text.h"
#include "engine/platform/audio_capture.h"

extern char** environ;

namespace velmor {
namespace {

namespace fs = std::filesystem;
using Blocks = std::vector<std::vector<std::uint8_t>>;

const char16_t kMicA[] = u"Mikrofon A";
const char16_t kMicB[] = u"Mikrofon B (potok)";
const char16_t kSpeaker[] = u"Głośnik testowy";

std::optional<std::string> FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    fs::path p = fs::path(dir) / name;
    if (!dir.empty() && access(p.c_str(), X_OK) == 0) return p.string();
  }
  return std::nullopt;
}

// Sets an environment variable for the test's life and restores it after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A PulseAudio daemon with no configuration but `scriptBody` (where @DIR@
// stands for its folder), its runtime, state and home in a fresh folder,
// reachable at socket().
class PrivateServer {
 public:
  PrivateServer(const std::string& program, const std::string& scriptBody) {
    char tmpl[] = "/tmp/velmor_pulse_XXXXXX";
    if (!mkdtemp(tmpl)) return;
    dir_ = tmpl;
    // The socket comes last: once it answers, every device is there.
    std::string script =
        scriptBody + "load-module module-native-protocol-unix auth-anonymous=1 socket=" + socket() +
        "\n";
    for (auto at = script.find("@DIR@"); at != std::string::npos; at = script.find("@DIR@"))
      script.replace(at, 5, dir_.string());
    std::ofstream(dir_ / "server.pa") << script;

    // Its own home and runtime folders, no session bus and no display, so
    // that it neither meets the user's server nor starts helpers.
    const std::map<std::string, std::string> overrides{
        {"HOME", dir_.string()},
        {"XDG_RUNTIME_DIR", dir_.string()},
        {"XDG_CONFIG_HOME", (dir_ / "config").string()},
        {"PULSE_RUNTIME_PATH", (dir_ / "runtime").string()},
        {"PULSE_STATE_PATH", (dir_ / "state").string()},
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (dir_ / "no-bus").string()}};
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
      std::string entry = *e;
      std::string key = entry.substr(0, entry.find('='));
      if (!overrides.count(key) && key != "DISPLAY" && key != "PULSE_SERVER") env.push_back(entry);
    }
    for (const auto& [k, v] : overrides) env.push_back(k + "=" + v);
    std::vector<std::string> args{program,
                                  "-n",
                                  "--daemonize=no",
                                  "--exit-idle-time=-1",
                                  "--use-pid-file=no",
                                  "--disable-shm=yes",
                                  "--realtime=no",
                                  "--high-priority=no",
                                  "--log-target=stderr",
                                  "-F",
                                  (dir_ / "server.pa").string()};
    std::vector<char*> argv, envp;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir_ / "server.log").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  ~PrivateServer() {
    Kill();
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  std::string socket() const { return (dir_ / "native").string(); }
  fs::path dir() const { return dir_; }
  std::string Log() const {
    std::ifstream in(dir_ / "server.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // Waits, boundedly, until the socket accepts connections; false when the
  // daemon ended first or never got there.
  bool WaitReady() {
    for (int i = 0; i < 200 && pid_ > 0; ++i) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
      }
      int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      sockaddr_un addr{};
      addr.sun_family = AF_UNIX;
      std::strncpy(addr.sun_path, socket().c_str(), sizeof addr.sun_path - 1);
      bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
      close(fd);
      if (ok) return true;
      usleep(25'000);
    }
    return false;
  }

  void Kill() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
  }

 private:
  fs::path dir_;
  pid_t pid_ = -1;
};

// Collects blocks until `count` have arrived or the wait calls run out
// (the bound only ends a broken run; nothing here is timed). Every call
// must succeed and hand over at most four blocks.
Blocks Collect(platform::AudioCapture& capture, std::size_t count) {
  Blocks all;
  for (int i = 0; i < 80 && all.size() < count; ++i) {
    Blocks got;
    EXPECT_TRUE(capture.Wait(250, got));
    EXPECT_LE(got.size(), static_cast<std::size_t>(platform::kAudioBlocksInFlight));
    for (auto& b : got) all.push_back(std::move(b));
  }
  return all;
}

std::vector<std::int16_t> Samples(const Blocks& blocks) {
  std::vector<std::int16_t> out;
  for (const auto& b : blocks)
    for (std::size_t i = 0; i + 1 < b.size(); i += 2)
      out.push_back(static_cast<std::int16_t>(b[i] | (b[i + 1] << 8)));
  return out;
}

class PulseAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto program = FindProgram("pulseaudio");
    if (!program) GTEST_SKIP() << "pulseaudio is not installed (scripts/deps.sh test installs it)";
    server_.emplace(*program,
                    "load-module module-null-sink sink_name=velmor_speaker "
                    "sink_properties='device.description=\"Głośnik testowy\"'\n"
                    "load-module module-null-source source_name=velmor_mic_a "
                    "description='Mikrofon A'\n"
                    "load-module module-pipe-source source_name=velmor_mic_b "
                    "file=@DIR@/mic.fifo format=s16le rate=16000 channels=1 "
                    "source_properties='device.description=\"Mikrofon B (potok)\"'\n"
                    "set-default-source velmor_mic_a\n");
    ASSERT_TRUE(server_->WaitReady()) << server_->Log();
    env_.emplace("PULSE_SERVER", "unix:" + server_->socket());
  }
  void TearDown() override {
    env_.reset();
    server_.reset();
  }

  std::string fifo() const { return (server_->dir() / "mic.fifo").string(); }

  // The names of the sources that client streams record from, by pactl.
  std::vector<std::string> RecordingSources() {
    auto lines = [](const std::string& cmd) {
      std::vector<std::vector<std::string>> rows;
      if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[1024];
        while (fgets(buf, sizeof buf, p)) {
          std::vector<std::string> cols;
          std::stringstream row(buf);
          for (std::string c; std::getline(row, c, '\t');) cols.push_back(c);
          rows.push_back(cols);
        }
        pclose(p);
      }
      return rows;
    };
    std::map<std::string, std::string> sourceNames;
    for (const auto& r : lines("pactl list short sources 2>/dev/null"))
      if (r.size() > 1) sourceNames[r[0]] = r[1];
    std::vector<std::string> out;
    for (const auto& r : lines("pactl list short source-outputs 2>/dev/null"))
      if (r.size() > 1) out.push_back(sourceNames[r[1]]);
    return out;
  }

  std::optional<PrivateServer> server_;
  std::optional<ScopedEnv> env_;
};

TEST_F(PulseAudioTest, ListsNameMicrophonesAndOutputsInServerOrder) {
  // The sink's monitor source comes first on the server but is no microphone.
  EXPECT_EQ(platform::AudioInputDevices(), (std::vector<std::u16string>{kMicA, kMicB}));
  EXPECT_EQ(platform::AudioOutputDevices(), (std::vector<std::u16string>{kSpeaker}));
}

TEST_F(PulseAudioTest, ExactNameRecordsThatSourceAsMono16kBlocks) {
  // The pipe source passes on what is written into its FIFO, nothing
  // before and nothing after.
  int fd = open(fifo().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0) << server_->Log();
  auto capture = platform::OpenAudioCapture(kMicB);
  ASSERT_TRUE(capture);
  EXPECT_EQ(RecordingSources(), std::vector<std::string>{"velmor_mic_b"});

  // 1.5 s of a rising ramp, exactly 15 blocks, in one write that fits the
  // FIFO's buffer: the server hands it on in bursts of its own size.
  constexpr int kSamples = 24000;
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < kSamples; ++i) {
    auto s = static_cast<std::uint16_t>(1 + i % 20000);
    bytes.push_back(static_cast<std::uint8_t>(s & 0xff));
    bytes.push_back(static_cast<std::uint8_t>(s >> 8));
  }
  ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(fd);

  Blocks blocks = Collect(*capture, 15);
  ASSERT_EQ(blocks.size(), 15u);
  for (const auto& b : blocks) ASSERT_EQ(b.size(), platform::kAudioBlockBytes);
  auto samples = Samples(blocks);
  for (int i = 0; i < kSamples; ++i)
    ASSERT_EQ(samples[static_cast<std::size_t>(i)], 1 + i % 20000) << "sample " << i;
}

TEST_F(PulseAudioTest, OtherNamesRecordTheDefaultSource) {
  // Whole-name, case-sensitive matching; a monitor is not a microphone.
  const std::u16string names[] = {u"",
                                  u"mikrofon b (potok)",
                                  u"Mikrofon B",
                                  u"Mikrofon B (potok) ",
                                  u"Monitor of Głośnik testowy",
                                  u"Nie ma takiego"};
  for (const auto& name : names) {
    SCOPED_TRACE("name \"" + WideToUtf8(name) + "\"");
    auto capture = platform::OpenAudioCapture(name);
    ASSERT_TRUE(capture);
    EXPECT_EQ(RecordingSources(), std::vector<std::string>{"velmor_mic_a"});
    Blocks blocks = Collect(*capture, 2);
    ASSERT_GE(blocks.size(), 2u);
    for (const auto& b : blocks) {
      EXPECT_EQ(b, std::vector<std::uint8_t>(platform::kAudioBlockBytes, 0));
    }
  }
  // Each capture's stream ended with it.
  EXPECT_TRUE(RecordingSources().empty());
}

TEST_F(PulseAudioTest, CaptureFailsOnceTheServerIsGone) {
  auto capture = platform::OpenAudioCapture(u"");
  ASSERT_TRUE(capture);
  ASSERT_FALSE(Collect(*capture, 1).empty());
  server_->Kill();
  bool alive = true;
  for (int i = 0; i < 40 && alive; ++i) {
    Blocks got;
    alive = capture->Wait(250, got);
  }
  EXPECT_FALSE(alive);
  Blocks got;
  EXPECT_FALSE(capture->Wait(0, got)) << "a failed capture stays failed";
  EXPECT_TRUE(platform::AudioInputDevices().empty());
}

TEST(PulseAudioNoServer, ListsAreEmptyAndNothingOpens) {
  char tmpl[] = "/tmp/velmor_nopulse_XXXXXX";
  ASSERT_TRUE(mkdtemp(tmpl));
  ScopedEnv server("PULSE_SERVER", std::string("unix:") + tmpl + "/native");
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(platform::AudioInputDevices().empty());
  EXPECT_TRUE(platform::AudioOutputDevices().empty());
  EXPECT_EQ(platform::OpenAudioCapture(u""), nullptr);
  EXPECT_EQ(platform::OpenAudioCapture(kMicA), nullptr);
  // A refused connection is an answer: well under the 5 s that a server
  // which does not answer is given (generous for a loaded machine).
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  // Nothing was started in its place.
  EXPECT_FALSE(fs::exists(fs::path(tmpl) / "native"));
  fs::remove_all(tmpl);
}

}  // namespace
}  // namespace velmor
