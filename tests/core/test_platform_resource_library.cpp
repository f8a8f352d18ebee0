#include <gtest/gtest.h>

#include "platform/ResourceLibrary.h"
#include "support/FixtureLibrary.h"

using namespace quorvel;
using platform::ResourceLibrary;
using platform::ResourceStatus;
using testsupport::FixtureEntry;
using testsupport::ScopedEnv;
using testsupport::TempDir;

namespace {

std::string bigText() {
  std::string s;
  for (int i = 0; i < 5000; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}

// A library of one entry of each kind the tutor reads: a table, a stored
// (uncompressed) picture, a long text and an empty picture.
bool writeSampleLibrary(const std::filesystem::path& file, const std::string& text) {
  return testsupport::writeLibrary(file, {{"chardata/base", "a \xB0\xA1\r"},
                                          {"RCDATA/root1", "BMbytes", false},
                                          {"TIPDATA/intro", text},
                                          {"JPEG/Bgjpg", ""}});
}

}  // namespace

TEST(ResourceLibrary, ReadsEntriesByTypeAndNameWithoutRegardToCase) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  const std::string text = bigText();
  ASSERT_TRUE(writeSampleLibrary(file, text));
  const ResourceLibrary library(file);
  EXPECT_TRUE(library.available());

  auto base = library.read("chardata", "base");
  ASSERT_TRUE(base.ok());
  EXPECT_EQ(base.bytes, "a \xB0\xA1\r");
  EXPECT_EQ(library.read("CHARDATA", "BASE").bytes, "a \xB0\xA1\r");
  EXPECT_EQ(library.read("rcdata", "ROOT1").bytes, "BMbytes");
  EXPECT_EQ(library.read("tipdata", "Intro").bytes, text);

  // An empty entry is still an entry.
  const auto empty = library.read("JPEG", "bgjpg");
  EXPECT_EQ(empty.status, ResourceStatus::Ok);
  EXPECT_TRUE(empty.bytes.empty());
}

TEST(ResourceLibrary, MissingLibraryAndMissingEntryAreOrdinaryFailures) {
  TempDir dir;
  EXPECT_EQ(ResourceLibrary().read("chardata", "base").status, ResourceStatus::LibraryMissing);
  EXPECT_FALSE(ResourceLibrary().available());
  EXPECT_EQ(ResourceLibrary(dir / "nothing.dll").read("chardata", "base").status,
            ResourceStatus::LibraryMissing);

  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"chardata/base", "x"}}));
  const ResourceLibrary library(file);
  EXPECT_EQ(library.read("chardata", "onechar").status, ResourceStatus::ResourceMissing);
  // The type is part of the name: the same name under another type is not it.
  EXPECT_EQ(library.read("TIPDATA", "base").status, ResourceStatus::ResourceMissing);
  EXPECT_EQ(library.read("chardata", "bas").status, ResourceStatus::ResourceMissing);
}

TEST(ResourceLibrary, DamagedLibrariesAndEntriesAreReadErrorsNotCrashes) {
  TempDir dir;
  const std::string payload(4000, 'q');

  // Not a zip archive at all: the library cannot be opened.
  const auto garbage = dir / "garbage.dll";
  ASSERT_TRUE(testsupport::writeFile(garbage, "MZ this is no archive"));
  EXPECT_EQ(ResourceLibrary(garbage).read("chardata", "base").status,
            ResourceStatus::LibraryMissing);
  EXPECT_FALSE(ResourceLibrary(garbage).available());

  // A stored entry whose bytes no longer match their CRC.
  const auto flipped = dir / "flipped.dll";
  ASSERT_TRUE(testsupport::writeLibrary(
      flipped, {{"chardata/base", payload, false}, {"chardata/ok", "fine"}}));
  ASSERT_TRUE(testsupport::corruptEntry(flipped, "chardata/base"));
  EXPECT_EQ(ResourceLibrary(flipped).read("chardata", "base").status, ResourceStatus::ReadError);
  EXPECT_TRUE(ResourceLibrary(flipped).read("chardata", "ok").ok())
      << "the other entries stay readable";

  // A compressed entry whose stream is damaged.
  const auto badStream = dir / "badstream.dll";
  ASSERT_TRUE(testsupport::writeLibrary(badStream, {{"chardata/base", bigText()}}));
  ASSERT_TRUE(testsupport::corruptEntry(badStream, "chardata/base"));
  EXPECT_EQ(ResourceLibrary(badStream).read("chardata", "base").status, ResourceStatus::ReadError);

  // Entries cut short, stored and compressed.
  for (bool compressed : {false, true}) {
    const auto cut = dir / (compressed ? "cut-deflate.dll" : "cut-store.dll");
    ASSERT_TRUE(testsupport::writeLibrary(cut, {{"chardata/base", bigText(), compressed}}));
    ASSERT_TRUE(testsupport::truncateEntry(cut, "chardata/base", 100));
    const auto result = ResourceLibrary(cut).read("chardata", "base");
    EXPECT_EQ(result.status, ResourceStatus::ReadError) << (compressed ? "compressed" : "stored");
    EXPECT_TRUE(result.bytes.empty());
  }

  // Entries whose header claims far more than they hold (250 MB): each is a
  // read error, and the other entries stay readable.
  for (bool compressed : {false, true}) {
    const auto lying = dir / (compressed ? "lying-deflate.dll" : "lying-store.dll");
    ASSERT_TRUE(testsupport::writeLibrary(
        lying, {{"chardata/base", bigText(), compressed}, {"chardata/ok", "fine"}}));
    ASSERT_TRUE(testsupport::claimSize(lying, "chardata/base", 250u * 1024 * 1024));
    const auto result = ResourceLibrary(lying).read("chardata", "base");
    EXPECT_EQ(result.status, ResourceStatus::ReadError) << (compressed ? "compressed" : "stored");
    EXPECT_TRUE(ResourceLibrary(lying).read("chardata", "ok").ok());
  }

  // An archive cut in the middle loses its directory: the library is gone.
  const auto half = dir / "half.dll";
  ASSERT_TRUE(testsupport::writeLibrary(half, {{"chardata/base", payload, false}}));
  auto bytes = testsupport::readFile(half);
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(testsupport::writeFile(half, bytes->substr(0, bytes->size() / 2)));
  EXPECT_EQ(ResourceLibrary(half).read("chardata", "base").status, ResourceStatus::LibraryMissing);
}

TEST(ResourceLibrary, EveryReadSeesTheLibraryAsItIsOnDiskNow) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "old"}}));
  const ResourceLibrary library(file);
  EXPECT_EQ(library.read("TIPDATA", "intro").bytes, "old");
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "new"}}));
  EXPECT_EQ(library.read("TIPDATA", "intro").bytes, "new");
  std::filesystem::remove(file);
  EXPECT_EQ(library.read("TIPDATA", "intro").status, ResourceStatus::LibraryMissing);
}

TEST(ResourceLibraryBatch, ReadsWhatSingleReadsRead) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  const std::string text = bigText();
  ASSERT_TRUE(writeSampleLibrary(file, text));
  const ResourceLibrary library(file);
  const ResourceLibrary::Batch batch(library);
  EXPECT_TRUE(batch.available());
  const std::pair<const char*, const char*> names[] = {{"chardata", "base"}, {"RCDATA", "ROOT1"},
                                                       {"tipdata", "intro"}, {"JPEG", "bgjpg"},
                                                       {"JPEG", "nothing"},  {"MIDI", "base"}};
  for (const auto& [type, name] : names) {
    const auto single = library.read(type, name);
    const auto batched = batch.read(type, name);
    EXPECT_EQ(batched.status, single.status) << type << "/" << name;
    EXPECT_EQ(batched.bytes, single.bytes) << type << "/" << name;
  }
  EXPECT_EQ(batch.read("TIPDATA", "intro").bytes, text);
  EXPECT_EQ(batch.read("MIDI", "base").status, ResourceStatus::ResourceMissing);
}

TEST(ResourceLibraryBatch, MissingOrDamagedLibraryReadsAsMissing) {
  TempDir dir;
  const ResourceLibrary::Batch none{ResourceLibrary()};
  EXPECT_FALSE(none.available());
  EXPECT_EQ(none.read("chardata", "base").status, ResourceStatus::LibraryMissing);

  const auto junk = dir / "junk.dll";
  ASSERT_TRUE(testsupport::writeFile(junk, "not a zip archive"));
  const ResourceLibrary::Batch damaged{ResourceLibrary(junk)};
  EXPECT_FALSE(damaged.available());
  EXPECT_EQ(damaged.read("chardata", "base").status, ResourceStatus::LibraryMissing);
}

TEST(ResourceLibraryBatch, ALibraryReplacedBetweenBatchesIsSeenByTheNext) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "old"}}));
  const ResourceLibrary library(file);
  {
    const ResourceLibrary::Batch batch(library);
    EXPECT_EQ(batch.read("TIPDATA", "intro").bytes, "old");
  }
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "new"}, {"TIPDATA/more", "x"}}));
  {
    const ResourceLibrary::Batch batch(library);
    EXPECT_EQ(batch.read("TIPDATA", "intro").bytes, "new");
    EXPECT_EQ(batch.read("TIPDATA", "more").bytes, "x");
  }
  std::filesystem::remove(file);
  const ResourceLibrary::Batch gone(library);
  EXPECT_FALSE(gone.available());
  EXPECT_EQ(gone.read("TIPDATA", "intro").status, ResourceStatus::LibraryMissing);
}

TEST(ResourceLibraryBatch, ReadsOfTheLibraryAndItsCopiesGoThroughTheBatchInForce) {
  TempDir dir;
  const auto file = dir / "deRizizoz.dll";
  ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "old"}}));
  const ResourceLibrary library(file);
  const ResourceLibrary copy = library;
  {
    const ResourceLibrary::Batch batch(library);
    // Replaced on disk while the batch is open: every read still comes from
    // the batch's open, the one it began with.
    ASSERT_TRUE(testsupport::writeLibrary(file, {{"TIPDATA/intro", "new"}}));
    EXPECT_EQ(library.read("TIPDATA", "intro").bytes, "old");
    EXPECT_EQ(copy.read("TIPDATA", "intro").bytes, "old");
    const ResourceLibrary::Batch inner(copy);
    EXPECT_EQ(inner.read("TIPDATA", "intro").bytes, "old");
    // Another library of the same file is not part of it.
    EXPECT_EQ(ResourceLibrary(file).read("TIPDATA", "intro").bytes, "new");
  }
  EXPECT_EQ(library.read("TIPDATA", "intro").bytes, "new");
  EXPECT_EQ(copy.read("TIPDATA", "intro").bytes, "new");
  std::filesystem::remove(file);
  EXPECT_FALSE(copy.available());
}

TEST(ResourceLibrarySearch, LooksBesideTheProgramThenShareThenXdgDataDirs) {
  TempDir root;
  const auto prefix = root.path() / "prefix";
  const auto bin = prefix / "bin";
  const auto share = prefix / "share" / "quorvel";
  const auto xdgA = root.path() / "xdgA";
  const auto xdgB = root.path() / "xdgB";
  for (const auto& d : {bin, share, xdgA / "quorvel", xdgB / "quorvel"})
    std::filesystem::create_directories(d);
  ScopedEnv env("XDG_DATA_DIRS", xdgA.string() + ":relative/dir::" + xdgB.string());

  const auto dirs = platform::dataSearchDirs(bin);
  ASSERT_EQ(dirs.size(), 4u) << "a relative or empty XDG entry is skipped";
  EXPECT_EQ(dirs[0], bin);
  EXPECT_EQ(dirs[1], share);
  EXPECT_EQ(dirs[2], xdgA / "quorvel");
  EXPECT_EQ(dirs[3], xdgB / "quorvel");

  const std::string name = "data.bin";
  EXPECT_TRUE(platform::findDataFile(bin, name).empty());
  ASSERT_TRUE(testsupport::writeFile(xdgB / "quorvel" / name, "b"));
  EXPECT_EQ(platform::findDataFile(bin, name), xdgB / "quorvel" / name);
  ASSERT_TRUE(testsupport::writeFile(xdgA / "quorvel" / name, "a"));
  EXPECT_EQ(platform::findDataFile(bin, name), xdgA / "quorvel" / name);
  ASSERT_TRUE(testsupport::writeFile(share / name, "s"));
  EXPECT_EQ(platform::findDataFile(bin, name), share / name);
  ASSERT_TRUE(testsupport::writeFile(bin / name, "p"));
  EXPECT_EQ(platform::findDataFile(bin, name), bin / name);

  // A directory of that name is not the file.
  std::filesystem::create_directories(root.path() / "other" / name);
  EXPECT_TRUE(platform::findDataFile(root.path() / "other", "nothing").empty());
}

TEST(ResourceLibrarySearch, DefaultDataDirsAndNeverTheWorkingDirectory) {
  {
    ScopedEnv env("XDG_DATA_DIRS", std::nullopt);
    const auto dirs = platform::dataSearchDirs("/opt/q/bin");
    ASSERT_EQ(dirs.size(), 4u);
    EXPECT_EQ(dirs[1], std::filesystem::path("/opt/q/share/quorvel"));
    EXPECT_EQ(dirs[2], std::filesystem::path("/usr/local/share/quorvel"));
    EXPECT_EQ(dirs[3], std::filesystem::path("/usr/share/quorvel"));
  }

  TempDir work;
  ScopedEnv env("XDG_DATA_DIRS", (work / "none").string());
  const auto oldCwd = std::filesystem::current_path();
  std::filesystem::current_path(work.path());
  ASSERT_TRUE(
      testsupport::writeLibrary(work / platform::kResourceLibraryName, {{"chardata/base", "x"}}));
  // No program directory known, or a relative one: nothing is taken from here.
  EXPECT_TRUE(platform::findDataFile({}, platform::kResourceLibraryName).empty());
  EXPECT_TRUE(platform::findDataFile(".", platform::kResourceLibraryName).empty());
  const auto located = ResourceLibrary::locate({});
  EXPECT_EQ(located.read("chardata", "base").status, ResourceStatus::LibraryMissing);
  std::filesystem::current_path(oldCwd);
}

TEST(ResourceLibrarySearch, LocateFindsTheLibraryAndProgramDirectoryIsThisProgram) {
  TempDir dir;
  ScopedEnv env("XDG_DATA_DIRS", (dir / "none").string());
  ASSERT_TRUE(testsupport::writeLibrary(dir / "deRizizoz.dll", {{"MIDI/music1", "MThd"}}));
  const auto library = ResourceLibrary::locate(dir.path());
  EXPECT_EQ(library.file(), dir / "deRizizoz.dll");
  EXPECT_EQ(library.read("midi", "Music1").bytes, "MThd");

  const auto self = platform::programDirectory();
  ASSERT_FALSE(self.empty());
  EXPECT_TRUE(self.is_absolute());
  EXPECT_TRUE(std::filesystem::exists(self / "quorvel_core_tests") ||
              std::filesystem::exists(self / "quorvel_window_tests"));
}
