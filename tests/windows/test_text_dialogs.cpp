// The practice-file chooser and the test settings dialog, run modally with
// the open-file dialog answered by the test.
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <fstream>

#include "platform/Gbk.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

using Chooser = TForm_Selfile;
using Settings = TForm_ExamSet;
const QString kPoem = QStringLiteral("床前明月光，\n疑是地上霜。\n");

class TextDialogTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  QString utf8File() { return write("poem-utf8.txt", kPoem.toStdString()); }
  QString gbkFile() {
    return write("poem-gbk.txt", gbk::fromUtf8(QString(kPoem).replace("\n", "\r\n").toStdString()));
  }
  // The open dialog picks `next` and records where it was asked to start.
  void answerOpenDialog(ui::TextFileDialog& dialog) {
    dialog.setOpenDialog([this](QWidget*, const QString& start) {
      startedIn = start;
      return next;
    });
  }
  QString choose(Chooser& chooser, const std::function<void(Chooser&)>& act) {
    ModalAnswer answer([&](QWidget*) { act(chooser); });
    return chooser.ChoosePracticeFile();
  }
  QString settle(Settings& dialog, TExamSettings& settings, int mode,
                 const std::function<void(Settings&)>& act) {
    ModalAnswer answer([&](QWidget*) { act(dialog); });
    return dialog.RunExamSettings(settings, mode);
  }
  QTemporaryDir dir;
  QString next;
  QString startedIn;
};

void pick(ui::TextFileDialog& dialog) {
  QTest::mouseClick(dialog.RzToolbarButton_SelFile, Qt::LeftButton);
}
void clickOk(Settings& d) { QTest::mouseClick(d.RzLabel_OK, Qt::LeftButton); }

// Chinese arrives the way an input method delivers it: as committed text.
void typeName(Settings& d, const QString& name) {
  d.RzEdit_Name->clear();
  QInputMethodEvent commit;
  commit.setCommitString(name);
  QApplication::sendEvent(d.RzEdit_Name, &commit);
}

TEST_F(TextDialogTest, ChooserReturnsItsChoiceOnlyWhenAcceptedAndKeepsItForTheNextOpening) {
  Chooser chooser;
  chooser.setTextsDirectory(dir.filePath("texts"));
  answerOpenDialog(chooser);
  next = utf8File();
  const auto enter = [](Chooser& d) { QTest::keyClick(&d, Qt::Key_Return); };
  EXPECT_EQ(choose(chooser, enter), QString()) << "nothing picked yet";

  EXPECT_EQ(choose(chooser,
                   [](Chooser& d) {
                     pick(d);
                     QTest::mouseClick(d.RzLabel_Ok, Qt::LeftButton);
                   }),
            next);
  EXPECT_EQ(startedIn, dir.filePath("texts")) << "no file chosen yet: the shipped texts";
  EXPECT_EQ(chooser.startDirectory(), dir.path()) << "then the chosen file's folder";

  // Keys typed into the read-only preview reach the form; letters change nothing.
  EXPECT_EQ(choose(chooser,
                   [](Chooser& d) {
                     QTest::keyClicks(d.RzMemo_PreView, QStringLiteral("xy"));
                     QTest::keyClick(d.RzMemo_PreView, Qt::Key_Return);
                   }),
            next);
  EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), kPoem);
  EXPECT_EQ(choose(chooser, [](Chooser& d) { QTest::keyClick(d.RzMemo_PreView, Qt::Key_Escape); }),
            QString());
}

TEST_F(TextDialogTest, PreviewShowsUtf8AndGbkFilesAsTheSameText) {
  Chooser chooser;
  for (const QString& file : {utf8File(), gbkFile()}) {
    ASSERT_TRUE(chooser.pickFile(file));
    EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), kPoem) << file.toStdString();
  }
}

TEST_F(TextDialogTest, UnreadableFileIsRefusedWithItsReasonAndTheEarlierChoiceStays) {
  const QString good = utf8File();
  const QString vanished = write("vanished.txt", "x");
  QFile::remove(vanished);
  // A named pipe no one writes to, refused before any open could wait for it.
  const QString fifo = dir.filePath("fifo.txt");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString zeros = write("zeros.txt", std::string(64, '\0'));
  const QString refused = QStringLiteral("无法打开文件：");
  ::alarm(30);  // a blocking open would hang the test: it dies instead
  for (const QString& bad : {dir.path(), vanished, fifo, zeros}) {
    SCOPED_TRACE(bad.toStdString());
    Chooser chooser;
    answerOpenDialog(chooser);
    ASSERT_TRUE(chooser.pickFile(good));
    next = bad;
    EXPECT_EQ(choose(chooser,
                     [&](Chooser& d) {
                       pick(d);
                       EXPECT_TRUE(d.isVisible());
                       const QString shown = text(d.RzLabel_SelFileName);
                       EXPECT_TRUE(shown.startsWith(refused) && shown.size() > refused.size())
                           << shown.toStdString();
                       EXPECT_EQ(d.RzMemo_PreView->toPlainText(), kPoem);
                       QTest::keyClick(&d, Qt::Key_Return);
                     }),
              good);
    // The next opening shows the chosen path again.
    choose(chooser, [](Chooser& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(text(chooser.RzLabel_SelFileName), good);
  }
  ::alarm(0);
}

TEST_F(TextDialogTest, TraditionalTextsAreOfferedInSimplifiedCharacters) {
  const QString traditional = QStringLiteral("學而時習之，不亦說乎？");
  const QString simplified = QStringLiteral("学而时习之，不亦说乎？");
  Chooser chooser;
  ASSERT_TRUE(chooser.pickFile(write("t.txt", traditional.toStdString())));
  QCheckBox* offer = chooser.CheckBox_Simplified;
  EXPECT_TRUE(offer->isEnabled());
  EXPECT_TRUE(offer->isChecked()) << "a text mostly in traditional characters";
  EXPECT_FALSE(offer->accessibleName().isEmpty());
  EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), simplified);
  EXPECT_TRUE(chooser.simplified());
  offer->setChecked(false);
  EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), traditional);
  EXPECT_FALSE(chooser.simplified());
  // A simplified text has nothing to offer.
  ASSERT_TRUE(chooser.pickFile(utf8File()));
  EXPECT_FALSE(offer->isEnabled());
  EXPECT_FALSE(chooser.simplified());
}

TEST_F(TextDialogTest, SettingsRefuseABlankNameWithAMessageAndStayOpen) {
  Settings dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  TExamSettings settings{"old", 0, 5};
  QStringList box;
  const QString result = settle(dialog, settings, 0, [&](Settings& d) {
    typeName(d, QStringLiteral("   "));
    pick(d);
    ModalAnswer answer([&](QWidget* modal) {
      auto* message = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(message, nullptr);
      ASSERT_EQ(message->buttons().size(), 1);
      QAbstractButton* ok = message->buttons().front();
      box << message->windowTitle() << message->text() << ok->text();
      ok->click();
    });
    clickOk(d);
    EXPECT_TRUE(d.isVisible());
  });
  EXPECT_EQ(box, QStringList({"提示", "用户名不能为空。", "确定"}));
  EXPECT_EQ(result, QString());
  EXPECT_EQ(settings.userName, "old");
}

TEST_F(TextDialogTest, AcceptedNameIsKeptAsTypedUpToSixteenGbkBytesAndOfferedAgain) {
  const std::pair<QString, QString> cases[] = {
      {QStringLiteral("一二三四五六七八九"), QStringLiteral("一二三四五六七八")},
      {QStringLiteral("abc一二三四五六七八"), QStringLiteral("abc一二三四五六")},
      {QStringLiteral(" 张 三 "), QStringLiteral(" 张 三 ")},
  };
  Settings dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  for (const auto& [typed, stored] : cases) {
    TExamSettings settings;
    EXPECT_EQ(settle(dialog, settings, 1,
                     [&](Settings& d) {
                       typeName(d, typed);
                       pick(d);
                       clickOk(d);
                     }),
              next);
    EXPECT_EQ(settings.userName, gbk::fromUtf8(stored.toStdString())) << typed.toStdString();
  }
  TExamSettings settings{gbk::fromUtf8("李四"), 1, 0};
  settle(dialog, settings, 1,
         [](Settings& d) { EXPECT_EQ(d.RzEdit_Name->text(), QStringLiteral("李四")); });
}

TEST_F(TextDialogTest, MinutesAreAskedAndStoredOnlyForATestByTime) {
  const struct {
    int mode;
    std::int32_t stored;
    int shownAtFirst;  // -1: the time controls are hidden
    int typed;         // 0: left as shown
    std::int32_t expected;
  } cases[] = {
      {0, 0, 1, 30, 30},      // never set yet: the nearest value the edit holds
      {0, 500, 200, 0, 200},  // out of range, accepted as shown
      {1, 45, -1, 0, 45},     // by quantity: untouched
  };
  Settings dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    TExamSettings settings{"name", static_cast<std::uint8_t>(c.mode), c.stored};
    int shown = -1;
    settle(dialog, settings, c.mode, [&](Settings& d) {
      const bool timeShown = d.RzNumericEdit_Time->isVisible();
      EXPECT_EQ(d.RzLabel_Time->isVisible(), timeShown);
      EXPECT_EQ(d.RzLabel_Minute->isVisible(), timeShown);
      if (timeShown) shown = d.RzNumericEdit_Time->value();
      if (c.typed) d.RzNumericEdit_Time->setValue(c.typed);
      pick(d);
      clickOk(d);
    });
    EXPECT_EQ(shown, c.shownAtFirst);
    EXPECT_EQ(settings.minutes, c.expected);
    EXPECT_EQ(settings.mode, c.mode) << "the caller owns the mode";
  }
}

TEST_F(TextDialogTest, EveryWayOutButAcceptingChangesNothing) {
  const struct {
    const char* way;
    bool picked;
    std::function<void(Settings&)> leave;
  } cases[] = {
      {"Cancel", true, [](Settings& d) { QTest::mouseClick(d.RzLabel_Cancel, Qt::LeftButton); }},
      {"Esc in the name", true,
       [](Settings& d) { QTest::keyClick(d.RzEdit_Name, Qt::Key_Escape); }},
      {"Esc in the minutes", true,
       [](Settings& d) { QTest::keyClick(d.RzNumericEdit_Time, Qt::Key_Escape); }},
      {"OK with no file", false, clickOk},
  };
  next = utf8File();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.way);
    Settings dialog;
    answerOpenDialog(dialog);
    TExamSettings settings{"old", 0, 7};
    EXPECT_EQ(settle(dialog, settings, 0,
                     [&](Settings& d) {
                       typeName(d, QStringLiteral("新名字"));
                       d.RzNumericEdit_Time->setValue(99);
                       if (c.picked) pick(d);
                       c.leave(d);
                       EXPECT_FALSE(d.isVisible());
                     }),
              QString());
    EXPECT_EQ(settings.userName, "old");
    EXPECT_EQ(settings.minutes, 7);
  }
}

TEST_F(TextDialogTest, EnterInTheNameMovesOnAndTabbingBackSelectsNothing) {
  Settings dialog;
  TExamSettings settings;
  settle(dialog, settings, 0, [](Settings& d) {
    d.RzEdit_Name->setFocus();
    QTest::keyClick(d.RzEdit_Name, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.RzNumericEdit_Time);
    QFocusEvent tabbedIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(d.RzEdit_Name, &tabbedIn);
    EXPECT_FALSE(d.RzEdit_Name->hasSelectedText()) << "no select-all on entry";
  });
}

}  // namespace
}  // namespace quorvel::windowtests
