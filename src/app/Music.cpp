#include "app/Music.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/SafeFile.h"

#ifdef QUORVEL_HAVE_FLUIDSYNTH
#include <dlfcn.h>
#include <fluidsynth.h>

#include <QLoggingCategory>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <type_traits>
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

// FluidSynth, with the sixty-odd libraries it needs (SDL, PulseAudio, JACK,
// GLib...), is loaded when the first tune is played, on the music thread:
// linked to the program, the dynamic linker would load them all before the
// first window. Null when it is not installed.
struct FluidApi {
  decltype(&::new_fluid_settings) newSettings = nullptr;
  decltype(&::new_fluid_synth) newSynth = nullptr;
  decltype(&::new_fluid_audio_driver) newAudioDriver = nullptr;
  decltype(&::fluid_synth_sfload) sfload = nullptr;
  decltype(&::new_fluid_player) newPlayer = nullptr;
  decltype(&::fluid_player_add) playerAdd = nullptr;
  decltype(&::fluid_player_set_loop) playerSetLoop = nullptr;
  decltype(&::fluid_player_play) playerPlay = nullptr;
  decltype(&::fluid_player_stop) playerStop = nullptr;
  decltype(&::delete_fluid_player) deletePlayer = nullptr;
  decltype(&::delete_fluid_audio_driver) deleteAudioDriver = nullptr;
  decltype(&::delete_fluid_synth) deleteSynth = nullptr;
  decltype(&::delete_fluid_settings) deleteSettings = nullptr;
  decltype(&::fluid_set_log_function) setLogFunction = nullptr;
};

const FluidApi* loadFluidApi() {
  void* library = dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_LOCAL);
  if (!library) library = dlopen("libfluidsynth.so", RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  static FluidApi api;
  bool complete = true;
  const auto load = [&](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
    complete = complete && function != nullptr;
  };
  load(api.newSettings, "new_fluid_settings");
  load(api.newSynth, "new_fluid_synth");
  load(api.newAudioDriver, "new_fluid_audio_driver");
  load(api.sfload, "fluid_synth_sfload");
  load(api.newPlayer, "new_fluid_player");
  load(api.playerAdd, "fluid_player_add");
  load(api.playerSetLoop, "fluid_player_set_loop");
  load(api.playerPlay, "fluid_player_play");
  load(api.playerStop, "fluid_player_stop");
  load(api.deletePlayer, "delete_fluid_player");
  load(api.deleteAudioDriver, "delete_fluid_audio_driver");
  load(api.deleteSynth, "delete_fluid_synth");
  load(api.deleteSettings, "delete_fluid_settings");
  load(api.setLogFunction, "fluid_set_log_function");
  if (!complete) return nullptr;
  // FluidSynth's messages (a missing sound device above all) go to the
  // tutor's music log, silent unless QT_LOGGING_RULES="quorvel.music.debug=true".
  // A null function would not do: FluidSynth puts its own printer back then.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    api.setLogFunction(level, fluidLog, nullptr);
  return &api;
}

// Loaded once, by whichever music thread comes first.
const FluidApi* fluidApi() {
  static const FluidApi* const api = loadFluidApi();
  return api;
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
    api_ = fluidApi();
    if (!api_) return;
    settings_ = api_->newSettings();
    if (!settings_) return;
    synth_ = api_->newSynth(settings_);
    // The sound device first: without one the soundfont is not worth loading.
    driver_ = synth_ ? api_->newAudioDriver(settings_, synth_) : nullptr;
    if (!driver_ || api_->sfload(synth_, soundFont().c_str(), 1) == FLUID_FAILED) {
      closeHere();
      return;
    }
    player_ = api_->newPlayer(synth_);
    if (!player_ || api_->playerAdd(player_, midiFile.c_str()) != FLUID_OK) {
      closeHere();
      return;
    }
    api_->playerSetLoop(player_, -1);
    if (api_->playerPlay(player_) != FLUID_OK) closeHere();
  }
  void closeHere() {
    if (!api_) return;  // nothing was made
    if (player_) {
      api_->playerStop(player_);
      api_->deletePlayer(player_);
    }
    if (driver_) api_->deleteAudioDriver(driver_);
    if (synth_) api_->deleteSynth(synth_);
    if (settings_) api_->deleteSettings(settings_);
    player_ = nullptr;
    driver_ = nullptr;
    synth_ = nullptr;
    settings_ = nullptr;
  }

  // Touched on the worker thread only.
  const FluidApi* api_ = nullptr;
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
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    return std::filesystem::path(home) / ".cache" / "quorvel";
  return {};
}

}  // namespace

std::unique_ptr<MusicOutput> systemMusicOutput() {
#ifdef QUORVEL_HAVE_FLUIDSYNTH
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
