// The tutor looks and reads the same on any desktop: a dark desktop palette
// changes none of its windows, titles are the windows' own, hints wait
// 500 ms, Qt's dialogs speak the user's language, and About groups the
// memory figure the locale's way while taking the desktop's caption colours.
#include <QCursor>
#include <QLabel>
#include <QStyle>
#include <QTranslator>

#include "app/HelpViewer.h"
#include "app/TForm_About.h"
#include "app/TForm_Main.h"
#include "app/TForm_Set.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "lookup/windows/TForm_RootTip.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_Wordhelp.h"
#include "lookup/windows/TForm_detailhelp.h"
#include "lookup/windows/TForm_rootMap.h"
#include "lookup/windows/TForm_roothelp.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "ui/Look.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

class WindowLookTest : public TutorFixture {
 protected:
  void TearDown() override { QApplication::setPalette(saved_); }

  // Every window of the tutor as it paints, shown one at a time. The clock
  // is stopped at one text; About's title bar is left out, it takes the
  // desktop's caption colours on purpose.
  std::vector<std::pair<QString, QImage>> paintEveryWindow() {
    const WindowSet& w = tutor->windows();
    std::vector<std::pair<QString, QImage>> shots;
    QCursor::setPos(-1000, -1000);  // nothing lit under the mouse
    const std::vector<QWidget*> windows = {
        &tutor->main(), w.about,      w.settings, w.charhelp, w.wordhelp, w.roothelp, w.rootTip,
        w.tip,          w.detailhelp, w.rootMap,  w.selfile,  w.examSet,  w.help};
    for (QWidget* window : windows) {
      window->show();
      QApplication::processEvents();
      child<QLabel>("RzClockStatus_Time")->setText(QStringLiteral("9:0:0"));
      QImage shot = window->grab().toImage();
      if (window == w.about)
        shot = shot.copy(w.about->LblTitle->width(), 0, shot.width(), shot.height());
      shots.emplace_back(window->objectName(), shot);
      window->hide();
    }
    return shots;
  }

  QPalette saved_ = QApplication::palette();
};

TEST_F(WindowLookTest, DarkDesktopPaletteChangesNoWindow) {
  buildTutor(builtLibrary());
  const auto light = paintEveryWindow();
  tutor.reset();

  QPalette dark(QColor(0x30, 0x30, 0x30), QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Highlight, QColor(0xC0, 0x40, 0x10));
  dark.setColor(QPalette::HighlightedText, QColor(0x10, 0xF0, 0x10));
  dark.setColor(QPalette::ToolTipBase, Qt::black);
  QApplication::setPalette(dark);
  buildTutor(builtLibrary());
  const auto shaded = paintEveryWindow();

  ASSERT_EQ(light.size(), shaded.size());
  for (std::size_t i = 0; i < light.size(); ++i) {
    EXPECT_EQ(light[i].first, shaded[i].first);
    EXPECT_TRUE(light[i].second == shaded[i].second)
        << light[i].first.toStdString() << " looks different under a dark desktop palette";
  }
  // About's title bar: the desktop's caption colours.
  const QPalette title = tutor->windows().about->LblTitle->palette();
  EXPECT_EQ(title.color(QPalette::Window), QColor(0xC0, 0x40, 0x10));
  EXPECT_EQ(title.color(QPalette::WindowText), QColor(0x10, 0xF0, 0x10));
}

TEST_F(WindowLookTest, ApplicationSetsNoDisplayNameAndWaitsHalfASecondForHints) {
  prepareApplication(*qApp);
  // A display name would be added to every window's title by the platform.
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("Quorvel"));
  EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 500);
  buildTutor();
  struct Title {
    QWidget* window;
    const char* title;
  };
  const WindowSet& w = tutor->windows();
  for (const Title t : {Title{&tutor->main(), "奎沃/Quorvel"}, Title{w.settings, "设置"},
                        Title{w.tip, "学习提示"}, Title{w.rootTip, "字根学习提示"},
                        Title{w.roothelp, "字根提示"}, Title{w.detailhelp, "查询"},
                        Title{w.charhelp, "汉字编码提示"}, Title{w.wordhelp, "词组编码提示"}})
    EXPECT_EQ(t.window->windowTitle(), QString::fromUtf8(t.title));
}

TEST(QtTranslationsTest, FileDialogAndButtonsSpeakChinese) {
  QTranslator* translator =
      ui::installQtTranslations(*qApp, QLocale(QLocale::Chinese, QLocale::China));
  ASSERT_NE(translator, nullptr) << "Qt's own translations (qt6-translations-l10n) are missing";
  const QString lookIn = QCoreApplication::translate("QFileDialog", "Look in:");
  const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
  QCoreApplication::removeTranslator(translator);
  delete translator;
  EXPECT_NE(lookIn, QStringLiteral("Look in:"));
  EXPECT_EQ(cancel, QStringLiteral("取消"));
}

TEST(AboutMemoryTest, KilobytesAreGroupedWithTheLocalesSeparator) {
  struct Case {
    QLocale locale;
    std::uint64_t bytes;
    const char* shown;
  };
  const Case cases[] = {
      {QLocale(QLocale::Chinese, QLocale::China), 536870912ull, "524,288 KB"},
      {QLocale(QLocale::German, QLocale::Germany), 536870912ull, "524.288 KB"},
      {QLocale(QLocale::French, QLocale::France), 17179869184ull, "16\u202F777\u202F216 KB"},
      {QLocale(QLocale::Chinese, QLocale::China), 1023, "0 KB"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TForm_About::memoryText(c.bytes, c.locale), QString::fromUtf8(c.shown))
        << c.locale.name().toStdString();
}

}  // namespace
}  // namespace quorvel::windowtests
