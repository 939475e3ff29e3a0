#include "core/OpenBook.h"
#include "core/ChapterJump.h"
#include "support/TestRegistry.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kBook = u"小书\r\n第一章 春\r\n春天的故事。\r\n第二章 夏\r\n夏天的故事。\r\n第三章 秋\r\n秋天的故事。"_s;

OpenBook Indexed(const QString &text)
{
    OpenBook book;
    book.BookText = text;
    book.BuildChapterIndex();
    return book;
}

// A table of contents of `entries` headings, `between` after each.
QString Table(int entries, const QString &between = {})
{
    QString text;
    for (int i = 1; i <= entries; ++i)
        text += u"第%1章 题\r\n"_s.arg(i) + between;
    return text;
}

// The chapters the table lists, each with a text longer than a line of it.
QString Body(int chapters)
{
    QString text;
    for (int i = 1; i <= chapters; ++i)
        text += u"第%1章 题\r\n正文%1。这一段正文比二十个字要长一些，讲的是春天的故事。\r\n"_s.arg(i);
    return text;
}

QStringList Titles(const OpenBook &book)
{
    QStringList titles;
    for (const ChapterHeading &item : book.chapters)
        titles << item.text;
    return titles;
}

} // namespace

class OpenBookTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void chapters_runFromTheirHeadingToTheNext_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QStringList>("chapterTexts");
        QTest::newRow("head item and three chapters")
            << kBook << QStringList{u"小书\r"_s, u"第一章 春\r"_s, u"第二章 夏\r"_s, u"第三章 秋\r"_s}
            << QStringList{u"小书\r\n"_s, u"第一章 春\r\n春天的故事。\r\n"_s, u"第二章 夏\r\n夏天的故事。\r\n"_s,
                           u"第三章 秋\r\n秋天的故事。"_s};
        QTest::newRow("no heading: one whole chapter")
            << u"只有一行\r\n没有标题的正文，最后一个字"_s << QStringList{u"只有一行\r"_s}
            << QStringList{u"只有一行\r\n没有标题的正文，最后一个字"_s};
        QTest::newRow("opens with a heading: chapter 0 is empty")
            << u"第一章 起\r\n甲。\r\n第二章 承\r\n乙。"_s
            << QStringList{u"第一章 起\r"_s, u"第一章 起\r"_s, u"第二章 承\r"_s}
            << QStringList{QString(), u"第一章 起\r\n甲。\r\n"_s, u"第二章 承\r\n乙。"_s};
        QTest::newRow("table of contents: each chapter shows its own body")
            << u"目录\r\n第一章 春\r\n第二章 夏\r\n第一章 春\r\n春天的故事。\r\n第二章 夏\r\n夏天的故事。"_s
            << QStringList{u"目录\r"_s, u"第一章 春\r"_s, u"第二章 夏\r"_s, u"第一章 春\r"_s, u"第二章 夏\r"_s}
            << QStringList{u"目录\r\n"_s, u"第一章 春\r\n"_s, u"第二章 夏\r\n"_s, u"第一章 春\r\n春天的故事。\r\n"_s,
                           u"第二章 夏\r\n夏天的故事。"_s};
    }

    void chapters_runFromTheirHeadingToTheNext()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, titles);
        QFETCH(QStringList, chapterTexts);
        const OpenBook book = Indexed(text);
        QCOMPARE(Titles(book), titles);
        QStringList cut;
        for (int n = 0; n < book.ChapterCount(); ++n)
            cut << book.ChapterText(n);
        QCOMPARE(cut, chapterTexts);
    }

    // A table of contents at the start is one item, 目录, whose chapter is the
    // table; each heading is then listed once, at its chapter.
    void tableOfContents_isOneItem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("firstTitle"); // of item 1
        QTest::addColumn<QString>("firstChapter");
        QTest::addColumn<int>("listings"); // of 第1章 题
        QTest::newRow("five entries after 目录") << u"书名\r\n作者\r\n目录\r\n"_s + Table(5) + u"\r\n"_s + Body(5) << 7
                                                 << u"目录\r"_s << u"目录\r\n第1章 题\r\n"_s << 1;
        QTest::newRow("four entries stay")
            << u"书名\r\n目录\r\n"_s + Table(4) + Body(4) << 9 << u"第1章 题\r"_s << u"第1章 题\r\n"_s << 2;
        QTest::newRow("3 200 entries") << u"书名\r\n目录\r\n"_s + Table(3200) + Body(3200) << 3202 << u"目录\r"_s
                                       << u"目录\r\n第1章 题\r\n"_s << 1;
        QTest::newRow("blank lines and indentation between") << u"书名\r\n"_s + Table(6, u"\r\n　　"_s) + Body(6) << 8
                                                             << u"目录"_s << u"第1章 题\r\n\r\n　　第2章"_s << 1;
        QTest::newRow("a table in the middle stays")
            << u"书名\r\n"_s + Body(2) + Table(5) + Body(2) << 10 << u"第1章 题\r"_s << u"第1章 题\r\n正文1。"_s << 3;
        QTest::newRow("a book that is only a table")
            << u"书名\r\n目录\r\n"_s + Table(8) << 2 << u"目录\r"_s << u"目录\r\n第1章 题\r\n"_s << 0;
        QTest::newRow("目录 opening the book")
            << u"目录\r\n"_s + Table(5) + Body(5) << 7 << u"目录"_s << u"第1章 题\r\n"_s << 1;
        // A line after the table: the heading followed by its chapter's text
        // ends it, not the table's last entry.
        const QString contents = u"书名\r\n目录\r\n"_s;
        for (const QString &line :
             {u"正文"_s, u"以下是正文"_s, u"------"_s, u"　　二十个字二十个字二十个字二十个字二十个字　"_s})
            QTest::addRow("%s after the table", qPrintable(line))
                << contents + Table(5) + line + u"\r\n\r\n"_s + Body(5) << 7 << u"目录\r"_s << u"目录\r\n第1章 题\r\n"_s
                << 1;
        QTest::newRow("a short line after every entry")
            << contents + Table(6, u"二〇二一年\r\n"_s) + Body(6) << 8 << u"目录\r"_s << u"目录\r\n"_s << 1;
        // More after the last entry: it holds that and starts the chapters.
        QTest::newRow("a line of 21 characters after the table")
            << contents + Table(6) + u"二十一个字二十一个字二十一个字二十一个字二\r\n"_s + Body(6) << 9 << u"目录\r"_s
            << u"目录\r\n第1章 题\r\n"_s << 1;
        QTest::newRow("two short lines after the table")
            << contents + Table(6) + u"正文\r\n卷一\r\n"_s + Body(6) << 9 << u"目录\r"_s << u"目录\r\n"_s << 1;
        QTest::newRow("two short lines after the fifth entry stop a table of four")
            << contents + Table(5) + u"正文\r\n卷一\r\n"_s + Body(5) << 11 << u"第1章 题\r"_s << u"第1章 题\r\n"_s << 2;
    }

    void tableOfContents_isOneItem()
    {
        QFETCH(QString, text);
        QFETCH(int, items);
        QFETCH(QString, firstTitle);
        QFETCH(QString, firstChapter);
        QFETCH(int, listings);
        for (const ChapterRule::Kind kind : {ChapterRule::Default, ChapterRule::Strict}) {
            OpenBook book;
            book.BookText = text;
            book.rule = {kind, {}};
            book.BuildChapterIndex();
            QCOMPARE(book.ChapterCount(), items);
            QCOMPARE(book.chapters[1].text, firstTitle);
            QVERIFY2(book.ChapterText(1).startsWith(firstChapter), qPrintable(book.ChapterText(1).left(40)));
            QCOMPARE(Titles(book).count(u"第1章 题\r"_s), listings);
            // 目录 is no chapter; the book's first chapter is 第 1 章.
            QCOMPARE(book.NumberedChapters(), items - (firstTitle.startsWith(u"目录"_s) ? 2 : 1));
        }
        // A custom rule lists what it finds.
        OpenBook custom;
        custom.BookText = text;
        custom.rule = {ChapterRule::Custom, u"^第\\d+章"_s};
        custom.BuildChapterIndex();
        QCOMPARE(Titles(custom).count(u"目录"_s) + Titles(custom).count(u"目录\r"_s),
                 text.startsWith(u"目录"_s) ? 1 : 0);
    }

    void removedHeading_joinsThePreviousChapter()
    {
        OpenBook book = Indexed(kBook);
        QCOMPARE(book.RemoveChapter(2), ChapterHeading({book.BookText.indexOf(u"第二章"_s), u"第二章 夏\r"_s}));
        QCOMPARE(book.ChapterCount(), 3);
        QCOMPARE(book.chapters[2].text, u"第三章 秋\r"_s);
        QCOMPARE(book.ChapterText(1), u"第一章 春\r\n春天的故事。\r\n第二章 夏\r\n夏天的故事。\r\n"_s);
        QCOMPARE(book.RemoveChapter(-1), std::nullopt);
        QCOMPARE(book.RemoveChapter(3), std::nullopt);
        QCOMPARE(book.ChapterCount(), 3);
    }

    void removedHeadings_areFoundAgainAndPutBack()
    {
        // The same book read again: the remembered removals find their items,
        // the one at the other position by its text.
        const OpenBook original = Indexed(kBook + u"\r\n第二章 夏\r\n重复。"_s);
        OpenBook book = Indexed(original.BookText);
        const ChapterHeading moved{original.chapters[4].position + 3, original.chapters[4].text};
        book.RemoveHeadings({original.chapters[2], moved, {7, u"第九章 无\r"_s}});
        QCOMPARE(Titles(book), (QStringList{u"小书\r"_s, u"第一章 春\r"_s, u"第三章 秋\r"_s}));
        QCOMPARE(book.removedHeadings, (QList<ChapterHeading>{original.chapters[2], original.chapters[4]}));
        QCOMPARE(book.ChapterAt(original.chapters[2].position), 1);
        book.RestoreRemovedHeadings();
        QCOMPARE(book.chapters, original.chapters);
        QVERIFY(book.removedHeadings.isEmpty());
        QCOMPARE(book.ChapterAt(0), 0);
        QCOMPARE(book.ChapterAt(book.BookText.size()), 4);
        QCOMPARE(OpenBook().ChapterAt(5), -1);
    }

    void numbersOutsideTheIndex_cutNothing()
    {
        const OpenBook book = Indexed(kBook);
        for (int n : {-2, -1, 4, 99}) {
            QCOMPARE(book.ChapterRange(n), std::nullopt);
            QCOMPARE(book.ChapterText(n), QString());
        }
        QCOMPARE(OpenBook().ChapterRange(0), std::nullopt);
    }

    void itemWithoutPosition_isFoundByItsTitleIgnoringCase()
    {
        OpenBook book;
        book.BookText = u"Preface\r\nchapter one ok\r\nCHAPTER TWO\r\nend"_s;
        book.chapters = {{0, u"Preface\r"_s}, {-1, u"Chapter Two"_s}};
        QCOMPARE(book.ChapterRange(1), TextRange({25, book.BookText.size()}));
        QCOMPARE(book.ChapterText(0), u"Preface\r\nchapter one ok\r\n"_s);
    }

    void positionsBeyondAShorterText_areHeldToIt()
    {
        // Another book's index over the text of a book still loading.
        OpenBook book = Indexed(kBook);
        book.BookText = u"新书"_s;
        QCOMPARE(book.ChapterRange(2), TextRange({2, 2}));
        QCOMPARE(book.ChapterText(3), QString());
    }

    void arrows_wrapAtBothEnds_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("middle") << 4 << 1 << 0 << 2;
        QTest::newRow("first wraps back") << 4 << 0 << 3 << 1;
        QTest::newRow("last wraps on") << 4 << 3 << 2 << 0;
        QTest::newRow("only chapter") << 1 << 0 << 0 << 0;
        QTest::newRow("nothing selected") << 4 << -1 << -2 << 0;
    }

    void arrows_wrapAtBothEnds()
    {
        QFETCH(int, count);
        QFETCH(int, current);
        QFETCH(int, before);
        QFETCH(int, after);
        OpenBook book;
        book.chapters.fill({0, u"x"_s}, count);
        QCOMPARE(book.ChapterBefore(current), before);
        QCOMPARE(book.ChapterAfter(current), after);
    }

    // kBook with 第一章 春 again after 第三章 秋: 0 head, 1 春, 2 夏, 3 秋, 4 春.
    void jump_byNumberOrTitleWords_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("chapter");
        QTest::newRow("a number") << u" 2 "_s << 0 << 2;
        QTest::newRow("full-width digits") << u"３"_s << 0 << 3;
        QTest::newRow("the last") << u"4"_s << 0 << 4;
        QTest::newRow("0: the head is no chapter") << u"0"_s << 3 << -1;
        QTest::newRow("past the last") << u"5"_s << 0 << -1;
        QTest::newRow("words after the current chapter") << u"春"_s << 1 << 4;
        QTest::newRow("then from the head on") << u"春"_s << 4 << 1;
        QTest::newRow("every word, any order") << u"秋 第三"_s << 0 << 3;
        QTest::newRow("one word missing") << u"秋 第一"_s << 0 << -1;
        QTest::newRow("nothing typed") << u"  "_s << 0 << -1;
    }

    void jump_byNumberOrTitleWords()
    {
        QFETCH(QString, query);
        QFETCH(int, current);
        QFETCH(int, chapter);
        const OpenBook book = Indexed(kBook + u"\r\n第一章 春\r\n又是春天。"_s);
        QCOMPARE(book.ChapterCount(), 5);
        QCOMPARE(FindChapterToJump(book, query, current), chapter);
    }

    // The book's chapters as a reader counts them: not the head item, not
    // 目录, not a title removed with Delete. Numbers by item, -1 removes that
    // item first.
    void chapterNumbers_countOnlyTheBooksChapters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("removed");
        QTest::addColumn<QList<int>>("numbers");
        const QString withContents = u"书名\r\n目录\r\n"_s + Table(5) + u"正文\r\n"_s + Body(5);
        QTest::newRow("head item and three chapters") << kBook << -1 << QList<int>{0, 1, 2, 3};
        QTest::newRow("目录 and 正文") << withContents << -1 << QList<int>{0, 0, 1, 2, 3, 4, 5};
        QTest::newRow("a chapter removed") << withContents << 3 << QList<int>{0, 0, 1, 2, 3, 4};
        QTest::newRow("目录 removed") << withContents << 1 << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("opens with a heading")
            << u"第一章 起\r\n甲。\r\n第二章 承\r\n乙。"_s << -1 << QList<int>{0, 1, 2};
        QTest::newRow("no heading") << u"只有一行\r\n正文"_s << -1 << QList<int>{0};
    }

    void chapterNumbers_countOnlyTheBooksChapters()
    {
        QFETCH(QString, text);
        QFETCH(int, removed);
        QFETCH(QList<int>, numbers);
        OpenBook book = Indexed(text);
        book.RemoveChapter(removed);
        QList<int> counted;
        for (int n = 0; n < book.ChapterCount(); ++n)
            counted << book.ChapterNumberOf(n);
        QCOMPARE(counted, numbers);
        const int chapters = *std::max_element(numbers.cbegin(), numbers.cend());
        QCOMPARE(book.NumberedChapters(), chapters);
        // Ctrl+G's number is the strip's.
        for (int number = 0; number <= chapters + 1; ++number) {
            const int item = int(numbers.indexOf(number));
            QCOMPARE(book.ChapterWithNumber(number), number == 0 ? -1 : item);
            QCOMPARE(FindChapterToJump(book, QString::number(number), 0), number == 0 ? -1 : item);
        }
    }

    void findChapter_takesTheTitleNearestToTheGivenChapter()
    {
        // (A chapter's text longer than a line of a table of contents.)
        const OpenBook book =
            Indexed(u"书\r\n第一章 雨\r\n甲，这一段正文比一行目录后面的二十个字还要更长一些。\r\n第二章 风\r\n乙\r\n"
                    u"第一章 雨\r\n丙\r\n第三章 雪\r\n丁\r\n第一章 雨\r\n"_s);
        QCOMPARE(book.ChapterTitle(2), u"第二章 风"_s);
        QCOMPARE(book.FindChapter(u"第二章 风"_s, 0), 2);
        QCOMPARE(book.FindChapter(u"第一章 雨"_s, 0), 1);
        QCOMPARE(book.FindChapter(u"第一章 雨"_s, 4), 3);
        QCOMPARE(book.FindChapter(u"第一章 雨"_s, 2), 1); // a tie takes the earlier
        QCOMPARE(book.FindChapter(u"第四章"_s, 2), -1);
        QCOMPARE(book.FindChapter(u" 第二章 风 "_s, 0), 2);
        // The remembered number, unless its chapter now has another title.
        QCOMPARE(book.ResolveChapter(4, u"第三章 雪"_s), 4);
        QCOMPARE(book.ResolveChapter(2, u"第三章 雪"_s), 4);
        QCOMPARE(book.ResolveChapter(2, QString()), 2);
        QCOMPARE(book.ResolveChapter(2, u"第九章"_s), 2);
        QCOMPARE(book.ResolveChapter(99, u"第九章"_s), 99);
    }
};

FOLIVAR_TEST(OpenBookTest)
#include "OpenBookTest.moc"
