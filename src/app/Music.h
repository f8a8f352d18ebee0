#pragma once
// The background music: one of four tunes of the resource library, written
// once to a MIDI file in the user's cache and looped while music is on.
// Sound errors (no sound device, no soundfont, a broken tune) close the
// player without a word.
#include <filesystem>
#include <memory>

#include "platform/ResourceLibrary.h"

namespace quorvel::ui {

// Plays one MIDI file over and over; the FluidSynth player in the program, a
// recording one in tests.
class MusicOutput {
 public:
  virtual ~MusicOutput() = default;
  // False when the file cannot be played; the output is closed then.
  virtual bool playLooped(const std::filesystem::path& midiFile) = 0;
  virtual void close() = 0;
};
// The system's output: FluidSynth with the General MIDI soundfont when the
// program was built with it, else one that never plays.
std::unique_ptr<MusicOutput> systemMusicOutput();

// "music" + number + ".mid" in $XDG_CACHE_HOME/quorvel (default
// ~/.cache/quorvel); empty when neither that nor $HOME is set.
std::filesystem::path tuneFile(int number);

class BackgroundMusic {
 public:
  BackgroundMusic(platform::ResourceLibrary library, MusicOutput* output);
  // Start music: writes the tune file when it is missing (and the library
  // has the tune), closes the player, and plays the tune when `on`.
  void start(bool on, int number);
  void stop();
  bool playing() const { return playing_; }

 private:
  platform::ResourceLibrary library_;
  MusicOutput* output_;
  bool playing_ = false;
};

}  // namespace quorvel::ui
