#include "core/ChapterHeadings.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class BookTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void headItem_isFirstLineWithItsCarriageReturn_data();
    void headItem_isFirstLineWithItsCarriageReturn();
    void trim_removesBlanksAtBothEndsAndBlankLinesAtTheStart_data();
    void trim_removesBlanksAtBothEndsAndBlankLinesAtTheStart();
    void trimmedBook_headItemIsFirstLineWithText();
};

void BookTextTest::headItem_isFirstLineWithItsCarriageReturn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("headItem");
    QTest::newRow("CR LF") << u"书名\r\n第一章 起\r\n"_s << u"书名\r"_s;
    QTest::newRow("bare LF") << u"书名\n第一章 起\n"_s << QString();
    QTest::newRow("bare CR") << u"书名\r第一章 起"_s << QString();
    QTest::newRow("LF before the first CR LF") << u"书名\n作者\r\n正文"_s << u"书名\n作者\r"_s;
    QTest::newRow("empty first line") << u"\r\n正文"_s << u"\r"_s;
    QTest::newRow("empty text") << QString() << QString();
}

void BookTextTest::headItem_isFirstLineWithItsCarriageReturn()
{
    QFETCH(QString, text);
    QFETCH(QString, headItem);
    QCOMPARE(HeadItemOf(text), headItem);
}

void BookTextTest::trim_removesBlanksAtBothEndsAndBlankLinesAtTheStart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("ASCII spaces") << u"  书名\r\n正文  "_s << u"书名\r\n正文"_s;
    QTest::newRow("full-width spaces") << u"\u3000\u3000书名\r\n正文\u3000"_s << u"书名\r\n正文"_s;
    QTest::newRow("tabs") << u"\t书名\r\n正文\t"_s << u"书名\r\n正文"_s;
    QTest::newRow("blank lines at the start") << u"\r\n \r\n\u3000\u3000书名\r\n正文"_s << u"书名\r\n正文"_s;
    QTest::newRow("line end at the end kept") << u"书名\r\n第十章\r\n \u3000"_s << u"书名\r\n第十章\r\n"_s;
    QTest::newRow("blanks inside kept") << u"书 名\r\n\u3000\u3000正文"_s << u"书 名\r\n\u3000\u3000正文"_s;
    QTest::newRow("only blanks") << u" \u3000\r\n\t"_s << QString();
    QTest::newRow("nothing to trim") << u"书名"_s << u"书名"_s;
}

void BookTextTest::trim_removesBlanksAtBothEndsAndBlankLinesAtTheStart()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    TrimBookText(text);
    QCOMPARE(text, trimmed);
}

void BookTextTest::trimmedBook_headItemIsFirstLineWithText()
{
    QString book = u"\r\n\u3000\u3000第一章 起\r\n正文\r\n"_s;
    TrimBookText(book);
    QCOMPARE(HeadItemOf(book), u"第一章 起\r"_s);
    const QList<ChapterHeading> headings = FindChapterHeadings(book);
    QCOMPARE(headings.size(), 1);
    QCOMPARE(headings[0].position, 0);
    QCOMPARE(headings[0].text, HeadItemOf(book));
}

FOLIVAR_TEST(BookTextTest)

#include "BookTextTest.moc"
