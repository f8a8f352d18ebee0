#pragma once
// The tutor's windows besides the main window. Every one is created once at
// start-up, by createWindows, and lives until the program ends; the practice
// logic reaches them through the tutor's host. A missing window (a test that
// builds only part of the set) simply is not shown.
#include <filesystem>
#include <functional>

#include "platform/ResourceLibrary.h"

class QWidget;
namespace quorvel {
struct PracticeData;
}
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

// Creates every window in the order start-up shows them being made: the root
// table, About and help with the main window, then root tip, file chooser,
// test settings, lookup, character hint, word hint, and settings, root hint
// and study tip together. afterEach runs after each of those groups (the
// splash repaints). All belong to `owner`.
void createWindows(WindowSet& windows, QWidget* owner,
                   const quorvel::platform::ResourceLibrary& library,
                   const std::filesystem::path& programDir, const quorvel::PracticeData& data,
                   const std::function<void()>& afterEach);
