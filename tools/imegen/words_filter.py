"""Which words of the frequency lists are not fit to be practised: vulgar
words and slurs, web filler, fragments of phrases, numeral + measure
phrases, and most personal, brand and fictional names."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

NUMERALS = set('一二三四五六七八九十两百千万亿几零半数每')
# Measure words and units of time that follow a numeral in a phrase (五年, 两件).
MEASURES = set('个件位年月日天号次名种只条张本元岁米斤两分秒时点周期层场遍回批'
               '份封根棵粒片块台辆架艘座所家间部句首篇页步组对双套群伙门项股笔'
               '段节届代倍成度克升吨里亩斗尺寸下声口头匹支枝把顶盏杯碗瓶桶箱包'
               '袋盒串排行列道局轮圈趟阵番样类等级季旬宗')
# Numeral words that are words of their own, not phrases.
NUMERAL_WORDS = set('一些 一切 一定 一样 一直 一般 一起 一边 一点 一时 一旦 一度 一向 '
                    '一律 一再 一同 一齐 一致 一道 一面 一体 一带 一下 一会 万一 十分 '
                    '千万 万分 百般 半天 一手 一生 一世 一心 一行 一家 一口 一头 一阵 '
                    '一番 一连 一路 一块 一批 一半 一周 一贯 一号 三角 四周 万岁'.split())
# Interjections and laughter that web text repeats (哈哈, 呵呵, 啊啊啊).
FILLER = set('哈呵嘻嘿啊哇呜嗯哦噢嘎咯唉哼嘘呀啦嘛吧喔哎呃嗷嗨')
# Surnames that begin the personal names of the lists (毛泽东, 韦小宝).
SURNAMES = set('王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾'
               '肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏'
               '韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴'
               '莫孔向汤令诸欧司慕上皇岳乔鲁葛康伍施温关庞洪聂柯')


def load_blocklist():
    """The words and characters of word_blocklist.txt (vulgar words, slurs,
    filler, brands, fictional and living persons' names)."""
    words, chars = set(), set()
    with open(os.path.join(HERE, 'word_blocklist.txt'), encoding='utf-8') as f:
        for line in f:
            line = line.split('#', 1)[0].strip()
            for w in line.split():
                if w.startswith('char:'):
                    chars.update(w[5:])
                else:
                    words.add(w)
    return words, chars


def reject(w, tag, jieba_freq, blocked):
    """Why the word is left out, or '' to keep it."""
    words, chars = blocked
    if w in words or any(ch in chars for ch in w):
        return 'blocklist'
    if tag in ('e', 'o', 'y') or all(ch in FILLER for ch in w) or (len(set(w)) == 1 and w[0] in FILLER):
        return 'filler'
    if len(w) == 3 and jieba_freq <= 3:
        # jieba's dictionary lists at its lowest frequency three-character
        # pieces of phrases for its segmenter (实在太, 有点像, 很漂亮)
        return 'fragment'
    if w[0] in NUMERALS and w not in NUMERAL_WORDS and len(w) <= 3 and (
            all(ch in NUMERALS or ch in MEASURES for ch in w[1:]) or tag in ('m', 'mq', 'q')):
        return 'numeral + measure'
    if w[:2] in ('第一', '第二', '第三') and len(w) == 3:
        return 'numeral + measure'
    if tag in ('nrt', 'nrfg') or (tag == 'nz' and len(w) >= 3):
        # jieba tags some plain two-character words nz (汉字); the longer
        # ones are brands and titles
        return 'name'
    if tag == 'nr' and len(w) >= 3 and w[0] in SURNAMES:
        return 'name'
    return ''
