// resbuild: builds the resource library deRizizoz.dll, the help file and the
// program icon from the sources under resources/.
//
//   resbuild --resources DIR --library FILE --help-file FILE --icon FILE
//            [--roots FILE] [--preview DIR]
//
// Tables and texts are checked and converted first, before any drawing, so a
// bad source fails fast with a message that names its file and line.
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "Archive.h"
#include "Midi.h"
#include "Pictures.h"
#include "Roots.h"
#include "Splits.h"
#include "TextSources.h"
#include "data/PracticeData.h"
#include "platform/Gbk.h"

namespace fs = std::filesystem;
using namespace resbuild;

namespace {

struct Options {
  fs::path resources, library, helpFile, icon, roots, preview;
};

Options parseArgs(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (i + 1 >= argc) throw std::runtime_error("missing value after " + a);
    fs::path v = argv[++i];
    if (a == "--resources")
      o.resources = v;
    else if (a == "--library")
      o.library = v;
    else if (a == "--help-file")
      o.helpFile = v;
    else if (a == "--icon")
      o.icon = v;
    else if (a == "--roots")
      o.roots = v;
    else if (a == "--preview")
      o.preview = v;
    else
      throw std::runtime_error("unknown option " + a);
  }
  if (o.resources.empty() || o.library.empty()) {
    throw std::runtime_error(
        "usage: resbuild --resources DIR --library FILE [--help-file FILE] [--icon FILE] "
        "[--roots FILE] [--preview DIR]");
  }
  return o;
}

std::vector<fs::path> filesIn(const fs::path& dir, const std::string& extension) {
  std::vector<fs::path> files;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == extension) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool quorvelGbkHolds(const std::string& utf8) {
  return quorvel::gbk::fromUtf8Strict(utf8).has_value();
}

void warn(const std::string& message) { std::cerr << "resbuild: warning: " << message << "\n"; }

// A drill table goes into the library only in the record form of its kind,
// the form the tutor checks on load.
void checkAsTheTutorWill(const std::string& name, const std::string& table,
                         const std::string& origin) {
  for (int kind = quorvel::pkNone + 1; kind < quorvel::kKindCount; ++kind) {
    const quorvel::KindInfo& info = quorvel::kindInfo(kind);
    if (!quorvel::hasDrillTable(kind) || lower(info.resource) != name) continue;
    if (auto fault = quorvel::checkDrillTable(kind, table))
      throw SourceError(origin + ": the tutor would refuse it (" + info.name + "): " + *fault);
    const std::string records =
        info.rule == 'B' ? quorvel::normaliseRuleB(table) : quorvel::normaliseRuleA(table);
    // A partial library is fine for trying things out; the drill then refuses to start.
    if (!quorvel::hasEnoughRecords(kind, records))
      warn(origin + ": fewer than the " + std::to_string(info.records) + " records the drill " +
           info.name + " draws from: it will not start");
  }
}

// Every (text, code) pair the tables define, for checking the code examples
// quoted in the study texts.
struct Codebook {
  std::map<std::string, std::set<std::string>> codes;  // UTF-8 text -> lower-case codes
  bool any = false;

  void addDrillTable(const std::string& utf8) {
    std::istringstream in(utf8);
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::size_t cut = line.size();
      while (cut > 0 && line[cut - 1] >= 'a' && line[cut - 1] <= 'z') --cut;
      if (cut == 0 || cut == line.size()) continue;
      codes[line.substr(0, cut)].insert(line.substr(cut));
      any = true;
    }
  }
  void addBase(const std::string& utf8) {
    std::istringstream in(utf8);
    std::string code, text;
    while (in >> code >> text) {
      codes[text].insert(code);
      any = true;
    }
  }
};

// Expands the markers of a study text:
//   {社=ZTS}   the code ZTS, checked against the code tables
//   @KEYNAME X@  the key-name root of key X
//   @ROOTS X@  the roots of key X from the root table, separated by blanks
//              (a root GBK cannot write is given by its name in brackets)
//   [八]       the root 八, checked to lie on the key of the last @ROOTS
//   [八:B]     the root 八, checked to lie on key B
// A syntax error throws; an example the tables contradict is added to
// `problems` (the tables are regenerated independently; the library tests
// then fail on it).
std::string expandText(const std::string& source, const std::string& origin, const Codebook& book,
                       const std::vector<Root>& roots, const std::map<char, std::string>& keyNames,
                       int& unchecked, std::vector<std::string>& problems) {
  std::string out;
  int line = 1;
  char currentKey = 0;
  for (std::size_t i = 0; i < source.size();) {
    char c = source[i];
    std::string at = origin + ":" + std::to_string(line);
    if (c == '\n') ++line;
    if (c == '{') {
      std::size_t close = source.find('}', i);
      std::size_t eq = source.find_first_of("=^", i);
      if (close == std::string::npos || eq == std::string::npos || eq > close) {
        throw SourceError(at + ": a code example must read {text=CODE} or {text^PREFIX}");
      }
      const bool prefixOnly = source[eq] == '^';
      std::string text = source.substr(i + 1, eq - i - 1);
      std::string code = source.substr(eq + 1, close - eq - 1);
      if (text.empty() || code.empty() || code.size() > 4 ||
          !std::all_of(code.begin(), code.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; })) {
        throw SourceError(at +
                          ": a code example must read {text=CODE} with 1 to 4 upper-case letters");
      }
      auto agrees = [&](const std::set<std::string>& codes) {
        if (!prefixOnly) return codes.count(lower(code)) != 0;
        // {字^SY}: the full code (3 or 4 letters) begins with SY.
        for (const auto& k : codes)
          if (k.size() >= 3 && k.compare(0, code.size(), lower(code)) == 0) return true;
        return false;
      };
      if (book.any) {
        auto it = book.codes.find(text);
        if (it == book.codes.end()) {
          problems.push_back(at + ": the example \"" + text + "\" is in none of the code tables");
        } else if (!agrees(it->second)) {
          std::string known;
          for (const auto& k : it->second) known += " " + k;
          problems.push_back(at + ": the tables do not give \"" + text + "\" the code " + code +
                             (prefixOnly ? "..." : "") + " (they give" + known + ")");
        }
      } else {
        ++unchecked;
      }
      out += code;
      i = close + 1;
      continue;
    }
    if (c == '[') {
      std::size_t close = source.find(']', i);
      if (close == std::string::npos)
        throw SourceError(at + ": a root must read [root] or [root:KEY]");
      std::string inner = source.substr(i + 1, close - i - 1);
      char key = currentKey;
      if (auto colon = inner.find(':'); colon != std::string::npos) {
        std::string k = inner.substr(colon + 1);
        if (k.size() != 1 || k[0] < 'A' || k[0] > 'Z')
          throw SourceError(at + ": a root must read [root:KEY]");
        key = k[0];
        inner.erase(colon);
      }
      if (inner.empty()) throw SourceError(at + ": an empty [root]");
      if (!key)
        throw SourceError(at + ": [" + inner +
                          "] needs a key: write [root:KEY] or put it after @ROOTS");
      if (roots.empty()) {
        ++unchecked;
      } else if (char actual = keyOfGlyph(roots, inner); actual != key) {
        problems.push_back(at + ": the root \"" + inner + "\" is said to lie on key " +
                           std::string(1, key) +
                           (actual ? ", but the root table puts it on " + std::string(1, actual)
                                   : ", but the root table does not hold it"));
      }
      out += inner;
      i = close + 1;
      continue;
    }
    if (source.compare(i, 9, "@KEYNAME ") == 0) {
      // The key-name root of key X (the first root of the key when the key
      // names are not listed).
      std::size_t close = source.find('@', i + 9);
      std::string key =
          close == std::string::npos ? std::string() : source.substr(i + 9, close - i - 9);
      if (key.size() != 1 || key[0] < 'A' || key[0] > 'Z')
        throw SourceError(at + ": expected @KEYNAME X@ with a key letter");
      auto named = keyNames.find(key[0]);
      auto onKey = rootsOfKey(roots, key[0]);
      std::string name = named != keyNames.end() ? named->second
                         : onKey.empty()         ? std::string()
                                                 : onKey.front()->glyph;
      if (name.empty()) ++unchecked;
      out += quorvelGbkHolds(name) ? name : std::string("？");
      i = close + 1;
      continue;
    }
    if (source.compare(i, 7, "@ROOTS ") == 0) {
      std::size_t close = source.find('@', i + 7);
      std::string key =
          close == std::string::npos ? std::string() : source.substr(i + 7, close - i - 7);
      if (key.size() != 1 || key[0] < 'A' || key[0] > 'Z')
        throw SourceError(at + ": expected @ROOTS X@ with a key letter");
      currentKey = key[0];
      if (roots.empty()) ++unchecked;
      std::string list;
      for (const Root* r : rootsOfKey(roots, key[0])) {
        std::string shown = quorvelGbkHolds(r->glyph) ? r->glyph : "（" + r->name + "）";
        list += (list.empty() ? "" : " ") + shown;
      }
      out += list;
      i = close + 1;
      continue;
    }
    out += c;
    ++i;
  }
  return out;
}

void writeFile(const fs::path& file, const std::string& bytes) {
  fs::path temp = file;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error(file.string() + ": cannot be written");
  }
  fs::rename(temp, file);
}

void preview(const Options& o, const std::string& name, const QImage& image, int factor) {
  if (o.preview.empty()) return;
  fs::create_directories(o.preview);
  image
      .scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio,
              Qt::FastTransformation)
      .save(QString::fromStdString((o.preview / (name + ".png")).string()));
}

int run(int argc, char** argv) {
  const Options o = parseArgs(argc, argv);
  const fs::path res = o.resources;
  Archive archive;

  // 1. Code tables.
  Codebook book;
  static const std::set<std::string> kTables = {
      "base",        "onechar",      "twochar",    "threechar",      "allchar",
      "twocharsel",  "threecharsel", "allcharsel", "keynamecharsel", "codecharsel",
      "hardcharsel", "word2",        "word3",      "word4",          "wordm"};
  for (const auto& file : filesIn(res / "tables", ".txt")) {
    std::string name = file.stem().string();
    if (!kTables.count(lower(name))) {
      warn(file.string() + " is not one of the tutor's code tables: left out");
      continue;
    }
    std::string utf8 = readFile(file);
    if (lower(name) == "base") {
      std::string base = convertBaseTable(utf8, file.string());
      if (auto fault = quorvel::checkBaseTable(base))
        throw SourceError(file.string() + ": the tutor would refuse it: " + *fault);
      // The tutor cuts the dictionary into one segment per first letter a..z.
      for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (base.find(std::string(1, '\r') + letter) == std::string::npos &&
            (base.empty() || base.front() != letter))
          warn(file.string() + ": no code begins with '" + std::string(1, letter) +
               "': code entry will find nothing there");
      }
      archive.add("chardata", name, std::move(base));
      book.addBase(utf8);
    } else {
      std::string table = convertDrillTable(utf8, file.string());
      checkAsTheTutorWill(lower(name), table, file.string());
      archive.add("chardata", name, std::move(table));
      book.addDrillTable(utf8);
    }
  }
  if (archive.size() == 0)
    warn("no code tables under " + (res / "tables").string() + ": the drills will have no data");

  // 2. The root table.
  std::vector<Root> roots;
  fs::path rootsFile = !o.roots.empty() ? o.roots : res / "method" / "roots.tsv";
  if (fs::exists(rootsFile)) {
    roots = parseRoots(readFile(rootsFile), rootsFile.string());
  } else {
    warn(rootsFile.string() + " is missing: no root pictures, root table or root text");
  }

  // The splits of the characters, for the hints; each root with its key.
  if (fs::path splitsFile = res / "method" / "splits.tsv"; !fs::exists(splitsFile)) {
    warn(splitsFile.string() + " is missing: the hints show no splits");
  } else if (roots.empty()) {
    warn("no root table: the splits are left out");
  } else {
    std::string splits = convertSplits(readFile(splitsFile), splitsFile.string(), roots);
    archive.add("chardata", "splits", std::move(splits));
  }

  // Key names ("A<TAB>入"), for the root text.
  std::map<char, std::string> keyNames;
  if (fs::path names = res / "method" / "key_names.tsv"; fs::exists(names)) {
    std::istringstream in(readFile(names));
    std::string key, glyph;
    while (in >> key >> glyph)
      if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') keyNames[key[0]] = glyph;
  }

  // 3. Study texts.
  int unchecked = 0;
  std::vector<std::string> problems;
  for (const auto& file : filesIn(res / "texts", ".txt")) {
    std::string expanded =
        expandText(readFile(file), file.string(), book, roots, keyNames, unchecked, problems);
    archive.add("TIPDATA", file.stem().string(), convertText(expanded, file.string()));
  }
  if (unchecked)
    warn(std::to_string(unchecked) +
         " examples in the texts were not checked: no code or root tables");
  for (const auto& problem : problems) warn(problem);

  // 4. Tunes.
  for (const auto& file : filesIn(res / "tunes", ".txt")) {
    if (lower(file.stem().string()).rfind("music", 0) != 0) continue;
    TuneInfo info;
    archive.add("MIDI", file.stem().string(), buildTune(readFile(file), file.string(), &info));
    std::cout << "resbuild: " << file.stem().string() << " \"" << info.title << "\": " << info.notes
              << " melody notes, range " << info.lowest << "-" << info.highest << ", "
              << info.seconds << " s\n";
  }

  // 5. Pictures.
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  for (const auto& missing : missingGlyphs(roots))
    warn("no installed CJK font has a glyph for the root \"" + missing + "\"");
  // Roots the fonts draw poorly at this size have hand-drawn pictures.
  RootArt art;
  if (fs::path artFile = res / "pictures" / "root_art.txt"; fs::exists(artFile))
    art = parseRootArt(readFile(artFile), artFile.string());
  std::string drawnByHand;
  // The roots as text, in number order ("root<TAB>name" a line, UTF-8): what
  // assistive technology reads for a picture.
  std::string rootNames;
  for (const auto& r : roots) rootNames += r.glyph + "\t" + r.name + "\n";
  archive.add("RCDATA", "rootnames", std::move(rootNames));
  QImage rootSheet(16 * 16, 16 * 11, QImage::Format_RGB32);
  rootSheet.fill(Qt::white);
  for (const auto& r : roots) {
    const auto handDrawn = art.find(r.glyph);
    if (handDrawn != art.end()) drawnByHand += " " + r.glyph;
    const Pixels bitmap = handDrawn != art.end() ? handDrawn->second : drawRootBitmap(r);
    archive.add("RCDATA", "root" + std::to_string(r.number), encodeBmp24(bitmap));
    // Sharper pictures for screens scaled by 1.5 and 2.
    for (int size : {24, 32})
      archive.add("RCDATA", "root" + std::to_string(size) + "_" + std::to_string(r.number),
                  encodeBmp24(drawRootBitmapAt(
                      r, size, handDrawn != art.end() ? &handDrawn->second : nullptr)));
    QImage small = toQImage(bitmap);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        rootSheet.setPixel(((r.number - 1) % 16) * 16 + x, ((r.number - 1) / 16) * 16 + y,
                           small.pixel(x, y));
  }
  if (!roots.empty()) preview(o, "roots", rootSheet, 4);
  if (!drawnByHand.empty())
    std::cout << "resbuild: root pictures drawn by hand:" << drawnByHand << "\n";
  QImage keySheet(32 * 13, 64, QImage::Format_RGB32);
  for (char k = 'a'; k <= 'z'; ++k) {
    Pixels bitmap = drawKeyBitmap(k);
    archive.add("RCDATA", std::string("key_") + k, encodeBmp24(bitmap));
    QImage small = toQImage(bitmap);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        keySheet.setPixel(((k - 'a') % 13) * 32 + x, ((k - 'a') / 13) * 32 + y, small.pixel(x, y));
  }
  preview(o, "keys", keySheet, 4);
  QImage background = drawBackground();
  archive.add("JPEG", "Bgjpg", encodeJpeg(background));
  if (!o.preview.empty()) {
    QImage tiled(background.width() * 3, background.height() * 2, QImage::Format_RGB32);
    for (int y = 0; y < tiled.height(); ++y)
      for (int x = 0; x < tiled.width(); ++x)
        tiled.setPixel(x, y, background.pixel(x % background.width(), y % background.height()));
    preview(o, "background_tiled", tiled, 2);
  }
  if (!roots.empty()) {
    QImage map = drawRootMap(roots);
    archive.add("JPEG", "RootMap", encodeJpeg(map));
    preview(o, "rootmap", map, 1);
    preview(o, "rootmap_small",
            map.scaled(439, 166, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 1);

    fs::path groupsFile = res / "method" / "root_groups.tsv";
    if (!fs::exists(groupsFile)) groupsFile = res / "pictures" / "root_groups.tsv";
    std::vector<RootGroup> groups;
    if (fs::exists(groupsFile)) {
      std::vector<std::string> problems;
      groups = parseRootGroups(readFile(groupsFile), groupsFile.string(), roots, &problems);
      for (const auto& problem : problems) warn(problem);
    } else {
      warn("no groups of look-alike roots: the grouped-roots picture is empty");
    }
    QImage grouped = drawRootGroups(roots, groups);
    archive.add("JPEG", "rootbut", encodeJpeg(grouped));
    preview(o, "rootbut", grouped, 1);
    preview(o, "rootbut_small",
            grouped.scaled(417, 193, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), 1);
  }
  QImage icon = drawIcon();
  preview(o, "icon", icon, 1);
  if (!o.icon.empty()) writeFile(o.icon, encodePng(icon));

  // 6. The help file.
  if (!o.helpFile.empty()) {
    fs::path help = res / "help" / "quorvel.html";
    if (fs::exists(help)) {
      writeFile(o.helpFile, readFile(help));
    } else {
      warn(help.string() + " is missing: the help file only says so");
      writeFile(o.helpFile,
                "<html><body><a name=\"10001\"></a><p>帮助文件尚未编写。</p></body></html>\n");
    }
  }

  archive.write(o.library);
  std::cout << "resbuild: wrote " << archive.size() << " resources to " << o.library.string()
            << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // The archive's time stamps are local time: fix the zone so every machine
  // writes the same bytes.
  setenv("TZ", "UTC", 1);
  tzset();
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "resbuild: error: " << e.what() << "\n";
    return 1;
  }
}
