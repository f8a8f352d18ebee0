#include "app/Music.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/SafeFile.h"

#ifdef QUORVEL_HAVE_FLUIDSYNTH
#include <fluidsynth.h>

#include <QLoggingCategory>
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

class FluidSynthOutput : public MusicOutput {
 public:
  ~FluidSynthOutput() override { close(); }
  bool playLooped(const std::filesystem::path& midiFile) override {
    close();
    if (!soundDevicePresent()) return false;
    settings_ = new_fluid_settings();
    if (!settings_) return false;
    synth_ = new_fluid_synth(settings_);
    // The sound device first: without one the soundfont is not worth loading.
    driver_ = synth_ ? new_fluid_audio_driver(settings_, synth_) : nullptr;
    if (!driver_ || fluid_synth_sfload(synth_, soundFont().c_str(), 1) == FLUID_FAILED) {
      close();
      return false;
    }
    player_ = new_fluid_player(synth_);
    if (!player_ || fluid_player_add(player_, midiFile.c_str()) != FLUID_OK) {
      close();
      return false;
    }
    fluid_player_set_loop(player_, -1);
    if (fluid_player_play(player_) != FLUID_OK) {
      close();
      return false;
    }
    return true;
  }
  void close() override {
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

 private:
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_audio_driver_t* driver_ = nullptr;
  fluid_player_t* player_ = nullptr;
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
