#include "app/Music.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/SafeFile.h"

#ifdef QUORVEL_HAVE_FLUIDSYNTH
#include <fluidsynth.h>

#include <QLoggingCategory>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#endif

namespace quorvel::ui {

namespace {

#ifdef QUORVEL_HAVE_FLUIDSYNTH
// The small General MIDI font when it is there (6 MB); the system's default
// may be a far larger one that takes seconds to load.
std::string soundFont() {
  std::error_code ec;
  const std::filesystem::path small("/usr/share/sounds/sf2/TimGM6mb.sf2");
  return std::filesystem::exists(small, ec) ? small.string()
                                            : std::string("/usr/share/sounds/sf2/default-GM.sf2");
}

Q_LOGGING_CATEGORY(lcMusic, "quorvel.music", QtInfoMsg)

void fluidLog(int level, const char* message, void*) {
  qCDebug(lcMusic) << "fluidsynth" << level << message;
}

// Is there anything to play on: a sound server's socket or a sound card?
// Without one, opening an ALSA device only prints ALSA's own errors.
bool soundDevicePresent() {
  std::error_code ec;
  if (const char* server = std::getenv("PULSE_SERVER"); server && *server) return true;
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    const std::filesystem::path dir(runtime);
    if (std::filesystem::exists(dir / "pulse" / "native", ec) ||
        std::filesystem::exists(dir / "pipewire-0", ec))
      return true;
  }
  for (const auto& entry : std::filesystem::directory_iterator("/dev/snd", ec))
    if (entry.path().filename().string().rfind("pcm", 0) == 0) return true;
  return false;
}

// Loading the soundfont takes tens of milliseconds or more, so it happens on
// a thread of its own, never on the interface thread: the window shows while
// the font loads. Every FluidSynth object is made, used and deleted on that
// thread only; the interface thread just posts requests to it.
class FluidSynthOutput : public MusicOutput {
 public:
  FluidSynthOutput() : worker_([this] { run(); }) {}
  ~FluidSynthOutput() override {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      jobs_.clear();  // a tune still waiting to start is not worth starting now
      jobs_.push_back([this] { closeHere(); });
      quit_ = true;
    }
    wake_.notify_one();
    worker_.join();
  }
  // True when there is a device to play on; a soundfont or tune that then
  // fails to load closes the player without a word, as any sound error does.
  bool playLooped(const std::filesystem::path& midiFile) override {
    if (!soundDevicePresent()) {
      close();
      return false;
    }
    post([this, midiFile] { playHere(midiFile); });
    return true;
  }
  void close() override {
    post([this] { closeHere(); });
  }

 private:
  void post(std::function<void()> job) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    wake_.notify_one();
  }
  void run() {
    while (true) {
      std::function<void()> job;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [this] { return quit_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }
  void playHere(const std::filesystem::path& midiFile) {
    closeHere();
    settings_ = new_fluid_settings();
    if (!settings_) return;
    synth_ = new_fluid_synth(settings_);
    // The sound device first: without one the soundfont is not worth loading.
    driver_ = synth_ ? new_fluid_audio_driver(settings_, synth_) : nullptr;
    if (!driver_ || fluid_synth_sfload(synth_, soundFont().c_str(), 1) == FLUID_FAILED) {
      closeHere();
      return;
    }
    player_ = new_fluid_player(synth_);
    if (!player_ || fluid_player_add(player_, midiFile.c_str()) != FLUID_OK) {
      closeHere();
      return;
    }
    fluid_player_set_loop(player_, -1);
    if (fluid_player_play(player_) != FLUID_OK) closeHere();
  }
  void closeHere() {
    if (player_) {
      fluid_player_stop(player_);
      delete_fluid_player(player_);
    }
    if (driver_) delete_fluid_audio_driver(driver_);
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
    player_ = nullptr;
    driver_ = nullptr;
    synth_ = nullptr;
    settings_ = nullptr;
  }

  // Touched on the worker thread only.
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_audio_driver_t* driver_ = nullptr;
  fluid_player_t* player_ = nullptr;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> jobs_;
  bool quit_ = false;
  std::thread worker_;  // last: it starts once everything above is made
};
#endif

class SilentOutput : public MusicOutput {
 public:
  bool playLooped(const std::filesystem::path&) override { return false; }
  void close() override {}
};

std::filesystem::path cacheDir() {
  // A relative XDG_CACHE_HOME would mean the working directory, which may
  // be anywhere; like XDG_CONFIG_HOME, only an absolute one counts.
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
    return std::filesystem::path(cache) / "quorvel";
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::filesystem::path(home) / ".cache" / "quorvel";
  return {};
}

}  // namespace

std::unique_ptr<MusicOutput> systemMusicOutput() {
#ifdef QUORVEL_HAVE_FLUIDSYNTH
  // FluidSynth's messages (a missing sound device above all) go to the
  // tutor's music log, silent unless QT_LOGGING_RULES="quorvel.music.debug=true".
  // A null function would not do: FluidSynth puts its own printer back then.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, fluidLog, nullptr);
  return std::make_unique<FluidSynthOutput>();
#else
  return std::make_unique<SilentOutput>();
#endif
}

std::filesystem::path tuneFile(int number) {
  // Never beside the program: an installed program's folder is the
  // package's, and one run as root would write into /usr/bin.
  const std::filesystem::path cache = cacheDir();
  return cache.empty() ? std::filesystem::path()
                       : cache / ("music" + std::to_string(number) + ".mid");
}

BackgroundMusic::BackgroundMusic(platform::ResourceLibrary library, MusicOutput* output)
    : library_(std::move(library)), output_(output) {}

void BackgroundMusic::start(bool on, int number) {
  const std::filesystem::path file = tuneFile(number);
  if (file.empty()) return;
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    const platform::ResourceData tune = library_.read("MIDI", "music" + std::to_string(number));
    if (tune.status == platform::ResourceStatus::LibraryMissing) return;
    if (tune.ok()) {
      std::filesystem::create_directories(file.parent_path(), ec);
      // Written under a temporary name, closed and checked first: a
      // half-written tune is never renamed into place and reused.
      platform::writeFileSafely(file, tune.bytes);
    }
  }
  stop();
  if (on && output_ && std::filesystem::exists(file, ec)) playing_ = output_->playLooped(file);
}

void BackgroundMusic::stop() {
  if (output_) output_->close();
  playing_ = false;
}

}  // namespace quorvel::ui
