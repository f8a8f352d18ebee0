#include "app/TutorHost.h"

#include <QFile>
#include <QMessageBox>
#include <QScreen>

#include "app/HelpViewer.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "lookup/windows/TForm_RootTip.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_Wordhelp.h"
#include "lookup/windows/TForm_detailhelp.h"
#include "lookup/windows/TForm_rootMap.h"
#include "lookup/windows/TForm_roothelp.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/TFrame_Veduzir.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"
#include "ui/Widgets.h"

void TutorHost::beep() { frame_.beep(); }
void TutorHost::processPendingEvents() { frame_.processPendingEvents(); }
void TutorHost::restoreSelectionPanel() { frame_.restoreSelectionPanel(); }

void TutorHost::showCharHint(const quorvel::TCharCodes& codes) {
  if (windows_.charhelp) windows_.charhelp->showCharHint(codes);
}

void TutorHost::showWordHint(const quorvel::TCharCodes& codes, const quorvel::TWordCode& word) {
  if (windows_.wordhelp) windows_.wordhelp->showWordHint(codes, word);
}

void TutorHost::showRootHint(char keyLetter) {
  if (windows_.roothelp) windows_.roothelp->showRootHint(keyLetter);
}

void TutorHost::showRootTip() {
  if (windows_.rootTip) windows_.rootTip->showRootTip();
}

void TutorHost::showTip(int tipKind) {
  if (windows_.tip) windows_.tip->showTip(tipKind);
}

void TutorHost::openLookup() {
  if (windows_.detailhelp) windows_.detailhelp->showLookup();
}

bool TutorHost::rootTableShown() const { return windows_.rootMap && windows_.rootMap->isVisible(); }

bool TutorHost::showRootTable() {
  TForm_rootMap* rootMap = windows_.rootMap;
  if (!rootMap) return false;
  QWidget* owner = frame_.window();
  const QRect area = owner->screen() ? owner->screen()->availableGeometry() : QRect(0, 0, 800, 600);
  rootMap->move(TForm_rootMap::placeFor(rootMap->size(), owner->frameGeometry(), area));
  rootMap->show();
  frame_.setFocus();
  return true;
}

void TutorHost::hideRootTable() {
  if (windows_.rootMap) windows_.rootMap->close();
  frame_.setFocus();
}

void TutorHost::openHelp(int context) {
  if (windows_.help) windows_.help->openContext(context);
}

std::string TutorHost::choosePracticeFile() {
  if (!windows_.selfile) return {};
  const QString file = windows_.selfile->ChoosePracticeFile();
  simplified_ = windows_.selfile->simplified();
  return QFile::encodeName(file).toStdString();
}

std::string TutorHost::runExamSettings(quorvel::TExamSettings& settings, int mode) {
  if (!windows_.examSet) return {};
  const QString file = windows_.examSet->RunExamSettings(settings, mode);
  simplified_ = windows_.examSet->simplified();
  return QFile::encodeName(file).toStdString();
}

void TutorHost::showError(const std::string& utf8Message) {
  quorvel::ui::messageBox(frame_.window(), QMessageBox::Warning, QStringLiteral("提示"),
                          QString::fromStdString(utf8Message));
}
