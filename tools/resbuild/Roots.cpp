#include "Roots.h"

#include <sstream>

#include "TextSources.h"

namespace resbuild {
namespace {

std::vector<std::string> splitOn(std::string_view line, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t end = line.find(sep, start);
    parts.emplace_back(
        line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return parts;
}

// Calls fn(fields, "origin:line") for every line that is neither empty nor a # comment.
template <typename Fn>
void forEachTsvLine(std::string_view text, const std::string& origin, Fn fn) {
  const std::vector<std::string> all = splitOn(text, '\n');
  for (std::size_t n = 0; n < all.size(); ++n) {
    std::string line = all[n];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    fn(splitOn(line, '\t'), origin + ":" + std::to_string(n + 1));
  }
}

}  // namespace

std::vector<Root> parseRoots(std::string_view utf8, const std::string& origin) {
  std::vector<Root> roots;
  forEachTsvLine(utf8, origin, [&roots](const std::vector<std::string>& f, const std::string& at) {
    if (f.size() < 3)
      throw SourceError(at + ": expected number, key, root and name separated by tabs");
    Root r;
    try {
      r.number = std::stoi(f[0]);
    } catch (const std::exception&) {
      throw SourceError(at + ": \"" + f[0] + "\" is not a root number");
    }
    if (f[1].size() != 1 || f[1][0] < 'A' || f[1][0] > 'Z') {
      throw SourceError(at + ": the key must be one upper-case letter, got \"" + f[1] + "\"");
    }
    r.key = f[1][0];
    r.glyph = f[2];
    if (r.glyph.empty()) throw SourceError(at + ": the root is empty");
    r.name = f.size() > 3 ? f[3] : std::string();
    if (r.number != static_cast<int>(roots.size()) + 1) {
      throw SourceError(at + ": roots must be numbered 1, 2, 3 ... in order; expected " +
                        std::to_string(roots.size() + 1));
    }
    roots.push_back(std::move(r));
  });
  if (static_cast<int>(roots.size()) != kRootTotal) {
    throw SourceError(origin + ": expected " + std::to_string(kRootTotal) + " roots, found " +
                      std::to_string(roots.size()));
  }
  std::size_t index = 0;
  for (int k = 0; k < 26; ++k) {
    for (int i = 0; i < kRootKeyCounts[k]; ++i, ++index) {
      if (roots[index].key != 'A' + k) {
        throw SourceError(origin + ": root " + std::to_string(index + 1) + " must lie on key " +
                          std::string(1, static_cast<char>('A' + k)) +
                          " (the keys hold 4, 9, 14 ... roots in order)");
      }
    }
  }
  return roots;
}

std::vector<const Root*> rootsOfKey(const std::vector<Root>& roots, char key) {
  std::vector<const Root*> out;
  for (const auto& r : roots)
    if (r.key == key) out.push_back(&r);
  return out;
}

char keyOfGlyph(const std::vector<Root>& roots, std::string_view glyph) {
  for (const auto& r : roots)
    if (r.glyph == glyph) return r.key;
  return 0;
}

std::vector<RootGroup> parseRootGroups(std::string_view utf8, const std::string& origin,
                                       const std::vector<Root>& roots,
                                       std::vector<std::string>* problems) {
  std::vector<RootGroup> groups;
  forEachTsvLine(utf8, origin, [&](const std::vector<std::string>& f, const std::string& at) {
    if (f.size() != 2) throw SourceError(at + ": expected \"label<TAB>root root ...\"");
    RootGroup g;
    g.label = f[0];
    for (auto& glyph : splitOn(f[1], ' ')) {
      if (glyph.empty()) continue;
      // The root table may change under the groups; a root it no longer
      // holds is left out (and reported) rather than stopping the build.
      if (!keyOfGlyph(roots, glyph)) {
        if (problems) problems->push_back(at + ": \"" + glyph + "\" is not in the root table");
        continue;
      }
      g.glyphs.push_back(glyph);
    }
    if (g.glyphs.size() < 2) {
      if (problems) problems->push_back(at + ": fewer than two roots left in the group");
      return;
    }
    groups.push_back(std::move(g));
  });
  return groups;
}

RootArt parseRootArt(std::string_view utf8, const std::string& origin) {
  constexpr int kSize = 16;
  RootArt art;
  const std::vector<std::string> lines = splitOn(utf8, '\n');
  for (std::size_t n = 0; n < lines.size();) {
    std::string root = lines[n];
    if (!root.empty() && root.back() == '\r') root.pop_back();
    const std::string at = origin + ":" + std::to_string(n + 1);
    ++n;
    if (root.empty() || root[0] == '#') continue;
    if (root.find_first_of(" \t") != std::string::npos)
      throw SourceError(at + ": expected a root alone on its line, got \"" + root + "\"");
    Pixels picture;
    picture.width = picture.height = kSize;
    picture.rgb.assign(kSize * kSize, 0xFFFFFF);
    // The rows follow the root's line directly; a row may start with '#'.
    for (int y = 0; y < kSize; ++y, ++n) {
      std::string row = n < lines.size() ? lines[n] : std::string();
      if (!row.empty() && row.back() == '\r') row.pop_back();
      if (row.size() != kSize || row.find_first_not_of("#.") != std::string::npos)
        throw SourceError(origin + ":" + std::to_string(n + 1) + ": row " + std::to_string(y + 1) +
                          " of the picture of \"" + root + "\" must be 16 cells of '#' and '.'");
      for (int x = 0; x < kSize; ++x)
        if (row[static_cast<std::size_t>(x)] == '#')
          picture.rgb[static_cast<std::size_t>(y * kSize + x)] = 0x000000;
    }
    if (!art.emplace(root, std::move(picture)).second)
      throw SourceError(at + ": a second picture of \"" + root + "\"");
  }
  return art;
}

}  // namespace resbuild
