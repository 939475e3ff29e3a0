#include "core/BookRewrite.h"
#include "core/BookDecoder.h"
#include "core/ChapterHeadings.h"
#include "core/OpenBook.h"
#include "support/TestRegistry.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The book text the reader makes of a file's bytes.
QString ReadAsBook(const QByteArray &bytes, const TextEncoding &encoding)
{
    QString text = BookDecoder(encoding).DecodePiece(bytes);
    TrimBookText(text);
    return text;
}

QByteArray Encoded(const QString &text, const TextEncoding &encoding)
{
    QStringEncoder encoder(encoding.Name());
    return encoder.encode(text);
}

// The chapter 第二章 of a book text: from its heading up to 第三章.
TextRange SecondChapter(const QString &bookText)
{
    const qsizetype start = bookText.indexOf(u"第二章");
    return {start, bookText.indexOf(u"第三章")};
}

QByteArray Mark(TextEncoding::Kind kind)
{
    switch (kind) {
    case TextEncoding::Utf8:
        return "\xEF\xBB\xBF";
    case TextEncoding::Utf16LE:
        return "\xFF\xFE";
    case TextEncoding::Utf16BE:
        return "\xFE\xFF";
    case TextEncoding::Gb18030:
    case TextEncoding::Big5:
        break;
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(TextEncoding::Kind)
Q_DECLARE_METATYPE(RewrittenBook::Failure)

class BookRewriteTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A file holding `before` (after its mark, if any, and `junk` bytes) has
    // its second chapter edited in the pane to what `after` holds there; the
    // rewritten file must be the file of `after`, byte for byte.
    void rewrite_editedChapter_changesOnlyItsBytes_data()
    {
        QTest::addColumn<TextEncoding::Kind>("kind");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QByteArray>("junk");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<RewrittenBook::Failure>("failure");

        const QString crLf =
            u"\r\n　　 \r\n书名\r\n第一章 开始\r\n　　他走进了房间。\r\n第二章 雨夜\r\n　　雨下得很大，"
            u"他打开了窗护。\r\n　　风很冷。\r\n第三章 天明\r\n　　天亮了。\r\n  "_s;
        const QString fixed = QString(crLf).replace(u"窗护"_s, u"窗户"_s);
        const QString lf = QString(crLf).replace(u"\r\n"_s, u"\n"_s);
        const QString lfFixed = QString(fixed).replace(u"\r\n"_s, u"\n"_s);
        const QString addedLine = QString(crLf).replace(u"　　风很冷。\r\n"_s, u"　　风很冷。\r\n　　又一行。\r\n"_s);
        const QString traditional = u"第一章 開始\r\n他走進了房間。\r\n第二章 雨夜\r\n雨下得很大，他打開了窗護。\r\n"
                                    u"第三章 天明\r\n天亮了。\r\n"_s;
        const QString traditionalFixed = QString(traditional).replace(u"窗護"_s, u"窗戶"_s);
        const auto row = [](const char *name, TextEncoding::Kind kind, bool marked, const QString &before,
                            const QString &after, RewrittenBook::Failure failure = RewrittenBook::None,
                            const QByteArray &junk = {}) {
            QTest::newRow(name) << kind << marked << junk << before << after << failure;
        };
        row("GB18030, CR LF, blanks before the text", TextEncoding::Gb18030, false, crLf, fixed);
        row("GB18030, a line added keeps CR LF", TextEncoding::Gb18030, false, crLf, addedLine);
        row("GB18030, a character beyond GBK", TextEncoding::Gb18030, false, crLf,
            QString(crLf).replace(u"窗护"_s, u"窗𠀀"_s));
        row("UTF-8 without a mark, LF", TextEncoding::Utf8, false, lf, lfFixed);
        row("UTF-8 with its mark, CR LF", TextEncoding::Utf8, true, crLf, fixed);
        row("UTF-16 LE with its mark", TextEncoding::Utf16LE, true, crLf, fixed);
        row("UTF-16 BE with its mark", TextEncoding::Utf16BE, true, lf, lfFixed);
        row("Big5", TextEncoding::Big5, false, traditional, traditionalFixed);
        row("Big5 cannot hold 们", TextEncoding::Big5, false, traditional,
            QString(traditional).replace(u"窗護"_s, u"们"_s), RewrittenBook::Unencodable);
        row("mixed line ends: the lines left alone keep theirs", TextEncoding::Gb18030, false,
            u"第一章\r\n甲\r\n第二章\r\n乙\n丙窗护\r\n第三章\r\n"_s,
            u"第一章\r\n甲\r\n第二章\r\n乙\n丙窗户\r\n第三章\r\n"_s);
        row("a byte the decoding replaced before the chapter", TextEncoding::Gb18030, false, crLf, fixed,
            RewrittenBook::TextMismatch, "\xFF");
    }

    void rewrite_editedChapter_changesOnlyItsBytes()
    {
        QFETCH(TextEncoding::Kind, kind);
        QFETCH(bool, marked);
        QFETCH(QByteArray, junk);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(RewrittenBook::Failure, failure);
        const QByteArray mark = marked ? Mark(kind) : QByteArray();
        const TextEncoding encoding{kind, mark.size()};
        const QByteArray file = mark + junk + Encoded(before, encoding);
        const QString bookText = ReadAsBook(file, encoding);
        const TextRange chapter = SecondChapter(bookText);
        QString afterText = after;
        TrimBookText(afterText);
        const TextRange edited = SecondChapter(afterText);
        const QString pane = WithLfLineEnds(QStringView(afterText).sliced(edited.start, edited.end - edited.start));

        const std::optional<TextChange> change =
            ChangeOfEdit(QStringView(bookText).sliced(chapter.start, chapter.end - chapter.start), chapter.start, pane);
        QVERIFY(change);
        const RewrittenBook rewritten = RewriteBookBytes(file, encoding, bookText, *change);
        QCOMPARE(rewritten.failure, failure);
        // The one character Big5 cannot hold is named by its place.
        QCOMPARE(FirstUnencodable(pane, encoding).value_or(-1),
                 failure == RewrittenBook::Unencodable ? pane.indexOf(u'们') : -1);
        if (failure == RewrittenBook::None)
            QCOMPARE(rewritten.bytes, mark + Encoded(after, encoding));
    }

    void changeOfEdit_sameText_isNone() { QVERIFY(!ChangeOfEdit(u"第二章\r\n正文\r\n", 10, u"第二章\n正文\n")); }

    // Bookmarks and removed headings follow a change by its positions.
    void moved_positionsAroundAChange_followIt_data()
    {
        QTest::addColumn<QString>("inserted");
        QTest::addColumn<qsizetype>("position");
        QTest::addColumn<qsizetype>("moved");
        // 3 characters from 10 replaced.
        QTest::newRow("before") << u"12345"_s << qsizetype(4) << qsizetype(4);
        QTest::newRow("at its start") << u"12345"_s << qsizetype(10) << qsizetype(10);
        QTest::newRow("inside") << u"12345"_s << qsizetype(12) << qsizetype(12);
        QTest::newRow("inside a stretch that shrank") << u"1"_s << qsizetype(12) << qsizetype(11);
        QTest::newRow("right behind") << u"12345"_s << qsizetype(13) << qsizetype(15);
        QTest::newRow("far behind, the stretch removed") << QString() << qsizetype(100) << qsizetype(97);
    }

    void moved_positionsAroundAChange_followIt()
    {
        QFETCH(QString, inserted);
        QFETCH(qsizetype, position);
        QFETCH(qsizetype, moved);
        QCOMPARE((TextChange{10, 3, inserted}.Moved(position)), moved);
    }
};

FOLIVAR_TEST(BookRewriteTest)
#include "BookRewriteTest.moc"
