#include "support/NovelGenerator.h"

#include <QRandomGenerator>
#include <QStringList>

namespace {

// Common words without 第, 、, 章回卷节集部 or numerals.
const QStringList &Vocabulary()
{
    static const QStringList words =
        QString::fromUtf8("天空 山河 风雨 少年 姑娘 城市 街道 走进 看见 微笑 安静 时间 心里 明白 朋友 老人 孩子 "
                          "春天 秋天 月光 夜色 河水 远方 故事 声音 房间 窗外 花园 小路 灯火 黄昏 清晨 雨水 树叶 "
                          "白云 大海 他们 我们 你们 慢慢 忽然 已经 还是 可是 因为 所以 知道 觉得 想起 离开 "
                          "地方 世界 眼睛 手里 门口 桌子 茶杯 书信 马车 江湖 剑客 客栈 掌柜 师父 弟子 "
                          "长街 桥边 柳树 落花 流水 寒风 温暖 热闹 冷清 天下 人间 岁月 梦想 消息 答案")
            .split(u' ');
    return words;
}

// Near misses that must never be taken for headings. Each one is followed by
// at least eight characters of prose before the next punctuation.
const QStringList &Traps()
{
    static const QStringList traps =
        QString::fromUtf8(
            "第一次 第二天 第三个 第几 第一次见到这篇文章 第一千一百一十一个人章 统一、协调 中一、二 苹果、香蕉")
            .split(u' ');
    return traps;
}

constexpr char16_t kChineseDigits[] = u"零一二三四五六七八九";
constexpr char16_t kPlainDigits[] = u"〇一二三四五六七八九";

// 1..9999 in the usual form: 一千零一, 一百一十; a leading 一十 is written 十
// only when the number stands alone.
QString UnderTenThousand(int number, bool standsAlone)
{
    static const char16_t units[] = {u'千', u'百', u'十', 0};
    QString out;
    bool zeroPending = false;
    int divisor = 1000;
    for (int place = 0; place < 4; ++place, divisor /= 10) {
        const int digit = number / divisor % 10;
        if (digit == 0) {
            zeroPending = !out.isEmpty();
            continue;
        }
        if (zeroPending)
            out += u'零';
        zeroPending = false;
        const bool bareTen = digit == 1 && units[place] == u'十' && out.isEmpty() && standsAlone;
        if (!bareTen)
            out += QChar(kChineseDigits[digit]);
        if (units[place] != 0)
            out += QChar(units[place]);
    }
    return out;
}

// 1..999999 in the usual form: 十二, 一百零五, 一万零四百一十四.
QString ChineseNumber(int number)
{
    if (number < 10000)
        return UnderTenThousand(number, true);
    QString out = UnderTenThousand(number / 10000, true) + u'万';
    const int low = number % 10000;
    if (low == 0)
        return out;
    if (low < 1000)
        out += u'零';
    return out + UnderTenThousand(low, false);
}

// At most six numerals: the usual form, or digit by digit (一二〇四) where the
// usual form is longer.
QString ShortChineseNumber(int number)
{
    QString usual = ChineseNumber(number);
    if (usual.size() <= 6)
        return usual;
    QString digits;
    for (const QChar decimal : QString::number(number))
        digits += QChar(kPlainDigits[decimal.digitValue()]);
    return digits;
}

// 两 instead of 二 before 千 or 万, as in 两千三百四十五.
QString WithLiang(const QString &number)
{
    if (number.startsWith(QString::fromUtf8("二千")) || number.startsWith(QString::fromUtf8("二万")))
        return u'两' + number.mid(1);
    return number;
}

class NovelWriter {
public:
    explicit NovelWriter(const NovelOptions &options)
        : options_(options), random_(options.seed),
          lineEnd_(options.crLf ? QStringLiteral("\r\n") : QStringLiteral("\n")),
          indent_(options.indented ? QStringLiteral("\u3000\u3000") : QString())
    {}

    Novel Write()
    {
        const QStringList headings = PlanHeadings();
        novel_.text.reserve(qsizetype(options_.chapters) * (options_.charactersPerChapter + 300));
        AppendLine(Phrase(4), false);
        if (options_.tableOfContents) {
            AppendLine(QString::fromUtf8("目录"), false);
            for (const QString &heading : headings)
                AppendLine(heading, true);
            AppendLine(QString(), false);
            if (!options_.afterContents.isEmpty())
                AppendLine(options_.afterContents, false);
        }
        int falseHeadingsLeft = options_.falseHeadings;
        for (const QString &heading : headings) {
            AppendLine(heading, true);
            QString opening = falseHeadingsLeft-- > 0 ? FalseHeading() : QString();
            for (qsizetype written = 0; written < options_.charactersPerChapter; opening.clear())
                written += AppendLine(opening + Paragraph(), false);
        }
        return std::move(novel_);
    }

private:
    QStringList PlanHeadings()
    {
        QStringList headings;
        for (int i = 0; i < options_.chapters; ++i)
            headings.append(Pick(10) < 9 ? OrdinalHeading() : SectionHeading());
        return headings;
    }

    // 第 with a number and one of 章回卷节集部, or a volume and a chapter on one line.
    QString OrdinalHeading()
    {
        static const QString keywords = QString::fromUtf8("章章章章章回回卷节集部");
        QString heading;
        if (Pick(9) < 7)
            heading = u'第' + ChapterNumber(++chapter_) + keywords.at(Pick(keywords.size()));
        else
            heading =
                u'第' + ChapterNumber(++volume_) + u'卷' + Separator() + u'第' + ChapterNumber(++chapter_) + u'章';
        return options_.bareHeadings ? heading : heading + Title();
    }

    // 三、 and the like; sections count on from a random start.
    QString SectionHeading()
    {
        if (section_ == 0)
            section_ = 1 + Pick(90);
        else
            section_ = section_ % 99 + 1;
        return ChineseNumber(section_) + u'、' + Title();
    }

    QString Title() { return Separator() + Phrase(2 + Pick(8)); }

    // The number in sequence, or, for about half of them when long numbers are
    // asked for, a random one of 7 to 12 numerals.
    QString ChapterNumber(int sequential)
    {
        if (!options_.longNumbers || Pick(2) == 0)
            return ShortChineseNumber(sequential);
        QString number;
        while (number.size() < 7 || number.size() > 12)
            number = ChineseNumber(1000 + Pick(999000));
        return Pick(2) == 0 ? WithLiang(number) : number;
    }

    // Appends one line, indented when asked; returns its length without indent
    // and line end.
    qsizetype AppendLine(const QString &content, bool isHeading)
    {
        if (!content.isEmpty())
            novel_.text += indent_;
        if (isHeading)
            novel_.headings.append({novel_.text.size(), options_.crLf ? content + u'\r' : content});
        novel_.text += content;
        novel_.text += lineEnd_;
        return content.size();
    }

    // A sentence that is no heading, though 第 is followed closely by a keyword.
    QString FalseHeading()
    {
        static const QStringList sentences =
            QString::fromUtf8("他第一次回家 第二天回到宗门 这第三部功法 第一节课上").split(u' ');
        return Phrase(4) + sentences.at(Pick(sentences.size())) + u'，';
    }

    QString Paragraph()
    {
        const int length = 40 + Pick(200);
        QString paragraph;
        while (paragraph.size() < length) {
            if (options_.traps && Pick(6) == 0)
                paragraph += Traps().at(Pick(Traps().size())) + Phrase(8);
            else
                paragraph += Phrase(4 + Pick(10));
            paragraph += QChar(u'，');
        }
        paragraph.back() = u'。';
        return paragraph;
    }

    // Words from the vocabulary, at least minimumLength characters in all.
    QString Phrase(int minimumLength)
    {
        QString phrase;
        while (phrase.size() < minimumLength)
            phrase += Vocabulary().at(Pick(Vocabulary().size()));
        return phrase;
    }

    QString Separator()
    {
        static const QStringList separators = {QStringLiteral(" "), QStringLiteral("\u3000"), QString()};
        return separators.at(Pick(separators.size()));
    }

    int Pick(qsizetype count) { return int(random_.bounded(quint32(count))); }

    const NovelOptions &options_;
    QRandomGenerator random_;
    const QString lineEnd_;
    const QString indent_;
    int chapter_ = 0;
    int volume_ = 0;
    int section_ = 0;
    Novel novel_;
};

} // namespace

Novel GenerateNovel(const NovelOptions &options)
{
    return NovelWriter(options).Write();
}
