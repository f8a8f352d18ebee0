#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Registry.h"
#include "support/FixtureLibrary.h"

using namespace quorvel;
using platform::Registry;
using testsupport::ScopedEnv;
using testsupport::TempDir;

namespace {
const char* kKey = "SOFTWARE\\Marrowby\\Quorvel";
}

TEST(Registry, StoreLivesUnderXdgConfigHome) {
  TempDir dir;
  {
    ScopedEnv env("XDG_CONFIG_HOME", dir.path().string());
    EXPECT_EQ(Registry::defaultFile(), dir.path() / "Marrowby" / "Quorvel.conf");
  }
  ScopedEnv noXdg("XDG_CONFIG_HOME", std::nullopt);
  ScopedEnv home("HOME", (dir / "home").string());
  EXPECT_EQ(Registry::defaultFile(), dir / "home" / ".config" / "Marrowby" / "Quorvel.conf");
  ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
  EXPECT_EQ(Registry::defaultFile(), dir / "home" / ".config" / "Marrowby" / "Quorvel.conf");
}

TEST(Registry, KeysAndValuesRoundTripThroughTheFile) {
  TempDir dir;
  const auto file = dir / "Marrowby" / "Quorvel.conf";
  {
    Registry reg(file);
    EXPECT_FALSE(reg.keyExists(kKey));
    EXPECT_FALSE(reg.writeInt(kKey, "musicNo", 2)) << "writing needs the key";
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_TRUE(reg.createKey(kKey));
    EXPECT_TRUE(reg.keyExists(kKey));
    EXPECT_TRUE(reg.writeInt(kKey, "musicplay", 1));
    EXPECT_TRUE(reg.writeInt(kKey, "musicNo", -7));
    EXPECT_TRUE(reg.writeInt(kKey, "Low", INT32_MIN));
    EXPECT_TRUE(reg.writeInt(kKey, "High", INT32_MAX));
    EXPECT_TRUE(
        reg.writeString(kKey, "Owner", "a \"quoted\" \\ text\r\nwith\tcontrol \xB0\xA1 bytes"));
    EXPECT_TRUE(reg.writeString(kKey, "", "the default value"));
  }
  Registry again(file);
  EXPECT_TRUE(again.keyExists(kKey));
  EXPECT_EQ(again.readInt(kKey, "musicplay"), 1);
  EXPECT_EQ(again.readInt(kKey, "musicNo"), -7);
  EXPECT_EQ(again.readInt(kKey, "Low"), INT32_MIN);
  EXPECT_EQ(again.readInt(kKey, "High"), INT32_MAX);
  EXPECT_EQ(again.readString(kKey, "Owner"),
            "a \"quoted\" \\ text\r\nwith\tcontrol \xB0\xA1 bytes");
  EXPECT_EQ(again.readString(kKey, ""), "the default value");
  // A value is read as the type it was written as.
  EXPECT_EQ(again.readString(kKey, "musicNo"), std::nullopt);
  EXPECT_EQ(again.readInt(kKey, "Owner"), std::nullopt);
  EXPECT_EQ(again.readInt(kKey, "absent"), std::nullopt);
  EXPECT_EQ(again.readInt("SOFTWARE\\Other", "musicNo"), std::nullopt);
}

TEST(Registry, NamesMatchWithoutRegardToCase) {
  TempDir dir;
  Registry reg(dir / "r.conf");
  ASSERT_TRUE(reg.createKey(kKey));
  ASSERT_TRUE(reg.writeInt(kKey, "MaxSize", 1));
  EXPECT_EQ(reg.readInt(kKey, "Maxsize"), 1);
  EXPECT_EQ(reg.readInt("software\\marrowby\\QUORVEL", "MAXSIZE"), 1);
  // Writing under another spelling replaces the value instead of adding one.
  ASSERT_TRUE(reg.writeInt(kKey, "maxsize", 0));
  EXPECT_EQ(reg.readInt(kKey, "MaxSize"), 0);
  EXPECT_TRUE(reg.createKey("SOFTWARE\\MARROWBY\\quorvel")) << "the same key, already there";
  EXPECT_EQ(reg.readInt(kKey, "MaxSize"), 0);
  // The parents of a created key exist; a mere prefix of its name does not.
  EXPECT_TRUE(reg.keyExists("software\\Marrowby"));
  EXPECT_FALSE(reg.keyExists("SOFTWARE\\Marrow"));
  EXPECT_FALSE(reg.createKey("bad\nkey"));
  EXPECT_FALSE(reg.createKey(""));
}

TEST(Registry, TwoObjectsOnOneStoreSeeEachOthersWrites) {
  TempDir dir;
  Registry window(dir / "r.conf");
  Registry dialog(dir / "r.conf");
  ASSERT_TRUE(dialog.createKey(kKey));
  EXPECT_TRUE(window.keyExists(kKey));
  ASSERT_TRUE(dialog.writeInt(kKey, "musicNo", 3));
  EXPECT_EQ(window.readInt(kKey, "musicNo"), 3);
  ASSERT_TRUE(window.writeInt(kKey, "musicplay", 0));
  EXPECT_EQ(dialog.readInt(kKey, "musicNo"), 3)
      << "a write keeps the values the other object wrote";
  EXPECT_EQ(dialog.readInt(kKey, "musicplay"), 0);
}

TEST(Registry, OddValuesFailToReadAsNumbers) {
  TempDir dir;
  const auto file = dir / "r.conf";
  ASSERT_TRUE(testsupport::writeFile(file,
                                     "[SOFTWARE\\Marrowby\\Quorvel]\n"
                                     "\"big\"=int:2147483648\n"
                                     "\"small\"=int:-2147483649\n"
                                     "\"huge\"=int:99999999999999999999999\n"
                                     "\"word\"=int:abc\n"
                                     "\"trail\"=int:12x\n"
                                     "\"empty\"=int:\n"
                                     "\"plus\"=int:+5\n"
                                     "\"spaced\"=int: 5\n"
                                     "\"good\"=int:42\r\n"));
  Registry reg(file);
  for (const char* name : {"big", "small", "huge", "word", "trail", "empty", "plus", "spaced"}) {
    EXPECT_EQ(reg.readInt(kKey, name), std::nullopt) << name;
  }
  EXPECT_EQ(reg.readInt(kKey, "good"), 42) << "a CR LF line end is read too";
  // An odd value is kept as it was when another value is written.
  ASSERT_TRUE(reg.writeInt(kKey, "other", 1));
  const auto text = testsupport::readFile(file);
  ASSERT_TRUE(text);
  EXPECT_NE(text->find("\"word\"=int:abc\n"), std::string::npos);
  EXPECT_EQ(reg.readInt(kKey, "good"), 42);
}

TEST(Registry, DamagedStoreIsReadAsFarAsItMakesSense) {
  TempDir dir;
  const auto file = dir / "r.conf";
  // Written with its length: the damage includes a NUL byte.
  static const char damaged[] =
      "\"orphan\"=int:1\n"  // a value outside any key
      "[SOFTWARE\\Marrowby\\Quorvel]\n"
      "\"musicplay\"=int:1\n"
      "garbage line without sense\n"
      "\"noquote=int:3\n"
      "\"bad escape\"=\"a\\q\"\n"
      "\"tail\"=\"text\" more\n"
      "\x01\xFF\x00\x7F\n"
      "[broken section\n"
      "\"lost\"=int:5\n"  // belongs to no key
      "[SOFTWARE\\Marrowby\\Quorvel]\n"
      "\"musicNo\"=int:3\n"
      "\"MaxSize\"=int:12";  // cut short: no line end
  ASSERT_TRUE(testsupport::writeFile(file, std::string_view(damaged, sizeof damaged - 1)));
  Registry reg(file);
  EXPECT_TRUE(reg.keyExists(kKey));
  EXPECT_EQ(reg.readInt(kKey, "musicplay"), 1);
  EXPECT_EQ(reg.readInt(kKey, "musicNo"), 3);
  EXPECT_EQ(reg.readInt(kKey, "MaxSize"), std::nullopt);
  EXPECT_EQ(reg.readInt(kKey, "lost"), std::nullopt);
  EXPECT_EQ(reg.readString(kKey, "bad escape"), std::nullopt);
  EXPECT_EQ(reg.readString(kKey, "tail"), std::nullopt);
  EXPECT_FALSE(reg.keyExists("broken section"));

  // The store can be mended by writing over it.
  ASSERT_TRUE(reg.writeInt(kKey, "MaxSize", 0));
  Registry again(file);
  EXPECT_EQ(again.readInt(kKey, "MaxSize"), 0);
  EXPECT_EQ(again.readInt(kKey, "musicNo"), 3);

  // Only half of a store, cut anywhere, never crashes and never invents values.
  const auto whole = testsupport::readFile(file);
  ASSERT_TRUE(whole);
  for (std::size_t cut = 0; cut <= whole->size(); ++cut) {
    ASSERT_TRUE(testsupport::writeFile(file, whole->substr(0, cut)));
    Registry partial(file);
    const auto n = partial.readInt(kKey, "musicNo");
    EXPECT_TRUE(!n || *n == 3) << "cut at " << cut;
  }
}

TEST(Registry, SavesAtomicallyAndReportsAStoreThatCannotBeWritten) {
  TempDir dir;
  const auto file = dir / "cfg" / "r.conf";
  Registry reg(file);
  ASSERT_TRUE(reg.createKey(kKey));
  ASSERT_TRUE(reg.writeInt(kKey, "musicNo", 2));
  // No temporary file is left behind.
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir / "cfg")) ++files;
  EXPECT_EQ(files, 1u);

  if (geteuid() != 0) {  // root writes anywhere
    ASSERT_EQ(chmod((dir / "cfg").c_str(), 0500), 0);
    EXPECT_FALSE(reg.writeInt(kKey, "musicNo", 4));
    chmod((dir / "cfg").c_str(), 0700);
    EXPECT_EQ(Registry(file).readInt(kKey, "musicNo"), 2) << "the old store is intact";
  }
  // A store in a place that is a file, not a directory.
  ASSERT_TRUE(testsupport::writeFile(dir / "plain", "x"));
  Registry blocked(dir / "plain" / "r.conf");
  EXPECT_FALSE(blocked.createKey(kKey));
  EXPECT_FALSE(blocked.keyExists(kKey));
}
