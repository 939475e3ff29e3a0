// The Markdown a book's notes are exported as: headings per chapter, quotes,
// colours and notes, and markup in the book's text shown as written.
#include "core/NotesMarkdown.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(QList<ExportedHighlight>)

class NotesMarkdownTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void notes_areWrittenUnderTheirChapters_data()
    {
        QTest::addColumn<QList<ExportedHighlight>>("highlights");
        QTest::addColumn<QString>("markdown");
        QTest::newRow("none") << QList<ExportedHighlight>() << u"# 山城旧事\n\n"_s;
        QTest::newRow("one chapter, two highlights")
            << QList<ExportedHighlight>{{u"第一章 春"_s, u"　　春风又绿。"_s, HighlightColour::Green, u"好句"_s},
                                        {u"第一章 春"_s, u"他笑了"_s, HighlightColour::Pink, {}}}
            << u"# 山城旧事\n\n## 第一章 春\n\n> 春风又绿。\n\n颜色：绿\n\n笔记：好句  \n\n> 他笑了\n\n颜色：粉\n\n"_s;
        QTest::newRow("lines kept, a blank line quoted")
            << QList<ExportedHighlight>{{u"第二章"_s, u"甲\r\n\r\n乙"_s, HighlightColour::Blue, u"一\n二"_s}}
            << u"# 山城旧事\n\n## 第二章\n\n> 甲\n>\n> 乙\n\n颜色：蓝\n\n笔记：一  \n二  \n\n"_s;
        QTest::newRow("markup shown as written")
            << QList<ExportedHighlight>{{u"# 第三章"_s, u"# 不是标题 *星* <b>\n1. 不是列表"_s, HighlightColour::Yellow,
                                         u"- 不是列表_"_s}}
            << u"# 山城旧事\n\n## \\# 第三章\n\n> \\# 不是标题 \\*星\\* \\<b\\>\n> 1\\. 不是列表\n\n颜色：黄\n\n"
               u"笔记：\\- 不是列表\\_  \n\n"_s;
        QTest::newRow("the lost last, under 未找到")
            << QList<ExportedHighlight>{{{}, u"丢了"_s, HighlightColour::Yellow, {}},
                                        {u"第一章"_s, u"在"_s, HighlightColour::Yellow, {}}}
            << u"# 山城旧事\n\n## 第一章\n\n> 在\n\n颜色：黄\n\n## 未找到\n\n> 丢了\n\n颜色：黄\n\n"_s;
    }

    void notes_areWrittenUnderTheirChapters()
    {
        QFETCH(QList<ExportedHighlight>, highlights);
        QFETCH(QString, markdown);
        QCOMPARE(NotesMarkdown(u"山城旧事"_s, highlights), markdown);
    }

    // A note of 100 000 characters goes out whole.
    void longNote_isWrittenWhole()
    {
        const QString note(100000, u'注');
        const QString markdown = NotesMarkdown(u"书"_s, {{u"第一章"_s, u"字"_s, HighlightColour::Yellow, note}});
        QVERIFY(markdown.contains(u"笔记："_s + note + u"  \n"_s));
    }
};

FOLIVAR_TEST(NotesMarkdownTest)
#include "NotesMarkdownTest.moc"
