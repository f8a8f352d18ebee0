#include "app/StartUp.h"

#include "app/TForm_Set.h"
#include "lookup/windows/TForm_Charhelp.h"
#include "lookup/windows/TForm_RootTip.h"
#include "lookup/windows/TForm_Tip.h"
#include "lookup/windows/TForm_Wordhelp.h"
#include "lookup/windows/TForm_detailhelp.h"
#include "lookup/windows/TForm_roothelp.h"
#include "practice/PracticeFrame.h"
#include "practice/windows/TFrame_Veduzir.h"
#include "textpractice/windows/TForm_ExamSet.h"
#include "textpractice/windows/TForm_Selfile.h"

Tutor::Tutor(AppEnvironment environment, const std::function<void()>& afterEach) {
  auto repaint = [&afterEach] {
    if (afterEach) afterEach();
  };
  const quorvel::platform::ResourceLibrary library = environment.library;
  // The open-file dialogs start among the practice texts that come with the program.
  const QString texts = QString::fromStdString(
      quorvel::platform::findDataDirectory(environment.programDir, "texts").string());
  main_ = std::make_unique<TForm_Main>(std::move(environment));
  repaint();
  // The secondary windows belong to the main window and go with it.
  QWidget* owner = main_.get();
  WindowSet& w = main_->windows();
  w.rootTip = new TForm_RootTip(library, owner);
  repaint();
  w.selfile = new TForm_Selfile(owner);
  w.selfile->setTextsDirectory(texts);
  repaint();
  w.examSet = new TForm_ExamSet(owner);
  w.examSet->setTextsDirectory(texts);
  repaint();
  w.detailhelp = new TForm_detailhelp(library, owner);
  w.detailhelp->setData(&main_->frame()->logic().data());
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

Tutor::~Tutor() = default;
