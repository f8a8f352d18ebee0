#pragma once
// The tutor's windows besides the main window. Every one is created once at
// start-up and lives until the program ends; the practice frame reaches them
// through this set. A missing window (a test that builds only part of the
// set) simply is not shown.
class TForm_RootTip;
class TForm_Selfile;
class TForm_ExamSet;
class TForm_detailhelp;
class TForm_Charhelp;
class TForm_Wordhelp;
class TForm_Set;
class TForm_roothelp;
class TForm_Tip;
class TForm_rootMap;
class TForm_About;
class HelpViewer;

struct WindowSet {
  TForm_RootTip* rootTip = nullptr;
  TForm_Selfile* selfile = nullptr;
  TForm_ExamSet* examSet = nullptr;
  TForm_detailhelp* detailhelp = nullptr;
  TForm_Charhelp* charhelp = nullptr;
  TForm_Wordhelp* wordhelp = nullptr;
  TForm_Set* settings = nullptr;
  TForm_roothelp* roothelp = nullptr;
  TForm_Tip* tip = nullptr;
  TForm_rootMap* rootMap = nullptr;
  TForm_About* about = nullptr;
  HelpViewer* help = nullptr;
};
