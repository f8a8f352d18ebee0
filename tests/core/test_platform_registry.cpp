#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Registry.h"
#include "platform/SafeFile.h"
#include "platform/SystemError.h"
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

TEST(Registry, AKeyCreatedWithValuesHoldsThemAndAnExistingKeyIsLeftAlone) {
  TempDir dir;
  Registry reg(dir / "r.conf");
  ASSERT_TRUE(reg.createKey(kKey, {{"musicplay", 1}, {"MusicNo", 3}}));
  Registry reader(dir / "r.conf");
  EXPECT_EQ(reader.readInt(kKey, "musicplay"), 1);
  EXPECT_EQ(reader.readInt(kKey, "musicno"), 3);
  ASSERT_TRUE(reg.createKey(kKey, {{"musicNo", 4}, {"MaxSize", 1}}));
  EXPECT_EQ(reader.readInt(kKey, "musicNo"), 3);
  EXPECT_EQ(reader.readInt(kKey, "MaxSize"), std::nullopt);
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

TEST(Registry, AStoreThatCannotBeReadIsLeftAloneAndReported) {
  // Each way a store can exist and still not be readable; none may end the
  // program or be written over.
  struct Case {
    const char* what;
    bool (*make)(const std::filesystem::path&);
  };
  const Case cases[] = {
      {"a directory",
       [](const std::filesystem::path& f) { return std::filesystem::create_directories(f / "x"); }},
      {"a FIFO", [](const std::filesystem::path& f) { return mkfifo(f.c_str(), 0600) == 0; }},
      {"a file without read permission",
       [](const std::filesystem::path& f) {
         return testsupport::writeFile(f, "[k]\n\"v\"=int:7\n") && chmod(f.c_str(), 0) == 0;
       }},
  };
  for (const Case& c : cases) {
    if (std::string_view(c.what).find("permission") != std::string_view::npos && geteuid() == 0)
      continue;  // root reads it anyway
    TempDir dir;
    const auto file = dir / "Quorvel.conf";
    ASSERT_TRUE(c.make(file)) << c.what;
    Registry reg(file);
    EXPECT_NE(reg.problem().find(file.string()), std::string::npos) << c.what;
    EXPECT_FALSE(reg.keyExists(kKey)) << c.what;
    EXPECT_EQ(reg.readInt(kKey, "musicNo"), std::nullopt) << c.what;
    EXPECT_FALSE(reg.createKey(kKey)) << c.what;
    EXPECT_FALSE(reg.writeInt(kKey, "musicNo", 2)) << c.what;
    EXPECT_FALSE(std::filesystem::is_regular_file(file) && std::filesystem::file_size(file) == 0)
        << c.what;
    EXPECT_FALSE(std::filesystem::exists(reg.damagedCopy())) << c.what;
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
      ++entries;
    EXPECT_EQ(entries, 1u) << c.what << ": nothing written beside it";
  }
}

TEST(Registry, ADamagedStoreIsKeptAsABadCopyBeforeItIsWrittenOver) {
  const std::string cases[] = {
      std::string("\x8F\x00\xE3\x11\x9C\xFF\x02\n\x7Fq\xA0\xB1", 12),  // random bytes
      std::string(64, '\0'),                                           // NULs
      "[SOFTWARE\\Marrowby\\Quorvel]\n\"musicNo\"=int:3\n\"Max",       // cut short
  };
  for (const std::string& bytes : cases) {
    TempDir dir;
    const auto file = dir / "Quorvel.conf";
    ASSERT_TRUE(testsupport::writeFile(file, bytes));
    Registry reg(file);
    EXPECT_FALSE(reg.problem().empty());
    EXPECT_EQ(testsupport::readFile(file), bytes) << "reading leaves the file as it was";

    ASSERT_TRUE(reg.createKey(kKey));
    ASSERT_TRUE(reg.writeInt(kKey, "MaxSize", 1));
    EXPECT_EQ(testsupport::readFile(reg.damagedCopy()), bytes);
    Registry mended(file);
    EXPECT_TRUE(mended.problem().empty());
    EXPECT_EQ(mended.readInt(kKey, "MaxSize"), 1);
    EXPECT_EQ(testsupport::readFile(reg.damagedCopy()), bytes) << "a clean save keeps the copy";
  }

  // Without a place for the copy the damaged store is not written over: a
  // store whose name leaves no room for the copy's (the system's limit is
  // 255 bytes a name, and the copy's temporary name is the longest).
  TempDir dir;
  const std::size_t pidDigits = std::to_string(::getpid()).size();
  const auto file = dir / std::string(255 - 4 - pidDigits, 'q');
  ASSERT_TRUE(testsupport::writeFile(file, "garbage"));
  Registry reg(file);
  EXPECT_FALSE(reg.createKey(kKey));
  EXPECT_NE(reg.problem().find("无法保存"), std::string::npos);
  EXPECT_EQ(testsupport::readFile(file), std::string("garbage"));
}

TEST(Registry, EachDamageIsKeptUnderANameOfItsOwn) {
  TempDir dir;
  const auto file = dir / "Quorvel.conf";
  const std::string damages[] = {"first damage", "second damage", "first damage"};
  std::vector<std::filesystem::path> copies;
  for (const std::string& bytes : damages) {
    ASSERT_TRUE(testsupport::writeFile(file, bytes));
    Registry reg(file);
    ASSERT_TRUE(reg.createKey(kKey));
    EXPECT_NE(reg.problem().find(reg.damagedCopy().filename().string()), std::string::npos);
    EXPECT_EQ(testsupport::readFile(reg.damagedCopy()), bytes);
    copies.push_back(reg.damagedCopy());
  }
  EXPECT_EQ(copies[0], dir / "Quorvel.conf.bad");
  EXPECT_EQ(copies[1], dir / "Quorvel.conf.bad-2") << "the first copy stays";
  EXPECT_EQ(copies[2], copies[0]) << "the same bytes again need no third copy";
  EXPECT_EQ(testsupport::readFile(copies[0]), damages[0]);
}

TEST(Registry, AStoreThatIsALinkStaysOneAndItsTargetGetsTheValues) {
  TempDir dir;
  std::filesystem::create_directories(dir / "dotfiles");
  const auto target = dir / "dotfiles" / "quorvel.conf";
  ASSERT_TRUE(testsupport::writeFile(target, "[SOFTWARE\\Marrowby\\Quorvel]\n\"musicNo\"=int:2\n"));
  const auto file = dir / "Quorvel.conf";
  std::filesystem::create_symlink("dotfiles/quorvel.conf", file);
  Registry reg(file);
  EXPECT_EQ(reg.readInt(kKey, "musicNo"), 2);
  ASSERT_TRUE(reg.writeInt(kKey, "musicNo", 3));
  EXPECT_TRUE(std::filesystem::is_symlink(file));
  EXPECT_EQ(Registry(target).readInt(kKey, "musicNo"), 3);
  for (const auto& e : std::filesystem::directory_iterator(dir / "dotfiles"))
    EXPECT_EQ(e.path(), target) << "no temporary file left beside the target";
}

TEST(SafeFile, TemporaryFilesOfAProcessThatDiedAreRemovedAtTheNextSave) {
  TempDir dir;
  const auto file = dir / "Quorvel.conf";
  // A process that is gone, and one alive (this one's parent) that may be saving now.
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const auto stale = dir / ("Quorvel.conf.tmp" + std::to_string(dead));
  const auto live = dir / ("Quorvel.conf.tmp" + std::to_string(::getppid()));
  const auto other = dir / ("Other.conf.tmp" + std::to_string(dead));
  for (const auto& f : {stale, live, other}) ASSERT_TRUE(testsupport::writeFile(f, "half"));
  ASSERT_TRUE(platform::writeFileSafely(file, "whole").ok);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(other)) << "another file's are not ours to remove";
}

TEST(Registry, WhatWasReadComesBackAfterASave) {
  // Values kept as written must survive being written back, or each save
  // would change a store it did not mean to.
  const char* texts[] = {
      "[K]\n\"a\"=int:12x\n\"B\"=\"\\x01\\n\\\"\"\n",
      "[K]\n\"a\"=int:5\r\r\n",  // a stray CR is no part of a number
      "[k]\n[K]\n\"a\"=int:\n",
  };
  for (const char* text : texts) {
    const platform::SettingsText first = platform::parseSettings(text);
    const platform::SettingsText second = platform::parseSettings(platform::formatSettings(first));
    EXPECT_TRUE(second.clean) << text;
    EXPECT_EQ(second.keys, first.keys) << text;
  }
}

TEST(SafeFile, AFailedWriteLeavesWhatWasThereAndNoTemporaryFile) {
  TempDir dir;
  ASSERT_TRUE(platform::writeFileSafely(dir / "f", "old").ok);
  // A directory in the way of the rename, and a folder that does not exist.
  std::filesystem::create_directories(dir / "d" / "inside");
  for (const auto& target : {dir / "d", dir / "missing" / "f"}) {
    const platform::WriteResult r = platform::writeFileSafely(target, "new");
    EXPECT_FALSE(r.ok) << target;
    EXPECT_FALSE(r.reason.empty()) << target;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "d" / "inside"));
  EXPECT_EQ(testsupport::readFile(dir / "f"), std::string("old"));
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2u);
}

TEST(SystemErrorText, CommonFailuresInOurWordsWithTheSystemsTextAfter) {
  const std::pair<int, std::string> cases[] = {
      {ENOENT, "找不到"}, {EACCES, "没有权限"}, {EISDIR, "是文件夹"}, {ENOSPC, "磁盘已满"}};
  for (const auto& [error, words] : cases) {
    const std::string text = platform::systemErrorText(error);
    EXPECT_EQ(text, words + "：" + std::strerror(error));
  }
  // A rare one still carries the system's text.
  EXPECT_NE(platform::systemErrorText(EXDEV).find(std::strerror(EXDEV)), std::string::npos);
}
