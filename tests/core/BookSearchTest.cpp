#include "core/BookSearch.h"
#include "core/BookHits.h"
#include "core/Highlight.h"
#include "core/OpenBook.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<SearchHit>)
Q_DECLARE_METATYPE(std::optional<TextRange>)
Q_DECLARE_METATYPE(BookHit)

namespace {

// A text of `length` characters, none of them in the highlighted sentence.
QString Filler(qsizetype length)
{
    return QString(length, u'。');
}

} // namespace

// A listed occurrence as a failed comparison shows it.
char *toString(const BookHit &hit)
{
    return QTest::toString(QStringLiteral("chapter %1 at %2 (%3): %4 / %5")
                               .arg(hit.chapter)
                               .arg(hit.position)
                               .arg(hit.length)
                               .arg(hit.title, hit.context));
}

class BookSearchTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void forms_addTheOtherScript_andRefuseWhatCanFindNothing_data()
    {
        QTest::addColumn<QString>("term");
        QTest::addColumn<QStringList>("forms");
        QTest::newRow("Simplified") << u"头发"_s << QStringList{u"头发"_s, u"頭髮"_s};
        QTest::newRow("Traditional") << u"頭髮"_s << QStringList{u"頭髮"_s, u"头发"_s};
        QTest::newRow("the same in both") << u"少年"_s << QStringList{u"少年"_s};
        QTest::newRow("ASCII") << u"Chapter"_s << QStringList{u"Chapter"_s};
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("a line end") << u"第一\r\n章"_s << QStringList();
        QTest::newRow("10 000 characters") << QString(10000, u'字') << QStringList();
    }

    void forms_addTheOtherScript_andRefuseWhatCanFindNothing()
    {
        QFETCH(QString, term);
        QFETCH(QStringList, forms);
        QCOMPARE(SearchForms(term), forms);
    }

    void everywhere_findsEveryFormOnce_inTextOrder_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("forms");
        QTest::addColumn<QList<SearchHit>>("hits");
        QTest::newRow("both scripts") << u"他的头发，她的頭髮。头"_s << QStringList{u"头发"_s, u"頭髮"_s}
                                      << QList<SearchHit>{{2, 2}, {7, 2}};
        QTest::newRow("ASCII in either case, nothing else")
            << u"CHAPTER chapter ChApTeR ＣＨＡＰＴＥＲ"_s << QStringList{u"chapter"_s}
            << QList<SearchHit>{{0, 7}, {8, 7}, {16, 7}};
        QTest::newRow("no overlaps") << u"哈哈哈哈哈"_s << QStringList{u"哈哈"_s} << QList<SearchHit>{{0, 2}, {2, 2}};
        QTest::newRow("the longest form at a place")
            << u"天地人天地"_s << QStringList{u"天地"_s, u"天地人"_s} << QList<SearchHit>{{0, 3}, {3, 2}};
        QTest::newRow("at the very end, beyond eight units")
            << u"一二三四五六七八九十天地"_s << QStringList{u"天地"_s} << QList<SearchHit>{{10, 2}};
        QTest::newRow("cut off by the end")
            << u"一二三四五六七八九十天"_s << QStringList{u"天地"_s} << QList<SearchHit>{};
        QTest::newRow("outside the BMP") << u"😀x😀"_s << QStringList{u"😀"_s} << QList<SearchHit>{{0, 2}, {3, 2}};
    }

    void everywhere_findsEveryFormOnce_inTextOrder()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, forms);
        QFETCH(QList<SearchHit>, hits);
        QCOMPARE(FindEverywhere(text, forms), hits);
    }

    void context_isShortEvenInOneLongLine_andShowsLineEndsAsBlanks()
    {
        const QString line = QString(10'000'000, u'字') + u"目标"_s + QString(10'000'000, u'字');
        const QList<SearchHit> hits = FindEverywhere(line, SearchForms(u"目标"_s));
        QCOMPARE(hits, (QList<SearchHit>{{10'000'000, 2}}));
        QCOMPARE(HitContext(line, hits[0], 3), u"字字字目标字字字"_s);
        QCOMPARE(HitContext(u"甲\r\n乙目标"_s, {4, 2}, 10), u"甲  乙目标"_s);
        QCOMPARE(HitContext(u"😀目标"_s, {2, 2}, 1), u"😀目标"_s); // never half a character
    }

    // A book of the library searched: the first and the last occurrence
    // listed, and how many were found and listed.
    void bookHits_listTheFirstWithChapterAndContext_andCountAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("term");
        QTest::addColumn<qsizetype>("found");
        QTest::addColumn<qsizetype>("listed");
        QTest::addColumn<BookHit>("first");
        QTest::addColumn<BookHit>("last");
        // Chapter 1 starts at 3, chapter 2 at 18; the last line end stays.
        const QString book = u"好书\n第一章 开始\n他的头发很长。\n第二章 頭髮\nHair and HAIR.\n"_s;
        QTest::newRow("Simplified and Traditional")
            << book << u"头发"_s << qsizetype(2) << qsizetype(2)
            << BookHit{1, 9, 2, u"第一章 开始"_s, u"好书 第一章 开始 他的头发很长。 第二章 頭髮 Hair"_s}
            << BookHit{2, 4, 2, u"第二章 頭髮"_s, u"开始 他的头发很长。 第二章 頭髮 Hair and HAIR."_s};
        QTest::newRow("ASCII in either case")
            << book << u"hair"_s << qsizetype(2) << qsizetype(2)
            << BookHit{2, 7, 4, u"第二章 頭髮"_s, u"他的头发很长。 第二章 頭髮 Hair and HAIR. "_s}
            << BookHit{2, 16, 4, u"第二章 頭髮"_s, u"二章 頭髮 Hair and HAIR. "_s};
        QTest::newRow("no more than a hundred listed")
            << u"书\n第一章 甲\n"_s + QString(150, u'哈') << u"哈"_s << qsizetype(150) << kHitsPerBook
            << BookHit{1, 6, 1, u"第一章 甲"_s, u"书 第一章 甲 "_s + QString(16, u'哈')}
            << BookHit{1, 105, 1, u"第一章 甲"_s, QString(31, u'哈')};
    }

    void bookHits_listTheFirstWithChapterAndContext_andCountAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, term);
        OpenBook book;
        book.BookText = text;
        book.BuildChapterIndex();
        const BookHits hits = FindInWholeBook(book, SearchForms(term));
        QTEST(hits.found, "found");
        QTEST(hits.listed.size(), "listed");
        QTEST(hits.listed.first(), "first");
        QTEST(hits.listed.last(), "last");
    }

    // A highlight made at `start` over `highlighted`, looked for in a changed
    // book.
    void highlightFoundAgain_nearItsOldPlace_orNotAtAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qsizetype>("start");
        QTest::addColumn<QString>("highlighted");
        QTest::addColumn<std::optional<TextRange>>("found");
        const QString words = u"他回头看了一眼"_s;
        const QString book = Filler(100) + words + Filler(100);
        QTest::newRow("unchanged") << book << qsizetype(100) << words << std::optional(TextRange{100, 107});
        QTest::newRow("a line put in before")
            << u"新的一行\r\n"_s + book << qsizetype(100) << words << std::optional(TextRange{106, 113});
        QTest::newRow("text cut before") << book.sliced(40) << qsizetype(100) << words
                                         << std::optional(TextRange{60, 67});
        QTest::newRow("the nearer of two, after") << Filler(20) + words + Filler(90) + words + Filler(10)
                                                  << qsizetype(100) << words << std::optional(TextRange{117, 124});
        QTest::newRow("the nearer of two, before")
            << Filler(95) + words + Filler(90) + words << qsizetype(100) << words << std::optional(TextRange{95, 102});
        QTest::newRow("the words changed")
            << Filler(100) + u"他回头看了两眼"_s + Filler(100) << qsizetype(100) << words << std::optional<TextRange>();
        QTest::newRow("moved too far") << Filler(20000) + book << qsizetype(100) << words << std::optional<TextRange>();
        QTest::newRow("beyond a shrunk book") << words << qsizetype(5000) << words << std::optional(TextRange{0, 7});
        QTest::newRow("the book emptied") << QString() << qsizetype(100) << words << std::optional<TextRange>();
        QTest::newRow("at the very end") << Filler(3) + words << qsizetype(3) << words
                                         << std::optional(TextRange{3, 10});
    }

    void highlightFoundAgain_nearItsOldPlace_orNotAtAll()
    {
        QFETCH(QString, text);
        QFETCH(qsizetype, start);
        QFETCH(QString, highlighted);
        QFETCH(std::optional<TextRange>, found);
        const Highlight highlight{start, start + highlighted.size(), highlighted, HighlightColour::Blue, {}, 0};
        QCOMPARE(FindHighlightAgain(text, highlight), found);
    }
};

FOLIVAR_TEST(BookSearchTest)
#include "BookSearchTest.moc"
