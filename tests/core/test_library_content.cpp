// Content rules of the built resource library deRizizoz.dll: every picture
// decodes at the size its window expects, every tune is a well-formed MIDI
// file that sounds for its whole length, every text is GBK with CR LF lines,
// every code example in a text agrees with the code tables, and the builder
// refuses characters the tutor cannot hold.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifdef QUORVEL_TEST_FLUIDSYNTH
#include <fluidsynth.h>
#endif

#include "data/PracticeData.h"
#include "platform/Gbk.h"
#include "platform/Jpeg.h"
#include "platform/ResourceLibrary.h"

namespace fs = std::filesystem;
using quorvel::platform::ResourceLibrary;
using quorvel::platform::RgbImage;

namespace {

const ResourceLibrary& library() {
  static const ResourceLibrary lib{fs::path(QUORVEL_BUILT_LIBRARY)};
  return lib;
}

std::string readEntry(const char* type, const std::string& name) {
  auto data = library().read(type, name);
  EXPECT_TRUE(data.ok()) << type << "/" << name << " is missing from the library";
  return data.bytes;
}

std::string readSource(const fs::path& relative) {
  std::ifstream in(fs::path(QUORVEL_SOURCE_DIR) / relative, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::uint32_t pixel(const RgbImage& image, int x, int y) {
  const auto* p = &image.rgb[(static_cast<std::size_t>(y) * image.width + x) * 3];
  return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

struct RootLine {
  std::string glyph;
  char key;
};

// resources/method/roots.tsv: number, key, root, name.
std::vector<RootLine> sourceRoots() {
  std::vector<RootLine> roots;
  std::istringstream in(readSource("resources/method/roots.tsv"));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string number, key, glyph;
    if (std::getline(fields, number, '\t') && std::getline(fields, key, '\t') &&
        std::getline(fields, glyph, '\t'))
      roots.push_back({glyph, key.empty() ? '\0' : key[0]});
  }
  return roots;
}

class LibraryContent : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library().available()) << QUORVEL_BUILT_LIBRARY << " was not built";
  }
};

// ---- pictures ----

TEST_F(LibraryContent, RootPicturesAreDistinctBlackOnWhiteSixteenPixelBitmaps) {
  ASSERT_EQ(sourceRoots().size(), 176u);
  // Kept as strings: GCC 12 at -O3 warns falsely on comparing byte vectors.
  std::set<std::string> seen;
  for (int i = 1; i <= 176; ++i) {
    const std::string name = "root" + std::to_string(i);
    auto image = quorvel::platform::decodeBmp(readEntry("RCDATA", name));
    ASSERT_TRUE(image) << name << " is not a bitmap";
    ASSERT_EQ(image->width, 16) << name;
    ASSERT_EQ(image->height, 16) << name;
    int ink = 0;
    bool twoColours = true;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        std::uint32_t p = pixel(*image, x, y);
        ink += p == 0x000000;
        twoColours = twoColours && (p == 0x000000 || p == 0xFFFFFF);
      }
    // White is the transparent colour: grey fringes would show on coloured cells.
    EXPECT_TRUE(twoColours) << name << " holds colours other than black and white";
    EXPECT_GE(ink, 3) << name << " is (nearly) empty";
    EXPECT_LE(ink, 140) << name << " is mostly black: probably a missing-glyph box";
    // Identical pictures mean the font drew a placeholder for several roots.
    EXPECT_TRUE(seen.insert(std::string(image->rgb.begin(), image->rgb.end())).second)
        << name << " looks exactly like an earlier root";
  }
}

TEST_F(LibraryContent, KeyPicturesAreDistinctKeyCaps) {
  // Kept as strings: GCC 12 at -O3 warns falsely on comparing byte vectors.
  std::set<std::string> seen;
  int width = 0;
  for (char k = 'a'; k <= 'z'; ++k) {
    const std::string name = std::string("key_") + k;
    auto image = quorvel::platform::decodeBmp(readEntry("RCDATA", name));
    ASSERT_TRUE(image) << name;
    EXPECT_GE(image->width, 24) << name;
    EXPECT_LE(image->width, 48) << name;
    EXPECT_EQ(image->width, image->height) << name;
    if (k == 'a') width = image->width;
    EXPECT_EQ(image->width, width) << "all key pictures share one size";
    EXPECT_TRUE(seen.insert(std::string(image->rgb.begin(), image->rgb.end())).second)
        << name << " looks exactly like an earlier key";
  }
  // Resource names match without regard to case.
  EXPECT_TRUE(library().read("RCDATA", "KEY_Q").ok());
}

TEST_F(LibraryContent, JpegPicturesDecodeAtTheirSizes) {
  struct Expected {
    const char* name;
    int width, height;
  };
  for (const Expected& e : {Expected{"RootMap", 878, 332}, Expected{"rootbut", 834, 386}}) {
    auto image = quorvel::platform::decodeJpeg(readEntry("JPEG", e.name));
    ASSERT_TRUE(image) << e.name;
    EXPECT_EQ(image->width, e.width) << e.name;
    EXPECT_EQ(image->height, e.height) << e.name;
    // Drawn at the aspect of the windows that stretch them (439 x 166, 417 x 193).
  }
  auto map = quorvel::platform::decodeJpeg(readEntry("JPEG", "RootMap"));
  ASSERT_TRUE(map);
  EXPECT_NEAR(static_cast<double>(map->width) / map->height, 439.0 / 166.0, 0.03);
}

TEST_F(LibraryContent, BackgroundIsLightQuietAndTilesWithoutSeams) {
  auto image = quorvel::platform::decodeJpeg(readEntry("JPEG", "Bgjpg"));
  ASSERT_TRUE(image);
  ASSERT_GE(image->width, 32);
  ASSERT_GE(image->height, 32);
  double sum = 0;
  int darkest = 255;
  for (std::uint8_t v : image->rgb) {
    sum += v;
    darkest = std::min<int>(darkest, v);
  }
  EXPECT_GT(sum / static_cast<double>(image->rgb.size()), 215.0) << "the texture must be light";
  EXPECT_GT(darkest, 180) << "the texture must be quiet: black text lies on it";

  // Across the tile's edge (last column next to the first) neighbours must
  // differ no more than neighbours inside the tile do.
  auto columnStep = [&](int a, int b) {
    double d = 0;
    for (int y = 0; y < image->height; ++y)
      for (int c = 0; c < 3; ++c)
        d += std::abs(image->rgb[(static_cast<std::size_t>(y) * image->width + a) * 3 + c] -
                      image->rgb[(static_cast<std::size_t>(y) * image->width + b) * 3 + c]);
    return d / image->height;
  };
  double inside = 0;
  for (int x = 1; x < image->width; ++x) inside += columnStep(x - 1, x);
  inside /= image->width - 1;
  EXPECT_LT(columnStep(image->width - 1, 0), inside * 2.5 + 1.0);
}

// ---- tunes ----

struct MidiSummary {
  int format = -1, tracks = 0, division = 0;
  int notes = 0;
  std::set<int> programs;
  double seconds = 0;
  std::string problem;  // empty when the file is well formed
};

std::uint32_t be(const std::string& s, std::size_t at, int bytes) {
  std::uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | static_cast<std::uint8_t>(s[at + i]);
  return v;
}

// Reads a standard MIDI file chunk by chunk and event by event.
MidiSummary parseMidi(const std::string& s) {
  MidiSummary m;
  if (s.size() < 14 || s.compare(0, 4, "MThd") != 0 || be(s, 4, 4) != 6) {
    m.problem = "no MThd header";
    return m;
  }
  m.format = static_cast<int>(be(s, 8, 2));
  m.tracks = static_cast<int>(be(s, 10, 2));
  m.division = static_cast<int>(be(s, 12, 2));
  if (m.division <= 0 || m.division & 0x8000) {
    m.problem = "not a ticks-per-quarter division";
    return m;
  }
  std::size_t pos = 14;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> tempos;  // tick, microseconds per quarter
  std::uint32_t lastTick = 0;
  for (int t = 0; t < m.tracks; ++t) {
    if (pos + 8 > s.size() || s.compare(pos, 4, "MTrk") != 0) {
      m.problem = "track " + std::to_string(t) + " has no MTrk chunk";
      return m;
    }
    const std::size_t end = pos + 8 + be(s, pos + 4, 4);
    if (end > s.size()) {
      m.problem = "track " + std::to_string(t) + " runs past the end of the file";
      return m;
    }
    pos += 8;
    std::uint32_t tick = 0;
    int status = 0;
    bool ended = false;
    std::map<int, int> sounding;  // channel*128+key -> count
    while (pos < end && !ended) {
      std::uint32_t delta = 0;
      for (int i = 0;; ++i) {
        if (pos >= end || i == 4) {
          m.problem = "bad delta time";
          return m;
        }
        std::uint8_t b = static_cast<std::uint8_t>(s[pos++]);
        delta = (delta << 7) | (b & 0x7F);
        if (!(b & 0x80)) break;
      }
      tick += delta;
      std::uint8_t b = static_cast<std::uint8_t>(s[pos]);
      if (b & 0x80)
        status = b, ++pos;
      else if (!status) {
        m.problem = "running status without a status";
        return m;
      }
      if (status == 0xFF) {
        int type = static_cast<std::uint8_t>(s[pos++]);
        std::uint32_t len = static_cast<std::uint8_t>(s[pos++]);  // all our metas are short
        if (type == 0x51 && len == 3) tempos.push_back({tick, be(s, pos, 3)});
        if (type == 0x2F) ended = true;
        pos += len;
        status = 0;
      } else if (status == 0xF0 || status == 0xF7) {
        m.problem = "unexpected system exclusive event";
        return m;
      } else {
        int kind = status & 0xF0, channel = status & 0x0F;
        int a = static_cast<std::uint8_t>(s[pos]);
        int data = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        int v = data == 2 ? static_cast<std::uint8_t>(s[pos + 1]) : 0;
        if (a > 127 || v > 127) {
          m.problem = "data byte above 127";
          return m;
        }
        pos += static_cast<std::size_t>(data);
        if (kind == 0x90 && v > 0) {
          ++sounding[channel * 128 + a];
          ++m.notes;
        } else if (kind == 0x80 || kind == 0x90) {
          if (--sounding[channel * 128 + a] < 0) {
            m.problem = "note off without a note on";
            return m;
          }
        } else if (kind == 0xC0) {
          m.programs.insert(a);
        }
      }
    }
    if (!ended || pos != end) {
      m.problem = "track " + std::to_string(t) + " does not end with its end-of-track event";
      return m;
    }
    for (const auto& [key, count] : sounding)
      if (count != 0) {
        m.problem = "a note is left sounding at the end of track " + std::to_string(t);
        return m;
      }
    lastTick = std::max(lastTick, tick);
  }
  if (pos != s.size()) m.problem = "bytes after the last track";
  // Length in seconds through the tempo map (120 per minute until the first tempo).
  std::sort(tempos.begin(), tempos.end());
  double seconds = 0;
  std::uint32_t at = 0, usPerQuarter = 500000;
  for (const auto& [tick, us] : tempos) {
    seconds += (tick - at) * (usPerQuarter / 1e6) / m.division;
    at = tick;
    usPerQuarter = us;
  }
  m.seconds = seconds + (lastTick - at) * (usPerQuarter / 1e6) / m.division;
  return m;
}

TEST(MidiReader, RejectsBrokenFiles) {
  // One track: a note on, a note off a quarter later, end of track.
  const std::string good(
      "MThd\0\0\0\6\0\1\0\1\1\xE0"
      "MTrk\0\0\0\x0C\0\x90\x3C\x40\x60\x80\x3C\0\0\xFF\x2F\0",
      34);
  EXPECT_TRUE(parseMidi(good).problem.empty()) << parseMidi(good).problem;
  EXPECT_EQ(parseMidi(good).notes, 1);
  EXPECT_NEAR(parseMidi(good).seconds, 0.5 * 0x60 / 0x1E0, 1e-9);
  EXPECT_FALSE(parseMidi("").problem.empty());
  EXPECT_FALSE(parseMidi(good.substr(0, 30)).problem.empty());  // cut short
  EXPECT_FALSE(parseMidi(good + "x").problem.empty());          // trailing bytes
  std::string stuck = good;
  stuck[27] = '\x90';  // the note off becomes a second note on
  stuck[29] = '\x40';
  EXPECT_FALSE(parseMidi(stuck).problem.empty());
}

TEST_F(LibraryContent, TunesAreWellFormedMultiTrackMidiOfOneToThreeMinutes) {
  for (int n = 1; n <= 4; ++n) {
    const std::string name = "music" + std::to_string(n);
    MidiSummary m = parseMidi(readEntry("MIDI", name));
    SCOPED_TRACE(name);
    EXPECT_EQ(m.problem, "");
    EXPECT_EQ(m.format, 1);
    EXPECT_GE(m.tracks, 3) << "a tempo track, a melody and an accompaniment";
    EXPECT_GE(m.programs.size(), 3u) << "melody and accompaniment on General MIDI instruments";
    EXPECT_GE(m.notes, 200);
    EXPECT_GE(m.seconds, 60.0);
    EXPECT_LE(m.seconds, 180.0);
  }
}

#ifdef QUORVEL_TEST_FLUIDSYNTH
// One tune per test, so the four renderings run side by side.
class TuneSound : public LibraryContent, public ::testing::WithParamInterface<int> {};

TEST_P(TuneSound, SoundsThroughItsWholeLength) {
  const char* soundfont = "/usr/share/sounds/sf2/default-GM.sf2";
  if (!fs::exists(soundfont)) GTEST_SKIP() << "no General MIDI soundfont at " << soundfont;
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
  const std::string name = "music" + std::to_string(GetParam());
  const std::string midi = readEntry("MIDI", name);
  const double expected = parseMidi(midi).seconds;
  // A low rate keeps the rendering quick; loudness does not depend on it.
  constexpr int kRate = 11025;

  std::unique_ptr<fluid_settings_t, decltype(&delete_fluid_settings)> settings(
      new_fluid_settings(), &delete_fluid_settings);
  fluid_settings_setnum(settings.get(), "synth.sample-rate", kRate);
  // Offline rendering: the player follows the samples written, not the clock.
  fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
  fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
  std::unique_ptr<fluid_synth_t, decltype(&delete_fluid_synth)> synthOwner(
      new_fluid_synth(settings.get()), &delete_fluid_synth);
  fluid_synth_t* synth = synthOwner.get();
  ASSERT_NE(fluid_synth_sfload(synth, soundfont, 1), FLUID_FAILED);
  std::unique_ptr<fluid_player_t, decltype(&delete_fluid_player)> playerOwner(
      new_fluid_player(synth), &delete_fluid_player);
  fluid_player_t* player = playerOwner.get();
  ASSERT_EQ(fluid_player_add_mem(player, midi.data(), midi.size()), FLUID_OK);
  fluid_player_play(player);

  // Loudness of every 10-second window: a tune that falls silent midway
  // would loop with a gap.
  std::vector<double> windows;
  std::vector<std::int16_t> block(2 * 1024);
  double energy = 0;
  long long frames = 0, inWindow = 0;
  const long long limit = static_cast<long long>((expected + 30) * kRate);
  // The player goes on while the last notes ring out; the tune itself ends
  // when the player's tick reaches the file's last tick.
  while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && frames < limit &&
         (frames == 0 ||
          fluid_player_get_current_tick(player) < fluid_player_get_total_ticks(player))) {
    fluid_synth_write_s16(synth, 1024, block.data(), 0, 2, block.data(), 1, 2);
    for (std::int16_t v : block) energy += static_cast<double>(v) * v;
    frames += 1024;
    inWindow += 1024;
    if (inWindow >= 10LL * kRate) {
      windows.push_back(std::sqrt(energy / (2.0 * static_cast<double>(inWindow))));
      energy = 0;
      inWindow = 0;
    }
  }
  playerOwner.reset();  // before the synth it plays on

  const double rendered = static_cast<double>(frames) / kRate;
  EXPECT_NEAR(rendered, expected, 0.5)
      << "the player reached the end at a different time than the file's length";
  ASSERT_GE(windows.size(), 6u);
  for (std::size_t w = 0; w < windows.size(); ++w)
    EXPECT_GT(windows[w], 100.0) << "near-silence between " << w * 10 << " and " << w * 10 + 10
                                 << " s";
}

INSTANTIATE_TEST_SUITE_P(AllTunes, TuneSound, ::testing::Values(1, 2, 3, 4));
#endif

// ---- texts ----

const char* const kTexts[] = {"intro", "roottip", "chartip", "wordtip", "Texttip"};

TEST_F(LibraryContent, TextsAreGbkWithCrLfLines) {
  for (const char* name : kTexts) {
    SCOPED_TRACE(name);
    const std::string text = readEntry("TIPDATA", name);
    ASSERT_GT(text.size(), 200u);
    auto utf8 = quorvel::gbk::toUtf8Strict(text);
    ASSERT_TRUE(utf8.has_value()) << "not valid GBK";
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        ASSERT_LT(i + 1, text.size());
        ASSERT_EQ(text[i + 1], '\n') << "CR without LF at byte " << i;
      }
      if (text[i] == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "LF without CR at byte " << i;
      }
    }
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    // Every marker of the source was expanded.
    for (const char* residue : {"{", "}", "@ROOTS", "@KEYNAME", "[", "]", "\xEF\xBB\xBF"})
      EXPECT_EQ(utf8->find(residue), std::string::npos) << "left over: " << residue;
  }
}

TEST_F(LibraryContent, IntroductionNamesEveryPracticeKindAndKey) {
  const std::string intro = quorvel::gbk::toUtf8(readEntry("TIPDATA", "intro"));
  for (const char* word :
       {"字根练习",     "一级简码",     "二级简码", "三级简码", "完整编码", "优选二级简码",
        "优选三级简码", "优选完整编码", "键名汉字", "码元汉字", "难字特选", "二字词组",
        "三字词组",     "四字词组",     "多字词组", "对照练习", "录入练习", "定时测验",
        "定量测验",     "ESC",          "F1",       "F2",       "F3",       "F4",
        "F6",           "F8",           "PageUp",   "PageDown"})
    EXPECT_NE(intro.find(word), std::string::npos) << word;
}

// Every (text, code) pair of the library's tables.
std::map<std::string, std::set<std::string>> codebook() {
  std::map<std::string, std::set<std::string>> book;
  for (const char* table :
       {"onechar", "twochar", "threechar", "allchar", "word2", "word3", "word4", "wordm"}) {
    auto data = library().read("chardata", table);
    if (!data.ok()) continue;
    std::istringstream in(data.bytes);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::size_t cut = line.size();
      while (cut > 0 && line[cut - 1] >= 'a' && line[cut - 1] <= 'z') --cut;
      if (cut > 0 && cut < line.size())
        book[quorvel::gbk::toUtf8(line.substr(0, cut))].insert(line.substr(cut));
    }
  }
  auto base = library().read("chardata", "base");
  if (base.ok()) {
    std::istringstream in(base.bytes);
    std::string line;
    while (std::getline(in, line, '\r')) {
      std::istringstream fields(line);
      std::string code, text;
      if (fields >> code >> text) book[quorvel::gbk::toUtf8(text)].insert(code);
    }
  }
  return book;
}

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TEST_F(LibraryContent, CodeExamplesInTheTextsAgreeWithTheTables) {
  const auto book = codebook();
  ASSERT_FALSE(book.empty()) << "the library holds no code tables";
  // The texts quote codes only through checked markers: {社=ZTS} for a code,
  // {汉^SY} for the beginning of a full code.
  const std::regex marker(R"(\{([^=^{}]+)([=^])([A-Z]{1,4})\})");
  int examples = 0;
  for (const auto& entry :
       fs::directory_iterator(fs::path(QUORVEL_SOURCE_DIR) / "resources/texts")) {
    if (entry.path().extension() != ".txt") continue;
    const std::string source = readSource(fs::relative(entry.path(), QUORVEL_SOURCE_DIR));
    SCOPED_TRACE(entry.path().filename().string());
    for (std::sregex_iterator it(source.begin(), source.end(), marker), end; it != end; ++it) {
      const std::string text = (*it)[1], code = lower((*it)[3]);
      const bool prefix = (*it)[2] == "^";
      ++examples;
      auto found = book.find(text);
      ASSERT_NE(found, book.end()) << "\"" << text << "\" is in no table";
      bool agrees = false;
      for (const auto& k : found->second)
        agrees =
            agrees || (prefix ? k.size() >= 3 && k.compare(0, code.size(), code) == 0 : k == code);
      EXPECT_TRUE(agrees) << "\"" << text << "\" does not have the code " << (*it)[3]
                          << (prefix ? "..." : "");
    }
    // A phrase that introduces a code is always followed by a checked marker.
    for (const std::string phrase : {"键盘代码为", "编码为"}) {
      for (std::size_t at = source.find(phrase); at != std::string::npos;
           at = source.find(phrase, at + 1)) {
        std::string after = source.substr(at + phrase.size(), 8);
        if (after.rfind("：", 0) == 0) after.erase(0, std::string("：").size());
        EXPECT_EQ(after.substr(0, 1), "{")
            << "unchecked code after \"" << phrase << "\" at byte " << at;
      }
    }
  }
  EXPECT_GE(examples, 20);
}

TEST_F(LibraryContent, EveryFullCodeIsSpelledByTheSplitTheHintsShow) {
  std::string fault;
  const auto splits = quorvel::parseCharSplits(readEntry("chardata", "splits"), &fault);
  ASSERT_EQ(fault, "");
  std::istringstream allchar(readEntry("chardata", "allchar"));
  int checked = 0;
  for (std::string line; std::getline(allchar, line); ++checked) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string character = line.substr(0, 2), code = lower(line.substr(2));
    const auto split = splits.find(character);
    ASSERT_TRUE(split.has_value()) << quorvel::gbk::toUtf8(character) << " has no split";
    // First, second and last root, or a one-root character's root and its
    // first and last stroke; then the sound.
    const auto& roots = split->roots;
    std::string keys(1, roots[0].key);
    if (roots.size() == 1) {
      for (const auto& stroke : split->strokes) keys += stroke.key;
    } else {
      keys += roots[1].key;
      if (roots.size() > 2) keys += roots.back().key;
    }
    EXPECT_EQ(lower(keys + split->sound), code) << quorvel::gbk::toUtf8(character);
  }
  EXPECT_GE(checked, 6727);
}

TEST_F(LibraryContent, RootsNamedInTheRootTextLieOnTheirKeys) {
  const auto roots = sourceRoots();
  ASSERT_EQ(roots.size(), 176u);
  auto keyOf = [&](const std::string& glyph) {
    for (const auto& r : roots)
      if (r.glyph == glyph) return r.key;
    return '\0';
  };
  for (const char* file : {"roottip.txt", "chartip.txt", "intro.txt"}) {
    const std::string source = readSource(fs::path("resources/texts") / file);
    SCOPED_TRACE(file);
    // [root] belongs to the key of the last @ROOTS X@; [root:X] names its key.
    const std::regex token(R"(@ROOTS ([A-Z])@|\[([^\]:]+)(?::([A-Z]))?\])");
    char key = 0;
    int checked = 0;
    for (std::sregex_iterator it(source.begin(), source.end(), token), end; it != end; ++it) {
      if ((*it)[1].matched) {
        key = (*it)[1].str()[0];
        continue;
      }
      const char expected = (*it)[3].matched ? (*it)[3].str()[0] : key;
      ASSERT_NE(expected, '\0');
      EXPECT_EQ(keyOf((*it)[2]), expected) << "the root " << (*it)[2];
      ++checked;
    }
    EXPECT_GT(checked, 0);
  }
  // Every key's roots are listed, so the text covers all 176.
  const std::string roottip = quorvel::gbk::toUtf8(readEntry("TIPDATA", "roottip"));
  for (char k = 'A'; k <= 'Z'; ++k)
    EXPECT_NE(roottip.find(std::string(1, k) + "键"), std::string::npos) << k;
}

TEST_F(LibraryContent, RootGroupsOfTheGroupedPictureAreAllRoots) {
  const auto roots = sourceRoots();
  fs::path file = "resources/method/root_groups.tsv";
  if (!fs::exists(fs::path(QUORVEL_SOURCE_DIR) / file)) file = "resources/pictures/root_groups.tsv";
  std::istringstream in(readSource(file));
  std::string line;
  int groups = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line.substr(line.find('\t') + 1));
    std::string glyph;
    int members = 0;
    while (fields >> glyph) {
      ++members;
      EXPECT_TRUE(std::any_of(roots.begin(), roots.end(),
                              [&](const RootLine& r) { return r.glyph == glyph; }))
          << glyph << " is not a root";
    }
    EXPECT_GE(members, 2) << line;
    ++groups;
  }
  EXPECT_GE(groups, 8);
}

// ---- code tables as packed ----

TEST_F(LibraryContent, DrillTablesHaveCrLfLinesAndTheDictionaryBareCr) {
  for (const char* table :
       {"onechar", "twochar", "threechar", "allchar", "twocharsel", "threecharSel", "allcharSel",
        "keynameCharsel", "codeCharsel", "hardcharsel", "word2", "word3", "word4", "wordm"}) {
    SCOPED_TRACE(table);
    const std::string data = readEntry("chardata", table);
    ASSERT_GE(data.size(), 2u);
    EXPECT_EQ(data.substr(data.size() - 2), "\r\n");
    std::istringstream in(data);
    std::string line;
    while (std::getline(in, line)) {
      ASSERT_FALSE(line.empty());
      ASSERT_EQ(line.back(), '\r');
      line.pop_back();
      std::size_t cut = line.size();
      while (cut > 0 && line[cut - 1] >= 'a' && line[cut - 1] <= 'z') --cut;
      ASSERT_TRUE(cut > 0 && cut % 2 == 0 && line.size() - cut >= 1 && line.size() - cut <= 4)
          << line;
      // The reader folds 'A'..'Z' to lower case: no character byte may be ASCII.
      for (std::size_t i = 0; i < cut; ++i)
        ASSERT_GE(static_cast<std::uint8_t>(line[i]), 0xA1) << line;
    }
  }
  const std::string base = readEntry("chardata", "base");
  ASSERT_FALSE(base.empty());
  EXPECT_EQ(base.find('\n'), std::string::npos) << "the dictionary's lines end with a bare CR";
  EXPECT_EQ(base.back(), '\r');
  EXPECT_EQ(base.front(), 'a');
}

TEST(HelpFile, HasTheMainTopicAndATopicForEveryPracticeKind) {
  std::ifstream in(fs::path(QUORVEL_BUILT_LIBRARY).parent_path() / "QUORVEL.HLP", std::ios::binary);
  ASSERT_TRUE(in) << "QUORVEL.HLP was not built";
  std::ostringstream all;
  all << in.rdbuf();
  const std::string help = all.str();
  EXPECT_NE(help.find("<a name=\"10001\">"), std::string::npos);
  for (const char* word :
       {"字根练习", "单字练习", "词组练习", "对照练习", "录入练习", "定时测验", "定量测验",
        "字码互查", "F1", "F2", "F3", "F4", "F6", "F8", "ESC", "PageDown", "候选", "设置"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
  // Every link inside the file leads to a topic that exists.
  const std::regex link("href=\"#(\\d+)\"");
  for (std::sregex_iterator it(help.begin(), help.end(), link), end; it != end; ++it)
    EXPECT_NE(help.find("<a name=\"" + (*it)[1].str() + "\">"), std::string::npos) << (*it)[1];
}

// ---- the builder ----

struct BuildResult {
  int status = -1;
  std::string messages;
};

// Runs the resource builder on a resources folder of our own.
BuildResult runBuilder(const fs::path& resources, const fs::path& output) {
  const fs::path builder = fs::path(QUORVEL_BUILT_LIBRARY).parent_path() / "resbuild";
  const fs::path log = output.parent_path() / "resbuild.log";
  std::vector<std::string> args{builder.string(),
                                "--resources",
                                resources.string(),
                                "--library",
                                output.string(),
                                "--help-file",
                                (output.parent_path() / "HELP").string()};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "ASAN_OPTIONS=detect_leaks=0",
                               "HOME=" + output.parent_path().string()};
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  BuildResult result;
  if (posix_spawn(&pid, builder.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  std::ifstream in(log);
  std::ostringstream all;
  all << in.rdbuf();
  result.messages = all.str();
  return result;
}

class Builder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("quorvel_resbuild_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "res/tables");
    fs::create_directories(dir_ / "res/texts");
  }
  void TearDown() override { fs::remove_all(dir_); }
  void write(const fs::path& relative, const std::string& text) {
    std::ofstream(dir_ / "res" / relative, std::ios::binary) << text;
  }
  fs::path dir_;
};

TEST_F(Builder, PacksAPartialLibraryWithTheReadersLineEnds) {
  write("tables/onechar.txt", "社z\n会i\n");
  write("tables/base.txt", "zt 社\nzts 社\n");
  write("texts/intro.txt", "社的键盘代码为{社=ZTS}。\n第二行");
  write("tables/notes.txt", "not a table\n");  // not a name the tutor reads: left out
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  ASSERT_EQ(r.status, 0) << r.messages;
  ResourceLibrary built(dir_ / "lib.dll");
  EXPECT_FALSE(built.read("chardata", "notes").ok());
  auto onechar = built.read("chardata", "onechar");
  ASSERT_TRUE(onechar.ok());
  EXPECT_EQ(onechar.bytes, quorvel::gbk::fromUtf8("社z\r\n会i\r\n"));
  auto base = built.read("chardata", "base");
  ASSERT_TRUE(base.ok());
  EXPECT_EQ(base.bytes, quorvel::gbk::fromUtf8("zt 社\rzts 社\r"));
  auto intro = built.read("TIPDATA", "intro");
  ASSERT_TRUE(intro.ok());
  EXPECT_EQ(intro.bytes, quorvel::gbk::fromUtf8("社的键盘代码为ZTS。\r\n第二行\r\n"));
  // Without a root table there are no root pictures, but the rest is there.
  EXPECT_FALSE(built.read("RCDATA", "root1").ok());
  EXPECT_TRUE(built.read("RCDATA", "key_a").ok());
  EXPECT_TRUE(built.read("JPEG", "Bgjpg").ok());
}

TEST_F(Builder, RefusesACharacterOutsideGb2312InATable) {
  write("tables/onechar.txt", "社z\n丆a\n");  // 丆 is GBK but not GB2312
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.messages.find("onechar.txt:2"), std::string::npos) << r.messages;
  EXPECT_NE(r.messages.find("丆"), std::string::npos) << r.messages;
  EXPECT_FALSE(fs::exists(dir_ / "lib.dll")) << "no library is left behind";
}

TEST_F(Builder, RefusesATextCharacterGbkCannotHold) {
  write("texts/intro.txt", "第一行\n表情\xF0\x9F\x98\x80\n");
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.messages.find("intro.txt:2"), std::string::npos) << r.messages;
}

TEST_F(Builder, RefusesATableLineWithoutACode) {
  write("tables/word2.txt", "中国kskw\n中国\n");
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.messages.find("word2.txt:2"), std::string::npos) << r.messages;
}

TEST_F(Builder, RefusesATableInAFormTheTutorWouldNotTake) {
  // Each line is a sound table line, but not of the width its kind reads.
  const std::pair<const char*, const char*> cases[] = {
      {"tables/onechar.txt", "社z\n会ik\n"},
      {"tables/allchar.txt", "社zts\n会ik\n"},
      {"tables/word2.txt", "中国kskw\n中国人kskw\n"},
  };
  for (const auto& [file, text] : cases) {
    SetUp();
    write(file, text);
    const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
    EXPECT_NE(r.status, 0) << file;
    EXPECT_NE(r.messages.find("refuse it"), std::string::npos) << r.messages;
    EXPECT_NE(r.messages.find("line 2"), std::string::npos) << r.messages;
    EXPECT_FALSE(fs::exists(dir_ / "lib.dll")) << file;
  }
}

TEST_F(Builder, WritesSplitsWithTheirKeysAndTakesHandDrawnRootPictures) {
  fs::create_directories(dir_ / "res/method");
  fs::create_directories(dir_ / "res/pictures");
  write("method/roots.tsv", readSource("resources/method/roots.tsv"));
  // Roots run together or separated by blanks; 𠂉 has no GBK form.
  write("method/splits.tsv",
        "# character\troots\tsound\tstrokes\tcode\n社\t礻土\ts\t-\tzts\n"
        "矮\t𠂉 大 禾 女\ta\t-\tadna\n长\t长\tc\t丿丶\tcpdc\n");
  std::string art = "# notes\n日\n";
  for (int y = 0; y < 16; ++y) art += std::string(16, y == 3 ? '#' : '.') + "\n";
  art += "\n酉\n";  // not a root: not used
  for (int y = 0; y < 16; ++y) art += std::string(16, '#') + "\n";
  write("pictures/root_art.txt", art);
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  ASSERT_EQ(r.status, 0) << r.messages;
  ResourceLibrary built(dir_ / "lib.dll");
  auto splits = built.read("chardata", "splits");
  ASSERT_TRUE(splits.ok());
  EXPECT_EQ(quorvel::gbk::toUtf8(splits.bytes),
            "社\t礻Z 土T\tS\t-\r\n矮\t（撇横头）A 大D 禾H 女N\tA\t-\r\n长\t长C\tC\t丿P 丶D\r\n");
  const auto roots = sourceRoots();
  const auto ri = std::find_if(roots.begin(), roots.end(), [](auto& r) { return r.glyph == "日"; });
  const std::string name = "root" + std::to_string(ri - roots.begin() + 1);
  auto picture = quorvel::platform::decodeBmp(built.read("RCDATA", name).bytes);
  ASSERT_TRUE(picture) << name;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(pixel(*picture, x, y), y == 3 ? 0x000000u : 0xFFFFFFu) << x << "," << y;
}

TEST_F(Builder, RefusesASplitOrARootPictureItCannotUse) {
  const std::pair<const char*, const char*> cases[] = {
      {"method/splits.tsv", "社\t礻土\ts\t-\tzts\n会\t人二厶\th\t-\tidyx\n"},
      {"method/splits.tsv", "社\t礻土\ts\t-\tzts\n会\t人二厶龘\th\t-\tidyh\n"},
      {"method/splits.tsv", "社\t礻土\ts\t-\tzts\n长\t长\tc\t-\tcpdc\n"},
      {"pictures/root_art.txt", "# notes\n日\n................\n....#######\n"},
  };
  for (const auto& [file, text] : cases) {
    SetUp();
    fs::create_directories(dir_ / "res/method");
    fs::create_directories(dir_ / "res/pictures");
    write("method/roots.tsv", readSource("resources/method/roots.tsv"));
    write(file, text);
    const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
    EXPECT_NE(r.status, 0) << text;
    EXPECT_NE(r.messages.find(fs::path(file).filename().string() + ":"), std::string::npos)
        << r.messages;
    EXPECT_FALSE(fs::exists(dir_ / "lib.dll")) << text;
  }
}

TEST_F(Builder, RefusesATuneWhoseBarsDoNotAddUp) {
  fs::create_directories(dir_ / "res/tunes");
  write("tunes/music1.txt", "meter 2/4\nform A\nsection A\nm | 1 2 | 3 |\nc | 1 | 1 |\n");
  const BuildResult r = runBuilder(dir_ / "res", dir_ / "lib.dll");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.messages.find("music1.txt:4"), std::string::npos) << r.messages;
  // A metre without beats is refused, not divided by.
  write("tunes/music1.txt", "meter 0/4\nform A\nsection A\nm | 1 |\nc | 1 |\n");
  const BuildResult zero = runBuilder(dir_ / "res", dir_ / "lib.dll");
  EXPECT_EQ(zero.status, 1);
  EXPECT_NE(zero.messages.find("music1.txt:1"), std::string::npos) << zero.messages;
}

}  // namespace
