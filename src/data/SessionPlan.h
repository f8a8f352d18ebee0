#pragma once
// One session of the learning path, as its planner hands it to the frame:
// which kind types it and the items in the order they are typed. The drills
// that serve the path's kinds take their run from here instead of drawing it.
#include <string>
#include <vector>

namespace quorvel {

struct SessionPlan {
  int kind = 0;                    // one of the learning path's kinds
  std::string title;               // GBK: what the current-practice line shows
  std::string label;               // kept with the run in the history: what it was for
  std::vector<std::string> items;  // GBK characters or words, or root numbers ("0".."175")
  std::string textFile;            // a text to copy-type, for the path's text kind
};

}  // namespace quorvel
