#include "core/Sentences.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class SentencesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void split_givesEachSentenceWithItsMarksAndQuotes_data();
    void split_givesEachSentenceWithItsMarksAndQuotes();
    void longSentence_isCutAtCommasWithinTheLength();
};

namespace {

QStringList Texts(QStringView text, const QList<TextSpan> &spans)
{
    QStringList texts;
    for (const TextSpan &span : spans)
        texts.append(text.mid(span.position, span.length).toString());
    return texts;
}

} // namespace

void SentencesTest::split_givesEachSentenceWithItsMarksAndQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("sentences");
    QTest::newRow("full stops") << u"天色暗了。风从山口吹来。"_s << QStringList{u"天色暗了。"_s, u"风从山口吹来。"_s};
    QTest::newRow("quote closes after the mark")
        << u"“你来了？”老人问。“来了！”"_s << QStringList{u"“你来了？”"_s, u"老人问。"_s, u"“来了！”"_s};
    QTest::newRow("corner brackets nested")
        << u"他说：「她说『走吧。』」然后走了。"_s << QStringList{u"他说：「她说『走吧。』」"_s, u"然后走了。"_s};
    QTest::newRow("ellipsis and a run of marks")
        << u"“这……这不可能……”他退了一步！？真的吗"_s
        << QStringList{u"“这……"_s, u"这不可能……”"_s, u"他退了一步！？"_s, u"真的吗"_s};
    QTest::newRow("line ends, indentation and CR LF")
        << u"\u3000\u3000第一章 山门\r\n\r\n\u3000\u3000少年背着剑，走进了山门。\r\n"_s
        << QStringList{u"第一章 山门"_s, u"少年背着剑，走进了山门。"_s};
    QTest::newRow("half-width marks") << u"Hi! 好吗? 好｡"_s << QStringList{u"Hi!"_s, u"好吗?"_s, u"好｡"_s};
    QTest::newRow("single quotes") << u"‘嗯。’她点头。"_s << QStringList{u"‘嗯。’"_s, u"她点头。"_s};
    QTest::newRow("only blanks") << u" \u3000\r\n\r\n"_s << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{};
}

void SentencesTest::split_givesEachSentenceWithItsMarksAndQuotes()
{
    QFETCH(QString, text);
    QFETCH(QStringList, sentences);
    const QList<TextSpan> spans = SplitSentences(text);
    QCOMPARE(Texts(text, spans), sentences);
}

void SentencesTest::longSentence_isCutAtCommasWithinTheLength()
{
    // Clauses of 30 characters with a comma: four fit in 120, a fifth not.
    const QString clause = QString(29, u'山') + u'，';
    const QString text = clause.repeated(5) + u"水。"_s;
    const QList<TextSpan> spans = SplitSentences(text);
    QCOMPARE(Texts(text, spans), (QStringList{clause.repeated(4), clause + u"水。"_s}));
    // Without a comma in the first 120 characters it is cut at the first one after.
    const QString run = QString(130, u'云') + u"；雨。"_s;
    QCOMPARE(Texts(run, SplitSentences(run)), (QStringList{QString(130, u'云') + u'；', u"雨。"_s}));
    // Without any, it stays whole.
    const QString whole = QString(200, u'雾');
    QCOMPARE(SplitSentences(whole), (QList<TextSpan>{{0, 200}}));
}

FOLIVAR_TEST(SentencesTest)

#include "SentencesTest.moc"
