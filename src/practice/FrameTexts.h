#pragma once
// The frame's fixed texts, converted to GBK once on first use.
#include <array>
#include <string>

#include "data/PracticeKinds.h"

namespace quorvel {

struct FrameTexts {
  std::string arrowUp;                             // "↑" under the current item
  std::string tick;                                // "√"
  std::string cross;                               // "メ"
  std::string notOnPage;                           // refusal when typing on another page
  std::string noPractice;                          // hint button without a practice
  std::string dataMissing;                         // a kind whose table could not be read
  std::string noHistory;                           // a weak-item drill with nothing to draw
  std::string noWeakWords;                         // the weak-word drill with nothing to draw
  std::string noSession;                           // a learning-path kind chosen without a session
  std::string endPrefix;                           // "练习结束! 打字速率："
  std::string perMinute;                           // "字/分钟"
  std::string rightCaption;                        // "正确率："
  std::string rootEnd;                             // "练习结束!"
  std::string trainPrefix;                         // "当前练习："
  std::string pagePrefix, pageMiddle, pageSuffix;  // page information line
  std::array<std::string, kKindCount> kindNames;   // by practice kind; 0 empty
  std::string timedTest, sizedTest;                // kind 18's two names
};

const FrameTexts& frameTexts();

}  // namespace quorvel
