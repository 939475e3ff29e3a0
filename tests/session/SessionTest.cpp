// The reading session without a window: a small book opened through the
// shelf, shown in a stand-in pane; where the reader is, kept in the store and
// in the settings, bookmarks, the choices made for a book, and another
// computer's changes.
#include "core/BookKey.h"
#include "core/BookRewrite.h"
#include "core/CleanupRule.h"
#include "core/CodePage.h"
#include "core/RecordLimits.h"
#include "platform/VirtualKeyCodes.h"
#include "support/SessionFixture.h"
#include "support/TestRegistry.h"
#include "support/WaitUntil.h"

#include <QDateTime>
#include <QFile>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A chapter of ten paragraphs, one line each in the stand-in pane.
QString Chapter(const QString &heading, const QString &word)
{
    QString text = heading + u"\r\n"_s;
    for (int i = 1; i <= 10; ++i)
        text += u"　　这里是%1的第%2段，风一直吹。\r\n"_s.arg(word).arg(i);
    return text;
}

const QString kBook = u"小书\r\n"_s + Chapter(u"第一章 春"_s, u"春"_s) + Chapter(u"第二章 夏"_s, u"夏"_s)
    + Chapter(u"第三章 秋"_s, u"秋"_s);

// A reader with the book a.txt and a second one, b.txt, and a.txt open.
struct OpenReader {
    SessionFixture reader;

    OpenReader()
    {
        reader.AddBook(u"a.txt"_s, EncodeCodePage(kBook));
        reader.AddBook(u"b.txt"_s, EncodeCodePage(u"另一本\r\n第一章 甲\r\n乙\r\n"_s));
        reader.ListBooks();
        reader.OpenBookAt(0);
    }
    ReadingSession &Session() { return reader.Session(); }
    FakePane &Pane() { return reader.Pane(); }
    BookRecord Record() { return reader.Store().Find(BookKey(reader.BookFolder(), u"a.txt"_s)).value_or(BookRecord{}); }
    // Away to the other book and back, as the user goes.
    void Reopen()
    {
        reader.OpenBookAt(1);
        reader.OpenBookAt(0);
    }
};

} // namespace

class SessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The chapter and the line on top go to the store, with how far into
    // the book that line is, and the book opens there again; config.ini's
    // place follows the reader as well.
    void place_isKeptInTheStoreAndTheSettings()
    {
        OpenReader r;
        r.Session().ShowChapter(2);
        r.Pane().ScrollLines(3);
        r.Session().SaveShownPlace();
        const BookRecord record = r.Record();
        QCOMPARE(record.chapter, 2);
        QCOMPARE(record.chapterTitle, u"第二章 夏"_s);
        QCOMPARE(record.line, 3);
        QVERIFY(r.Pane().Text().sliced(record.position).startsWith(u"　　这里是夏的第3段"_s));
        const QString &text = r.Session().Book().BookText;
        const double share = double(text.indexOf(u"　　这里是夏的第3段"_s)) / double(text.size());
        QCOMPARE(record.progress, int(share * kProgressWhole));

        const Settings &settings = r.reader.Prefs().Values();
        QCOMPARE(settings.bookDirectory, r.reader.BookFolder());
        QCOMPARE(settings.book, 0);
        QCOMPARE(settings.bookName, u"a.txt"_s);
        QCOMPARE(settings.chapter, 2);
        QCOMPARE(settings.chapterTitle, u"第二章 夏"_s);
        QCOMPARE(settings.line, 3);

        r.Reopen();
        QCOMPARE(r.Session().ShownChapter(), 2);
        QCOMPARE(r.Pane().TopLine(), 3);
        QCOMPARE(r.reader.Prefs().Values().line, 3);
    }

    // Reopened, the book shows the saved chapter from its own bytes first, at
    // the saved line, its title alone in the list; the whole book then takes
    // its place with no new text and no scroll. A chapter step made in the
    // preview waits for the book and is made once, as does a search (which
    // finds in the whole book). A file changed since (a
    // chapter put before the place) shows no preview and opens at the
    // chapter by its title.
    void reopened_showsTheSavedChapterFirst_thenTheBookUnchanged_data()
    {
        QTest::addColumn<bool>("stepInPreview");
        QTest::addColumn<bool>("fileChanged");
        QTest::newRow("nothing pressed") << false << false;
        QTest::newRow("→ pressed in the preview") << true << false;
        QTest::newRow("a chapter inserted before the place") << false << true;
    }

    void reopened_showsTheSavedChapterFirst_thenTheBookUnchanged()
    {
        QFETCH(bool, stepInPreview);
        QFETCH(bool, fileChanged);
        OpenReader r;
        r.Session().ShowChapter(2);
        r.Pane().ScrollLines(3);
        r.reader.OpenBookAt(1);
        if (fileChanged) {
            r.reader.AddBook(
                u"a.txt"_s,
                EncodeCodePage(QString(kBook).insert(kBook.indexOf(u"第二章"_s), Chapter(u"第一章 补"_s, u"补"_s))));
        }
        struct Seen {
            QString text;
            int top = -1;
            int listed = -1;
            bool previewing = false;
            QString titleInSettings;
        };
        QList<Seen> previews;
        connect(&r.reader.BookShelf(), &Shelf::bookPreviewed, this, [&] {
            previews.append({r.Pane().Text(), r.Pane().TopLine(), int(r.Session().Chapters().Count()),
                             r.Session().IsPreviewing(), r.reader.Prefs().Values().chapterTitle});
            if (stepInPreview)
                r.Session().OnContentKeyUp(VK_RIGHT, 0);
            r.Session().Find().OnSearch(u"秋"_s);
        });
        QSignalSpy texts(&r.Session(), &ReadingSession::textShown);
        QSignalSpy found(&r.Session().Find(), &FindInBook::resultsChanged);
        r.reader.OpenBookAt(0);

        const int saved = fileChanged ? 3 : 2;
        const QString savedText = r.Session().Book().ShownChapterText(saved);
        QCOMPARE(previews.size(), fileChanged ? 0 : 1);
        if (!fileChanged) {
            QVERIFY(previews[0].text == savedText);
            QCOMPARE(previews[0].top, 3);
            QCOMPARE(previews[0].listed, 1);
            QVERIFY(previews[0].previewing);
            // config.ini still holds the other book's place, not the preview's
            // chapter 0 under this one's title.
            QCOMPARE(previews[0].titleInSettings, u"另一本"_s);
            // Searched once, in the whole book (after the book's own clearing
            // of the results): 第三章 秋 and its ten paragraphs.
            const auto searched = std::count_if(found.cbegin(), found.cend(), [](const QList<QVariant> &results) {
                return !results[0].toStringList().isEmpty();
            });
            QCOMPARE(searched, 1);
            QCOMPARE(found.last()[0].toStringList().size(), 11);
        }
        QVERIFY(!r.Session().IsPreviewing());
        QCOMPARE(r.Session().Chapters().Count(), fileChanged ? 5 : 4);
        QCOMPARE(r.Session().ShownChapter(), stepInPreview ? saved + 1 : saved);
        QCOMPARE(texts.count(), stepInPreview ? 2 : 1);
        if (!stepInPreview) {
            QVERIFY(r.Pane().Text() == savedText);
            QCOMPARE(r.Pane().TopLine(), 3);
            QCOMPARE(r.reader.Prefs().Values().chapter, saved);
            QCOMPARE(r.reader.Prefs().Values().line, 3);
        }
    }

    // A book never opened shows its first screen at once, decoded as the
    // book is, and the line the reader scrolled to there stays on top when
    // the book takes over: with no second text, or, when its first chapter
    // ran past that screen, with the rest of the chapter below.
    void neverOpened_showsItsFirstScreen_thenTheBook_data()
    {
        const QString shortStart = Chapter(u"小书"_s, u"序"_s) + Chapter(u"第一章 春"_s, u"春"_s);
        QString longStart = u"长书\r\n"_s;
        for (int i = 0; i < 3000; ++i)
            longStart += u"　　没有章节的第%1段。\r\n"_s.arg(i);
        QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("textsShown");
        QTest::newRow("a short first chapter") << EncodeCodePage(shortStart) << 1;
        QTest::newRow("UTF-16 LE after its mark") << QByteArray(utf16.encode(shortStart)) << 1;
        QTest::newRow("a first chapter past the first screen") << EncodeCodePage(longStart) << 2;
    }

    void neverOpened_showsItsFirstScreen_thenTheBook()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, textsShown);
        SessionFixture reader;
        reader.AddBook(u"新.txt"_s, bytes);
        reader.ListBooks();
        QStringList previews;
        connect(&reader.BookShelf(), &Shelf::bookPreviewed, this, [&] {
            previews << reader.Pane().Text();
            QVERIFY(reader.Session().IsPreviewing());
            reader.Pane().ScrollLines(3);
        });
        QSignalSpy texts(&reader.Session(), &ReadingSession::textShown);
        reader.OpenBookAt(0);

        QCOMPARE(previews.size(), 1);
        const QString chapter = reader.Session().Book().ShownChapterText(0);
        QVERIFY(!previews[0].isEmpty() && chapter.startsWith(previews[0]));
        QCOMPARE(texts.count(), textsShown);
        QVERIFY(reader.Pane().Text() == chapter);
        QCOMPARE(reader.Pane().TopLine(), 3);
        QCOMPARE(reader.Session().Chapters().Count(), reader.Session().Book().ChapterCount());
    }

    // A book of the same name in another folder is another book: each keeps
    // its own place.
    void booksOfOneName_inTwoFolders_keepTheirOwnPlaces()
    {
        OpenReader r;
        r.Session().ShowChapter(2);
        r.Pane().ScrollLines(3);
        r.Session().SaveShownPlace();
        QTemporaryDir other;
        const QString otherBook = other.filePath(u"a.txt"_s);
        QFile file(otherBook);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            EncodeCodePage(u"别的书\r\n"_s + Chapter(u"第一章 冬"_s, u"冬"_s) + Chapter(u"第二章 雪"_s, u"雪"_s)));
        file.close();

        r.Session().OnOpenBookFile(otherBook);
        r.reader.WaitForLoads();
        QCOMPARE(r.Session().Book().folder, other.path() + u'/');
        QCOMPARE(r.Session().ShownChapter(), 0);
        r.Session().ShowChapter(1);
        r.Session().SaveShownPlace();

        r.Session().OnOpenBookFile(r.reader.BookFolder() + u"a.txt"_s);
        r.reader.WaitForLoads();
        QCOMPARE(r.Session().ShownChapter(), 2);
        QCOMPARE(r.Pane().TopLine(), 3);
        QCOMPARE(r.reader.Store().Find(BookKey(other.path(), u"a.txt"_s))->chapterTitle, u"第一章 冬"_s);
    }

    // Only leaving the paragraph on top is a move of the user's (a new
    // width only wraps it anew); a move is marked as this computer's change,
    // at the time the user moved, however much later it is saved.
    void movesOfTheUser_areMarkedWhenTheyWereMade()
    {
        OpenReader r;
        r.reader.Store().MarkChangesAs(u"here"_s, [](const QString &) {});
        r.Session().ShowPlace({1, 2, -1});
        QCOMPARE(r.Session().MovedAt(), std::nullopt);
        r.Session().OnTopLineMoved(2, r.Session().TopPosition() + 3);
        QCOMPARE(r.Session().MovedAt(), std::nullopt);
        r.Session().SaveShownPlace();
        QCOMPARE(r.Record().changes.place.time, 0);
        r.Pane().ScrollLines(1);
        const qint64 moved = r.Session().MovedAt().value_or(0);
        QVERIFY(moved > 0);
        r.Session().SaveShownPlace();
        QCOMPARE(r.Record().changes.place, (ChangeMark{moved, u"here"_s}));
        // Measured anew and saved later (立即同步, a resize): still the move's time.
        QVERIFY(WaitUntil([moved] { return QDateTime::currentMSecsSinceEpoch() > moved + 5; }));
        r.Session().OnTopLineMoved(3, r.Session().TopPosition() + 2);
        r.Session().SaveShownPlace();
        QCOMPARE(r.Record().position, r.Session().TopPosition());
        QCOMPARE(r.Record().changes.place, (ChangeMark{moved, u"here"_s}));
    }

    void bookmarks_areListedPickedAndDeleted()
    {
        OpenReader r;
        r.Session().ShowChapter(3);
        r.Pane().ScrollLines(4);
        QSignalSpy listed(&r.Session().Marks(), &Bookmarks::listChanged);
        r.Session().Marks().Add();
        QCOMPARE(listed.count(), 1);
        const QStringList lines = listed.last().at(0).toStringList();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines[0].startsWith(u"这里是秋的第4段，风一直吹。　第三章 秋　"_s), qPrintable(lines[0]));

        r.Session().ShowChapter(1);
        r.Session().Marks().OnPicked(0);
        QCOMPARE(r.Session().ShownChapter(), 3);
        QCOMPARE(r.Pane().TopLine(), 4);

        r.Session().Marks().OnDeleted(0);
        QCOMPARE(listed.last().at(0).toStringList(), QStringList());
        QVERIFY(r.Record().bookmarks.isEmpty());
    }

    // A highlight made on the text the pane shows marks the same words with
    // the rules off, after a restart and in a file changed before it; lost
    // words are listed as 未找到; a blank stretch cannot be highlighted.
    void highlights_markTheSameWords_underRulesAndChanges()
    {
        OpenReader r;
        Highlights &highlights = r.Session().Highlighted();
        r.Session().Cleanup().SetRules({{u"广告"_s, u"，风一直吹"_s, {}, false, {}, CleanupRule::Content, true}}, true);
        r.Session().ShowChapter(2);
        const auto marked = [&r, &highlights] {
            QStringList words;
            for (const ShownHighlight &shown : highlights.Shown())
                words.append(r.Pane().Text().mid(shown.position, shown.length));
            return words;
        };
        const qsizetype blank = r.Pane().Text().indexOf(u"　　"_s);
        QVERIFY(!highlights.CanHighlight(blank, blank + 2));
        QCOMPARE(highlights.Add(blank, blank + 2, HighlightColour::Yellow), -1);
        const qsizetype at = r.Pane().Text().indexOf(u"夏的第4段。"_s);
        QSignalSpy listed(&highlights, &Highlights::listChanged);
        QCOMPARE(highlights.Add(at, at + 6, HighlightColour::Green, u"夏天"_s), 0);
        QCOMPARE(marked(), QStringList{u"夏的第4段。"_s});
        QCOMPARE(highlights.At(at + 3), 0);
        QCOMPARE(highlights.At(at + 6), -1);
        QCOMPARE(listed.last().at(0).toStringList(),
                 QStringList{u"第二章 夏　绿　夏的第4段，风一直吹。　笔记：夏天"_s});

        r.Session().Cleanup().SetShowsOriginal(true);
        QCOMPARE(marked(), QStringList{u"夏的第4段，风一直吹。"_s});
        r.Session().ShowChapter(1);
        QCOMPARE(marked(), QStringList());
        highlights.OnPicked(0);
        QCOMPARE(r.Session().ShownChapter(), 2);
        const auto [start, length] = r.Pane().Selection();
        QCOMPARE(r.Pane().Text().mid(start, length), u"夏的第4段，风一直吹。"_s);

        r.reader.AddBook(u"a.txt"_s, EncodeCodePage(u"前言一行\r\n"_s + kBook));
        r.Reopen();
        r.Session().ShowChapter(2);
        QCOMPARE(marked(), QStringList{u"夏的第4段，风一直吹。"_s});
        r.reader.AddBook(u"a.txt"_s, EncodeCodePage(QString(kBook).replace(u"夏的第4段"_s, u"夏的第四段"_s)));
        r.Reopen();
        highlights.List();
        QCOMPARE(listed.last().at(0).toStringList(), QStringList{u"未找到　绿　夏的第4段，风一直吹。　笔记：夏天"_s});
        highlights.OnDeleted(0);
        QCOMPARE(highlights.InOrder(), QList<Highlight>());
    }

    // 编辑本章: an edit left for another chapter is kept until F2 there; saved,
    // it rewrites the file (the original kept as a.txt.bak), the book is read
    // again and shown at the same chapter, and a bookmark behind the edit moves
    // with it. A file changed on disk since it was read refuses the next save.
    void chapterEdit_isKeptSavedAndRefusedWhenTheFileChanged()
    {
        OpenReader r;
        ChapterEditing &editing = r.Session().Editing();
        QString edited;
        editing.SetTextSource([&edited] { return edited; });
        QSignalSpy began(&editing, &ChapterEditing::editingBegan);
        QSignalSpy messages(&editing, &ChapterEditing::message);
        r.Session().ShowChapter(3);
        r.Session().Marks().Add();
        const qsizetype marked = r.Record().bookmarks.value(0).position;
        r.Session().ShowChapter(2);
        editing.Begin();
        QCOMPARE(began.count(), 1);
        edited = began.last().at(0).toString();
        QCOMPARE(edited, WithLfLineEnds(Chapter(u"第二章 夏"_s, u"夏"_s)));
        edited.replace(u"夏的第1段"_s, u"夏天的第1段"_s);
        r.Session().ShowChapter(1);
        QVERIFY(!editing.IsOpen());
        r.Session().ShowChapter(2);
        editing.Begin();
        QCOMPARE(began.last().at(0).toString(), edited);

        QSignalSpy saving(&editing, &ChapterEditing::savingChanged);
        editing.Save();
        QVERIFY(WaitUntil([&saving] { return saving.count() == 2; }));
        r.reader.WaitForLoads();
        const QString path = r.reader.BookFolder() + u"a.txt"_s;
        const QByteArray saved = EncodeCodePage(QString(kBook).replace(u"夏的第1段"_s, u"夏天的第1段"_s));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), saved);
        QFile backup(path + u".bak"_s);
        QVERIFY(backup.open(QIODevice::ReadOnly));
        QCOMPARE(backup.readAll(), EncodeCodePage(kBook));
        QVERIFY(!editing.IsOpen());
        QCOMPARE(r.Session().ShownChapter(), 2);
        QVERIFY(r.Pane().Text().contains(u"夏天的第1段"_s));
        QCOMPARE(r.Record().bookmarks.value(0).position, marked + 1);

        editing.Begin();
        edited = began.last().at(0).toString() + u"又一段。\n"_s;
        r.reader.AddBook(u"a.txt"_s, saved + "\r\n");
        editing.Save();
        QVERIFY(WaitUntil([&saving] { return saving.count() == 4; }));
        QCOMPARE(messages.last().at(0).toString(), u"无法保存：文件已被其他程序修改"_s);
        QVERIFY(editing.IsOpen());
    }

    // A read-only book file or folder refuses the save with that reason; the
    // file, without a backup beside it, and the edit stay as they were.
    void chapterEdit_unwritable_isRefusedWithItsReason_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("read-only file") << false << u"保存失败：文件是只读的"_s;
        QTest::newRow("read-only folder") << true << u"保存失败：文件夹是只读的"_s;
    }

    void chapterEdit_unwritable_isRefusedWithItsReason()
    {
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        OpenReader r;
        ChapterEditing &editing = r.Session().Editing();
        QSignalSpy began(&editing, &ChapterEditing::editingBegan);
        QSignalSpy messages(&editing, &ChapterEditing::message);
        QSignalSpy saving(&editing, &ChapterEditing::savingChanged);
        QString edited;
        editing.SetTextSource([&edited] { return edited; });
        editing.Begin();
        edited = began.last().at(0).toString() + u"又一段。\n"_s;
        const QString path = r.reader.BookFolder() + (folder ? QString() : u"a.txt"_s);
        const QFileDevice::Permissions before = QFile::permissions(path);
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        editing.Save();
        QVERIFY(WaitUntil([&saving] { return saving.count() == 2; }));
        QFile::setPermissions(path, before);
        QCOMPARE(messages.last().at(0).toString(), reason);
        QFile file(r.reader.BookFolder() + u"a.txt"_s);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), EncodeCodePage(kBook));
        QVERIFY(!QFile::exists(r.reader.BookFolder() + u"a.txt.bak"_s));
        QVERIFY(editing.IsOpen());
    }

    // A character the book's encoding cannot hold refuses the save, named
    // with its line and column in the chapter.
    void chapterEdit_unencodableCharacter_isNamedWithItsPlace()
    {
        SessionFixture reader;
        QStringEncoder big5("Big5");
        reader.AddBook(u"t.txt"_s, big5.encode(u"雨夜書\r\n第一章 歸來\r\n他走進了房間。\r\n"_s));
        reader.ListBooks();
        reader.OpenBookAt(0);
        reader.Session().Encoding().OnChooseEncoding(TextEncoding::Big5);
        reader.WaitForLoads();
        reader.Session().ShowChapter(1);
        ChapterEditing &editing = reader.Session().Editing();
        QString edited;
        editing.SetTextSource([&edited] { return edited; });
        QSignalSpy messages(&editing, &ChapterEditing::message);
        editing.Begin();
        edited = u"第一章 歸來\n他走进了房间。\n"_s;
        editing.Save();
        QCOMPARE(messages.last().at(0).toString(), u"无法保存：Big5 编码不能表示“进”（第 2 行第 3 字）"_s);
        QVERIFY(!editing.IsSaving());
        QVERIFY(editing.IsOpen());
    }

    // A bookmark beyond the text (the file shrank since) goes to its chapter
    // by title.
    void bookmarkBeyondTheText_goesToItsChapterByTitle()
    {
        OpenReader r;
        r.reader.Store().Update(BookKey(r.reader.BookFolder(), u"a.txt"_s), [](BookRecord &record) {
            record.bookmarks = {{1'000'000, u"第三章 秋"_s, u"远处"_s, 1}};
        });
        r.Session().Marks().OnPicked(0);
        QCOMPARE(r.Session().ShownChapter(), 3);
        QCOMPARE(r.Pane().TopLine(), 0);
    }

    // A heading that is one long line (a book of one line): its chapter is cut
    // by position, its title kept (the store, a bookmark, config.ini, sync)
    // and listed by its first 200 characters, and a title kept whole before
    // finds the chapter as well.
    void longTitle_isKeptShortAndStillFindsItsChapter()
    {
        const QString heading = u"第一章 "_s + QString(100'000, u'长');
        SessionFixture reader;
        reader.AddBook(u"a.txt"_s, EncodeCodePage(u"书\r\n"_s + heading + u"\r\n第二章 短\r\n正文。\r\n"_s));
        reader.ListBooks();
        reader.OpenBookAt(0);
        ReadingSession &session = reader.Session();
        session.ShowChapter(1);
        QCOMPARE(reader.Pane().Text(), heading + u"\r\n"_s);
        session.Marks().Add();
        const BookRecord record = reader.Store().Find(BookKey(reader.BookFolder(), u"a.txt"_s)).value_or(BookRecord{});
        const QString kept = heading.left(200);
        QCOMPARE(record.chapterTitle, kept);
        QVERIFY(PlaceWithinLimits(record, -1));
        QCOMPARE(record.bookmarks.value(0).chapterTitle, kept);
        QCOMPARE(reader.Prefs().Values().chapterTitle, kept);
        QCOMPARE(session.Chapters().Text(1), kept + u'…');
        const OpenBook &book = session.Book();
        QCOMPARE(book.ResolveChapter(2, record.chapterTitle), 1);
        QCOMPARE(book.ResolveChapter(2, heading), 1);
        QCOMPARE(book.FindChapter(u"　"_s + heading + u"\r"_s, 0), 1);
    }

    // 简体 / 繁体 stay with the book; 原文 gives its own characters back.
    void script_staysWithTheBook()
    {
        OpenReader r;
        r.Session().ShowChapter(1);
        r.Pane().ScrollLines(2);
        r.Session().OnChooseScript(ScriptConversion::ToTraditional);
        QVERIFY2(r.Pane().Text().contains(u"風一直吹"_s), qUtf8Printable(r.Pane().Text()));
        QCOMPARE(r.Pane().TopLine(), 2);
        QCOMPARE(r.Record().script, ScriptKey(ScriptConversion::ToTraditional));
        r.Reopen();
        QVERIFY(r.Pane().Text().contains(u"風一直吹"_s));
        r.Session().OnChooseScript(std::nullopt);
        QVERIFY(r.Pane().Text().contains(u"风一直吹"_s));
    }

    // 净化规则 change only what is shown: the place is kept in the book's own
    // text and opens at the same paragraph with them off (显示原文, kept per
    // book) and on again; titles follow title rules; find finds what is shown.
    void cleanupRules_keepThePlaceInTheBooksOwnText()
    {
        OpenReader r;
        CleanupRule ad{u"广告"_s, u"，风一直吹"_s, {}, false, {}, CleanupRule::Content, true};
        CleanupRule title{u"标题"_s, u"夏"_s, u"Summer"_s, false, {}, CleanupRule::Titles, true};
        r.Session().Cleanup().SetRules({ad, title}, true);
        r.Session().ShowChapter(2);
        QVERIFY(!r.Pane().Text().contains(u"风一直吹"_s));
        QCOMPARE(r.Session().Chapters().Text(2), u"第二章 Summer\r"_s);
        r.Pane().ScrollLines(4);
        r.Session().SaveShownPlace();
        const OpenBook &book = r.Session().Book();
        const qsizetype own = book.ChapterRange(2)->start + r.Record().position;
        QVERIFY(QStringView(book.BookText).sliced(own).startsWith(u"　　这里是夏的第4段，风一直吹。"_s));

        r.Session().Cleanup().SetShowsOriginal(true);
        r.Reopen();
        QVERIFY(r.Session().Cleanup().ShowsOriginal());
        QVERIFY(r.Pane().Text().contains(u"风一直吹"_s));
        QCOMPARE(r.Pane().TopLine(), 4);
        r.Session().Cleanup().SetShowsOriginal(false);
        QCOMPARE(r.Pane().TopLine(), 4);
        QVERIFY(r.Pane()
                    .Text()
                    .sliced(r.Session().ShownPosition(r.Session().TopPosition()))
                    .startsWith(u"　　这里是夏的第4段。"_s));

        r.Session().Find().OnSearch(u"风一直吹"_s);
        r.Session().Find().OnFindAgain(1);
        QCOMPARE(r.Pane().Selection(), (QPair<qsizetype, qsizetype>{-1, 0}));
        r.Session().Find().OnSearch(u"第4段。"_s);
        r.Session().Find().OnFindAgain(1);
        const auto [start, length] = r.Pane().Selection();
        QCOMPARE(r.Pane().Text().mid(start, length), u"第4段。"_s);
    }

    // A book read in the encoding chosen for it, from then on.
    void encodingChosen_readsTheBookAgainAndStaysWithIt()
    {
        SessionFixture reader;
        const QString text = u"小书\r\n第一章 春\r\n春天。\r\n"_s;
        QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        reader.AddBook(u"u.txt"_s, utf16);
        reader.ListBooks();
        reader.OpenBookAt(0);
        QVERIFY(reader.BookText() != text);
        reader.Session().Encoding().OnChooseEncoding(TextEncoding::Utf16LE);
        reader.WaitForLoads();
        QCOMPARE(reader.BookText(), text);
        QCOMPARE(reader.Session().Encoding().Chosen(), TextEncoding::Utf16LE);
        reader.Session().Encoding().OnChooseEncoding(std::nullopt);
        reader.WaitForLoads();
        QCOMPARE(reader.Session().Encoding().Chosen(), std::nullopt);
    }

    // Delete removes the heading and selects the chapter that now holds its
    // text; the removed headings come back with their chapter shown.
    void headingRemovedAndRestored_keepTheChapterListInStep()
    {
        OpenReader r;
        QSignalSpy selected(&r.Session(), &ReadingSession::shownChapterChanged);
        r.Session().ShowChapter(2);
        r.Session().OnChapterListKeyUp(VK_DELETE, 0);
        QCOMPARE(r.Session().Chapters().Count(), 3);
        QCOMPARE(r.Session().ShownChapter(), 1);
        QCOMPARE(selected.last().at(0).toInt(), 1);
        QVERIFY(r.Pane().Text().startsWith(u"第二章 夏"_s));
        r.Session().OnRestoreRemovedHeadings();
        QCOMPARE(r.Session().Chapters().Count(), 4);
        QCOMPARE(r.Session().Chapters().Text(2), u"第二章 夏\r"_s);
        QCOMPARE(r.Session().ShownChapter(), 1);
    }

    // 返回 goes back to the place before a jump (a find, a bookmark,
    // 跳转到章节, another book), 前进 forth again; a new jump forgets what
    // 前进 held, and only the newest 20 are kept.
    void jumps_goBackAndForth_acrossBooks()
    {
        OpenReader r;
        JumpHistory &jumps = r.Session().Jumps();
        r.Session().ShowChapter(1);
        r.Pane().ScrollLines(4);
        const qsizetype start = r.Session().TopPosition();
        r.Session().Find().OnSearch(u"夏的第7段"_s);
        r.Session().Find().OnHitPicked(0);
        QCOMPARE(r.Session().ShownChapter(), 2);
        r.Session().JumpToChapter(3);
        jumps.GoBack();
        QCOMPARE(r.Session().ShownChapter(), 2);
        jumps.GoBack();
        QCOMPARE(r.Session().ShownChapter(), 1);
        QCOMPARE(r.Session().TopPosition(), start);
        QVERIFY(!jumps.CanGoBack());
        jumps.GoForward();
        jumps.GoForward();
        QCOMPARE(r.Session().ShownChapter(), 3);
        QVERIFY(!jumps.CanGoForward());

        r.Session().OnOpenBookFile(r.reader.BookFolder() + u"b.txt"_s);
        r.reader.WaitForLoads();
        QCOMPARE(r.Session().Book().fileName, u"b.txt"_s);
        jumps.GoBack();
        r.reader.WaitForLoads();
        QCOMPARE(r.Session().Book().fileName, u"a.txt"_s);
        QCOMPARE(r.Session().ShownChapter(), 3);

        for (int i = 0; i < 30; ++i)
            r.Session().JumpToChapter(i % 3 + 1);
        int back = 0;
        for (; jumps.CanGoBack(); ++back)
            jumps.GoBack();
        QCOMPARE(back, JumpHistory::kKept);
    }

    // A place found is shown with what was found selected: in another book
    // once it is opened, in the book on screen at once.
    void placeFound_isShownSelected_inAnotherBookOrThisOne()
    {
        OpenReader r;
        const QString other = r.reader.BookFolder() + u"b.txt"_s;
        QVERIFY(r.Session().GoToPlace(other, ShownPlace{1, 0, 4, 1}));
        r.reader.WaitForLoads();
        QCOMPARE(r.Session().Book().fileName, u"b.txt"_s);
        QCOMPARE(r.Session().ShownChapter(), 1);
        QCOMPARE(r.Pane().Selection(), (QPair<qsizetype, qsizetype>{4, 1}));
        QCOMPARE(r.Pane().Text().mid(4, 1), u"甲"_s);
        QVERIFY(r.Session().GoToPlace(other, ShownPlace{0, 0, 0, 3}));
        QVERIFY(!r.reader.BookShelf().IsLoading());
        QCOMPARE(r.Session().ShownChapter(), 0);
        QCOMPARE(r.Pane().Selection(), (QPair<qsizetype, qsizetype>{0, 3}));
    }

    // Another computer's place is followed unless the user has moved here
    // since it was made there; then the user's place is the newer change.
    void syncedPlace_isFollowedUnlessTheUserMovedSince_data()
    {
        QTest::addColumn<bool>("userMoved");
        QTest::addColumn<qint64>("remoteAfterMove"); // ms after the user's move
        QTest::addColumn<bool>("follows");
        QTest::newRow("the user has not moved") << false << qint64(0) << true;
        QTest::newRow("moved before the other computer") << true << qint64(60'000) << true;
        QTest::newRow("moved after the other computer") << true << qint64(-60'000) << false;
    }

    void syncedPlace_isFollowedUnlessTheUserMovedSince()
    {
        QFETCH(bool, userMoved);
        QFETCH(qint64, remoteAfterMove);
        QFETCH(bool, follows);
        OpenReader r;
        r.reader.Store().MarkChangesAs(u"here"_s, [](const QString &) {});
        r.Session().ShowPlace({1, 0, -1});
        if (userMoved)
            r.Pane().ScrollLines(2);
        const qint64 movedAt = r.Session().MovedAt().value_or(QDateTime::currentMSecsSinceEpoch());
        const BookRecord before = r.Record();
        BookRecord merged = before;
        merged.chapter = 3;
        merged.chapterTitle = u"第三章 秋"_s;
        merged.line = 5;
        merged.position = -1;
        merged.changes.place = {movedAt + remoteAfterMove, u"there"_s};
        r.reader.Store().PutUnmarked(BookKey(r.reader.BookFolder(), u"a.txt"_s), merged);
        QCOMPARE(r.Session().OnRecordSynced(BookKey(r.reader.BookFolder(), u"a.txt"_s), before), follows);
        QCOMPARE(r.Session().ShownChapter(), follows ? 3 : 1);
        QCOMPARE(r.Record().chapter, follows ? 3 : 1);
        QCOMPARE(r.Record().changes.place.device, follows ? u"there"_s : u"here"_s);
        QVERIFY(!r.Session().OnRecordSynced(BookKey(r.reader.BookFolder(), u"b.txt"_s), before));
    }
};

FOLIVAR_TEST(SessionTest)
#include "SessionTest.moc"
