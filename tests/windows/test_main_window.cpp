// The main window: its controls, start-up with and without a resource
// library, the message pane, the keys it keeps from the practice frame, and
// the help viewer.
#include <QCheckBox>
#include <QLCDNumber>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <fstream>
#include <vector>

#include "app/HelpViewer.h"
#include "app/TForm_About.h"
#include "app/TForm_Main.h"
#include "app/TForm_Set.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_rootMap.h"
#include "platform/Registry.h"
#include "support/FixtureLibrary.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class SetLocks : public platform::LockKeys {
 public:
  bool caps = false;
  bool capsLock() const override { return caps; }
  bool numLock() const override { return true; }
};

class MainWindowTest : public TutorFixture {
 protected:
  void build(const std::filesystem::path& library, const std::filesystem::path& programDir,
             const platform::LockKeys* locks = nullptr, int screenWidth = 1280) {
    buildTutor(library, [&](AppEnvironment& environment) {
      environment.programDir = programDir;
      environment.locks = locks;
      environment.screenWidth = screenWidth;
    });
    // Modifier keys pressed on their own reach the frame like any key; the
    // tests look at the keys they come with.
    QObject::connect(frame, &TFrame_Veduzir::keyReceived, frame, [this](vk::KeyPress key) {
      if (key.key != vk::Shift && key.key != vk::Control && key.key != vk::Menu)
        received.push_back(key);
    });
  }
  void buildWithoutLibrary() { build({}, empty.path()); }

  std::vector<vk::KeyPress> received;
};

TEST_F(MainWindowTest, ControlsCarryTheirNamesCaptionsAndHints) {
  buildWithoutLibrary();
  TForm_Main& main = tutor->main();
  main.show();
  QApplication::processEvents();
  EXPECT_EQ(main.size(), QSize(634, 410));
  EXPECT_EQ(child("TbrMain")->height(), 56);
  EXPECT_EQ(child("RzStatusBar_Main")->height(), 19);
  struct Button {
    const char* name;
    const char* caption;
    const char* hint;
  };
  for (const Button& b : {Button{"RzToolbarButton_Set", "设置", "设置(Ctrl+S)"},
                          Button{"RzToolbarButton_Help", "帮助", "帮助(F8)/(F1)"},
                          Button{"RzToolbarButton_about", "关于", "关于(Alt+A)"},
                          Button{"RzToolbarButton_exit", "退出", "退出(Alt+F4)"}}) {
    auto* button = child<QToolButton>(b.name);
    ASSERT_NE(button, nullptr) << b.name;
    EXPECT_EQ(button->text(), QString::fromUtf8(b.caption));
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.hint));
  }
  // Left to right, with the exit button far to the right.
  EXPECT_LT(child("RzToolbarButton_Set")->x(), child("RzToolbarButton_Help")->x());
  EXPECT_LT(child("RzToolbarButton_Help")->x(), child("RzToolbarButton_about")->x());
  EXPECT_GE(child("RzToolbarButton_exit")->x() - child("RzToolbarButton_about")->x(), 320);
  EXPECT_EQ(child("RzClockStatus_Time")->toolTip(), QStringLiteral("当前时间"));
  EXPECT_EQ(child("RzKeyStatus_Caps")->toolTip(), QStringLiteral("Caps Lock"));

  for (const char* name : {"RzPanel_Text",
                           "Frame_Veduzir1",
                           "Panel_VEDuzir",
                           "RzLabel_Seltext",
                           "RzSplitter_Text",
                           "RzPanel_BtnPanel",
                           "Panel_Preview",
                           "RzRichEdit_express",
                           "RzLabel_preview",
                           "RzPanel_RightInput",
                           "StringGrid_typer",
                           "RzLabel_STip",
                           "RzPanel_RightPageInfo",
                           "RzLabel_PagesInfo",
                           "RzLEDDisplay_Exam",
                           "RzCheckBox_alf",
                           "RzLabel_fastHelp",
                           "RzToolbarButton_fastHelp",
                           "RzSplitter_word",
                           "RzLabel_keyplace",
                           "RzLabel_wordplace",
                           "Panel_SpeedInfo",
                           "RzLabel_1",
                           "RzLabel_V",
                           "RzLabel6",
                           "RzLabel_TrainName",
                           "RzLabel_Right",
                           "RzProgressBar_right",
                           "RzLabel2",
                           "RzLabel3",
                           "RzLabel4",
                           "Image_Map",
                           "RzToolbarButton_root",
                           "RzMenuToolbarButton_Char",
                           "RzMenuToolbarButton_word",
                           "RzToolbarButton_compare",
                           "RzToolbarButton_input",
                           "RzToolbarButton_query",
                           "RzMenuToolbarButton_exam",
                           "RzToolbarButton_RootMap"})
    EXPECT_NE(child(name), nullptr) << name;

  EXPECT_EQ(text(child<QLabel>("RzLabel2")),
            QStringLiteral("ESC切换到练习区  F1获取字词编码  F2规则说明"));
  EXPECT_EQ(text(child<QLabel>("RzLabel3")),
            QStringLiteral("F3字码互查  F8帮助  F6切换为字母 F4切换字根表"));
  EXPECT_EQ(text(child<QLabel>("RzLabel4")),
            QStringLiteral("←,↑,PagwUp看上一页  →,↓,PageDown看下一页"));
  EXPECT_EQ(text(child<QLabel>("RzLabel_1")), QStringLiteral("打字速率："));
  EXPECT_EQ(text(child<QLabel>("RzLabel6")), QStringLiteral("字/分钟"));
  EXPECT_EQ(text(child<QLabel>("RzLabel_Right")), QStringLiteral("正确率："));
  EXPECT_EQ(text(child<QLabel>("RzLabel_V")), QStringLiteral("0"));
  EXPECT_EQ(text(child<QLabel>("RzLabel_fastHelp")), QStringLiteral("   提示"));
  EXPECT_EQ(text(child<QLabel>("RzLabel_Seltext")),
            QStringLiteral(" \n \n \n练\n \n习\n \n选\n \n择"));
  EXPECT_TRUE(text(child<QLabel>("RzLabel_STip"))
                  .startsWith(QStringLiteral("\n岚川形音输入法确定汉字的\n")));
  EXPECT_TRUE(text(child<QLabel>("RzLabel_STip"))
                  .endsWith(QStringLiteral("\n键盘代码为：IDYH \n（简码为： ID）")));
  EXPECT_EQ(child("RzLabel_STip")->x(), 608);
  EXPECT_EQ(child<QCheckBox>("RzCheckBox_alf")->text(), QStringLiteral("字母"));
  EXPECT_FALSE(child<QCheckBox>("RzCheckBox_alf")->isChecked());
  EXPECT_EQ(child("RzCheckBox_alf")->toolTip(), QStringLiteral("切换标准字母(F6)"));
  EXPECT_EQ(child("RzToolbarButton_fastHelp")->toolTip(), QStringLiteral("输入码提示(F1)"));
  EXPECT_EQ(child("RzLEDDisplay_Exam")->toolTip(), QStringLiteral("测验时间"));
  EXPECT_FALSE(child("RzLEDDisplay_Exam")->isVisibleTo(&main));
  EXPECT_FALSE(child("Image_Map")->isVisibleTo(&main));
  EXPECT_EQ(child("RzPanel_BtnPanel")->width(), 129);
  EXPECT_EQ(child("RzLabel_Seltext")->width(), 20);
  EXPECT_EQ(child("RzSplitter_word")->height(), 28);
}

TEST_F(MainWindowTest, CellLabelsLieColumnByColumn) {
  buildWithoutLibrary();
  for (int c = 0; c < 25; ++c) {
    for (int r = 0; r < 10; ++r) {
      const QLabel* cell = frame->cellLabel(c * 10 + r);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->geometry(), QRect(c * 24 + 1, r * 20 + 1, 24, 20)) << c << "," << r;
      EXPECT_EQ(cell->parentWidget(), child("RzPanel_RightInput"));
      EXPECT_TRUE(cell->text().isEmpty());
    }
  }
}

TEST_F(MainWindowTest, SecondaryWindowsExistWithTheirCaptionsAndSizes) {
  buildWithoutLibrary();
  WindowSet& w = tutor->windows();
  ASSERT_NE(w.rootTip, nullptr);
  ASSERT_NE(w.selfile, nullptr);
  ASSERT_NE(w.examSet, nullptr);
  ASSERT_NE(w.detailhelp, nullptr);
  ASSERT_NE(w.charhelp, nullptr);
  ASSERT_NE(w.wordhelp, nullptr);
  ASSERT_NE(w.settings, nullptr);
  ASSERT_NE(w.roothelp, nullptr);
  ASSERT_NE(w.tip, nullptr);
  ASSERT_NE(w.rootMap, nullptr);
  ASSERT_NE(w.about, nullptr);
  ASSERT_NE(w.help, nullptr);
  auto check = [](QWidget* window, const char* objectName, const char* caption, QSize size) {
    EXPECT_EQ(window->objectName(), QString::fromLatin1(objectName));
    if (caption) {
      EXPECT_EQ(window->windowTitle(), QString::fromUtf8(caption)) << objectName;
    }
    EXPECT_EQ(window->size(), size) << objectName;
  };
  check(tutor->main().findChild<QWidget*>("Form_Set"), "Form_Set", "设置", {285, 173});
  check(tutor->main().findChild<QWidget*>("Form_About"), "Form_About", nullptr, {374, 329});
  check(tutor->main().findChild<QWidget*>("Form_Tip"), "Form_Tip", "学习提示", {426, 349});
  check(tutor->main().findChild<QWidget*>("Form_Selfile"), "Form_Selfile", "选择对照文件",
        {366, 211});
  check(tutor->main().findChild<QWidget*>("Form_ExamSet"), "Form_ExamSet", nullptr, {366, 267});
  check(tutor->main().findChild<QWidget*>("Form_detailhelp"), "Form_detailhelp", "查询",
        {366, 341});
  check(tutor->main().findChild<QWidget*>("Form_Charhelp"), "Form_Charhelp", nullptr, {366, 155});
  check(tutor->main().findChild<QWidget*>("Form_Wordhelp"), "Form_Wordhelp", nullptr, {366, 290});
  check(tutor->main().findChild<QWidget*>("Form_roothelp"), "Form_roothelp", "字根提示",
        {366, 147});
  check(tutor->main().findChild<QWidget*>("Form_RootTip"), "Form_RootTip", "字根学习提示",
        {428, 384});
}

TEST_F(MainWindowTest, FileDialogsStartAmongTheTextsBesideTheProgram) {
  std::filesystem::create_directories(empty.path() / "texts");
  buildWithoutLibrary();
  const QString texts = QString::fromStdString((empty.path() / "texts").string());
  EXPECT_EQ(tutor->windows().selfile->startDirectory(), texts);
  EXPECT_EQ(tutor->windows().examSet->startDirectory(), texts);
}

TEST_F(MainWindowTest, StartsWithoutAnyLibraryAndRefusesTheKindsThatNeedData) {
  buildWithoutLibrary();
  tutor->main().show();
  QApplication::processEvents();
  EXPECT_TRUE(frame->express()->toPlainText().isEmpty());
  auto* wordplace = child<QLabel>("RzLabel_wordplace");
  auto* trainName = child<QLabel>("RzLabel_TrainName");
  for (const char* item :
       {"MenuItem_onechar_all", "MenuItem_hard_sel", "MenuItem_word2", "MenuItem_wordm"}) {
    tutor->main().findChild<QAction*>(QString::fromLatin1(item))->trigger();
    EXPECT_EQ(wordplace->text(), QStringLiteral("☆该练习的数据缺失，无法开始！☆")) << item;
    EXPECT_TRUE(trainName->text().isEmpty()) << item;
    EXPECT_FALSE(frame->logic().practising()) << item;
  }
  // Input practice needs no data at all.
  QTest::mouseClick(child("RzToolbarButton_input"), Qt::LeftButton);
  EXPECT_EQ(trainName->text(), QStringLiteral("当前练习：录入练习"));
  EXPECT_TRUE(wordplace->text().isEmpty());
}

TEST_F(MainWindowTest, MessagePaneShowsDefaultTextHintsAndCapsLockState) {
  SetLocks locks;
  locks.caps = true;
  build({}, empty.path(), &locks);
  TForm_Main& main = tutor->main();
  const QString defaultText =
      QStringLiteral("奎沃/Quorvel （岚川形音输入法版本） Version 1.2  作者:Marrowby 工作室 ");
  EXPECT_EQ(TForm_Main::DefaultStatusText(), defaultText);
  EXPECT_EQ(main.statusText(), defaultText);
  // A hint reaches the pane the way Qt delivers it: from the control up.
  QStatusTipEvent over(QStringLiteral("设置(Ctrl+S)"));
  QApplication::sendEvent(child("RzToolbarButton_Set"), &over);
  EXPECT_EQ(main.statusText(), QStringLiteral("设置(Ctrl+S)"));
  QStatusTipEvent caps(QStringLiteral("Caps Lock"));
  QApplication::sendEvent(child("RzKeyStatus_Caps"), &caps);
  EXPECT_EQ(main.statusText(), QStringLiteral("Caps Lock 开"));
  QStatusTipEvent left{QString()};
  QApplication::sendEvent(child("RzKeyStatus_Caps"), &left);
  EXPECT_EQ(main.statusText(), defaultText);

  SetLocks off;
  tutor.reset();
  build({}, empty.path(), &off);
  tutor->main().ApplicationHint(QStringLiteral("Caps Lock"));
  EXPECT_EQ(tutor->main().statusText(), QStringLiteral("Caps Lock 关"));
  EXPECT_FALSE(child("RzKeyStatus_Caps")->isEnabled());
}

TEST_F(MainWindowTest, CtrlSAltAAndF8NeverReachTheFrame) {
  buildWithoutLibrary();
  TForm_Main& main = tutor->main();
  main.show();
  {
    ModalAnswer answer;
    QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(answer.seen(), QStringLiteral("Form_Set"));
  }
  {
    ModalAnswer answer;
    QTest::keyClick(&main, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(answer.seen(), QStringLiteral("Form_About"));
  }
  QTest::keyClick(frame, Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_TRUE(tutor->windows().help->isVisible());
  EXPECT_EQ(tutor->windows().help->currentContext(), 10001);
  EXPECT_TRUE(received.empty());

  // Every other key, wherever the focus is in the window, goes to the frame.
  QTest::keyClick(&main, Qt::Key_A);
  QTest::keyClick(frame->express(), Qt::Key_Escape);
  QTest::keyClick(child("RzPanel_BtnPanel"), Qt::Key_S, Qt::AltModifier);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].key, 'A');
  EXPECT_EQ(received[1].key, vk::Escape);
  EXPECT_EQ(received[2].key, 'S');
  EXPECT_EQ(received[2].modifiers, vk::ModAlt);
  tutor->windows().help->close();
}

TEST_F(MainWindowTest, AltF4ClosesTheMainWindow) {
  buildWithoutLibrary();
  tutor->main().show();
  ASSERT_TRUE(tutor->main().isVisible());
  QTest::keyClick(&tutor->main(), Qt::Key_F4, Qt::AltModifier);
  EXPECT_FALSE(tutor->main().isVisible());
  EXPECT_TRUE(received.empty());
}

TEST_F(MainWindowTest, NarrowScreenOrMaxSizeSettingStartsMaximised) {
  build({}, empty.path(), nullptr, 1280);
  EXPECT_FALSE(tutor->main().startsMaximised());
  tutor.reset();
  build({}, empty.path(), nullptr, 699);
  EXPECT_TRUE(tutor->main().startsMaximised());
  tutor.reset();
  build({}, empty.path(), nullptr, 700);
  EXPECT_FALSE(tutor->main().startsMaximised());
  tutor.reset();
  platform::Registry registry;
  ASSERT_TRUE(registry.keyExists("SOFTWARE\\Marrowby\\Quorvel"));
  ASSERT_TRUE(registry.writeInt("SOFTWARE\\Marrowby\\Quorvel", "MaxSize", 1));
  build({}, empty.path(), nullptr, 1280);
  EXPECT_TRUE(tutor->main().startsMaximised());
  ASSERT_TRUE(registry.writeInt("SOFTWARE\\Marrowby\\Quorvel", "MaxSize", 0));
}

TEST_F(MainWindowTest, FirstStartCreatesTheSettingsWithDefaults) {
  testsupport::TempDir config;
  testsupport::ScopedEnv env("XDG_CONFIG_HOME", config.path().string());
  buildWithoutLibrary();
  platform::Registry registry;
  ASSERT_TRUE(registry.keyExists("SOFTWARE\\Marrowby\\Quorvel"));
  EXPECT_EQ(registry.readInt("SOFTWARE\\Marrowby\\Quorvel", "musicplay"), 1);
  EXPECT_EQ(registry.readInt("SOFTWARE\\Marrowby\\Quorvel", "musicNo"), 1);
  EXPECT_EQ(registry.readInt("SOFTWARE\\Marrowby\\Quorvel", "MaxSize"), 0);
  EXPECT_TRUE(tutor->main().FMusicOn);
  EXPECT_EQ(tutor->main().FMusicNo, 1);
}

TEST(HelpViewerTest, OpensTheHelpFileAtItsContext) {
  testsupport::TempDir dir;
  std::string html = "<html><body><p>top</p>";
  for (int i = 0; i < 80; ++i) html += "<p>filler line</p>";
  html +=
      "<a "
      "name=\"10001\"></a><h2>\xE5\xBF\xAB\xE9\x80\x9F\xE5\x85\xA5\xE9\x97\xA8</h2></body></html>";
  ASSERT_TRUE(testsupport::writeFile(dir / "QUORVEL.HLP", html));
  HelpViewer viewer(dir.path());
  viewer.resize(400, 200);
  viewer.openContext(10001);
  EXPECT_TRUE(viewer.fileShown());
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_TRUE(viewer.TextBrowser_help->toPlainText().contains(QStringLiteral("快速入门")));
  // The topic is scrolled into view, past the filler before it.
  EXPECT_GT(viewer.TextBrowser_help->verticalScrollBar()->value(), 0);
  viewer.close();
}

TEST_F(MainWindowTest, RestoreAfterMaximiseReturnsToWhereTheWindowWas) {
  buildWithoutLibrary();
  TForm_Main& main = tutor->main();
  main.show();
  main.move(123, 77);
  QApplication::processEvents();
  const QPoint before = main.pos();
  main.toggleMaximised();
  ASSERT_TRUE(main.isMaximized());
  main.toggleMaximised();
  EXPECT_FALSE(main.isMaximized());
  EXPECT_EQ(main.pos(), before);
  EXPECT_EQ(main.size(), QSize(634, 410));
}

TEST_F(MainWindowTest, StartUpSaysOnceWhatIsWrongWithTheLibrary) {
  testsupport::ScopedEnv dataDirs("XDG_DATA_DIRS", (empty / "nowhere").string());
  // Not found: the places searched are named.
  buildWithoutLibrary();
  QString problem = tutor->main().libraryProblem();
  EXPECT_TRUE(problem.startsWith(QStringLiteral("找不到资源库 deRizizoz.dll")))
      << problem.toStdString();
  for (const auto& dir : platform::dataSearchDirs(empty.path()))
    EXPECT_TRUE(problem.contains(QString::fromStdString(dir.string()))) << dir;
  // Shown once, as a message box over the main window; the tutor goes on.
  QStringList shown;
  {
    ModalAnswer answer([&shown](QWidget* box) {
      shown << box->windowTitle() << qobject_cast<QMessageBox*>(box)->text();
    });
    tutor->main().showStartUp();
    QTest::qWait(0);
    EXPECT_EQ(answer.seen(), QStringLiteral("MessageBox_Library"));
  }
  EXPECT_EQ(shown, QStringList({QStringLiteral("提示"), problem}));
  EXPECT_TRUE(tutor->main().isVisible());

  // A damaged file, and a library without its dictionary.
  tutor.reset();
  ASSERT_TRUE(testsupport::writeFile(empty / "broken.dll", "not a zip archive"));
  buildTutor(empty / "broken.dll");
  problem = tutor->main().libraryProblem();
  EXPECT_TRUE(problem.contains(QStringLiteral("无法读取（文件可能已损坏）")))
      << problem.toStdString();
  tutor.reset();
  ASSERT_TRUE(testsupport::writeLibrary(empty / "nobase.dll", {{"TIPDATA/intro", "x"}}));
  buildTutor(empty / "nobase.dll");
  problem = tutor->main().libraryProblem();
  EXPECT_TRUE(problem.contains(QStringLiteral("词典无法读取"))) << problem.toStdString();
  if (!builtLibrary().empty()) {
    tutor.reset();
    buildTutor(builtLibrary());
    EXPECT_EQ(tutor->main().libraryProblem(), QString());
  }
}

TEST(HelpViewerTest, EscapeAndCtrlWCloseTheWindow) {
  testsupport::TempDir dir;
  HelpViewer viewer(dir.path());
  for (const QKeyCombination key :
       {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_W)}) {
    viewer.openContext(10001);
    ASSERT_TRUE(viewer.isVisible());
    // Keys arrive at the text, which has the focus, or at the window itself.
    QTest::keyClick(viewer.TextBrowser_help, key.key(), key.keyboardModifiers());
    EXPECT_FALSE(viewer.isVisible());
    viewer.openContext(10001);
    QTest::keyClick(&viewer, key.key(), key.keyboardModifiers());
    EXPECT_FALSE(viewer.isVisible());
  }
  viewer.openContext(10001);
  QTest::keyClick(viewer.TextBrowser_help, Qt::Key_W);
  EXPECT_TRUE(viewer.isVisible());
  viewer.close();
}

TEST(HelpViewerTest, MissingHelpFileShowsWhereItLooked) {
  testsupport::TempDir dir;
  testsupport::ScopedEnv dataDirs("XDG_DATA_DIRS", (dir / "nowhere").string());
  HelpViewer viewer(dir.path());
  viewer.openContext(10001);
  EXPECT_FALSE(viewer.fileShown());
  const QString shown = viewer.TextBrowser_help->toPlainText();
  EXPECT_TRUE(shown.contains(QStringLiteral("找不到帮助文件 QUORVEL.HLP")));
  EXPECT_TRUE(shown.contains(QString::fromStdString(dir.path().string())));
  viewer.close();
}

TEST_F(MainWindowTest, RootTableWindowSizesItselfToItsPicture) {
  const std::filesystem::path library = builtLibrary();
  if (library.empty()) GTEST_SKIP() << "the resource library was not built";
  build(library, library.parent_path());
  TForm_rootMap* rootMap = tutor->windows().rootMap;
  EXPECT_EQ(rootMap->Image_Map->size(), rootMap->size());
  // F4 on a frame of the normal width shows the separate window, F4 again closes it.
  tutor->main().show();
  QTest::keyClick(&tutor->main(), Qt::Key_F4);
  EXPECT_TRUE(rootMap->isVisible());
  ASSERT_FALSE(rootMap->Image_Map->pixmap().isNull()) << "decoded when first shown";
  EXPECT_EQ(rootMap->Image_Map->pixmap().size(), rootMap->pictureSize());
  QTest::keyClick(&tutor->main(), Qt::Key_F4);
  EXPECT_FALSE(rootMap->isVisible());
  // A wide frame shows the same picture under the grid instead.
  tutor->main().toggleMaximised();
  QTest::qWait(0);
  QLabel* inFrame = named<QLabel>(&tutor->main(), "Image_Map");
  ASSERT_NE(inFrame, nullptr);
  QTest::keyClick(&tutor->main(), Qt::Key_F4);
  EXPECT_TRUE(inFrame->isVisibleTo(&tutor->main()));
  EXPECT_EQ(inFrame->pixmap().size(), rootMap->pictureSize());
  EXPECT_FALSE(rootMap->isVisible());
}

TEST_F(MainWindowTest, RootTableNeverTakesTheKeysNorHidesTheLinesUnderTheGrid) {
  build({}, empty.path());
  TForm_rootMap* rootMap = tutor->windows().rootMap;
  EXPECT_TRUE(rootMap->windowFlags() & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(rootMap->testAttribute(Qt::WA_ShowWithoutActivating));
  // A key that reaches it anyway is the practice's.
  QTest::keyClick(rootMap, Qt::Key_J);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].key, 'J');
  // The main window (its frame) centred on screens of several sizes: the
  // table stays on the screen and off the window's lower third, where the
  // candidate line and the score line are.
  const QSize table(878, 332);
  for (const QRect area : {QRect(0, 0, 1280, 800), QRect(0, 0, 1920, 1080), QRect(0, 24, 1024, 744),
                           QRect(0, 0, 1280, 1024)}) {
    const QRect owner(area.center() - QPoint(320, 220), QSize(640, 440));
    const QRect placed(TForm_rootMap::placeFor(table, owner, area), table);
    const QRect lower(owner.left(), owner.bottom() - owner.height() / 3, owner.width(),
                      owner.height() / 3);
    EXPECT_TRUE(area.contains(placed)) << area.width() << "x" << area.height();
    EXPECT_FALSE(placed.intersects(lower)) << area.width() << "x" << area.height();
  }
}

}  // namespace
}  // namespace quorvel::windowtests
