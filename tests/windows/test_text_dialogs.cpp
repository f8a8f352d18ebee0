// The practice-file chooser and the test settings dialog, run modally with
// the open-file dialog answered by the test.
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTextEdit>
#include <fstream>
#include <type_traits>

#include "platform/Gbk.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "windows/WindowTestSupport.h"

namespace quorvel::windowtests {
namespace {

const QString kPoem = QStringLiteral("床前明月光，\n疑是地上霜。\n");

class TextDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString write(const QString& name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  QString utf8File() { return write("poem-utf8.txt", kPoem.toStdString()); }
  QString gbkFile() {
    return write("poem-gbk.txt", gbk::fromUtf8(QString(kPoem).replace("\n", "\r\n").toStdString()));
  }
  // The open dialog answers `next` and records where it was asked to start.
  template <class Dialog>
  void answerOpenDialog(Dialog& dialog) {
    dialog.setOpenDialog([this](QWidget*, const QString& start) {
      startedIn = start;
      return next;
    });
  }
  QTemporaryDir dir;
  QString next;
  QString startedIn;
};

// Runs `act` on the modal dialog and returns what the runner returned.
template <class Dialog, class Run>
QString runWith(Dialog& dialog, Run run, const std::function<void(std::type_identity_t<Dialog>&)>& act) {
  ModalAnswer answer([&](QWidget* modal) {
    ASSERT_EQ(modal, &dialog);
    act(dialog);
  });
  return run();
}

QString choose(TForm_Selfile& chooser, const std::function<void(TForm_Selfile&)>& act) {
  return runWith(chooser, [&] { return chooser.ChoosePracticeFile(); }, act);
}

void pick(quorvel::ui::TextFileDialog& dialog) {
  QTest::mouseClick(dialog.RzToolbarButton_SelFile, Qt::LeftButton);
}

TEST_F(TextDialogTest, ChooserReturnsItsChoiceOnlyWhenAcceptedAndKeepsItForTheNextOpening) {
  TForm_Selfile chooser;
  chooser.setTextsDirectory(dir.filePath("texts"));
  answerOpenDialog(chooser);
  const QString file = utf8File();

  EXPECT_EQ(choose(chooser, [](TForm_Selfile& d) { QTest::keyClick(&d, Qt::Key_Return); }),
            QString())
      << "Enter with nothing picked";

  next = file;
  EXPECT_EQ(choose(chooser,
                   [](TForm_Selfile& d) {
                     pick(d);
                     QTest::mouseClick(d.RzLabel_Ok, Qt::LeftButton);
                   }),
            file);
  EXPECT_EQ(startedIn, dir.filePath("texts")) << "no file chosen yet: the shipped texts";
  EXPECT_EQ(chooser.startDirectory(), dir.path()) << "then the chosen file's folder";

  // Keys typed into the read-only preview reach the form; letters change nothing.
  EXPECT_EQ(choose(chooser,
                   [](TForm_Selfile& d) {
                     QTest::keyClicks(d.RzMemo_PreView, QStringLiteral("xy"));
                     QTest::keyClick(d.RzMemo_PreView, Qt::Key_Return);
                   }),
            file);
  EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), kPoem);

  EXPECT_EQ(choose(chooser, [](TForm_Selfile& d) { QTest::keyClick(d.RzMemo_PreView, Qt::Key_Escape); }),
            QString())
      << "Esc after a pick";
  EXPECT_EQ(chooser.fileName(), file);
}

TEST_F(TextDialogTest, PreviewShowsUtf8AndGbkFilesAsTheSameText) {
  TForm_Selfile chooser;
  for (const QString& file : {utf8File(), gbkFile()}) {
    SCOPED_TRACE(file.toStdString());
    ASSERT_TRUE(chooser.pickFile(file));
    EXPECT_EQ(chooser.RzMemo_PreView->toPlainText(), kPoem);
    EXPECT_EQ(text(chooser.RzLabel_SelFileName), file);
  }
}

TEST_F(TextDialogTest, UnreadableFileIsRefusedWithItsReasonAndTheEarlierChoiceStays) {
  const QString good = utf8File();
  const QString vanished = write("vanished.txt", "x");
  QFile::remove(vanished);
  for (const QString& bad : {dir.path(), vanished}) {
    SCOPED_TRACE(bad.toStdString());
    TForm_Selfile chooser;
    answerOpenDialog(chooser);
    ASSERT_TRUE(chooser.pickFile(good));
    next = bad;
    const QString result = choose(chooser, [](TForm_Selfile& d) {
      pick(d);
      EXPECT_TRUE(d.isVisible()) << "the dialog stays open";
      EXPECT_TRUE(text(d.RzLabel_SelFileName).startsWith(QStringLiteral("无法打开文件：")));
      EXPECT_GT(text(d.RzLabel_SelFileName).size(), QStringLiteral("无法打开文件：").size())
          << "the reason follows";
      EXPECT_EQ(d.RzMemo_PreView->toPlainText(), kPoem);
      QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_EQ(result, good);
    // The refusal is gone at the next opening; the chosen path shows again.
    choose(chooser, [](TForm_Selfile& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(text(chooser.RzLabel_SelFileName), good);
  }
}

QString runSettings(TForm_ExamSet& dialog, TExamSettings& settings, int mode,
                    const std::function<void(TForm_ExamSet&)>& act) {
  return runWith(dialog, [&] { return dialog.RunExamSettings(settings, mode); }, act);
}

// Chinese arrives the way an input method delivers it: as committed text.
void typeName(TForm_ExamSet& d, const QString& name) {
  d.RzEdit_Name->clear();
  QInputMethodEvent commit;
  commit.setCommitString(name);
  QApplication::sendEvent(d.RzEdit_Name, &commit);
}

TEST_F(TextDialogTest, SettingsRefuseABlankNameAndStayOpen) {
  TForm_ExamSet dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  TExamSettings settings{"old", 0, 5};
  QString boxText, boxTitle, boxButton;
  const QString result = runSettings(dialog, settings, 0, [&](TForm_ExamSet& d) {
    typeName(d, QStringLiteral("   "));
    pick(d);
    ModalAnswer box([&](QWidget* modal) {
      auto* message = qobject_cast<QMessageBox*>(modal);
      ASSERT_NE(message, nullptr);
      boxText = message->text();
      boxTitle = message->windowTitle();
      boxButton = message->button(QMessageBox::Ok)->text();
      message->button(QMessageBox::Ok)->click();
    });
    QTest::mouseClick(d.RzLabel_OK, Qt::LeftButton);
    EXPECT_TRUE(d.isVisible());
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  EXPECT_EQ(boxText, QStringLiteral("用户名不能为空。"));
  EXPECT_EQ(boxTitle, QStringLiteral("提示"));
  EXPECT_EQ(boxButton, QStringLiteral("确定"));
  EXPECT_EQ(result, QString());
  EXPECT_EQ(settings.userName, "old");
}

TEST_F(TextDialogTest, AcceptedNameIsKeptAsTypedUpToSixteenGbkBytes) {
  const struct {
    QString typed;
    QString stored;
  } cases[] = {
      {QStringLiteral("一二三四五六七八九"), QStringLiteral("一二三四五六七八")},
      {QStringLiteral("abc一二三四五六七八"), QStringLiteral("abc一二三四五六")},
      {QStringLiteral(" 张 三 "), QStringLiteral(" 张 三 ")},
  };
  TForm_ExamSet dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  for (const auto& c : cases) {
    TExamSettings settings;
    const QString result = runSettings(dialog, settings, 1, [&](TForm_ExamSet& d) {
      typeName(d, c.typed);
      pick(d);
      QTest::mouseClick(d.RzLabel_OK, Qt::LeftButton);
    });
    EXPECT_EQ(result, next);
    EXPECT_EQ(settings.userName, gbk::fromUtf8(c.stored.toStdString())) << c.typed.toStdString();
    EXPECT_LE(settings.userName.size(), TExamSettings::kNameMax);
  }
  // The accepted name is offered again at the next opening.
  TExamSettings settings{gbk::fromUtf8("李四"), 1, 0};
  runSettings(dialog, settings, 1, [](TForm_ExamSet& d) {
    EXPECT_EQ(d.RzEdit_Name->text(), QStringLiteral("李四"));
  });
}

TEST_F(TextDialogTest, MinutesAreAskedAndStoredOnlyForATestByTime) {
  const struct {
    int mode;
    std::int32_t stored;
    int shownAtFirst;  // -1: the time controls are hidden
    int typed;
    std::int32_t expected;
  } cases[] = {
      {0, 0, 1, 30, 30},       // never set yet: the nearest value the edit holds
      {0, 500, 200, 0, 200},   // out of range, accepted as shown
      {0, 45, 45, 0, 45},
      {1, 45, -1, 0, 45},      // by quantity: untouched
  };
  TForm_ExamSet dialog;
  answerOpenDialog(dialog);
  next = utf8File();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    TExamSettings settings{"name", static_cast<std::uint8_t>(c.mode), c.stored};
    int shown = -1;
    const QString result = runSettings(dialog, settings, c.mode, [&](TForm_ExamSet& d) {
      const bool timeShown = d.RzNumericEdit_Time->isVisible();
      EXPECT_EQ(d.RzLabel_Time->isVisible(), timeShown);
      EXPECT_EQ(d.RzLabel_Minute->isVisible(), timeShown);
      if (timeShown) shown = d.RzNumericEdit_Time->value();
      if (c.typed) d.RzNumericEdit_Time->setValue(c.typed);
      pick(d);
      QTest::mouseClick(d.RzLabel_OK, Qt::LeftButton);
    });
    EXPECT_EQ(result, next);
    EXPECT_EQ(shown, c.shownAtFirst);
    EXPECT_EQ(settings.minutes, c.expected);
    EXPECT_EQ(settings.mode, c.mode) << "the caller owns the mode";
  }
}

TEST_F(TextDialogTest, EveryWayOutButAcceptingChangesNothing) {
  const struct {
    const char* way;
    std::function<void(TForm_ExamSet&)> leave;
  } cases[] = {
      {"Cancel", [](TForm_ExamSet& d) { QTest::mouseClick(d.RzLabel_Cancel, Qt::LeftButton); }},
      {"Esc in the name", [](TForm_ExamSet& d) { QTest::keyClick(d.RzEdit_Name, Qt::Key_Escape); }},
      {"Esc in the minutes",
       [](TForm_ExamSet& d) { QTest::keyClick(d.RzNumericEdit_Time, Qt::Key_Escape); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.way);
    TForm_ExamSet dialog;
    answerOpenDialog(dialog);
    next = utf8File();
    TExamSettings settings{"old", 0, 7};
    const QString result = runSettings(dialog, settings, 0, [&](TForm_ExamSet& d) {
      typeName(d, QStringLiteral("新名字"));
      d.RzNumericEdit_Time->setValue(99);
      pick(d);
      c.leave(d);
      EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(result, QString());
    EXPECT_EQ(settings.userName, "old");
    EXPECT_EQ(settings.minutes, 7);
  }
  // OK with no file picked closes as cancelled, without a message.
  TForm_ExamSet dialog;
  TExamSettings settings{"old", 0, 7};
  EXPECT_EQ(runSettings(dialog, settings, 0,
                        [](TForm_ExamSet& d) {
                          QTest::mouseClick(d.RzLabel_OK, Qt::LeftButton);
                          EXPECT_FALSE(d.isVisible());
                        }),
            QString());
  EXPECT_EQ(settings.userName, "old");
}

TEST_F(TextDialogTest, EnterInTheSettingsEditsMovesOnInsteadOfClosing) {
  TForm_ExamSet dialog;
  TExamSettings settings;
  runSettings(dialog, settings, 0, [](TForm_ExamSet& d) {
    d.RzEdit_Name->setFocus();
    QTest::keyClick(d.RzEdit_Name, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.RzNumericEdit_Time);
  });
}

}  // namespace
}  // namespace quorvel::windowtests
