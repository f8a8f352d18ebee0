// The main window's shell around the practice frame: the status bar clock,
// the coding-rule summary, dragging the window by the toolbar and by the
// selection label, the hover and menu colours of the selection panel, and the
// settings dialog with the background music.
#include <QCheckBox>
#include <QEnterEvent>
#include <QMenu>
#include <QRadioButton>
#include <QStatusTipEvent>
#include <QTime>

#include "app/Music.h"
#include "app/TForm_Main.h"
#include "app/TForm_Set.h"
#include "platform/Registry.h"
#include "support/FixtureLibrary.h"
#include "ui/Widgets.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class WindowShellTest : public TutorFixture {
 protected:
  void SetUp() override { buildAndShow(); }
  static bool filled(const QLabel* label, QColor colour) {
    return label->autoFillBackground() && label->palette().color(QPalette::Window) == colour;
  }
  static void enter(QWidget* widget) {
    QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(widget, &event);
  }
  static void leave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
  }
  // Presses on `widget`, moves the mouse by `delta` and lets go.
  static void drag(QWidget* widget, QPoint delta) {
    const QPoint from(5, 5);
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, from + delta);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, from + delta);
  }
};

TEST(StatusClockTest, ShowsHoursMinutesAndSecondsWithoutLeadingZeros) {
  EXPECT_EQ(TForm_Main::clockText(QTime(9, 5, 3)), QStringLiteral("9:5:3"));
  EXPECT_EQ(TForm_Main::clockText(QTime(0, 0, 0)), QStringLiteral("0:0:0"));
  EXPECT_EQ(TForm_Main::clockText(QTime(13, 40, 10)), QStringLiteral("13:40:10"));
  EXPECT_EQ(TForm_Main::clockText(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
}

TEST_F(WindowShellTest, CodingRuleSummaryReadsLineByLine) {
  const QStringList lines = {QString(),
                             QStringLiteral("岚川形音输入法确定汉字的"),
                             QStringLiteral("完整编码数为4 码。原则上"),
                             QStringLiteral("取单字首、次、末3 个形码"),
                             QStringLiteral("（不足3码只取前2码）和1 "),
                             QStringLiteral("位音码（汉语拼音的首音）。"),
                             QStringLiteral("示例："),
                             QStringLiteral("社：编码为：礻 土 S   "),
                             QStringLiteral("（2形1音）"),
                             QStringLiteral("键盘代码为：ZTS  "),
                             QStringLiteral("（简码为：ZT）"),
                             QString(),
                             QStringLiteral("会：编码为：人 二 厶 H"),
                             QStringLiteral("（3形1音）"),
                             QStringLiteral("键盘代码为：IDYH "),
                             QStringLiteral("（简码为： ID）")};
  EXPECT_EQ(text(child<QLabel>("RzLabel_STip")), lines.join(QLatin1Char('\n')));
  // It sits right of the 25 cells of 24 pixels.
  EXPECT_GT(child("RzLabel_STip")->x(), frame->cellLabel(24 * 10)->geometry().right());
}

TEST_F(WindowShellTest, ToolbarPressDragsTheWindow) {
  TForm_Main& main = tutor->main();
  const QPoint before = main.pos();
  drag(child("TbrMain"), QPoint(30, 20));
  EXPECT_EQ(main.pos(), before + QPoint(30, 20));
}

TEST_F(WindowShellTest, SelectionLabelDragsOnlyTheNormalWindowAndRestoresThePanel) {
  TForm_Main& main = tutor->main();
  auto* seltext = child<QLabel>("RzLabel_Seltext");
  QLabel* face = selectionRow<QLabel>(frame, 3);
  quorvel::ui::setLabelFill(face, true, quorvel::ui::kHoverColour);

  const QPoint before = main.pos();
  drag(seltext, QPoint(-25, 40));
  EXPECT_EQ(main.pos(), before + QPoint(-25, 40));
  EXPECT_FALSE(face->autoFillBackground());
  for (int tag = 0; tag < 8; ++tag)
    EXPECT_TRUE(selectionRow<ui::TransparentButton>(frame, tag)->isEnabled());

  // Double click: maximised, and then a press neither drags nor touches the panel.
  QTest::mouseDClick(seltext, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(main.isMaximized());
  quorvel::ui::setLabelFill(face, true, quorvel::ui::kHoverColour);
  const QPoint maximised = main.pos();
  drag(seltext, QPoint(40, 40));
  EXPECT_EQ(main.pos(), maximised);
  EXPECT_TRUE(face->autoFillBackground());

  // A second double click gives the fixed size back.
  QTest::mouseDClick(seltext, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_FALSE(main.isMaximized());
  EXPECT_EQ(main.size(), QSize(634, 410));
}

TEST_F(WindowShellTest, HintsOfTheOtherWindowsReachTheMessagePane) {
  QWidget* field = tutor->main().findChild<QWidget*>(QStringLiteral("RzButtonEdit_chartokey"));
  ASSERT_NE(field, nullptr);
  QStatusTipEvent over(field->statusTip());
  QApplication::sendEvent(field, &over);
  EXPECT_EQ(tutor->main().statusText(), QStringLiteral("输入汉字获取输入码"));
  QStatusTipEvent left{QString()};
  QApplication::sendEvent(field, &left);
  EXPECT_EQ(tutor->main().statusText(), TForm_Main::DefaultStatusText());
}

TEST_F(WindowShellTest, SelectionCaptionsLightUpUnderTheMouse) {
  const QColor blue = quorvel::ui::kHoverColour;
  for (std::size_t tag = 0; tag < 8; ++tag) {
    QLabel* face = selectionRow<QLabel>(frame, tag);
    enter(selectionRow<ui::TransparentButton>(frame, tag));
    EXPECT_TRUE(filled(face, blue)) << tag;
    leave(selectionRow<ui::TransparentButton>(frame, tag));
    EXPECT_FALSE(face->autoFillBackground()) << tag;
  }
  auto* hint = child<QLabel>("RzLabel_fastHelp");
  enter(named<ui::TransparentButton>(frame, "RzToolbarButton_fastHelp"));
  EXPECT_TRUE(filled(hint, blue));
  leave(named<ui::TransparentButton>(frame, "RzToolbarButton_fastHelp"));
  EXPECT_TRUE(filled(hint, quorvel::ui::kFormColour));
}

TEST_F(WindowShellTest, MenuCaptionStaysLitWhileItsMenuIsDown) {
  struct Case {
    std::size_t tag;
    QMenu* menu;
  };
  for (const Case& c : {Case{1, named<QMenu>(frame, "PopupMenu_Char")},
                        Case{2, named<QMenu>(frame, "PopupMenu_word")},
                        Case{6, named<QMenu>(frame, "PopupMenu_exam")}}) {
    QLabel* face = selectionRow<QLabel>(frame, c.tag);
    auto* button = selectionRow<ui::TransparentButton>(frame, c.tag);
    enter(button);
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_TRUE(c.menu->isVisible()) << c.tag;
    // The open menu takes the mouse: the button sees it leave.
    leave(button);
    EXPECT_TRUE(filled(face, quorvel::ui::kHoverColour)) << c.tag;
    c.menu->close();
    QApplication::processEvents();
    EXPECT_FALSE(face->autoFillBackground()) << c.tag;
  }
}

// A first start in a fresh settings store, with or without the built library.
class SettingsTest : public ::testing::Test {
 protected:
  static constexpr const char* kKey = "SOFTWARE\\Marrowby\\Quorvel";
  void start(const std::filesystem::path& library) {
    AppEnvironment environment = environmentWith(library, programDir.path());
    environment.music = &music;
    tutor = std::make_unique<Tutor>(std::move(environment));
    // The music starts once the main window has shown. A missing library is
    // said in a message box then, which is not what these tests look at.
    ModalAnswer libraryProblem;
    tutor->main().showStartUp();
    QTest::qWait(0);
  }
  TForm_Set& dialog() { return *tutor->windows().settings; }
  // Opens the dialog by Ctrl+S and lets `answer` work it.
  void runDialog(const std::function<void(TForm_Set&)>& answer) {
    ModalAnswer modal([answer](QWidget* window) { answer(*qobject_cast<TForm_Set*>(window)); });
    QTest::keyClick(&tutor->main(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(modal.seen(), QStringLiteral("Form_Set"));
  }

  testsupport::TempDir config;
  testsupport::ScopedEnv configHome{"XDG_CONFIG_HOME", config.path().string()};
  testsupport::TempDir cache;
  testsupport::ScopedEnv cacheHome{"XDG_CACHE_HOME", cache.path().string()};
  testsupport::TempDir programDir;  // writable, as a build tree or a root's /usr/bin is
  const std::filesystem::path tunes = cache.path() / "quorvel";
  RecordingMusic music;
  platform::Registry registry;
  std::unique_ptr<Tutor> tutor;
};

TEST_F(SettingsTest, FirstStartWritesTuneOneToTheCacheNotBesideTheProgramAndPlaysIt) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  start(library);
  EXPECT_EQ(registry.readInt(kKey, "musicplay"), 1);
  EXPECT_EQ(registry.readInt(kKey, "musicNo"), 1);
  EXPECT_EQ(registry.readInt(kKey, "MaxSize"), 0);
  const std::filesystem::path tune = tunes / "music1.mid";
  ASSERT_TRUE(std::filesystem::exists(tune));
  EXPECT_TRUE(std::filesystem::is_empty(programDir.path()));
  EXPECT_EQ(testsupport::readFile(tune).value_or(std::string()).substr(0, 4), "MThd");
  ASSERT_EQ(music.played.size(), 1u);
  EXPECT_EQ(music.played[0], tune);
  EXPECT_TRUE(tutor->main().MediaPlayer_BG->playing());
  // The dialog starts from the same store.
  EXPECT_TRUE(dialog().RzCheckBox_Music->isChecked());
  EXPECT_TRUE(dialog().RzRadioButton_music1->isChecked());
  EXPECT_FALSE(dialog().RzCheckBox_MaxSize->isChecked());
}

TEST_F(SettingsTest, WithoutLibraryNoTuneIsWrittenOrPlayed) {
  start({});
  EXPECT_FALSE(std::filesystem::exists(tunes / "music1.mid"));
  EXPECT_TRUE(music.played.empty());
  EXPECT_FALSE(tutor->main().MediaPlayer_BG->playing());
}

TEST(TuneFile, OnlyAnAbsoluteCacheHomeOrHomeCounts) {
  // A relative one would put the tunes under the working directory.
  testsupport::TempDir home;
  testsupport::ScopedEnv homeEnv("HOME", home.path().string());
  testsupport::ScopedEnv cacheEnv("XDG_CACHE_HOME", "relative/cache");
  EXPECT_EQ(ui::tuneFile(3), home.path() / ".cache" / "quorvel" / "music3.mid");
  // Nor does a relative home: without an absolute place no tune is cached.
  testsupport::ScopedEnv relativeHome("HOME", "relative/home");
  EXPECT_TRUE(ui::tuneFile(3).empty());
}

TEST_F(SettingsTest, StoredTuneNumberOutOfRangeIsTheSameTuneInWindowAndDialog) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  struct Case {
    int stored, plays;
  };
  for (const Case c : {Case{7, 4}, Case{0, 1}, Case{-3, 1}}) {
    ASSERT_TRUE(registry.createKey(kKey));
    ASSERT_TRUE(registry.writeInt(kKey, "musicplay", 1));
    ASSERT_TRUE(registry.writeInt(kKey, "musicNo", c.stored));
    ASSERT_TRUE(registry.writeInt(kKey, "MaxSize", 0));
    music.played.clear();
    start(library);
    EXPECT_EQ(tutor->main().FMusicNo, c.plays) << c.stored;
    ASSERT_EQ(music.played.size(), 1u) << c.stored;
    EXPECT_EQ(music.played[0], tunes / ("music" + std::to_string(c.plays) + ".mid"));
    // OK without touching anything keeps the tune that plays.
    runDialog([](TForm_Set& set) { QTest::mouseClick(set.RzLabel_Ok, Qt::LeftButton); });
    EXPECT_EQ(tutor->main().FMusicNo, c.plays) << c.stored;
    EXPECT_EQ(music.played.size(), 1u) << c.stored;
    tutor.reset();
  }
}

TEST_F(SettingsTest, MusicOffStopsAtOnceAndKeepsTheTuneNumber) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  start(library);
  runDialog([](TForm_Set& set) {
    set.RzRadioButton_music3->click();
    set.RzCheckBox_Music->click();
    EXPECT_FALSE(set.RzRadioButton_music3->isEnabled());
    QTest::mouseClick(set.RzLabel_Ok, Qt::LeftButton);
  });
  EXPECT_FALSE(tutor->main().FMusicOn);
  EXPECT_FALSE(tutor->main().MediaPlayer_BG->playing());
  EXPECT_EQ(music.played.size(), 1u);  // nothing new started
  EXPECT_EQ(registry.readInt(kKey, "musicplay"), 0);
  EXPECT_EQ(registry.readInt(kKey, "musicNo"), 1);

  // Music on again with tune 2: it plays at once.
  runDialog([](TForm_Set& set) {
    set.RzCheckBox_Music->click();
    set.RzRadioButton_music2->click();
    QTest::mouseClick(set.RzLabel_Ok, Qt::LeftButton);
  });
  EXPECT_EQ(tutor->main().FMusicNo, 2);
  ASSERT_EQ(music.played.size(), 2u);
  EXPECT_EQ(music.played[1], tunes / "music2.mid");
  EXPECT_EQ(registry.readInt(kKey, "musicNo"), 2);
}

TEST_F(SettingsTest, MaximiseChoiceIsStoredAndLeavesTheMusicAlone) {
  start({});
  const int closesBefore = music.closes;
  runDialog([](TForm_Set& set) {
    set.RzCheckBox_MaxSize->click();
    QTest::mouseClick(set.RzLabel_Ok, Qt::LeftButton);
  });
  EXPECT_EQ(registry.readInt(kKey, "MaxSize"), 1);
  EXPECT_EQ(music.closes, closesBefore);
  // It counts from the next start only.
  EXPECT_FALSE(tutor->main().FMaxSize);
  tutor.reset();
  start({});
  EXPECT_TRUE(tutor->main().startsMaximised());
}

TEST_F(SettingsTest, CancelWritesNothingButTheControlsKeepTheirState) {
  start({});
  runDialog([](TForm_Set& set) {
    set.RzCheckBox_MaxSize->click();
    set.RzRadioButton_music3->click();
    QTest::keyClick(&set, Qt::Key_Escape);
  });
  EXPECT_EQ(registry.readInt(kKey, "MaxSize"), 0);
  EXPECT_EQ(registry.readInt(kKey, "musicNo"), 1);
  EXPECT_EQ(tutor->main().FMusicNo, 1);
  EXPECT_TRUE(dialog().RzCheckBox_MaxSize->isChecked());
  EXPECT_TRUE(dialog().RzRadioButton_music3->isChecked());
}

TEST_F(SettingsTest, AboutWindowRecreatesALostSettingsKey) {
  start({});
  ASSERT_TRUE(std::filesystem::remove(platform::Registry::defaultFile()));
  ASSERT_FALSE(registry.keyExists(kKey));
  {
    ModalAnswer answer;
    QTest::keyClick(&tutor->main(), Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(answer.seen(), QStringLiteral("Form_About"));
  }
  EXPECT_EQ(registry.readInt(kKey, "musicplay"), 1);
  EXPECT_EQ(registry.readInt(kKey, "musicNo"), 1);
  EXPECT_EQ(registry.readInt(kKey, "MaxSize"), 0);
}

TEST_F(SettingsTest, AStoreThatIsADirectoryLeavesTheDefaultsAndIsSaidInTheMessagePane) {
  // Once this ended start-up with an uncaught stream exception.
  const auto store = platform::Registry::defaultFile();
  ASSERT_TRUE(std::filesystem::create_directories(store));
  start({});
  EXPECT_TRUE(tutor->main().FMusicOn);
  EXPECT_EQ(tutor->main().FMusicNo, 1);
  const QString notice = tutor->main().statusText();
  EXPECT_TRUE(notice.contains(QStringLiteral("无法读取"))) << notice.toStdString();
  EXPECT_TRUE(notice.contains(QString::fromStdString(store.string()))) << notice.toStdString();

  runDialog([](TForm_Set& set) {
    set.RzCheckBox_MaxSize->click();
    QTest::mouseClick(set.RzLabel_Ok, Qt::LeftButton);
  });
  EXPECT_TRUE(std::filesystem::is_directory(store));
  EXPECT_FALSE(std::filesystem::exists(store.string() + ".bad"));
  EXPECT_EQ(tutor->main().statusText(), notice);
}

TEST_F(SettingsTest, AStoreOfRandomBytesIsKeptBesideTheNewOne) {
  const auto store = platform::Registry::defaultFile();
  std::filesystem::create_directories(store.parent_path());
  const std::string noise("\x8F\x00\xE3\x11\x9C\xFF\x02\x7Fq\xA0\xB1", 11);
  ASSERT_TRUE(testsupport::writeFile(store, noise));
  start({});
  EXPECT_EQ(testsupport::readFile(store.string() + ".bad"), noise);
  EXPECT_EQ(registry.readInt(kKey, "musicplay"), 1);
  EXPECT_TRUE(tutor->main().statusText().contains(QStringLiteral(".bad")))
      << tutor->main().statusText().toStdString();
}

}  // namespace
}  // namespace quorvel::windowtests
