#include "Midi.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "TextSources.h"

namespace resbuild {
namespace {

constexpr int kTicksPerQuarter = 480;

struct Event {
  int tick;
  int order;  // at one tick: note-offs (0) before controls (1) before note-ons (2)
  std::string bytes;
};

struct Track {
  std::string name;
  std::vector<Event> events;
  void add(int tick, int order, std::string bytes) {
    events.push_back({tick, order, std::move(bytes)});
  }
  void note(int channel, int tick, int length, int key, int velocity) {
    if (length <= 0) return;
    key = std::clamp(key, 0, 127);
    add(tick, 2,
        {static_cast<char>(0x90 | channel), static_cast<char>(key), static_cast<char>(velocity)});
    add(tick + length, 0, {static_cast<char>(0x80 | channel), static_cast<char>(key), 0});
  }
  void control(int channel, int tick, int number, int value) {
    add(tick, 1,
        {static_cast<char>(0xB0 | channel), static_cast<char>(number), static_cast<char>(value)});
  }
  void program(int channel, int tick, int value) {
    add(tick, 1, {static_cast<char>(0xC0 | channel), static_cast<char>(value)});
  }
};

void putVarLen(std::string& out, std::uint32_t v) {
  char buf[5];
  int n = 0;
  buf[n++] = static_cast<char>(v & 0x7F);
  while (v >>= 7) buf[n++] = static_cast<char>((v & 0x7F) | 0x80);
  while (n) out += buf[--n];
}
void putBe32(std::string& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out += static_cast<char>((v >> s) & 0xFF);
}
void putBe16(std::string& out, unsigned v) {
  out += static_cast<char>((v >> 8) & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

std::string meta(int type, const std::string& data) {
  std::string out{static_cast<char>(0xFF), static_cast<char>(type)};
  putVarLen(out, static_cast<std::uint32_t>(data.size()));
  return out + data;
}

std::string trackChunk(Track track, int endTick) {
  std::stable_sort(track.events.begin(), track.events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::string body;
  int now = 0;
  if (!track.name.empty()) {
    putVarLen(body, 0);
    body += meta(0x03, track.name);
  }
  for (const auto& e : track.events) {
    putVarLen(body, static_cast<std::uint32_t>(e.tick - now));
    body += e.bytes;
    now = e.tick;
  }
  putVarLen(body, static_cast<std::uint32_t>(std::max(0, endTick - now)));
  body += meta(0x2F, "");
  std::string chunk = "MTrk";
  putBe32(chunk, static_cast<std::uint32_t>(body.size()));
  return chunk + body;
}

// ---- the note list ----

struct Chord {
  int degree = 1;  // 1..7, 0 = no chord
  bool minor = false;
  bool seventh = false;
  int start = 0;
  int length = 0;
};

struct Note {
  int key = -1;  // -1 = rest
  int start = 0;
  int length = 0;
};

struct Section {
  std::vector<Note> melody;
  std::vector<Chord> chords;
  int melodyTicks = 0;
  int chordTicks = 0;
  std::optional<int> voice;  // melody instrument for this section
  int octave = 0;            // melody shift in octaves
};

struct Tune {
  std::string title;
  int tempo = 80;
  int beatsPerBar = 4;
  int tonic = 60;  // pitch of "1"
  int melodyProgram = 73;
  int accompProgram = 24;
  int bassProgram = 32;
  int padProgram = -1;
  std::string style = "arpeggio";
  std::vector<std::string> form;
  std::map<std::string, Section> sections;
};

constexpr int kMajorScale[8] = {0, 0, 2, 4, 5, 7, 9, 11};

int parseTonic(const std::string& name, const std::string& at) {
  static const std::map<char, int> base = {{'C', 60}, {'D', 62}, {'E', 64}, {'F', 65},
                                           {'G', 67}, {'A', 57}, {'B', 59}};
  if (name.empty() || !base.count(name[0]))
    throw SourceError(at + ": unknown key \"" + name + "\"");
  int pitch = base.at(name[0]);
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (name[i] == '#')
      ++pitch;
    else if (name[i] == 'b')
      --pitch;
    else
      throw SourceError(at + ": unknown key \"" + name + "\"");
  }
  return pitch;
}

// One melody token: [#b]?[0-7]['|,]*[_]*[.]?  or "-" (one more beat).
void parseMelody(std::istringstream& words, Section& s, const Tune& t, const std::string& at,
                 int& barStart) {
  std::string w;
  const int bar = t.beatsPerBar * kTicksPerQuarter;
  while (words >> w) {
    if (w == "|") {
      if (s.melodyTicks - barStart != bar && s.melodyTicks != barStart) {
        throw SourceError(at + ": a melody bar holds " + std::to_string(s.melodyTicks - barStart) +
                          " ticks instead of " + std::to_string(bar));
      }
      barStart = s.melodyTicks;
      continue;
    }
    if (w == "-") {
      if (s.melody.empty()) throw SourceError(at + ": \"-\" with no note before it");
      s.melody.back().length += kTicksPerQuarter;
      s.melodyTicks += kTicksPerQuarter;
      continue;
    }
    std::size_t i = 0;
    int accidental = 0;
    if (w[i] == '#')
      accidental = 1, ++i;
    else if (w[i] == 'b')
      accidental = -1, ++i;
    if (i >= w.size() || w[i] < '0' || w[i] > '7')
      throw SourceError(at + ": cannot read the note \"" + w + "\"");
    int degree = w[i++] - '0';
    int octave = 0;
    while (i < w.size() && (w[i] == '\'' || w[i] == ',')) octave += w[i++] == '\'' ? 1 : -1;
    int length = kTicksPerQuarter;
    while (i < w.size() && w[i] == '_') length /= 2, ++i;
    if (i < w.size() && w[i] == '.') length += length / 2, ++i;
    if (i != w.size()) throw SourceError(at + ": cannot read the note \"" + w + "\"");
    Note n;
    n.start = s.melodyTicks;
    n.length = length;
    if (degree > 0) n.key = t.tonic + kMajorScale[degree] + accidental + 12 * octave;
    s.melody.push_back(n);
    s.melodyTicks += length;
  }
}

// Chord tokens: "1", "6m", "57", "%" (the previous chord again), "0" (none);
// the chords of one bar share it equally.
void parseChords(std::istringstream& words, Section& s, const Tune& t, const std::string& at) {
  const int bar = t.beatsPerBar * kTicksPerQuarter;
  std::vector<std::string> inBar;
  auto flush = [&]() {
    if (inBar.empty()) return;
    if (bar % static_cast<int>(inBar.size()) != 0)
      throw SourceError(at + ": cannot split a bar into " + std::to_string(inBar.size()) +
                        " chords");
    int each = bar / static_cast<int>(inBar.size());
    for (const auto& w : inBar) {
      Chord c;
      if (w == "%") {
        if (s.chords.empty()) throw SourceError(at + ": \"%\" with no chord before it");
        c = s.chords.back();
      } else {
        if (w[0] < '0' || w[0] > '7')
          throw SourceError(at + ": cannot read the chord \"" + w + "\"");
        c.degree = w[0] - '0';
        for (std::size_t i = 1; i < w.size(); ++i) {
          if (w[i] == 'm')
            c.minor = true;
          else if (w[i] == '7')
            c.seventh = true;
          else
            throw SourceError(at + ": cannot read the chord \"" + w + "\"");
        }
      }
      c.start = s.chordTicks;
      c.length = each;
      s.chords.push_back(c);
      s.chordTicks += each;
    }
    inBar.clear();
  };
  std::string w;
  while (words >> w) {
    if (w == "|")
      flush();
    else
      inBar.push_back(w);
  }
  flush();
}

int toInt(const std::string& w, const std::string& at) {
  try {
    std::size_t used = 0;
    int v = std::stoi(w, &used);
    if (used == w.size()) return v;
  } catch (const std::exception&) {
  }
  throw SourceError(at + ": \"" + w + "\" is not a number");
}

Tune parseTune(std::string_view source, const std::string& origin) {
  Tune t;
  std::istringstream in{std::string(source)};
  std::string line;
  int lineNo = 0;
  Section* current = nullptr;
  int barStart = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (auto hash = line.find('#');
        hash != std::string::npos &&
        (hash == 0 || line[hash - 1] == ' ' || line[hash - 1] == '\t')) {
      // '#' starts a comment unless it is a sharp sign inside a note (#4).
      if (hash + 1 >= line.size() || line[hash + 1] < '0' || line[hash + 1] > '7') line.erase(hash);
    }
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    const std::string at = origin + ":" + std::to_string(lineNo);
    std::string arg;
    if (word == "title") {
      std::getline(words >> std::ws, t.title);
    } else if (word == "tempo") {
      words >> arg;
      t.tempo = toInt(arg, at);
      if (t.tempo < 30 || t.tempo > 240) throw SourceError(at + ": tempo out of range");
    } else if (word == "meter") {
      words >> arg;
      const std::size_t slash = arg.find('/');
      if (slash == std::string::npos || arg.substr(slash) != "/4")
        throw SourceError(at + ": the metre must be n/4");
      t.beatsPerBar = toInt(arg.substr(0, slash), at);
      if (t.beatsPerBar < 1 || t.beatsPerBar > 12)
        throw SourceError(at + ": a bar holds 1 to 12 beats");
    } else if (word == "key") {
      words >> arg;
      t.tonic = parseTonic(arg, at);
    } else if (word == "melody" || word == "accomp" || word == "bass" || word == "pad") {
      words >> arg;
      int program = toInt(arg, at);
      if (program < -1 || program > 127)
        throw SourceError(at + ": instruments are General MIDI programs 0 to 127");
      (word == "melody"   ? t.melodyProgram
       : word == "accomp" ? t.accompProgram
       : word == "bass"   ? t.bassProgram
                          : t.padProgram) = program;
    } else if (word == "style") {
      words >> t.style;
      if (t.style != "arpeggio" && t.style != "waltz" && t.style != "strum")
        throw SourceError(at + ": unknown style \"" + t.style + "\"");
    } else if (word == "form") {
      while (words >> arg) t.form.push_back(arg);
    } else if (word == "section") {
      words >> arg;
      if (t.sections.count(arg)) throw SourceError(at + ": section \"" + arg + "\" given twice");
      std::string like, model;
      Section copy;
      if (words >> like) {
        // "section A2 like A": the notes of A again, to be given another voice.
        if (like != "like" || !(words >> model) || !t.sections.count(model)) {
          throw SourceError(at + ": expected \"section NAME\" or \"section NAME like EARLIER\"");
        }
        copy = t.sections.at(model);
        copy.voice.reset();
        copy.octave = 0;
      }
      current = &(t.sections[arg] = copy);
      barStart = current->melodyTicks;
    } else if (word == "voice" || word == "octave") {
      if (!current) throw SourceError(at + ": \"" + word + "\" outside a section");
      words >> arg;
      if (word == "voice")
        current->voice = toInt(arg, at);
      else
        current->octave = toInt(arg, at);
    } else if (word == "m" || word == "c") {
      if (!current) throw SourceError(at + ": notes outside a section");
      if (word == "m")
        parseMelody(words, *current, t, at, barStart);
      else
        parseChords(words, *current, t, at);
    } else {
      throw SourceError(at + ": unknown word \"" + word + "\"");
    }
  }
  if (t.form.empty()) throw SourceError(origin + ": no \"form\" line");
  const int bar = t.beatsPerBar * kTicksPerQuarter;
  for (const auto& name : t.form) {
    auto it = t.sections.find(name);
    if (it == t.sections.end())
      throw SourceError(origin + ": the form names the unknown section \"" + name + "\"");
    const Section& s = it->second;
    if (s.melodyTicks % bar != 0 || s.melodyTicks == 0)
      throw SourceError(origin + ": section " + name + " does not end on a bar line");
    if (s.chordTicks != s.melodyTicks) {
      throw SourceError(origin + ": section " + name + " has " +
                        std::to_string(s.chordTicks / bar) + " bars of chords for " +
                        std::to_string(s.melodyTicks / bar) + " bars of melody");
    }
  }
  return t;
}

// Chord tones as pitch classes above the tonic's octave: root, third, fifth
// (and seventh), from the major scale of the key.
std::vector<int> chordTones(const Tune& t, const Chord& c) {
  int root = t.tonic + kMajorScale[c.degree];
  std::vector<int> tones{root, root + (c.minor ? 3 : 4), root + 7};
  if (c.seventh) tones.push_back(root + (c.minor ? 10 : 10));
  return tones;
}

// Moves a pitch into [low, low + 12).
int intoRange(int pitch, int low) {
  while (pitch < low) pitch += 12;
  while (pitch >= low + 12) pitch -= 12;
  return pitch;
}

}  // namespace

std::string buildTune(std::string_view source, const std::string& origin, TuneInfo* info) {
  const Tune t = parseTune(source, origin);
  constexpr int kMelody = 0, kAccomp = 1, kBass = 2, kPad = 3;

  Track conductor{"Tempo"};
  Track melody{"Melody"}, accomp{"Accompaniment"}, bass{"Bass"}, pad{"Pad"};
  const int usPerQuarter = 60'000'000 / t.tempo;
  conductor.add(0, 1,
                meta(0x51, {static_cast<char>((usPerQuarter >> 16) & 0xFF),
                            static_cast<char>((usPerQuarter >> 8) & 0xFF),
                            static_cast<char>(usPerQuarter & 0xFF)}));
  conductor.add(0, 1, meta(0x58, {static_cast<char>(t.beatsPerBar), 2, 24, 8}));
  if (!t.title.empty()) conductor.name = t.title;

  auto setup = [](Track& track, int channel, int program, int volume, int pan, int reverb) {
    track.program(channel, 0, program);
    track.control(channel, 0, 7, volume);
    track.control(channel, 0, 10, pan);
    track.control(channel, 0, 91, reverb);
  };
  setup(melody, kMelody, t.melodyProgram, 124, 64, 50);
  setup(accomp, kAccomp, t.accompProgram, 96, 44, 40);
  setup(bass, kBass, t.bassProgram, 104, 70, 30);
  if (t.padProgram >= 0) setup(pad, kPad, t.padProgram, 64, 84, 70);

  const int beat = kTicksPerQuarter;
  const int bar = t.beatsPerBar * beat;
  int offset = 0;
  int currentVoice = t.melodyProgram;
  TuneInfo summary;
  summary.title = t.title;
  for (const auto& name : t.form) {
    const Section& s = t.sections.at(name);
    int voice = s.voice.value_or(t.melodyProgram);
    if (voice != currentVoice) {
      melody.program(kMelody, offset, voice);
      currentVoice = voice;
    }
    for (const Note& n : s.melody) {
      if (n.key < 0) continue;
      int key = n.key + 12 * s.octave;
      int posInBar = n.start % bar;
      int velocity = posInBar == 0 ? 100 : posInBar % beat == 0 ? 90 : 84;
      // Slightly detached, so repeated notes are heard as two.
      melody.note(kMelody, offset + n.start, n.length - std::min(40, n.length / 8), key, velocity);
      ++summary.notes;
      summary.lowest = std::min(summary.lowest, key);
      summary.highest = std::max(summary.highest, key);
    }
    for (const Chord& c : s.chords) {
      if (c.degree == 0) continue;
      auto tones = chordTones(t, c);
      int start = offset + c.start;
      // Bass: the root on the chord's first beat, the fifth on its middle beat
      // when the chord lasts a whole bar of four.
      int bassRoot = intoRange(tones[0], 36);
      if (c.length >= 4 * beat) {
        bass.note(kBass, start, 2 * beat - 30, bassRoot, 86);
        bass.note(kBass, start + 2 * beat, c.length - 2 * beat - 30, intoRange(tones[2], 36), 78);
      } else {
        bass.note(kBass, start, c.length - 30, bassRoot, 86);
      }
      if (t.padProgram >= 0) {
        for (int tone : tones) pad.note(kPad, start, c.length - 10, intoRange(tone, 55), 48);
      }
      if (t.style == "arpeggio") {
        // Broken chord in eighths: root, fifth, octave, third above, octave, fifth ...
        std::vector<int> pattern{intoRange(tones[0], 48),      intoRange(tones[2], 52),
                                 intoRange(tones[0], 48) + 12, intoRange(tones[1], 60),
                                 intoRange(tones[0], 48) + 12, intoRange(tones[2], 52)};
        int step = beat / 2;
        for (int k = 0; k * step < c.length; ++k) {
          int len = std::min(step * 2, c.length - k * step);
          accomp.note(kAccomp, start + k * step, len - 10,
                      pattern[static_cast<std::size_t>(k) % pattern.size()], k == 0 ? 72 : 62);
        }
      } else if (t.style == "waltz") {
        // Bass on one, chord on two and three.
        for (int b = 1; b * beat < c.length; ++b) {
          if ((c.start + b * beat) % bar == 0) continue;
          for (int tone : tones)
            accomp.note(kAccomp, start + b * beat, beat - 40, intoRange(tone, 57), 58);
        }
      } else {  // strum: chord on every beat, the off-beats softer
        for (int b = 0; b * beat < c.length; ++b) {
          int k = 0;
          for (int tone : tones)
            accomp.note(kAccomp, start + b * beat + 8 * k++, beat - 60, intoRange(tone, 55),
                        b % 2 ? 54 : 64);
        }
      }
    }
    offset += s.melodyTicks;
  }
  const int end = offset;
  summary.seconds = static_cast<double>(end) / kTicksPerQuarter * 60.0 / t.tempo;
  if (info) *info = summary;

  std::vector<Track*> tracks{&conductor, &melody, &accomp, &bass};
  if (t.padProgram >= 0) tracks.push_back(&pad);
  std::string out = "MThd";
  putBe32(out, 6);
  putBe16(out, 1);
  putBe16(out, static_cast<unsigned>(tracks.size()));
  putBe16(out, kTicksPerQuarter);
  for (Track* track : tracks) out += trackChunk(*track, end);
  return out;
}

}  // namespace resbuild
