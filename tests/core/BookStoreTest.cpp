#include "core/BookStore.h"
#include "StoreWriterRecords.h"
#include "core/BookKey.h"
#include "core/CleanupRule.h"
#include "core/Highlight.h"
#include "core/RecordLimits.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Records = QMap<QString, BookRecord>;

BookRecord SampleRecord(int chapter)
{
    BookRecord record;
    record.size = 1234567 + chapter;
    record.modified = 1765226317123;
    record.chapter = chapter;
    record.chapterTitle = u"第%1章 风起\t\"云涌\"\\"_s.arg(chapter);
    record.line = 42;
    // A lone surrogate, as a damaged book can leave in a heading.
    const QString lone = u"😀 \u0001 "_s + QChar(0xD800) + u" lone"_s;
    record.removedHeadings = {{123, u"第一次回家\r"_s}, {4567890123, lone}};
    record.lastRead = 1765226399000;
    if (chapter % 2 == 1) {
        record.bookmarks = {{98765, u"第一章 开始"_s, u"　　他回头看了一眼，"_s, 1765226399123},
                            {4, QString(), lone, 0}};
        record.encoding = u"UTF-16LE"_s;
        record.chapterRule = u"custom:^Chapter \\d+"_s;
        record.removedUnderRule = u"strict"_s;
    }
    // Not in the old JSON store, which SampleRecord(1) stands for.
    if (chapter % 3 == 0) {
        record.script = u"traditional"_s;
        record.position = 4567890123;
        record.progress = 3750;
        record.filePlace = {4567890123, 120000, 4567890999, u"GB18030"_s};
        record.changes = {{1765226399000, u"书房的电脑"_s}, {}, {5, u"x"_s}, {}, {7, u"pc"_s},
                          {{12, u"第一章"_s, u"他说"_s, 3}}};
    }
    return record;
}

// SampleRecord(1) and two more, in the format of books.json. (Quotes and
// backslashes in its texts are \u escapes, which moc reads without trouble.)
const char kOldStore[] = R"({"version":1,"future":[1,{"a":null}],"books":{
"a.txt":{"size":1234568,"modified":1765226317123,"chapter":1,"chapterTitle":"第1章 风起\t\u0022云涌\u0022\u005c","line":42,
 "removedHeadings":[{"position":123,"text":"第一次回家\r"},{"position":4567890123,"text":"😀 \u0001 \ud800 lone"}],
 "lastRead":1765226399000,"bookmarks":[{"position":98765,"chapterTitle":"第一章 开始","label":"　　他回头看了一眼，",
 "created":1765226399123},{"position":4,"label":"😀 \u0001 \ud800 lone","created":0}],"encoding":"UTF-16LE",
 "chapterRule":"custom:^Chapter \\d+","removedUnderRule":"strict","note":"x"},
"b.txt":{"chapter":2},
"c.txt":{"chapter":2,"line":-1}
}})";

// In book order, one with a note of 100 000 characters.
QList<Highlight> SampleHighlights()
{
    return {{3, 5, u"他回"_s, HighlightColour::Pink, {}, 0},
            {3, 7, u"他回头看"_s, HighlightColour::Green, QString(100000, u'注'), 1765226399123},
            {4567890123, 4567890124, u"终"_s, HighlightColour::Yellow, u"第二条\n笔记"_s, 5}};
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void PutAll(const QString &path, const Records &records)
{
    BookStore store;
    store.Open(path);
    for (auto record = records.cbegin(); record != records.cend(); ++record)
        QVERIFY(store.Put(record.key(), record.value()));
}

// What a store opened afresh on the file holds under these names, and how
// many records it holds in all.
std::pair<Records, qsizetype> StoredRecords(const QString &path, const QStringList &names)
{
    BookStore store;
    store.Open(path);
    Records records;
    for (const QString &name : names) {
        if (const std::optional<BookRecord> record = store.Find(name))
            records.insert(name, *record);
    }
    return {records, store.Count()};
}

std::pair<Records, qsizetype> Exactly(const Records &records)
{
    return {records, records.size()};
}

// Runs statements on the file, in one connection, the way another program
// would.
void RunSql(const QString &path, const QStringList &statements)
{
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"test"_s);
        database.setDatabaseName(path);
        QVERIFY(database.open());
        for (const QString &sql : statements)
            QVERIFY2(QSqlQuery(database).exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(u"test"_s);
}

void RunSql(const QString &path, const QString &sql)
{
    RunSql(path, QStringList{sql});
}

// A store as versions before the place by position, the list of books read
// last and the cleanup rules wrote it.
void MakeOlderStore(const QString &path)
{
    RunSql(path,
           {u"PRAGMA encoding = 'UTF-16le'"_s,
            u"CREATE TABLE books (name TEXT PRIMARY KEY NOT NULL, size INTEGER, modified INTEGER, "
            "chapter INTEGER, chapter_title TEXT, line INTEGER, removed_headings TEXT, removed_under_rule "
            "TEXT, last_read INTEGER, bookmarks TEXT, encoding TEXT, chapter_rule TEXT) WITHOUT ROWID"_s,
            u"PRAGMA user_version = 1"_s});
}

QList<CleanupRule> SampleRules()
{
    return {{u"去广告"_s, u"(本章未完|请收藏).*$"_s, QString(), true, QString(), CleanupRule::Content, true},
            {u"错字"_s, u"的的"_s, u"的"_s, false, u"山城旧事.txt"_s, CleanupRule::Both, false},
            {QChar(0xD800) + u"'); DROP TABLE books; --"_s, u"第(\\d+)章"_s, u"第\\1回"_s, true, QString(),
             CleanupRule::Titles, true}};
}

// A real store, its first half only.
QByteArray TruncatedStore()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"books.db"_s);
    Records records;
    for (int i = 0; i < 300; ++i)
        records.insert(u"第%1部.txt"_s.arg(i), SampleRecord(i));
    PutAll(path, records);
    const QByteArray whole = FileBytes(path);
    return whole.left(whole.size() / 2);
}

QByteArray DatabaseAfter(const QString &sql)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"other.db"_s);
    RunSql(path, sql);
    return FileBytes(path);
}

} // namespace

class BookStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void records_roundTripThroughTheFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<BookRecord>("record");
        QList<Bookmark> many;
        for (int i = 0; i < 500; ++i)
            many.append({qsizetype(i) * 1000, u"第%1章"_s.arg(i), u"　　他说：“走吧。”"_s, 1765226399000 + i});
        BookRecord manyBookmarks = SampleRecord(3);
        manyBookmarks.bookmarks = many;
        BookRecord extremes;
        extremes.size = std::numeric_limits<qint64>::max();
        extremes.modified = std::numeric_limits<qint64>::min();
        extremes.chapter = std::numeric_limits<int>::max();
        extremes.line = -1;
        extremes.progress = kProgressWhole;
        BookRecord lone = SampleRecord(3);
        lone.chapterTitle = QChar(0xDC00) + u"第三章"_s + QChar(0xD800);
        QTest::newRow("every field, Chinese name") << u"第一部 风起云涌.txt"_s << SampleRecord(1);
        QTest::newRow("lone surrogates in name and title") << u"a"_s + QChar(0xD800) + u"b.txt"_s << lone;
        QTest::newRow("empty texts and lists") << u"a.txt"_s << BookRecord{};
        QTest::newRow("many bookmarks") << u"长篇.txt"_s << manyBookmarks;
        QTest::newRow("extreme numbers") << u"b.txt"_s << extremes;
        QTest::newRow("SQL and JSON in the name") << u"a'); DROP TABLE books; -- \"[].txt"_s << SampleRecord(2);
        QTest::newRow("emoji and 255 bytes") << u"😀"_s + QString(82, QChar(0x4E66)) + u"x.txt"_s << SampleRecord(5);
        QTest::newRow("blank and line break") << u"\u3000\n.txt"_s << SampleRecord(6);
    }

    void records_roundTripThroughTheFile()
    {
        QFETCH(QString, name);
        QFETCH(BookRecord, record);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        PutAll(path, {{name, record}, {u"other.txt"_s, SampleRecord(7)}});
        QCOMPARE(StoredRecords(path, {name, u"other.txt"_s}),
                 Exactly({{name, record}, {u"other.txt"_s, SampleRecord(7)}}));
    }

    // On a store without a file, which keeps its records in memory.
    void put_changesOnlyWhatDiffers()
    {
        BookStore store;
        QCOMPARE(store.Find(u"a.txt"_s), std::nullopt);
        QVERIFY(store.Put(u"a.txt"_s, SampleRecord(1)));
        QVERIFY(!store.Put(u"a.txt"_s, SampleRecord(1)));
        QVERIFY(!store.Update(u"a.txt"_s, [](BookRecord &record) { record.line = 42; }));
        QVERIFY(store.Update(u"a.txt"_s, [](BookRecord &record) { record.line = 43; }));
        QVERIFY(store.Update(u"b.txt"_s, [](BookRecord &record) { record.encoding = u"GB18030"_s; }));
        QCOMPARE(store.Find(u"a.txt"_s)->line, 43);
        QCOMPARE(store.Find(u"b.txt"_s)->encoding, u"GB18030"_s);
        QCOMPARE(store.Count(), 2);
    }

    // Once marking is on, Put notes the user's changes and tells of them;
    // PutUnmarked writes what another computer's copy gave, as it is.
    void marking_notesTheUsersChangesOnly()
    {
        BookStore store;
        QStringList told;
        store.MarkChangesAs(u"书房"_s, [&told](const QString &name) { told << name; });
        QVERIFY(store.Update(u"a.txt"_s, [](BookRecord &record) { record.encoding = u"GBK"_s; }));
        const ChangeMark encoding = store.Find(u"a.txt"_s)->changes.encoding;
        QCOMPARE(encoding.device, u"书房"_s);
        QVERIFY(encoding.time > 0);
        QCOMPARE(store.Find(u"a.txt"_s)->changes.place, ChangeMark{});
        BookRecord merged = *store.Find(u"a.txt"_s);
        merged.chapter = 4;
        merged.changes.place = {5, u"办公室"_s};
        QVERIFY(store.PutUnmarked(u"a.txt"_s, merged));
        QCOMPARE(store.Find(u"a.txt"_s), merged);
        QVERIFY(!store.PutUnmarked(u"a.txt"_s, merged));
        QCOMPARE(told, QStringList{u"a.txt"_s});
    }

    // A record an earlier version kept under the name alone goes to the book
    // of that name in config.ini's folder, of its size, once; a book of that
    // name anywhere else starts afresh.
    void namedRecord_movesToItsBookOnce_data()
    {
        QTest::addColumn<QString>("namedFolder"); // under the test's folder; "-": none
        QTest::addColumn<QString>("bookFolder");
        QTest::addColumn<qint64>("recordSize"); // the book file holds 100 bytes
        QTest::addColumn<bool>("movesToTheBook");
        QTest::newRow("the book in the named folder") << u"lib"_s << u"lib"_s << qint64(100) << true;
        QTest::newRow("the folder named with a separator") << u"lib/"_s << u"lib"_s << qint64(100) << true;
        QTest::newRow("a size the record does not know") << u"lib"_s << u"lib"_s << qint64(-1) << true;
        QTest::newRow("a book of that name in another folder") << u"lib"_s << u"other"_s << qint64(100) << false;
        QTest::newRow("another book put in the named folder") << u"lib"_s << u"lib"_s << qint64(99) << false;
        QTest::newRow("no folder named") << u"-"_s << u"lib"_s << qint64(100) << false;
    }

    void namedRecord_movesToItsBookOnce()
    {
        QFETCH(QString, namedFolder);
        QFETCH(QString, bookFolder);
        QFETCH(qint64, recordSize);
        QFETCH(bool, movesToTheBook);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        QVERIFY(QDir(dir.path()).mkpath(bookFolder));
        WriteBytes(dir.filePath(bookFolder + u"/山城旧事.txt"_s), QByteArray(100, 'x'));
        BookRecord named = SampleRecord(3);
        named.size = recordSize;
        PutAll(path, {{u"山城旧事.txt"_s, named}});
        const QString key = BookKey(dir.filePath(bookFolder), u"山城旧事.txt"_s);
        const QString elsewhere = BookKey(dir.filePath(u"elsewhere"_s), u"山城旧事.txt"_s);
        {
            BookStore store;
            store.Open(path);
            if (namedFolder != u"-"_s)
                store.SetNamedRecordsFolder(dir.filePath(namedFolder));
            QCOMPARE(store.Find(key), movesToTheBook ? std::optional(named) : std::nullopt);
            QCOMPARE(store.Find(u"山城旧事.txt"_s).has_value(), !movesToTheBook);
            QCOMPARE(store.Find(elsewhere), std::nullopt);
            QCOMPARE(store.Count(), 1);
        }
        const Records kept = {{movesToTheBook ? key : u"山城旧事.txt"_s, named}};
        QCOMPARE(StoredRecords(path, {key, u"山城旧事.txt"_s, elsewhere}), Exactly(kept));
    }

    // Across folders and restarts, in a file written before the list existed;
    // its records gain the later columns, a row it holds knows no progress
    // and not where its place lies in the file.
    void recentBooks_newestFirst_theLastTenKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        MakeOlderStore(path);
        RunSql(path, u"INSERT INTO books (name, removed_headings, bookmarks) VALUES ('old.txt', '[]', '[]')"_s);
        QStringList noted;
        {
            BookStore store;
            store.Open(path);
            QCOMPARE(store.RecentBooks(), QStringList());
            for (int i = 0; i < 12; ++i) {
                noted.prepend(u"/书 %1/第%2部.txt"_s.arg(i % 2).arg(i));
                store.NoteRecentBook(noted.first());
            }
            // Read again: it moves to the head, listed once.
            store.NoteRecentBook(noted[5]);
            noted.move(5, 0);
        }
        BookStore again;
        again.Open(path);
        QCOMPARE(again.RecentBooks(), noted.first(BookStore::kRecentBooks));
        QVERIFY(again.Put(u"a.txt"_s, SampleRecord(3)));
        QCOMPARE(again.Find(u"a.txt"_s), SampleRecord(3));
        QCOMPARE(again.Find(u"old.txt"_s)->progress, kProgressNotKnown);
        QCOMPARE(again.Find(u"old.txt"_s)->filePlace, FilePlace{});
    }

    // Put, they are answered at once, and a store opened afresh reads them
    // back; a file from before the rules gains their tables.
    void cleanupRules_andShownOriginal_surviveAReopen_data()
    {
        QTest::addColumn<bool>("older");
        QTest::newRow("new file") << false;
        QTest::newRow("file from before the rules") << true;
    }

    void cleanupRules_andShownOriginal_surviveAReopen()
    {
        QFETCH(bool, older);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        if (older)
            MakeOlderStore(path);
        const QString key = BookKey(dir.path(), u"山城旧事.txt"_s);
        const QString other = BookKey(dir.path(), u"第二部.txt"_s);
        {
            BookStore store;
            store.Open(path);
            QCOMPARE(store.CleanupRules(), QList<CleanupRule>());
            store.PutCleanupRules({SampleRules()[1]});
            store.PutCleanupRules(SampleRules());
            store.SetShowsOriginal(key, true);
            store.SetShowsOriginal(other, true);
            store.SetShowsOriginal(other, false);
            QCOMPARE(store.CleanupRules(), SampleRules());
            QVERIFY(store.ShowsOriginal(key));
            QVERIFY(!store.ShowsOriginal(other));
        }
        BookStore again;
        again.Open(path);
        QCOMPARE(again.CleanupRules(), SampleRules());
        QVERIFY(again.ShowsOriginal(key));
        QVERIFY(!again.ShowsOriginal(other));
        again.PutCleanupRules({});
        QCOMPARE(again.CleanupRules(), QList<CleanupRule>());
    }

    // Rows of the time read are answered at once and read back by a store
    // opened afresh; a smaller copy of a row (an older one synced back)
    // leaves the larger; a file from before them gains the table.
    void readingTime_surviveAReopen_andNeverShrink_data() { cleanupRules_andShownOriginal_surviveAReopen_data(); }

    void readingTime_surviveAReopen_andNeverShrink()
    {
        QFETCH(bool, older);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        if (older)
            MakeOlderStore(path);
        const QDate day(2026, 12, 10);
        const ReadingTimeRow ours{u"k"_s, day, u"a"_s, 90'000, 700};
        const ReadingTimeRow theirs{u"k"_s, day, u"b"_s, 60'000, 200};
        const auto sorted = [](QList<ReadingTimeRow> rows) {
            std::sort(rows.begin(), rows.end(), [](const auto &a, const auto &b) { return a.device < b.device; });
            return rows;
        };
        {
            BookStore store;
            store.Open(path);
            store.PutReadingTime({u"k"_s, day, u"a"_s, 30'000, 100});
            store.PutReadingTime(ours);
            store.PutReadingTime(theirs);
            QCOMPARE(sorted(store.ReadingTime()), (QList<ReadingTimeRow>{ours, theirs}));
        }
        {
            BookStore again;
            again.Open(path);
            QCOMPARE(sorted(again.ReadingTime()), (QList<ReadingTimeRow>{ours, theirs}));
            again.PutReadingTime({u"k"_s, day, u"b"_s, 10'000, 50});
        }
        BookStore third;
        third.Open(path);
        QCOMPARE(sorted(third.ReadingTime()), (QList<ReadingTimeRow>{ours, theirs}));
    }

    // A book's highlights, each change answered at once and the last list
    // read back by a store opened afresh, a 100 000-character note whole; a
    // file from before them gains their table; another book's stay apart.
    void highlights_surviveAReopen_data() { cleanupRules_andShownOriginal_surviveAReopen_data(); }

    void highlights_surviveAReopen()
    {
        QFETCH(bool, older);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        if (older)
            MakeOlderStore(path);
        const QString key = BookKey(dir.path(), u"山城旧事.txt"_s);
        const QString other = BookKey(dir.path(), u"第二部.txt"_s);
        {
            BookStore store;
            store.Open(path);
            QCOMPARE(store.Highlights(key), QList<Highlight>());
            store.PutHighlights(key, {SampleHighlights()[0]});
            store.PutHighlights(other, {SampleHighlights()[0]});
            store.PutHighlights(key, SampleHighlights());
            store.PutHighlights(other, {});
            QCOMPARE(store.Highlights(key), SampleHighlights());
            QCOMPARE(store.Highlights(other), QList<Highlight>());
        }
        BookStore again;
        again.Open(path);
        QCOMPARE(again.Highlights(key), SampleHighlights());
        QCOMPARE(again.Highlights(other), QList<Highlight>());
    }

    // Rows another program wrote: those that are no highlight are skipped,
    // the rest read in book order.
    void damagedHighlightRows_areSkipped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        {
            BookStore store;
            store.Open(path);
            store.PutHighlights(u"a.txt"_s, SampleHighlights());
        }
        const auto insertRow = [&path](const QString &values) {
            RunSql(path,
                   u"INSERT INTO highlights (book, start, \"end\", text, colour, note, created) VALUES (%1)"_s.arg(
                       values));
        };
        insertRow(u"'a.txt', 5, 6, '字', 4, '', 0"_s);
        insertRow(u"'a.txt', 5, 9, '字', 1, '', 0"_s);
        insertRow(u"'a.txt', -1, 0, '字', 1, '', 0"_s);
        insertRow(u"'a.txt', 'x', 1, '字', 1, '', 0"_s);
        insertRow(u"'a.txt', 5, 5, NULL, 1, '', 0"_s);
        for (int i = 0; i < 5; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"skipping a damaged highlight of"_s));
        BookStore store;
        store.Open(path);
        QCOMPARE(store.Highlights(u"a.txt"_s), SampleHighlights());
    }

    // Highlights kept before they had change and deletion times read as
    // kept and never changed, and take those times from then on.
    void highlightsOfTheFirstLayout_gainChangeTimes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        {
            BookStore store;
            store.Open(path);
        }
        RunSql(path, u"DROP TABLE highlights"_s);
        RunSql(path,
               u"CREATE TABLE highlights (book TEXT NOT NULL, start INTEGER, \"end\" INTEGER, text TEXT, "
               "colour INTEGER, note TEXT, created INTEGER)"_s);
        RunSql(path, u"INSERT INTO highlights VALUES ('a.txt', 5, 7, '灯火', 1, '灯下', 9)"_s);
        const Highlight old{5, 7, u"灯火"_s, HighlightColour::Green, u"灯下"_s, 9, 0, 0};
        Highlight deleted = old;
        deleted.changed = deleted.deleted = 20;
        {
            BookStore store;
            store.Open(path);
            QCOMPARE(store.Highlights(u"a.txt"_s), QList{old});
            store.PutHighlights(u"a.txt"_s, {deleted});
        }
        BookStore again;
        again.Open(path);
        QCOMPARE(again.Highlights(u"a.txt"_s), QList{deleted});
    }

    void cleanupRules_inAStoreWithoutAFile()
    {
        BookStore store;
        store.PutCleanupRules(SampleRules());
        store.SetShowsOriginal(u"a.txt"_s, true);
        QCOMPARE(store.CleanupRules(), SampleRules());
        QVERIFY(store.ShowsOriginal(u"a.txt"_s));
        QVERIFY(!store.ShowsOriginal(u"b.txt"_s));
    }

    // Rows another program wrote: those that are no rule are skipped, the
    // rest read in their order.
    void damagedRuleRows_areSkipped()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        {
            BookStore store;
            store.Open(path);
            store.PutCleanupRules(SampleRules());
        }
        RunSql(path, u"UPDATE cleanup_rules SET position = position * 10"_s);
        RunSql(path, u"INSERT INTO cleanup_rules VALUES (5, 'x', 'a', '', 0, '', 9, 1)"_s);
        RunSql(path, u"INSERT INTO cleanup_rules VALUES (15, 'x', NULL, '', 0, '', 3, 1)"_s);
        RunSql(path, u"INSERT INTO cleanup_rules VALUES (25, 'x', 'a', '', 'yes', '', 3, 1)"_s);
        for (int i = 0; i < 3; ++i)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(u"skipping the damaged cleanup rule at (5|15|25)$"_s));
        BookStore store;
        store.Open(path);
        QCOMPARE(store.CleanupRules(), SampleRules());
    }

    void oldJsonStore_isImportedOnce_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<Records>("imported");
        QTest::addColumn<QString>("keptAs");
        BookRecord c;
        c.chapter = 2;
        c.line = -1;
        QTest::newRow("every field") << QByteArray(kOldStore)
                                     << Records({{u"a.txt"_s, SampleRecord(1)}, {u"c.txt"_s, c}})
                                     << u"books.json.imported"_s;
        QTest::newRow("not JSON") << QByteArray("[Config]\r\n路径=d:\\book\\\r\n") << Records() << u"books.json.bad"_s;
        QTest::newRow("cut short") << QByteArray(kOldStore).left(300) << Records() << u"books.json.bad"_s;
        QTest::newRow("chapter as text") << QByteArray(R"({"books":{"a.txt":{"chapter":"3"}}})") << Records()
                                         << u"books.json.bad"_s;
        QTest::newRow("line beyond 32 bits")
            << QByteArray(R"({"books":{"a.txt":{"line":4294967296}}})") << Records() << u"books.json.bad"_s;
        QTest::newRow("bookmark without position")
            << QByteArray(R"({"books":{"a.txt":{"bookmarks":[{"label":"x"}]}}})") << Records() << u"books.json.bad"_s;
    }

    // b.txt is in books.db already: the newer record stays.
    void oldJsonStore_isImportedOnce()
    {
        QFETCH(QByteArray, json);
        QFETCH(Records, imported);
        QFETCH(QString, keptAs);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        PutAll(path, {{u"b.txt"_s, SampleRecord(9)}});
        WriteBytes(dir.filePath(u"books.json"_s), json);
        imported.insert(u"b.txt"_s, SampleRecord(9));
        const QStringList names = {u"a.txt"_s, u"b.txt"_s, u"c.txt"_s};
        if (keptAs.endsWith(u".bad"_s))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"books.json.* it is not a book store"_s));
        QCOMPARE(StoredRecords(path, names), Exactly(imported));
        QVERIFY(!QFile::exists(dir.filePath(u"books.json"_s)));
        QCOMPARE(FileBytes(dir.filePath(keptAs)), json);
        QCOMPARE(StoredRecords(path, names), Exactly(imported));
    }

    void damagedDatabase_isSetAside_andTheStoreStartsEmpty_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("garbage bytes") << QByteArray("[Config]\r\n路径=d:\\book\\\r\n").repeated(300);
        QTest::newRow("truncated database") << TruncatedStore();
        QTest::newRow("another program's table")
            << DatabaseAfter(u"CREATE TABLE books (id INTEGER PRIMARY KEY, title TEXT)"_s);
        QTest::newRow("unknown layout") << DatabaseAfter(u"PRAGMA user_version = -3"_s);
    }

    void damagedDatabase_isSetAside_andTheStoreStartsEmpty()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        // Damaged again later: the first one set aside stays.
        for (const QString &keptAs : {u"books.db.bad"_s, u"books.db.bad.2"_s}) {
            WriteBytes(path, bytes);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"setting aside the damaged"_s));
            BookStore store;
            QSignalSpy problems(&store, &BookStore::problem);
            store.Open(path);
            QCOMPARE(store.Count(), 0);
            QVERIFY(store.Put(u"a.txt"_s, SampleRecord(1)));
            QVERIFY(problems.wait());
            QCOMPARE(problems.count(), 1);
            QVERIFY2(problems.first().first().toString().contains(keptAs), qPrintable(keptAs));
        }
        QCOMPARE(FileBytes(path + u".bad"_s), bytes);
        QCOMPARE(FileBytes(path + u".bad.2"_s), bytes);
        QCOMPARE(StoredRecords(path, {u"a.txt"_s}), Exactly({{u"a.txt"_s, SampleRecord(1)}}));
    }

    void unwritableOrNewerFile_isLeftUntouched_andTheStoreWorksInMemory_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("newer layout") << u"PRAGMA user_version = 2"_s << false;
        QTest::newRow("read-only folder") << u"PRAGMA user_version"_s << true;
    }

    void unwritableOrNewerFile_isLeftUntouched_andTheStoreWorksInMemory()
    {
        QFETCH(QString, sql);
        QFETCH(bool, readOnlyFolder);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        PutAll(path, {{u"a.txt"_s, SampleRecord(1)}});
        RunSql(path, sql);
        const QByteArray before = FileBytes(path);
        const auto writable = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"in memory only"_s));
        BookStore store;
        QSignalSpy problems(&store, &BookStore::problem);
        store.Open(path);
        QVERIFY(store.Put(u"b.txt"_s, SampleRecord(2)));
        QCOMPARE(store.Find(u"b.txt"_s), SampleRecord(2));
        QVERIFY(problems.wait());
        QVERIFY(problems.first().first().toString().startsWith(u"无法保存阅读位置："_s));
        QFile::setPermissions(dir.path(), writable);
        QCOMPARE(FileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"books.db"_s});
    }

    // Another program holds the file locked: the place is kept in memory
    // meanwhile, the user told once, and it lands when the lock goes.
    void lockedFile_putAnswersAtOnce_andTheSaveLandsLater()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        PutAll(path, {{u"a.txt"_s, SampleRecord(1)}});
        BookStore store;
        store.Open(path);
        QSignalSpy problems(&store, &BookStore::problem);
        {
            QSqlDatabase locker = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"locker"_s);
            locker.setDatabaseName(path);
            QVERIFY(locker.open());
            QVERIFY(QSqlQuery(locker).exec(u"BEGIN EXCLUSIVE"_s));
            QVERIFY(store.Put(u"a.txt"_s, SampleRecord(2)));
            QCOMPARE(store.Find(u"a.txt"_s), SampleRecord(2));
            QVERIFY(problems.wait(20000));
            QVERIFY(problems.first().first().toString().startsWith(u"无法保存阅读位置："_s));
            QVERIFY(store.Put(u"a.txt"_s, SampleRecord(3)));
            QCOMPARE(store.Find(u"a.txt"_s), SampleRecord(3));
            QVERIFY(QSqlQuery(locker).exec(u"ROLLBACK"_s));
        }
        QSqlDatabase::removeDatabase(u"locker"_s);
        QTRY_COMPARE_WITH_TIMEOUT(StoredRecords(path, {u"a.txt"_s}), Exactly({{u"a.txt"_s, SampleRecord(3)}}), 30000);
        QCOMPARE(problems.count(), 1);
    }

    void absurdRecord_isCutToWhatARecordHolds()
    {
        BookRecord absurd = SampleRecord(2);
        for (int i = 0; i < kMostBookmarks + 10; ++i)
            absurd.bookmarks.append({i, u"第一章"_s, u"书签"_s, 5});
        absurd.bookmarks.append({1, QString(kLongestText + 1, u'长'), u"书签"_s, 6});
        BookStore store;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"refusing 11 bookmarks"_s));
        QVERIFY(store.Put(u"a.txt"_s, absurd));
        const QList<Bookmark> kept = store.Find(u"a.txt"_s)->bookmarks;
        QCOMPARE(kept.size(), kMostBookmarks);
        QCOMPARE(kept.last().position, kMostBookmarks - 1);
    }

    void twoProcessesWritingAtOnce_keepEveryRecord()
    {
        constexpr int kEach = 300;
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.db"_s);
        {
            BookStore store;
            store.Open(path);
            QProcess writer;
            writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            writer.start(QString::fromUtf8(BOOK_STORE_WRITER), {path, u"b"_s, QString::number(kEach)});
            QVERIFY(writer.waitForReadyRead(30000));
            QCOMPARE(writer.readLine().trimmed(), QByteArray("open"));
            writer.write("go\n");
            QVERIFY(writer.waitForBytesWritten(30000));
            for (int i = 0; i < kEach; ++i)
                QVERIFY(store.Put(WriterBookName(u"a"_s, i), WriterRecord(i)));
            QVERIFY(writer.waitForFinished(30000));
            QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
            QCOMPARE(writer.exitCode(), 0);
        }
        QStringList names;
        Records expected;
        for (int i = 0; i < kEach; ++i) {
            for (const QString &prefix : {u"a"_s, u"b"_s}) {
                names.append(WriterBookName(prefix, i));
                expected.insert(names.last(), WriterRecord(i));
            }
        }
        QCOMPARE(StoredRecords(path, names), Exactly(expected));
    }
};

FOLIVAR_TEST(BookStoreTest)
#include "BookStoreTest.moc"
