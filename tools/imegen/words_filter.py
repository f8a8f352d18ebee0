"""Which words of the frequency lists are not fit to be practised: vulgar
words, slurs and insults, web filler, fragments of phrases, numeral +
measure phrases and ordinals, personal, brand and fictional names,
software terms and halves of sayings."""
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
                    '一番 一连 一路 一块 一批 一半 一周 一贯 一号 三角 四周 万岁 '
                    '一方面 零件 零部件'.split())
# Interjections and laughter that web text repeats (哈哈, 呵呵, 啊啊啊).
FILLER = set('哈呵嘻嘿啊哇呜嗯哦噢嘎咯唉哼嘘呀啦嘛吧喔哎呃嗷嗨')
# Surnames that begin the personal names of the lists (毛泽东, 韦小宝).
SURNAMES = set('王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾'
               '肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏'
               '韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴'
               '莫孔向汤令诸欧司慕上皇岳乔鲁葛康伍施温关庞洪聂柯')


# Characters of transliterated foreign names (詹姆斯, 麦当娜, 西门子): a name
# the lists tag as a person made only of these is a foreign name or a brand.
TRANSLITERATION = set('阿埃艾爱安昂奥巴拜班邦贝本比彼毕波伯博布查达戴丹道德迪蒂丁杜顿多'
                      '厄恩尔法菲费芬弗福盖冈戈格贡古圭哈海汉豪赫亨胡华霍基吉加贾杰金卡凯'
                      '坎康柯科克肯库拉莱兰朗劳勒雷黎里利列林琳卢鲁路伦罗洛马玛迈麦曼梅门蒙'
                      '米密敏莫默姆穆纳娜奈内尼涅宁纽诺欧帕派潘佩彭皮珀普奇齐乔琼丘萨塞桑瑟森'
                      '沙莎尚舍圣施史斯松苏索塔泰坦汤特提图托瓦万威韦维温沃乌伍西希锡夏辛休'
                      '雅亚扬耶伊因英尤约泽扎詹佐丽当思')
# Countries and peoples the lists tag as persons; they are kept.
FOREIGN_PLACES = set('乌克兰 爱尔兰 阿拉伯 意大利 西班牙 葡萄牙 以色列 加拿大 墨西哥 '
                     '利比亚 叙利亚 索马里 马来西亚 印度尼西亚 澳大利亚 新西兰 罗马尼亚 '
                     '奥地利 匈牙利 保加利亚 阿尔及利亚 尼日利亚 埃塞俄比亚 巴基斯坦'.split())
# Parts of software and web terms (开始菜单, 构造函数, 友情链接): a word of four
# or more characters holding one is a term of computing, not of the language.
SOFTWARE = ('菜单 函数 链接 网站 网页 网址 页面 首页 浏览器 下载 上传 注册 登录 登陆 帐号 账号 '
            '密码 邮箱 论坛 博客 插件 软件 代码 数据库 服务器 客户端 操作系统 鼠标 点击 '
            '在线 用户名 文件夹 硬盘 内存 编程 接口 变量 竞价 简体 繁体 版权所有 简介 '
            '搜索引擎 电子邮件 主页 帖子 回帖 发帖 留言板 聊天室 网民 网友 视频 频道 专区').split()


def half_sayings(tags):
    """Sayings (i, l) of five or more characters that begin or end a longer
    saying of the dictionary (以小人之心 of 以小人之心度君子之腹)."""
    whole = [w for w, t in tags.items() if t in ('i', 'l') and len(w) >= 7]
    heads, tails = set(), set()
    for w in whole:
        for n in range(5, len(w) - 2):
            heads.add(w[:n])
            tails.add(w[-n:])
    return {w for w, t in tags.items() if len(w) >= 5 and (w in heads or w in tails)}


def load_idioms():
    """The hand-made list of well-known 成语 and set phrases, best-known first."""
    out = []
    with open(os.path.join(HERE, 'idioms.txt'), encoding='utf-8') as f:
        for line in f:
            w = line.split('#', 1)[0].strip()
            if w and w not in out:
                out.append(w)
    return out


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


def reject(w, tag, jieba_freq, blocked, halves=(), idiom=False):
    """Why the word is left out, or '' to keep it. A well-known 成语 of the
    hand-made list (idiom) keeps whatever tag the lists give it."""
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
    if w[0] == '第' and len(w) >= 3 and w[1] in NUMERALS:
        return 'ordinal'
    if idiom:
        return ''
    if tag == 'mq' and w not in NUMERAL_WORDS:
        # 这件, 那条: a demonstrative and a measure word
        return 'fragment'
    if tag in ('u', 'uj') and w[-1] in '的地':
        return 'fragment'
    if w in halves:
        return 'half saying'
    if len(w) >= 4 and any(t in w for t in SOFTWARE):
        return 'software term'
    if (tag in ('nr', 'nrt', 'nrfg', 'nz') and len(w) >= 3 and w not in FOREIGN_PLACES
            and all(ch in TRANSLITERATION for ch in w)):
        return 'name'
    if tag in ('nrt', 'nrfg') or (tag == 'nz' and len(w) >= 3):
        # jieba tags some plain two-character words nz (汉字); the longer
        # ones are brands and titles
        return 'name'
    if tag == 'nr' and len(w) >= 3 and w[0] in SURNAMES:
        return 'name'
    return ''
