#pragma once
// Background tunes: a plain-text note list (numbered notation, see
// resources/tunes/README.md) turned into a standard MIDI file of format 1
// with a tempo track, a melody, a chord accompaniment, a bass and a pad.
#include <string>
#include <string_view>

namespace resbuild {

struct TuneInfo {
  std::string title;
  int notes = 0;     // melody notes (rests excluded)
  int lowest = 127;  // melody range, MIDI note numbers
  int highest = 0;
  double seconds = 0.0;  // length of one pass, which is where the file loops
};

// Throws SourceError (with file and line) on a note list that does not parse
// or whose bars do not add up to the metre.
std::string buildTune(std::string_view source, const std::string& origin, TuneInfo* info = nullptr);

}  // namespace resbuild
