#include "core/RecordMerge.h"
#include "core/BookRecordJson.h"
#include "core/SharedBook.h"
#include "support/TestRegistry.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// One thing that happens to a book's record: a user's change on computer 'a'
// or 'b' at a time, or ('=') the two computers syncing with each other.
struct Step {
    char device = '=';
    qint64 time = 0;
    std::function<void(BookRecord &)> change;
    // When the user last moved the place on that computer; none: at `time`.
    std::optional<qint64> movedAt;
};
using History = QList<Step>;

Step MoveTo(char device, qint64 time, int chapter)
{
    return {device,
            time,
            [chapter](BookRecord &record) {
                record.chapter = chapter;
                record.chapterTitle = u"第%1章"_s.arg(chapter);
                record.position = qsizetype(chapter) * 1000;
            },
            {}};
}

Step AddBookmark(char device, qint64 time, qsizetype position)
{
    return {device,
            time,
            [position, time](BookRecord &record) {
                record.bookmarks.append({position, {}, {}, time});
            },
            {}};
}

Step DeleteBookmark(char device, qint64 time, qsizetype position)
{
    return {device,
            time,
            [position](BookRecord &record) {
                record.bookmarks.removeIf([position](const Bookmark &b) { return b.position == position; });
            },
            {}};
}

Step ChooseEncoding(char device, qint64 time, const QString &encoding)
{
    return {device, time, [encoding](BookRecord &record) { record.encoding = encoding; }, {}};
}

Step ChooseScript(char device, qint64 time, const QString &script)
{
    return {device, time, [script](BookRecord &record) { record.script = script; }, {}};
}

// The place on screen measured anew (a rewrap moves its start within the
// paragraph) and saved at `time`, the user having last moved at `movedAt`:
// a save, 立即同步, the book shown again.
Step Resave(char device, qint64 time, qint64 movedAt)
{
    return {device, time, [](BookRecord &record) { record.position += 1; }, movedAt};
}

Step Sync()
{
    return {};
}

// Both computers' records after the history and a last sync each way, which
// must agree; each starts from a record read at chapter 0 and unmarked.
std::pair<BookRecord, BookRecord> Replay(const History &history)
{
    BookRecord a, b;
    for (const Step &step : history) {
        if (step.device == '=') {
            const BookRecord merged = MergeRecords(a, b);
            b = MergeRecords(b, a);
            a = merged;
            continue;
        }
        BookRecord &record = step.device == 'a' ? a : b;
        const BookRecord before = record;
        step.change(record);
        NoteUserChanges(&before, record, {step.time, QString(QLatin1Char(step.device))},
                        step.movedAt.value_or(step.time));
    }
    return {MergeRecords(a, b), MergeRecords(b, a)};
}

QList<qsizetype> BookmarkPlaces(const BookRecord &record)
{
    QList<qsizetype> places;
    for (const Bookmark &bookmark : record.bookmarks)
        places << bookmark.position;
    std::sort(places.begin(), places.end());
    return places;
}

// A highlight made at `created` on the text at 10, changed last at `changed`,
// deleted at `deleted` (0: kept).
Highlight HighlightOf(qint64 created, const QString &note, qint64 changed, qint64 deleted = 0)
{
    return {10, 12, u"灯火"_s, HighlightColour::Yellow, note, created, changed, deleted};
}

} // namespace

Q_DECLARE_METATYPE(History)

class RecordMergeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void histories_mergeToTheLatestChangeOfEachPart_data()
    {
        QTest::addColumn<History>("history");
        QTest::addColumn<int>("chapter");
        QTest::addColumn<QList<qsizetype>>("bookmarks");
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QString>("script");
        QTest::newRow("the later move wins")
            << History{MoveTo('a', 10, 3), MoveTo('b', 20, 5)} << 5 << QList<qsizetype>{} << QString() << QString();
        QTest::newRow("by the time of the change, not of the sync")
            << History{MoveTo('b', 20, 5), Sync(), MoveTo('a', 10, 3)} << 5 << QList<qsizetype>{} << QString()
            << QString();
        QTest::newRow("going back to the start is a move too")
            << History{MoveTo('a', 10, 9), Sync(), MoveTo('a', 30, 0), MoveTo('b', 20, 4)} << 0 << QList<qsizetype>{}
            << QString() << QString();
        QTest::newRow("a place saved again later keeps the time of its move")
            << History{MoveTo('b', 10, 58), MoveTo('a', 20, 1450), Resave('b', 30, 10), Sync()} << 1450
            << QList<qsizetype>{} << QString() << QString();
        QTest::newRow("the same, the other way round")
            << History{MoveTo('a', 10, 58), MoveTo('b', 20, 1450), Resave('a', 30, 10), Sync()} << 1450
            << QList<qsizetype>{} << QString() << QString();
        QTest::newRow("a computer left open keeps no stale place")
            << History{MoveTo('b', 5, 2), Sync(), MoveTo('a', 10, 8), Sync(), Sync()} << 8 << QList<qsizetype>{}
            << QString() << QString();
        QTest::newRow("bookmarks of both are kept")
            << History{AddBookmark('a', 10, 100), AddBookmark('b', 20, 200), Sync(), AddBookmark('a', 30, 300)} << 0
            << QList<qsizetype>{100, 200, 300} << QString() << QString();
        QTest::newRow("a deletion outweighs the other copy")
            << History{AddBookmark('a', 10, 100), AddBookmark('a', 11, 200), Sync(), DeleteBookmark('b', 30, 100),
                       MoveTo('a', 40, 2)}
            << 2 << QList<qsizetype>{200} << QString() << QString();
        QTest::newRow("a bookmark made again after its deletion stays")
            << History{AddBookmark('a', 10, 100), Sync(), DeleteBookmark('b', 20, 100), Sync(),
                       AddBookmark('a', 30, 100)}
            << 0 << QList<qsizetype>{100} << QString() << QString();
        QTest::newRow("each part goes by its own last change")
            << History{ChooseEncoding('a', 10, u"GBK"_s), MoveTo('b', 20, 6), ChooseScript('b', 25, u"traditional"_s),
                       ChooseEncoding('b', 5, u"UTF-8"_s), ChooseScript('a', 30, u"simplified"_s)}
            << 6 << QList<qsizetype>{} << u"GBK"_s << u"simplified"_s;
        QTest::newRow("at the same time the greater device wins on both")
            << History{MoveTo('a', 10, 3), MoveTo('b', 10, 7), ChooseEncoding('a', 10, u"GBK"_s)} << 7
            << QList<qsizetype>{} << u"GBK"_s << QString();
    }

    void histories_mergeToTheLatestChangeOfEachPart()
    {
        QFETCH(History, history);
        QFETCH(int, chapter);
        QFETCH(QList<qsizetype>, bookmarks);
        QFETCH(QString, encoding);
        QFETCH(QString, script);
        const auto [onA, onB] = Replay(history);
        QCOMPARE(SyncedRecordToJson(onA), SyncedRecordToJson(onB));
        QCOMPARE(onA.chapter, chapter);
        QCOMPARE(BookmarkPlaces(onA), bookmarks);
        QCOMPARE(onA.encoding, encoding);
        QCOMPARE(onA.script, script);
    }

    // Only the user's moves count: a book's first record, a line that only
    // follows the typography and a place the caller knows is no move are none.
    void noteUserChanges_marksMovesNotMeasurements()
    {
        BookRecord first;
        first.chapter = 2;
        NoteUserChanges(nullptr, first, {10, u"a"_s});
        QCOMPARE(first.changes.place, ChangeMark{});
        BookRecord rewrapped = first;
        rewrapped.position = 40;
        first.position = 40;
        rewrapped.line = 9;
        NoteUserChanges(&first, rewrapped, {20, u"a"_s});
        QCOMPARE(rewrapped.changes.place, ChangeMark{});
        BookRecord moved = rewrapped;
        moved.position = 41;
        NoteUserChanges(&rewrapped, moved, {30, u"a"_s}, std::nullopt);
        QCOMPARE(moved.changes.place, ChangeMark{});
        NoteUserChanges(&rewrapped, moved, {30, u"a"_s});
        QCOMPARE(moved.changes.place, (ChangeMark{30, u"a"_s}));
        // Written later than the user moved it, the place keeps the time of
        // the move.
        NoteUserChanges(&rewrapped, moved, {90, u"a"_s}, 25);
        QCOMPARE(moved.changes.place, (ChangeMark{25, u"a"_s}));
    }

    void syncedFile_roundTripsTheSharedParts()
    {
        BookRecord record;
        record.size = 99;
        record.lastRead = 7;
        record.chapter = 3;
        record.chapterTitle = u"第三章 \"风\""_s;
        record.line = 4;
        record.position = 5678901234;
        record.removedHeadings = {{12, u"第二天\r"_s}};
        record.removedUnderRule = u"strict"_s;
        record.bookmarks = {{5, u"第一章"_s, u"他说"_s, 6}};
        record.encoding = u"GB18030"_s;
        record.chapterRule = u"custom:^卷"_s;
        record.script = u"traditional"_s;
        record.changes = {{1, u"a"_s}, {2, u"b"_s}, {3, u"c"_s}, {4, u"d"_s}, {5, u"e"_s}, {{9, {}, {}, 8}}};
        record.progress = 4321;
        record.filePlace = {300, 4000, 3500, u"GB18030"_s};
        BookRecord shared = record;
        shared.size = -1;
        shared.lastRead = 0;
        shared.progress = kProgressNotKnown;
        shared.filePlace = {};
        QCOMPARE(SyncedRecordFromJson(SyncedRecordToJson(record)), shared);
        // Each computer keeps the progress it measured, and where the place
        // lies in its own file, unless the place is the other computer's.
        QCOMPARE(MergeRecords(record, shared).progress, 4321);
        QCOMPARE(MergeRecords(shared, record).progress, kProgressNotKnown);
        QCOMPARE(MergeRecords(record, shared).filePlace, record.filePlace);
        BookRecord movedThere = shared;
        movedThere.chapter = 4;
        movedThere.changes.place = {50, u"b"_s};
        QCOMPARE(MergeRecords(record, movedThere).filePlace, FilePlace{});
    }

    void highlights_mergeAsASetThatRemembersDeletions_data()
    {
        QTest::addColumn<QList<Highlight>>("ours");
        QTest::addColumn<QList<Highlight>>("theirs");
        QTest::addColumn<QList<Highlight>>("merged");
        const Highlight made = HighlightOf(1, {}, 1);
        const Highlight notedLater = HighlightOf(1, u"后来"_s, 9);
        const Highlight deletedEarly = HighlightOf(1, {}, 5, 5);
        const Highlight other = HighlightOf(2, {}, 2);
        QTest::newRow("made on either side") << QList{made} << QList{other} << QList{made, other};
        QTest::newRow("the later note wins, either way") << QList{made} << QList{notedLater} << QList{notedLater};
        QTest::newRow("ours changed later") << QList{notedLater} << QList{made} << QList{notedLater};
        QTest::newRow("a deletion wins over a later change")
            << QList{notedLater} << QList{deletedEarly} << QList{deletedEarly};
        QTest::newRow("a deletion is kept") << QList{deletedEarly} << QList{made} << QList{deletedEarly};
        QTest::newRow("same time, other text: two")
            << QList{made} << QList{Highlight{20, 22, u"桥上"_s, HighlightColour::Pink, {}, 1, 1}}
            << QList{made, Highlight{20, 22, u"桥上"_s, HighlightColour::Pink, {}, 1, 1}};
    }

    void highlights_mergeAsASetThatRemembersDeletions()
    {
        QFETCH(QList<Highlight>, ours);
        QFETCH(QList<Highlight>, theirs);
        QFETCH(QList<Highlight>, merged);
        QCOMPARE(MergeHighlights(ours, theirs), merged);
        // Both computers come to the same list.
        QCOMPARE(MergeHighlights(theirs, ours).size(), merged.size());
    }

    // The shared file holds the highlights and time rows beside the record;
    // one written before them reads as a book without any.
    void sharedFile_roundTripsHighlightsAndTimeRead()
    {
        SharedBook book;
        book.record.chapter = 3;
        book.record.chapterTitle = u"第三章"_s;
        book.highlights = {HighlightOf(1, QString(100000, u'注'), 2), HighlightOf(3, {}, 4, 4)};
        book.readingTime = {{u"b.txt"_s, QDate(2026, 12, 9), u"pc-1"_s, 60000, 400},
                            {u"b.txt"_s, QDate(2026, 12, 10), u"pc-2"_s, 1000, 3}};
        QCOMPARE(SharedBookFromJson(SharedBookToJson(book), u"b.txt"_s), book);
        const std::optional<SharedBook> older = SharedBookFromJson(SyncedRecordToJson(book.record), u"b.txt"_s);
        QVERIFY(older);
        QCOMPARE(older->record, book.record);
        QVERIFY(older->highlights.isEmpty() && older->readingTime.isEmpty());
    }

    // What no reader writes is left out: a highlight that is no stretch of
    // its text, a time row of no day, a day longer than a day, or more
    // characters than a reader reads.
    void sharedFile_keepsWhatAReaderCanHaveMade()
    {
        SharedBook book;
        const Highlight kept = HighlightOf(1, {}, 1);
        Highlight wrongEnd = kept;
        wrongEnd.end = 99;
        Highlight negative = kept;
        negative.start = -2;
        negative.end = 0;
        book.highlights = {wrongEnd, kept, negative};
        const ReadingTimeRow row{u"a.txt"_s, QDate(2026, 12, 10), u"pc-1"_s, 60000, 400};
        ReadingTimeRow longerThanADay = row;
        longerThanADay.ms = qint64(25) * 3600 * 1000;
        ReadingTimeRow noDevice = row;
        noDevice.device.clear();
        ReadingTimeRow tooFast = row;
        tooFast.characters = 60001;
        book.readingTime = {longerThanADay, row, noDevice, tooFast};
        const SharedBook cut = WithinLimits(book, -1);
        QCOMPARE(cut.highlights, QList{kept});
        QCOMPARE(cut.readingTime, QList{row});
    }

    void malformedSyncedFile_isRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not JSON") << QByteArray("<html>502 Bad Gateway</html>");
        QTest::newRow("cut short") << SyncedRecordToJson(BookRecord{}).chopped(5);
        QTest::newRow("no version") << QByteArray(R"({"chapter":3})");
        QTest::newRow("chapter as text") << QByteArray(R"({"version":1,"chapter":"3"})");
        QTest::newRow("bookmark without position") << QByteArray(R"({"version":1,"bookmarks":[{"label":"x"}]})");
        QTest::newRow("change time as text") << QByteArray(R"({"version":1,"changes":{"place":{"time":"1"}}})");
        QTest::newRow("highlights not an array") << QByteArray(R"({"version":1,"highlights":{}})");
        QTest::newRow("highlight colour beyond the four")
            << QByteArray(R"({"version":1,"highlights":[{"start":1,"end":2,"text":"x","colour":4}]})");
        QTest::newRow("time row of no date") << QByteArray(R"({"version":1,"readingTime":[{"day":"昨天","ms":5}]})");
        QTest::newRow("time as text") << QByteArray(R"({"version":1,"readingTime":[{"day":"2026-12-10","ms":"5"}]})");
    }

    // A file that is not the shared file is refused whole, never read in
    // part; the record alone as earlier versions read it too.
    void malformedSyncedFile_isRefused()
    {
        QFETCH(QByteArray, json);
        QCOMPARE(SharedBookFromJson(json, u"a.txt"_s), std::nullopt);
        if (!json.contains("highlights") && !json.contains("readingTime"))
            QCOMPARE(SyncedRecordFromJson(json), std::nullopt);
    }
};

FOLIVAR_TEST(RecordMergeTest)
#include "RecordMergeTest.moc"
