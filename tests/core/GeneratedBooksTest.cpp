#include "HeadingLists.h"
#include "ReferenceChapterScan.h"
#include "core/ChapterHeadings.h"
#include "core/ChapterPattern.h"
#include "core/ChapterRules.h"
#include "core/CodePage.h"
#include "core/OpenBook.h"
#include "core/SplitChapterIndex.h"
#include "support/NovelGenerator.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(NovelOptions)

namespace {

// The chapter pattern before bare headings and long chapter numbers were
// admitted: for books without either, the index must not have changed.
const QRegularExpression &EarlierChapterPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(
            R"(第[^章]{1,6}章[^\n]+|第[^回]{1,6}回[^\n]+|第[^卷]{1,6}卷[^\n]+|第[^节]{1,6}节[^\n]+|第[^集]{1,6}集[^\n]+|第[^部]{1,6}部[^\n]+|\b[一二三四五六七八九十零]+、[^\n]+)"),
        QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

// The expression's own global search, the result the anchored search must keep.
QList<ChapterHeading> GlobalPass(const QString &text, const QRegularExpression &pattern = ChapterPattern())
{
    QList<ChapterHeading> headings;
    QRegularExpressionMatchIterator matches = pattern.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        headings.append({match.capturedStart(), match.captured()});
    }
    return headings;
}

} // namespace

class GeneratedBooksTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void generatedBook_searchAgreesWithReferenceScanGlobalPassAndSplitSearch_data();
    void generatedBook_searchAgreesWithReferenceScanGlobalPassAndSplitSearch();
    void crLfBookWithShortNumbers_indexAsBeforeLongNumbersAndBareHeadings_data();
    void crLfBookWithShortNumbers_indexAsBeforeLongNumbersAndBareHeadings();
    void falseHeadingsInProse_strictRuleListsOnlyTheRealOnes_data();
    void falseHeadingsInProse_strictRuleListsOnlyTheRealOnes();
    void generator_sameSeedSameBook_otherSeedOtherBook();
    void generator_mixesEveryHeadingStyle();
};

void GeneratedBooksTest::generatedBook_searchAgreesWithReferenceScanGlobalPassAndSplitSearch_data()
{
    QTest::addColumn<NovelOptions>("options");
    for (quint32 variant = 0; variant < 64; ++variant) {
        NovelOptions options;
        options.seed = 100 + variant;
        options.chapters = 60;
        options.charactersPerChapter = 300;
        options.crLf = (variant & 1) == 0;
        options.tableOfContents = (variant & 2) != 0;
        options.indented = (variant & 4) != 0;
        options.traps = (variant & 8) != 0;
        options.bareHeadings = (variant & 16) != 0;
        options.longNumbers = (variant & 32) != 0;
        if (options.tableOfContents && (variant & 8) != 0)
            options.afterContents = (variant & 1) != 0 ? u"以下是正文"_s : u"------"_s;
        QTest::addRow("seed %u%s%s%s%s%s%s", options.seed, options.crLf ? " CR LF" : " LF",
                      options.tableOfContents ? " contents" : "", options.indented ? " indented" : "",
                      options.traps ? " traps" : "", options.bareHeadings ? " bare" : "",
                      options.longNumbers ? " long" : "")
            << options;
    }
}

void GeneratedBooksTest::generatedBook_searchAgreesWithReferenceScanGlobalPassAndSplitSearch()
{
    QFETCH(NovelOptions, options);
    const Novel novel = GenerateNovel(options);
    const QList<ChapterHeading> found = FindChapterHeadings(novel.text);
    QVERIFY(found.size() >= options.chapters);

    QString difference = DifferenceBetween(ReferenceChapterScan(novel.text), found);
    QVERIFY2(difference.isEmpty(), qPrintable(u"against the reference scan: "_s + difference));
    difference = DifferenceBetween(GlobalPass(novel.text), found);
    QVERIFY2(difference.isEmpty(), qPrintable(u"against the global pass: "_s + difference));
    difference = DifferenceBetween(AsChapterHeadings(novel.headings), found);
    QVERIFY2(difference.isEmpty(), qPrintable(u"against the planted headings: "_s + difference));
    const QList<ChapterHeading> strict = FindHeadingsByRule(novel.text, {ChapterRule::Strict, {}});
    difference = DifferenceBetween(ReferenceStrictScan(novel.text), strict);
    QVERIFY2(difference.isEmpty(), qPrintable(u"the strict rule against its reference scan: "_s + difference));

    // Parts of a few lines each, so that every book is cut many times.
    constexpr qsizetype kPartLength = 500;
    difference = DifferenceBetween(found, FindHeadingsOnThreads(novel.text, {}, 2, {}, kPartLength).value());
    QVERIFY2(difference.isEmpty(), qPrintable(u"split over threads: "_s + difference));
    difference = DifferenceBetween(
        strict, FindHeadingsOnThreads(novel.text, {ChapterRule::Strict, {}}, 2, {}, kPartLength).value());
    QVERIFY2(difference.isEmpty(), qPrintable(u"the strict rule split over threads: "_s + difference));

    // A table of contents is one item, 目录, and the planted chapters follow.
    if (!options.tableOfContents)
        return;
    for (const ChapterRule::Kind kind : {ChapterRule::Default, ChapterRule::Strict}) {
        OpenBook book;
        book.BookText = novel.text;
        book.rule = {kind, {}};
        book.BuildChapterIndex();
        QCOMPARE(book.ChapterCount(), 2 + options.chapters);
        QCOMPARE(book.ChapterTitle(1), u"目录"_s);
        for (int n = 2; n < book.ChapterCount(); ++n)
            QCOMPARE(book.chapters[n].text, novel.headings[options.chapters + n - 2].text);
    }
}

void GeneratedBooksTest::crLfBookWithShortNumbers_indexAsBeforeLongNumbersAndBareHeadings_data()
{
    QTest::addColumn<NovelOptions>("options");
    for (quint32 variant = 0; variant < 16; ++variant) {
        NovelOptions options;
        options.seed = 300 + variant;
        options.chapters = 80;
        options.charactersPerChapter = 200;
        options.tableOfContents = (variant & 1) != 0;
        options.indented = (variant & 2) != 0;
        options.traps = (variant & 4) != 0;
        options.bareHeadings = (variant & 8) != 0;
        QTest::addRow("seed %u%s%s%s%s", options.seed, options.tableOfContents ? " contents" : "",
                      options.indented ? " indented" : "", options.traps ? " traps" : "",
                      options.bareHeadings ? " bare" : "")
            << options;
    }
}

void GeneratedBooksTest::crLfBookWithShortNumbers_indexAsBeforeLongNumbersAndBareHeadings()
{
    QFETCH(NovelOptions, options);
    // The earlier pattern ran a bare heading into the heading on the next line
    // (第三回 over the line end to 第四章), which a bare table of contents does
    // on every line; those books differ on purpose.
    if (options.bareHeadings && options.tableOfContents)
        return;
    const Novel novel = GenerateNovel(options);
    const QString difference =
        DifferenceBetween(GlobalPass(novel.text, EarlierChapterPattern()), FindChapterHeadings(novel.text));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void GeneratedBooksTest::falseHeadingsInProse_strictRuleListsOnlyTheRealOnes_data()
{
    QTest::addColumn<NovelOptions>("options");
    for (quint32 variant = 0; variant < 16; ++variant) {
        NovelOptions options;
        options.seed = 500 + variant;
        options.chapters = 80;
        options.charactersPerChapter = 300;
        options.falseHeadings = 50;
        options.crLf = (variant & 1) == 0;
        options.tableOfContents = (variant & 2) != 0;
        options.indented = (variant & 4) != 0;
        options.longNumbers = (variant & 8) != 0;
        options.traps = true;
        QTest::addRow("seed %u", options.seed) << options;
    }
}

void GeneratedBooksTest::falseHeadingsInProse_strictRuleListsOnlyTheRealOnes()
{
    QFETCH(NovelOptions, options);
    const Novel novel = GenerateNovel(options);
    QCOMPARE(FindChapterHeadings(novel.text).size(), novel.headings.size() + options.falseHeadings);
    const QString difference =
        DifferenceBetween(AsChapterHeadings(novel.headings), FindHeadingsByRule(novel.text, {ChapterRule::Strict, {}}));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void GeneratedBooksTest::generator_sameSeedSameBook_otherSeedOtherBook()
{
    NovelOptions options;
    options.traps = true;
    options.tableOfContents = true;
    const Novel first = GenerateNovel(options);
    const Novel again = GenerateNovel(options);
    QCOMPARE(again.text, first.text);
    QCOMPARE(again.headings, first.headings);
    options.seed += 1;
    QVERIFY(GenerateNovel(options).text != first.text);
    QCOMPARE(first.headings.size(), 2 * options.chapters);
}

void GeneratedBooksTest::generator_mixesEveryHeadingStyle()
{
    NovelOptions options;
    options.chapters = 300;
    options.charactersPerChapter = 50;
    const Novel novel = GenerateNovel(options);
    QCOMPARE(novel.headings.size(), options.chapters);
    for (const QChar mark : u"章回卷节集部、"_s) {
        const bool used = std::any_of(novel.headings.cbegin(), novel.headings.cend(),
                                      [&](const PlantedHeading &h) { return h.text.contains(mark); });
        QVERIFY2(used, qPrintable(u"no heading with "_s + mark));
    }
    for (const PlantedHeading &heading : novel.headings) {
        QVERIFY(novel.text.mid(heading.position).startsWith(heading.text));
        QVERIFY(heading.text.endsWith(u'\r'));
    }

    options.bareHeadings = true;
    options.longNumbers = true;
    const Novel bareLong = GenerateNovel(options);
    const QRegularExpression bare(u"^第[^\r]*[章回卷节集部]\r$"_s);
    const QRegularExpression longNumber(u"^第[零〇一二三四五六七八九十百千万两]{7,12}[章回卷节集部]"_s);
    const auto any = [&](const QRegularExpression &shape) {
        return std::any_of(bareLong.headings.cbegin(), bareLong.headings.cend(),
                           [&](const PlantedHeading &h) { return shape.match(h.text).hasMatch(); });
    };
    QVERIFY(any(bare));
    QVERIFY(any(longNumber));
}

FOLIVAR_TEST(GeneratedBooksTest)

#include "GeneratedBooksTest.moc"
