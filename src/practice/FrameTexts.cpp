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
  t.endPrefix = fromUtf8("练习结束! 打字速率：");
  t.perMinute = fromUtf8("字/分钟");
  t.rightCaption = fromUtf8("正确率：");
  t.rootEnd = fromUtf8("练习结束!");
  t.trainPrefix = fromUtf8("当前练习：");
  t.pagePrefix = fromUtf8("练习区：当前查看页是第");
  t.pageMiddle = fromUtf8("页，练习页是第");
  t.pageSuffix = fromUtf8("页。");
  static constexpr const char* names[19] = {
      "",         "字根练习",     "一级简码",     "二级简码",     "三级简码",
      "完整编码", "优选二级简码", "优选三级简码", "优选完整编码", "键名汉字",
      "码元汉字", "难字特选",     "二字词组",     "三字词组",     "四字词组",
      "多字词组", "对照练习",     "录入练习",     "定时测验"};
  for (int k = 0; k < 19; ++k) t.kindNames[k] = fromUtf8(names[k]);
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
