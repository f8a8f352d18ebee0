#include "app/WindowSet.h"

#include "app/HelpViewer.h"
#include "app/TForm_About.h"
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

void createWindows(WindowSet& w, QWidget* owner, const quorvel::platform::ResourceLibrary& library,
                   const std::filesystem::path& programDir, const quorvel::PracticeData& data,
                   const std::function<void()>& afterEach) {
  auto repaint = [&afterEach] {
    if (afterEach) afterEach();
  };
  w.rootMap = new TForm_rootMap(library, owner);
  w.about = new TForm_About(library, owner);
  w.help = new HelpViewer(programDir, owner);
  repaint();
  w.rootTip = new TForm_RootTip(library, owner);
  repaint();
  // The open-file dialogs start among the practice texts that come with the program.
  const QString texts =
      QString::fromStdString(quorvel::platform::findDataDirectory(programDir, "texts").string());
  w.selfile = new TForm_Selfile(owner);
  w.selfile->setTextsDirectory(texts);
  repaint();
  w.examSet = new TForm_ExamSet(owner);
  w.examSet->setTextsDirectory(texts);
  repaint();
  w.detailhelp = new TForm_detailhelp(library, owner);
  w.detailhelp->setData(&data);
  repaint();
  w.charhelp = new TForm_Charhelp(library, owner);
  w.charhelp->setLookupWindow(w.detailhelp);
  repaint();
  w.wordhelp = new TForm_Wordhelp(library, owner);
  w.wordhelp->setLookupWindow(w.detailhelp);
  repaint();
  w.settings = new TForm_Set(owner);
  w.roothelp = new TForm_roothelp(library, owner);
  w.tip = new TForm_Tip(library, owner);
  repaint();
}
