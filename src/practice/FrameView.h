#pragma once
// What the practice frame shows, as plain data. The practice logic writes it;
// the Qt frame renders it after every event it forwards. All text is GBK.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvel {

namespace colour {
inline constexpr std::uint32_t Current = 0xB5F3AD;  // light green: the item to type
inline constexpr std::uint32_t Right = 0x91DDF7;    // light blue: entry equal to the item, "√"
inline constexpr std::uint32_t Wrong = 0xF8B9F9;    // light pink: entry different, "メ"
inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Panel = 0xE0E0E0;
inline constexpr std::uint32_t AccuracyBar = 0x0080C0;
}  // namespace colour

// One label of the cell grid: 25 columns x 10 rows, label of column c and row r
// is entry c * 10 + r. Even rows show items, odd rows the entries under them.
struct CellLabel {
  std::string text;          // GBK, empty for an empty cell
  bool filled = false;       // false: the panel's own colour
  std::uint32_t colour = 0;  // RGB when filled
};

inline constexpr int kGridColumns = 25;
inline constexpr int kGridRows = 10;
inline constexpr int kPageItems = 125;
inline constexpr int cellIndex(int column, int row) { return column * kGridRows + row; }

// The root drill's picture grid: 26 columns x 10 rows; even rows pictures,
// odd rows marks ("↑", "√", "メ" in GBK).
struct PictureGrid {
  static constexpr int Columns = 26;
  static constexpr int Rows = 10;
  bool visible = false;
  std::array<std::string, Columns * Rows> marks;  // index row * Columns + column; odd rows used
  std::vector<int> roots;                         // root image index of every item of the run
  int pageFirst = 0;                              // item index of the page's first cell
  int current = -1;                               // item index of the current cell, -1 for none
};

struct FrameView {
  std::array<CellLabel, kGridColumns * kGridRows> cells;
  PictureGrid picture;

  std::string pagesInfo;           // RzLabel_PagesInfo
  std::string keyplace;            // RzLabel_keyplace: the code typed so far, upper case
  std::string wordplace;           // RzLabel_wordplace: candidates, chosen text, messages
  std::string speed = "0";         // RzLabel_V
  int accuracy = 0;                // RzProgressBar_right, per cent
  std::string trainName;           // RzLabel_TrainName
  bool examClockVisible = false;   // RzLEDDisplay_Exam
  std::string examClock;           // its seven cells
  bool letterMode = false;         // RzCheckBox_alf checked
  bool practiceAreaShown = false;  // text splitter hot spot closed (practice area fills the frame)
  int splitterPercent = 99;        // RzSplitter_Text position
  std::string previewText;         // RzRichEdit_express (GBK)
  bool imageMapVisible = false;    // Image_Map inside the frame

  std::uint64_t revision = 0;  // grows on every change the logic makes
};

}  // namespace quorvel
