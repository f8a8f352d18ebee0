#include "practice/FrameTexts.h"

#include "platform/Gbk.h"

namespace quorvel {

namespace {

FrameTexts buildTexts() {
  using gbk::fromUtf8;
  FrameTexts t;
  t.arrowUp = fromUtf8("↑");
  t.tick = fromUtf8("√");
  t.cross = fromUtf8("メ");
  t.notOnPage = fromUtf8("☆没有在练习页上！☆");
  t.noPractice = fromUtf8("●没有选择练习！●");
  t.dataMissing = fromUtf8("☆该练习的数据缺失，无法开始！☆");
  t.noHistory = fromUtf8("☆还没有出错的记录：先做几次练习，再来练薄弱项！☆");
  t.noWeakWords = fromUtf8("☆还没有打错过的词组：先做几次词组练习吧！☆");
  t.noSession = fromUtf8("☆学习路线的练习从“学习路线”窗口开始（F7）。☆");
  t.endPrefix = fromUtf8("练习结束! 打字速率：");
  t.perMinute = fromUtf8("字/分钟");
  t.rightCaption = fromUtf8("正确率：");
  t.rootEnd = fromUtf8("练习结束!");
  t.trainPrefix = fromUtf8("当前练习：");
  t.pagePrefix = fromUtf8("练习区：当前查看页是第");
  t.pageMiddle = fromUtf8("页，练习页是第");
  t.pageSuffix = fromUtf8("页。");
  for (int k = 0; k < kKindCount; ++k)
    t.kindNames[static_cast<std::size_t>(k)] = fromUtf8(kindInfo(k).name);
  t.timedTest = fromUtf8("定时测验");
  t.sizedTest = fromUtf8("定量测验");
  return t;
}

}  // namespace

const FrameTexts& frameTexts() {
  static const FrameTexts texts = buildTexts();
  return texts;
}

}  // namespace quorvel
