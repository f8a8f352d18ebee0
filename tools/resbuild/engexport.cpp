// engexport: writes the method's code tables as the sources the fcitx5, IBus
// and Rime engines compile.
//
//   engexport --tables DIR --out DIR
//
// DIR/tables/base.txt is read; under the output folder it writes
// fcitx5/lanchuan.txt and .conf, ibus/lanchuan.txt, rime/lanchuan.schema.yaml,
// rime/lanchuan.dict.yaml and rime/default.custom.yaml.
#include <filesystem>
#include <fstream>
#include <iostream>

#include "EngineTables.h"
#include "TextSources.h"

namespace fs = std::filesystem;
using namespace resbuild;

namespace {

void write(const fs::path& file, const std::string& bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error(file.string() + ": cannot be written");
}

int run(int argc, char** argv) {
  fs::path tables, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--tables")
      tables = argv[i + 1];
    else if (a == "--out")
      out = argv[i + 1];
    else
      throw std::runtime_error("unknown option " + a);
  }
  if (tables.empty() || out.empty())
    throw std::runtime_error("usage: engexport --tables DIR --out DIR");
  const fs::path base = tables / "base.txt";
  const std::string source = readFile(base);
  const auto lines = parseCodeLines(source, base.string());
  const auto pages = tutorPages(source, base.string());
  const MethodFacts facts;
  write(out / "fcitx5" / (facts.id + ".txt"), libimeTableText(pages));
  write(out / "fcitx5" / (facts.id + ".conf"), fcitx5InputMethodConf(facts));
  write(out / "ibus" / (facts.id + ".txt"), ibusTableSource(pages, facts));
  write(out / "rime" / (facts.id + ".schema.yaml"), rimeSchema(facts));
  write(out / "rime" / (facts.id + ".dict.yaml"), rimeDictionary(pages, facts));
  write(out / "rime" / "default.custom.yaml", rimeSchemaListPatch(facts));
  std::cout << "engexport: " << lines.size() << " code lines, " << pages.size()
            << " pages for fcitx5, IBus and Rime\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "engexport: error: " << e.what() << "\n";
    return 1;
  }
}
