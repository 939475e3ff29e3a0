// Books as users download them: garbage, broken encodings, giant lines,
// files that change while they are read. Each is opened through the real
// window; the reader must end the load, show a chapter that matches its list,
// keep working and open a normal book afterwards.
#include "core/ChapterHeadings.h"
#include "core/CodePage.h"
#include "core/ScriptConverter.h"
#include "core/TextListModel.h"
#include "shelf/Shelf.h"
#include "support/NovelGenerator.h"
#include "support/ReaderFixture.h"
#include "support/TestRegistry.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/NotifyLabel.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

namespace {

QString Trimmed(QString text)
{
    TrimBookText(text);
    return text;
}

const QString kHostile = QStringLiteral("x.txt");
const QString kNormal = QStringLiteral("normal.txt");

const Novel &NormalNovel()
{
    static const Novel novel = GenerateNovel({.seed = 3, .chapters = 12, .charactersPerChapter = 600});
    return novel;
}

// A paragraph of Chinese prose of exactly `length` characters, no line end.
QString Prose(qsizetype length)
{
    const QString words = QStringLiteral("他们走进城市，看见远方的灯火。");
    QString text;
    text.reserve(length);
    while (text.size() < length)
        text += words;
    text.truncate(length);
    return text;
}

QByteArray RandomBytes(qsizetype size, quint32 seed, bool withNul)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(withNul ? random.bounded(256) : 1 + random.bounded(255));
    return bytes;
}

QString Decoded(const QByteArray &bytes)
{
    QStringDecoder decoder("GB18030");
    return decoder(bytes);
}

// Every 100000-byte piece up to its first NUL, each decoded on its own: in
// random bytes every piece holds a NUL, and the cut there drops any half
// character, so nothing carries over into the next piece.
QString DecodedUpToEachPiecesNul(const QByteArray &bytes)
{
    QString text;
    for (qsizetype at = 0; at < bytes.size(); at += 100'000) {
        const QByteArray piece = bytes.mid(at, 100'000);
        text += Decoded(piece.first(piece.indexOf('\0')));
    }
    return text;
}

// What a plain-text pane gives back for a text (line ends become LF).
QString AsShown(const QString &text)
{
    QTextDocument document;
    document.setPlainText(text);
    return document.toPlainText();
}

int IndexOfBook(const ReaderFixture &reader, const QString &name)
{
    return reader.Session().BookShelf().Books().RowOf(name);
}

// A reader with a hostile book and a normal one in its folder, started.
struct HostileReader {
    ReaderFixture fixture;

    explicit HostileReader(const QByteArray &hostileBytes)
    {
        fixture.AddBook(kHostile, hostileBytes);
        fixture.AddBook(kNormal, EncodeCodePage(NormalNovel().text));
        fixture.WriteSettingsForBookFolder();
        fixture.Start();
    }

    const ReaderControls &Controls() const { return fixture.Controls(); }
    const QString &BookText() { return fixture.BookText(); }
    QString HostilePath() const { return QDir(fixture.BookFolder()).filePath(kHostile); }
    void Open(const QString &name) { fixture.OpenBookAt(IndexOfBook(fixture, name)); }
};

// The load has ended with the book selected, every title stands where its
// item says, and the pane holds the selected chapter.
void VerifyLoadedAndConsistent(HostileReader &reader, const QString &name)
{
    const ReaderControls &c = reader.Controls();
    const QString &book = reader.BookText();
    QVERIFY(!reader.fixture.Session().BookShelf().IsLoading());
    QCOMPARE(c.列表框_文件->Selection(), IndexOfBook(reader.fixture, name));
    QCOMPARE(c.标签_状态显示->Caption(), QStringLiteral("载入完成"));
    const QList<ChapterHeading> &items = reader.fixture.Session().Book().chapters;
    const ListBox &chapters = *c.列表框_章节;
    QVERIFY(!items.isEmpty());
    QCOMPARE(chapters.Count(), items.size());
    QCOMPARE(items[0].text, HeadItemOf(book));
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(chapters.ItemText(i), ShownListText(items[i].text));
        QVERIFY(i == 0 || items[i].position >= items[i - 1].position);
        QCOMPARE(book.mid(items[i].position, items[i].text.size()), items[i].text);
    }
    const int n = chapters.Selection();
    QVERIFY(n >= 0);
    const qint64 start = items[n].position;
    const qint64 end = n + 1 < items.size() ? items[n + 1].position : book.size();
    QCOMPARE(c.编辑框_内容->Text(), AsShown(book.mid(start, end - start)));
}

void VerifyNormalBookOpens(HostileReader &reader)
{
    reader.Open(kNormal);
    VerifyLoadedAndConsistent(reader, kNormal);
    QCOMPARE(reader.BookText(), NormalNovel().text);
    const ListBox &chapters = *reader.Controls().列表框_章节;
    QCOMPARE(chapters.Count(), int(NormalNovel().headings.size()) + 1);
    QCOMPARE(chapters.ItemText(1), NormalNovel().headings.first().text);
}

// The longest block the pane holds, in characters.
int LongestShownBlock(const EditBox *pane)
{
    int longest = 0;
    for (QTextBlock b = pane->document()->firstBlock(); b.isValid(); b = b.next())
        longest = qMax(longest, b.length());
    return longest;
}

} // namespace

class HostileBooksTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void garbage_loadsAndIndexesWhatDecodes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("decoded");
        const QByteArray withNuls = RandomBytes(3'000'000, 7, true);
        QByteArray withoutNul = RandomBytes(3'000'000, 8, false);
        for (qsizetype at = 100'000; at < withoutNul.size(); at += 150'000)
            withoutNul.insert(at, EncodeCodePage(QStringLiteral("\r\n第%1章 夹在乱码里\r\n").arg(at / 150'000)));
        QTest::newRow("random bytes with NULs") << withNuls << DecodedUpToEachPiecesNul(withNuls);
        // Read in pieces, decoded as a whole.
        QTest::newRow("random bytes without NUL") << withoutNul << Decoded(withoutNul);
    }

    void garbage_loadsAndIndexesWhatDecodes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, decoded);
        HostileReader reader(bytes);
        reader.Open(kHostile);
        VerifyLoadedAndConsistent(reader, kHostile);
        QCOMPARE(reader.BookText(), Trimmed(decoded));
        // Step through every chapter and round to the first again.
        const ReaderControls &c = reader.Controls();
        const int chapters = c.列表框_章节->Count();
        QCOMPARE(chapters, bytes.count(EncodeCodePage(QStringLiteral("夹在乱码里\r\n"))) + 1);
        for (int step = 1; step <= chapters; ++step) {
            QTest::keyClick(c.编辑框_内容, Qt::Key_Right);
            QCOMPARE(c.列表框_章节->Selection(), step % chapters);
            VerifyLoadedAndConsistent(reader, kHostile);
        }
        VerifyNormalBookOpens(reader);
    }

    void brokenGbk_decodesTheRestAndKeepsLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QByteArray head = EncodeCodePage(QStringLiteral("书名\r\n第一章 甲"));
        const QByteArray rest = EncodeCodePage(QStringLiteral("\r\n正文\r\n第二章 乙\r\n完"));
        const QString headText = QStringLiteral("书名\r\n第一章 甲");
        const QString restText = QStringLiteral("\r\n正文\r\n第二章 乙\r\n完");
        // An incomplete character at the very end is dropped.
        QTest::newRow("lone lead byte at the end") << head + rest + "\xB5" << headText + restText;
        QTest::newRow("four-byte sequence cut at the end") << head + rest + "\x81\x30\x81" << headText + restText;
        QTest::newRow("FF FF in a heading")
            << head + "\xFF\xFF" + rest << headText + QString(2, QChar::ReplacementCharacter) + restText;
        // GB18030 has no single-byte 0x80 (GBK's €).
        QTest::newRow("0x80 in a heading") << head + "\x80" + rest << headText + u'\uFFFD' + restText;
        // A lead byte does not swallow the line end after it.
        QTest::newRow("lead byte before CR LF") << head + "\xB5" + rest << headText + u'\uFFFD' + restText;
        const QByteArray filler(99'999 - head.size(), 'a');
        QTest::newRow("lead byte ending a piece, CR LF starting the next")
            << head + filler + "\xB5" + rest << headText + QString::fromLatin1(filler) + u'\uFFFD' + restText;
    }

    void brokenGbk_decodesTheRestAndKeepsLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        HostileReader reader(bytes);
        reader.Open(kHostile);
        VerifyLoadedAndConsistent(reader, kHostile);
        QCOMPARE(reader.BookText(), expected);
        QCOMPARE(reader.Controls().列表框_章节->Count(), 3);
        VerifyNormalBookOpens(reader);
    }

    void giantLine_isShownInPiecesAndListedShort_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("giantChapter");
        const QString giant = Prose(10'000'000); // 20 MB in GBK
        QTest::newRow("20 MB without a line feed") << giant << 0;
        QTest::newRow("heading line of 20 MB") << QStringLiteral("书名\r\n第一章 ") + giant << 1;
    }

    void giantLine_isShownInPiecesAndListedShort()
    {
        QFETCH(QString, text);
        QFETCH(int, giantChapter);
        HostileReader reader(EncodeCodePage(text));
        const ReaderControls &c = reader.Controls();
        reader.Open(kHostile);
        QCOMPARE(reader.BookText(), text);
        ReaderFixture::Choose(*c.列表框_章节, giantChapter); // as the user does
        VerifyLoadedAndConsistent(reader, kHostile);
        EditBox *pane = c.编辑框_内容;
        QVERIFY(!pane->Text().contains(u'\n'));
        // Laid out as one paragraph, the line made every repaint take most of
        // a second; the pane holds it in short blocks instead.
        QVERIFY(pane->document()->blockCount() > 100);
        QVERIFY(LongestShownBlock(pane) <= 10'001);
        // The list item holds and shows only the title's first 200 characters.
        const QString title = c.列表框_章节->ItemText(giantChapter);
        QCOMPARE(title, giantChapter == 0 ? QString() : text.mid(text.indexOf(u'第'), 200) + u'…');
        QVERIFY(c.列表框_章节->model()->index(giantChapter, 0).data().toString().size() <= 201);

        // The window keeps working: it paints, runs timers and scrolls by lines.
        QVERIFY(!c.mainWindow->grab().isNull());
        bool timerFired = false;
        QTimer::singleShot(0, this, [&timerFired] { timerFired = true; });
        QTRY_VERIFY(timerFired);
        pane->ScrollLines(5000);
        QCOMPARE(pane->FirstVisibleLine(), 5000);
        pane->ScrollLines(-10);
        QCOMPARE(pane->FirstVisibleLine(), 4990);
        VerifyNormalBookOpens(reader);
    }

    void longParagraph_copiesAndConvertsWithoutShownBreaks()
    {
        const QString paragraph = Prose(300'000);
        HostileReader reader(EncodeCodePage(paragraph));
        reader.Open(kHostile);
        EditBox *pane = reader.Controls().编辑框_内容;
        QCOMPARE(pane->Text(), paragraph);
        QVERIFY(pane->document()->blockCount() > 1);

        pane->selectAll();
        pane->copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), paragraph);

        reader.fixture.Session().OnChooseScript(ScriptConversion::ToTraditional);
        const QString traditional = pane->Text();
        QVERIFY(traditional != paragraph);
        QVERIFY(!traditional.contains(u'\n'));
        QCOMPARE(traditional.size(), paragraph.size());
        reader.fixture.Session().OnChooseScript(std::nullopt);
        QCOMPARE(pane->Text(), paragraph);
    }

    void longParagraph_placeIsRestoredAndSavedAgain()
    {
        const QString text = QStringLiteral("书名\r\n第一章 ") + Prose(1'000'000);
        ReaderFixture reader;
        reader.AddBook(kHostile, EncodeCodePage(text));
        reader.WriteSettings({QStringLiteral("Config/路径=") + reader.BookFolder() + QLatin1Char('/'),
                              QStringLiteral("Config/书=0"), QStringLiteral("Config/章=1"),
                              QStringLiteral("Config/行=3000")});
        reader.Start();
        const ReaderControls &c = reader.Controls();
        QCOMPARE(c.列表框_章节->Selection(), 1);
        QCOMPARE(c.编辑框_内容->FirstVisibleLine(), 3000);
        const QString top = c.编辑框_内容->cursorForPosition(QPoint(4, 4)).block().text();
        c.编辑框_内容->resize(c.编辑框_内容->width() - 100, c.编辑框_内容->height());
        QTRY_COMPARE(c.编辑框_内容->cursorForPosition(QPoint(4, 4)).block().text(), top);
        const int line = c.编辑框_内容->FirstVisibleLine();
        reader.Close();
        QVERIFY(reader.SettingsBytes().contains(EncodeCodePage(QStringLiteral("行=%1\r\n").arg(line))));
    }

    void twoMillionNumerals_makeOneHeading()
    {
        const QString numbered = QString(2'000'000, u'一') + QStringLiteral("、标题\r");
        const QString text = QStringLiteral("书名\r\n") + numbered + QStringLiteral("\n正文\r\n第二章 乙\r\n完");
        HostileReader reader(EncodeCodePage(text));
        const ReaderControls &c = reader.Controls();
        reader.Open(kHostile);
        QCOMPARE(c.列表框_章节->Count(), 3);
        QCOMPARE(c.列表框_章节->ItemText(1), numbered.first(200) + u'…');
        QVERIFY(c.列表框_章节->model()->index(1, 0).data().toString().size() <= 201);
        ReaderFixture::Choose(*c.列表框_章节, 1);
        VerifyLoadedAndConsistent(reader, kHostile);
        QVERIFY(c.编辑框_内容->Text().startsWith(QString(1000, u'一')));
        VerifyNormalBookOpens(reader);
    }

    void onlyOrdinalMarks_isOneChapter()
    {
        const QString text(2'000'000, u'第');
        HostileReader reader(EncodeCodePage(text));
        const ReaderControls &c = reader.Controls();
        reader.Open(kHostile);
        VerifyLoadedAndConsistent(reader, kHostile);
        QCOMPARE(c.列表框_章节->Count(), 1);
        QCOMPARE(c.编辑框_内容->Text(), text);
        QTest::keyClick(c.编辑框_内容, Qt::Key_Left);
        QCOMPARE(c.列表框_章节->Selection(), 0);
        VerifyNormalBookOpens(reader);
    }

    void fiftyThousandHeadings_indexAndShowTheLast()
    {
        const Novel novel = GenerateNovel({.seed = 5, .chapters = 50'000, .charactersPerChapter = 1});
        HostileReader reader(EncodeCodePage(novel.text));
        const ReaderControls &c = reader.Controls();
        reader.Open(kHostile);
        QCOMPARE(c.列表框_章节->Count(), 50'001);
        for (int i = 0; i < novel.headings.size(); ++i)
            QCOMPARE(c.列表框_章节->ItemText(i + 1), novel.headings[i].text);
        QTest::keyClick(c.编辑框_内容, Qt::Key_Left); // from chapter 0 round to the last
        QCOMPARE(c.列表框_章节->Selection(), 50'000);
        VerifyLoadedAndConsistent(reader, kHostile);
        QVERIFY(c.编辑框_内容->Text().startsWith(AsShown(novel.headings.last().text)));
        VerifyNormalBookOpens(reader);
    }

    void fileGrowingWhileRead_loadsWhatWasThereAtTheStart()
    {
        const Novel novel = GenerateNovel({.seed = 9, .chapters = 10, .charactersPerChapter = 25'000});
        const QByteArray bytes = EncodeCodePage(novel.text);
        QVERIFY(bytes.size() > 400'000);
        HostileReader reader(bytes);
        const ReaderControls &c = reader.Controls();
        QList<int> percentages;
        int appended = 0;
        QFile growing(reader.HostilePath());
        QVERIFY(growing.open(QIODevice::Append));
        // A writer that outpaces the reader. It gives up after a while, so a
        // reader that follows the growth still ends and the test can report.
        connect(&reader.fixture.Session().BookShelf(), &Shelf::loadProgress, this, [&](int percentage) {
            percentages << percentage;
            if (appended++ < 40) {
                growing.write(
                    EncodeCodePage(QStringLiteral("第九十九章 追加\r\n") + Prose(100'000) + QStringLiteral("\r\n")));
                growing.flush();
            }
        });
        reader.Open(kHostile);
        VerifyLoadedAndConsistent(reader, kHostile);
        QCOMPARE(reader.BookText().size(), novel.text.size());
        QCOMPARE(reader.BookText(), novel.text);
        QCOMPARE(c.列表框_章节->Count(), int(novel.headings.size()) + 1);
        QCOMPARE(percentages.count(100), 1);
        QCOMPARE(percentages.last(), 100);
        QVERIFY(std::is_sorted(percentages.begin(), percentages.end()));
        VerifyNormalBookOpens(reader);
    }

    void fileShrinkingWhileRead_endsWithWhatWasRead_data()
    {
        QTest::addColumn<qint64>("newSize");
        QTest::newRow("cut to the middle of a piece") << qint64(250'001);
        QTest::newRow("cut to nothing") << qint64(0);
    }

    void fileShrinkingWhileRead_endsWithWhatWasRead()
    {
        QFETCH(qint64, newSize);
        const Novel novel = GenerateNovel({.seed = 9, .chapters = 10, .charactersPerChapter = 25'000});
        const QByteArray bytes = EncodeCodePage(novel.text);
        HostileReader reader(bytes);
        const ReaderControls &c = reader.Controls();
        QList<int> percentages;
        connect(&reader.fixture.Session().BookShelf(), &Shelf::loadProgress, this, [&](int percentage) {
            if (percentages.isEmpty())
                QFile::resize(reader.HostilePath(), newSize);
            percentages << percentage;
        });
        reader.Open(kHostile);
        VerifyLoadedAndConsistent(reader, kHostile);
        // How far the reading had got when the file was cut is the loader's
        // affair; the book is what it read, at least the first piece.
        const QString whole = Trimmed(Decoded(bytes));
        QVERIFY(whole.startsWith(reader.BookText()));
        QVERIFY(reader.BookText().size() >= Trimmed(Decoded(bytes.left(qMax<qint64>(newSize, 100'000)))).size() - 1);
        QVERIFY(c.列表框_章节->Count() > 1);
        QCOMPARE(percentages.count(100), 1);
        QCOMPARE(percentages.last(), 100);
        VerifyNormalBookOpens(reader);
    }
};

FOLIVAR_TEST(HostileBooksTest)
#include "HostileBooksTest.moc"
