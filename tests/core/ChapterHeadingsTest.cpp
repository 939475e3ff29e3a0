#include "core/ChapterHeadings.h"
#include "HeadingLists.h"
#include "core/ChapterRules.h"
#include "core/CustomRulePreview.h"
#include "support/NovelGenerator.h"
#include "support/TestRegistry.h"

#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

using Headings = QList<ChapterHeading>;
Q_DECLARE_METATYPE(Headings)

class ChapterHeadingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shortTexts_findExpectedHeadings_data();
    void shortTexts_findExpectedHeadings();
    void twoMillionNumeralsBeforeComma_oneHeading();
    void longNumeralRunsInsideBook_indexComplete();
    void textWithoutLineFeed_oneHeadingToTheEnd();
    void bookOfOrdinalMarksOnly_findsNothing();
    void engineError_loggedAndLaterHeadingsFound();
    void strictRule_takesWholeHeadingLinesOnly_data();
    void strictRule_takesWholeHeadingLinesOnly();
    void customRule_checkedBeforeUse_data();
    void customRule_checkedBeforeUse();
    void customRule_headingsRunToTheirLineEnd();
    void customRulePreview_handsOnTheNewestCheckOnly();
    void cleanup();
};

void ChapterHeadingsTest::shortTexts_findExpectedHeadings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Headings>("expected");

    QTest::newRow("heading at the very start") << u"第一章 开始\r\n正文\r\n"_s << Headings{{0, u"第一章 开始\r"_s}};
    QTest::newRow("no heading") << u"书名\r\n正文没有标题。\r\n"_s << Headings{};
    QTest::newRow("seven between 第 and 章") << u"第一次见到这篇文章\r\n"_s << Headings{};
    QTest::newRow("five between 第 and 章") << u"第一百二十三章 短\r\n"_s << Headings{{0, u"第一百二十三章 短\r"_s}};
    QTest::newRow("one between 第 and 章") << u"第九章终\r\n"_s << Headings{{0, u"第九章终\r"_s}};
    QTest::newRow("回") << u"书\r\n第十回 相逢\r\n"_s << Headings{{3, u"第十回 相逢\r"_s}};
    QTest::newRow("卷") << u"书\r\n第二卷 江湖\r\n"_s << Headings{{3, u"第二卷 江湖\r"_s}};
    QTest::newRow("节") << u"书\r\n第三节 雨\r\n"_s << Headings{{3, u"第三节 雨\r"_s}};
    QTest::newRow("集") << u"书\r\n第四集 风\r\n"_s << Headings{{3, u"第四集 风\r"_s}};
    QTest::newRow("部") << u"书\r\n第五部 山\r\n"_s << Headings{{3, u"第五部 山\r"_s}};
    QTest::newRow("bare heading, CR LF") << u"正文\r\n第十二章\r\n正文\r\n"_s << Headings{{4, u"第十二章\r"_s}};
    QTest::newRow("bare volume above a chapter, CR LF")
        << u"第一卷\r\n第一章 风起\r\n"_s << Headings{{0, u"第一卷\r"_s}, {5, u"第一章 风起\r"_s}};
    QTest::newRow("bare volume above a chapter, LF")
        << u"第一卷\n第一章 风起\n"_s << Headings{{0, u"第一卷"_s}, {4, u"第一章 风起"_s}};
    QTest::newRow("bare 回 above a 章") << u"第一回\n第二章 x"_s << Headings{{0, u"第一回"_s}, {4, u"第二章 x"_s}};
    QTest::newRow("characters beyond the BMP count once")
        << u"第𠀀𠀀𠀀𠀀𠀀𠀀章 x\n"_s << Headings{{0, u"第𠀀𠀀𠀀𠀀𠀀𠀀章 x"_s}};
    QTest::newRow("bare heading, LF") << u"正文\n第十二章\n正文\n"_s << Headings{{3, u"第十二章"_s}};
    QTest::newRow("bare headings of every keyword, LF")
        << u"第一章\n甲\n第二回\n乙\n第三卷\n丙\n第四节\n丁\n第五集\n戊\n第六部\n己\n"_s
        << Headings{{0, u"第一章"_s},  {6, u"第二回"_s},  {12, u"第三卷"_s},
                    {18, u"第四节"_s}, {24, u"第五集"_s}, {30, u"第六部"_s}};
    QTest::newRow("bare heading as the last line") << u"正文\n第九章"_s << Headings{{3, u"第九章"_s}};
    QTest::newRow("bare heading before a titled one, LF")
        << u"第一章\n第二回 x"_s << Headings{{0, u"第一章"_s}, {4, u"第二回 x"_s}};
    QTest::newRow("titled heading, LF") << u"正文\n第十二章 夜\n正文\n"_s << Headings{{3, u"第十二章 夜"_s}};
    QTest::newRow("last line without line end") << u"正文\r\n第九章 终"_s << Headings{{4, u"第九章 终"_s}};
    QTest::newRow("indented heading") << u"正文\r\n\u3000\u3000第二章 风\r\n"_s << Headings{{6, u"第二章 风\r"_s}};
    QTest::newRow("volume and chapter on one line")
        << u"第一卷第三章 风起\r\n正文\r\n"_s << Headings{{0, u"第一卷第三章 风起\r"_s}};
    QTest::newRow("inside a paragraph") << u"他读到第三章的时候睡着了。\r\n醒来\r\n"_s
                                        << Headings{{3, u"第三章的时候睡着了。\r"_s}};
    QTest::newRow("two headings on consecutive lines")
        << u"第一章 甲\r\n第二回 乙\r\n"_s << Headings{{0, u"第一章 甲\r"_s}, {7, u"第二回 乙\r"_s}};
    QTest::newRow("seven numerals") << u"第一千一百一十一章 长\r\n"_s << Headings{{0, u"第一千一百一十一章 长\r"_s}};
    QTest::newRow("eight numerals with 零")
        << u"书\r\n第一万零四百一十四章\r\n"_s << Headings{{3, u"第一万零四百一十四章\r"_s}};
    QTest::newRow("seven numerals with 两, 回")
        << u"第两千三百四十五回 夜\n"_s << Headings{{0, u"第两千三百四十五回 夜"_s}};
    QTest::newRow("twelve numerals with 〇")
        << u"第一〇〇〇〇〇〇〇〇〇〇〇部"_s << Headings{{0, u"第一〇〇〇〇〇〇〇〇〇〇〇部"_s}};
    QTest::newRow("thirteen numerals") << u"第一〇〇〇〇〇〇〇〇〇〇〇〇章\r\n"_s << Headings{};
    QTest::newRow("seven numerals, no keyword after them") << u"第一千一百一十一个人章\r\n"_s << Headings{};
    QTest::newRow("numbered section at a line start") << u"正文\r\n一、概述\r\n"_s << Headings{{4, u"一、概述\r"_s}};
    QTest::newRow("numbered section after a comma") << u"正文，二十、要点\r\n"_s << Headings{{3, u"二十、要点\r"_s}};
    QTest::newRow("numbered section after U+3000") << u"\u3000三、起\r\n"_s << Headings{{1, u"三、起\r"_s}};
    QTest::newRow("numbered section at the text end") << u"正文\r\n一、"_s << Headings{};
    QTest::newRow("numerals inside Chinese text") << u"他说中一、二位客人\r\n统一、协调\r\n"_s << Headings{};
    QTest::newRow("numerals after a Latin letter") << u"abc一、x\r\n"_s << Headings{};
    QTest::newRow("lone surrogate before a heading")
        << QString(QChar(0xD800)) + u"第一章 甲\r\n"_s << Headings{{1, u"第一章 甲\r"_s}};
    QTest::newRow("lone surrogate inside a heading")
        << u"第一章 "_s + QChar(0xDC00) + u"甲\r\n第二章 乙\r\n"_s
        << Headings{{0, u"第一章 "_s + QChar(0xDC00) + u"甲\r"_s}, {8, u"第二章 乙\r"_s}};
}

void ChapterHeadingsTest::shortTexts_findExpectedHeadings()
{
    QFETCH(QString, text);
    QFETCH(Headings, expected);
    const QString difference = DifferenceBetween(expected, FindChapterHeadings(text));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void ChapterHeadingsTest::twoMillionNumeralsBeforeComma_oneHeading()
{
    const QString text = QString(2'000'000, u'一') + u"、概述"_s;
    const Headings found = FindChapterHeadings(text);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].position, 0);
    QCOMPARE(found[0].text, text);
}

namespace {

// A generated book with two lines of 200 000 numerals put in before one of its
// headings: one ends in a full stop, the other is a numbered heading.
struct BookWithNumeralRuns {
    QString text;
    Headings expected;
    qsizetype runHeadingPosition;
};

BookWithNumeralRuns MakeBookWithNumeralRuns()
{
    NovelOptions options;
    options.seed = 7;
    options.chapters = 40;
    options.charactersPerChapter = 500;
    const Novel novel = GenerateNovel(options);
    const qsizetype before = novel.headings.size() / 2;
    const qsizetype insertAt = novel.headings[before].position;
    const QString plainRun = QString(200'000, u'九') + u"。\r\n"_s;
    const QString headingRun = QString(200'000, u'十') + u"、要点"_s;

    BookWithNumeralRuns book;
    book.text = novel.text.left(insertAt) + plainRun + headingRun + u"\r\n"_s + novel.text.mid(insertAt);
    book.runHeadingPosition = insertAt + plainRun.size();
    const qsizetype shift = plainRun.size() + headingRun.size() + 2;
    for (qsizetype i = 0; i < novel.headings.size(); ++i) {
        if (i == before)
            book.expected.append({book.runHeadingPosition, headingRun + u'\r'});
        const PlantedHeading &planted = novel.headings[i];
        book.expected.append({i < before ? planted.position : planted.position + shift, planted.text});
    }
    return book;
}

} // namespace

void ChapterHeadingsTest::longNumeralRunsInsideBook_indexComplete()
{
    const BookWithNumeralRuns book = MakeBookWithNumeralRuns();
    const QString difference = DifferenceBetween(book.expected, FindChapterHeadings(book.text));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void ChapterHeadingsTest::textWithoutLineFeed_oneHeadingToTheEnd()
{
    // 10 million characters, 20 MB in GBK; the second heading lies inside the
    // first one's line and is therefore part of it.
    QString text = u"第一章 开始"_s;
    const QString prose = u"天空山河风雨少年，"_s;
    while (text.size() < 5'000'000)
        text += prose;
    text += u"第二章 中间"_s;
    while (text.size() < 10'000'000)
        text += prose;
    const Headings found = FindChapterHeadings(text);
    QCOMPARE(found.size(), 1);
    QCOMPARE(found[0].position, 0);
    QVERIFY(found[0].text == text);
}

void ChapterHeadingsTest::bookOfOrdinalMarksOnly_findsNothing()
{
    QVERIFY(FindChapterHeadings(QString(2'000'000, u'第')).isEmpty());
}

void ChapterHeadingsTest::engineError_loggedAndLaterHeadingsFound()
{
    // The numerals as a repeated group, as they once were, need the engine's
    // resources for every numeral; a low match limit makes it give up on the
    // 200 000-numeral heading, as the JIT stack once did.
    const QRegularExpression starved(
        QStringLiteral(
            R"((*LIMIT_MATCH=10000)第[^章]{1,6}章[^\n]+|第[^回]{1,6}回[^\n]+|第[^卷]{1,6}卷[^\n]+|第[^节]{1,6}节[^\n]+|第[^集]{1,6}集[^\n]+|第[^部]{1,6}部[^\n]+|\b(一|二|三|四|五|六|七|八|九|十|零)+、[^\n]+)"),
        QRegularExpression::UseUnicodePropertiesOption);
    QVERIFY(starved.isValid());
    BookWithNumeralRuns book = MakeBookWithNumeralRuns();
    book.expected.removeIf([&](const ChapterHeading &h) { return h.position == book.runHeadingPosition; });

    QLoggingCategory::setFilterRules(u"folivar.reader.warning=true"_s);
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(u"engine error at position %1\\b"_s.arg(book.runHeadingPosition)));
    const QString difference = DifferenceBetween(book.expected, FindChapterHeadings(book.text, starved));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void ChapterHeadingsTest::strictRule_takesWholeHeadingLinesOnly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Headings>("expected");

    QTest::newRow("long Chinese number with a title")
        << u"书\r\n第一千零一章 风起\r\n"_s << Headings{{3, u"第一千零一章 风起\r"_s}};
    QTest::newRow("digits with blanks around them, LF") << u"书\n第 12 章\n"_s << Headings{{2, u"第 12 章"_s}};
    QTest::newRow("full-width digits, formal numerals, every keyword")
        << u"第１２回\n第贰拾卷\n第叁节\n第〇集\n第两部"_s
        << Headings{{0, u"第１２回"_s}, {5, u"第贰拾卷"_s}, {10, u"第叁节"_s}, {14, u"第〇集"_s}, {18, u"第两部"_s}};
    QTest::newRow("indentation left out")
        << u"书\r\n\u3000\u3000第二章\t雨\r\n \t楔子\r\n"_s << Headings{{5, u"第二章\t雨\r"_s}, {14, u"楔子\r"_s}};
    QTest::newRow("named parts at a line start")
        << u"序章 起\n引子\n序言\n前言\n后记\n尾声 终\n番外一\n终章"_s
        << Headings{{0, u"序章 起"_s}, {5, u"引子"_s},     {8, u"序言"_s},    {11, u"前言"_s},
                    {14, u"后记"_s},   {17, u"尾声 终"_s}, {22, u"番外一"_s}, {26, u"终章"_s}};
    QTest::newRow("numbered section at a line start only")
        << u"一、概述\n正文，二、要点\n"_s << Headings{{0, u"一、概述"_s}};
    QTest::newRow("prose that the designed pattern takes for headings")
        << u"他第一次回家\n第二天回到宗门\n这第三部功法\n第一次回家\n正文里的序章\n"_s << Headings{};
    QTest::newRow("thirteen numerals") << u"第一〇〇〇〇〇〇〇〇〇〇〇〇章\n"_s << Headings{};
    QTest::newRow("forty characters and forty-one") << u"第一章"_s + QString(37, u'天') + u"\n第二章"_s
            + QString(38, u'地') << Headings{{0, u"第一章"_s + QString(37, u'天')}};
    QTest::newRow("a heading line among paragraphs")
        << u"第一节课上，老师说了很多很多的话，大家都安静地听着，窗外下着雨，直到下课铃响了才散去。\r\n第一节 雨\r\n"_s
        << Headings{{45, u"第一节 雨\r"_s}};
}

void ChapterHeadingsTest::strictRule_takesWholeHeadingLinesOnly()
{
    QFETCH(QString, text);
    QFETCH(Headings, expected);
    const QString difference = DifferenceBetween(expected, FindHeadingsByRule(text, {ChapterRule::Strict, {}}));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void ChapterHeadingsTest::customRule_checkedBeforeUse_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problem"); // a part of the message; empty: none
    QTest::addColumn<int>("found");

    const QString book = u"Chapter 1 Rain\r\n正文\r\nChapter 2 Wind\r\n正文 Chapter 3 inside\r\n"_s;
    QTest::newRow("headings of one's own") << u"^Chapter \\d+"_s << book << QString() << 2;
    QTest::newRow("nothing found is no problem") << u"^第.+章"_s << book << QString() << 0;
    QTest::newRow("empty") << QString() << book << u"请输入"_s << 0;
    QTest::newRow("invalid, with the engine's message") << u"(Chapter"_s << book << u"第 9 个字符"_s << 0;
    QTest::newRow("matches the empty text") << u"^\\s*"_s << book << u"空文本"_s << 0;
    QTest::newRow("matches empty inside the text") << u"(?=Chapter)"_s << book << u"空文本"_s << 1;
    QTest::newRow("lookbehind") << u"(?<=\\n)Chapter \\d+"_s << book << QString() << 1;
    QTest::newRow("a single code unit, \\C") << u"^\\C\\Capter"_s << book << QString() << 2;
    QTest::newRow("ten thousand characters")
        << u"^Chapter"_s + QString(9993, u'x') + u"|^Chapter"_s << book << QString() << 2;
    QTest::newRow("catastrophic backtracking on a long line")
        << u"(a+)+$"_s << QString(100'000, u'a') + u'b' << u"回溯"_s << 0;
}

void ChapterHeadingsTest::customRule_checkedBeforeUse()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(QString, problem);
    QFETCH(int, found);
    const std::atomic_bool cancel = false;
    const CustomRuleCheck check = CheckCustomRule(pattern, text, std::chrono::seconds(2), cancel);
    QVERIFY2(problem.isEmpty() ? check.problem.isEmpty() : check.problem.contains(problem), qPrintable(check.problem));
    QCOMPARE(check.found, found);
}

void ChapterHeadingsTest::customRule_headingsRunToTheirLineEnd()
{
    QString text = u"书名\r\n"_s;
    for (int chapter = 1; chapter <= 30; ++chapter)
        text += u"Chapter %1 The Storm\r\n天空山河 Chapter 9 风雨少年\r\n"_s.arg(chapter);
    const ChapterRule rule{ChapterRule::Custom, u"Chapter \\d+"_s};
    const Headings found = FindHeadingsByRule(text, rule);
    QCOMPARE(found.size(), 60);
    QCOMPARE(found[0].text, u"Chapter 1 The Storm\r"_s);
    QCOMPARE(found[1].text, u"Chapter 9 风雨少年\r"_s);
    QCOMPARE(text.mid(found[59].position, 9), u"Chapter 9"_s);

    const std::atomic_bool cancel = false;
    const CustomRuleCheck check = CheckCustomRule(u"^Chapter \\d+"_s, text, std::chrono::seconds(2), cancel);
    QCOMPARE(check.found, 30);
    QCOMPARE(check.firstTitles.size(), 20);
    QCOMPARE(check.firstTitles.last(), u"Chapter 20 The Storm"_s);
    QCOMPARE(ChapterRule::FromKey(rule.Key()), rule);
}

void ChapterHeadingsTest::customRulePreview_handsOnTheNewestCheckOnly()
{
    QString text;
    for (int chapter = 1; chapter <= 200'000; ++chapter)
        text += u"Chapter %1\n"_s.arg(chapter);
    {
        CustomRulePreview preview(text);
        QSignalSpy checked(&preview, &CustomRulePreview::checked);
        preview.Check(u"^Chapter"_s);
        preview.Check(u"^Chapter 1\\d*$"_s);
        QTRY_COMPARE(checked.count(), 1);
        QCOMPARE(checked.at(0).at(0).toString(), u"^Chapter 1\\d*$"_s);
        QCOMPARE(checked.at(0).at(1).value<CustomRuleCheck>().found, 111'111);
        // A burst of checks, as typing makes: only the last is handed on,
        // whole, never cut short by its own start.
        for (int i = 0; i < 20; ++i)
            preview.Check(i % 2 == 0 ? u"^Chapter"_s : u"^Chapter 2\\d*$"_s);
        QTRY_COMPARE(checked.count(), 2);
        QCOMPARE(checked.at(1).at(0).toString(), u"^Chapter 2\\d*$"_s);
        QCOMPARE(checked.at(1).at(1).value<CustomRuleCheck>().found, 11'112);
        // Gone while a check runs: it is cancelled, and nothing follows.
        preview.Check(u"^Chapter"_s);
    }
}

void ChapterHeadingsTest::cleanup()
{
    QLoggingCategory::setFilterRules(QString());
}

FOLIVAR_TEST(ChapterHeadingsTest)

#include "ChapterHeadingsTest.moc"
