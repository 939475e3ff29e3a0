#include "core/ReadingTime.h"
#include "core/BookProgress.h"
#include "core/ReadingClock.h"
#include "support/TestRegistry.h"

#include <QDateTime>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMinute = qint64(60) * 1000;
constexpr qint64 kStart = 1'780'000'000'000; // a morning in 2026

// One thing the reader did: an activity at a time (minutes after kStart)
// and place, or a stop.
struct Act {
    double minute = 0;
    qsizetype position = 0;
    bool stop = false;
};

// A row of `minutes` read at `perMinute` characters a minute.
ReadingTimeRow Row(const QString &book, const QDate &day, const QString &device, qint64 minutes, qint64 perMinute = 0)
{
    return {book, day, device, minutes * kMinute, minutes * perMinute};
}

const QDate kToday(2026, 12, 10); // a Thursday

} // namespace

Q_DECLARE_METATYPE(QList<Act>)
Q_DECLARE_METATYPE(QList<DayStretch>)
Q_DECLARE_METATYPE(QList<ReadingTimeRow>)

class ReadingTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clock_countsWhatWasRead_data()
    {
        QTest::addColumn<QList<Act>>("acts");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<qint64>("characters");
        QTest::newRow("the first act counts nothing") << QList<Act>{{0, 0}} << 0LL << 0LL;
        QTest::newRow("steady reading") << QList<Act>{{0, 0}, {1, 400}, {2, 800}, {3.5, 1400}}
                                        << 3 * kMinute + kMinute / 2 << 1400LL;
        QTest::newRow("a long pause counts five minutes")
            << QList<Act>{{0, 0}, {2, 500}, {62, 700}} << 7 * kMinute << 700LL;
        QTest::newRow("a stop counts up to it, the next act starts afresh")
            << QList<Act>{{0, 0}, {3, 900}, {4, 0, true}, {30, 900}, {31, 1200}} << 5 * kMinute << 1200LL;
        QTest::newRow("a stop after a long pause") << QList<Act>{{0, 0}, {600, 0, true}} << 5 * kMinute << 0LL;
        QTest::newRow("a stop before anything") << QList<Act>{{0, 0, true}, {1, 100}} << 0LL << 0LL;
        QTest::newRow("the clock set back counts nothing, then counts from there")
            << QList<Act>{{60, 0}, {61, 300}, {-600, 600}, {-599, 900}} << 2 * kMinute << 600LL;
        QTest::newRow("the clock set forward a year counts a long pause")
            << QList<Act>{{0, 0}, {365.0 * 24 * 60, 100}} << 5 * kMinute << 100LL;
        QTest::newRow("two acts at one moment") << QList<Act>{{1, 0}, {1, 100}, {1, 200}} << 0LL << 0LL;
        QTest::newRow("a jump forward is not read, going back neither")
            << QList<Act>{{0, 0}, {1, 50'000}, {2, 50'400}, {3, 10}} << 3 * kMinute << 400LL;
    }

    void clock_countsWhatWasRead()
    {
        QFETCH(QList<Act>, acts);
        ReadingClock clock;
        ReadStretch total;
        for (const Act &act : acts) {
            const qint64 now = kStart + qint64(act.minute * kMinute);
            const ReadStretch read = act.stop ? clock.Stop(now) : clock.Activity(now, act.position);
            QVERIFY(read.ms >= 0 && read.ms <= ReadingClock::kLongestPauseMs);
            total.ms += read.ms;
            total.characters += read.characters;
        }
        QFETCH(qint64, ms);
        QFETCH(qint64, characters);
        QCOMPARE(total, (ReadStretch{ms, characters}));
    }

    // Stretches ending at a moment given in UTC, cut at the midnights of a
    // zone: China's, and one whose clocks skip midnight.
    void stretchByDay_splitsAtMidnight_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("end");
        QTest::addColumn<qint64>("minutes");
        QTest::addColumn<qint64>("characters");
        QTest::addColumn<QList<DayStretch>>("parts");
        const QByteArray china = "UTC+08:00";
        const QDate day(2026, 12, 10);
        const auto part = [](const QDate &date, qint64 minutes, qint64 characters) {
            return DayStretch{date, {minutes * kMinute, characters}};
        };
        QTest::newRow("within a day") << china << u"2026-12-10T02:00:00Z"_s << 3LL << 900LL
                                      << QList<DayStretch>{part(day, 3, 900)};
        QTest::newRow("23:58 to 00:02") << china << u"2026-12-10T16:02:00Z"_s << 4LL << 401LL
                                        << QList<DayStretch>{part(day, 2, 200), part(day.addDays(1), 2, 201)};
        QTest::newRow("ending at midnight")
            << china << u"2026-12-10T16:00:00Z"_s << 5LL << 10LL << QList<DayStretch>{part(day, 5, 10)};
        // Havana's clocks go from 23:59:59 to 01:00 on 8 March 2026:
        // 23:58 to 01:02 are four minutes, two on each day.
        QTest::newRow("midnight skipped")
            << QByteArray("America/Havana") << u"2026-03-08T05:02:00Z"_s << 4LL << 40LL
            << QList<DayStretch>{part(QDate(2026, 3, 7), 2, 20), part(QDate(2026, 3, 8), 2, 20)};
    }

    void stretchByDay_splitsAtMidnight()
    {
        QFETCH(QByteArray, zone);
        if (!QTimeZone::isTimeZoneIdAvailable(zone))
            QSKIP("this system has no such time zone");
        QFETCH(QString, end);
        QFETCH(qint64, minutes);
        QFETCH(qint64, characters);
        const qint64 now = QDateTime::fromString(end, Qt::ISODate).toMSecsSinceEpoch();
        QTEST(StretchByDay({minutes * kMinute, characters}, now, QTimeZone(zone)), "parts");
    }

    // Two computers: each adds to its own rows, and syncing hands over
    // copies of rows, old and new, any number of times.
    void merge_neverCountsTwice_data()
    {
        const QDate yesterday = kToday.addDays(-1);
        QTest::addColumn<QList<ReadingTimeRow>>("ours");
        QTest::addColumn<QList<ReadingTimeRow>>("theirs");
        QTest::addColumn<QList<ReadingTimeRow>>("merged");
        const QList<ReadingTimeRow> a = {Row(u"k1"_s, kToday, u"a"_s, 10), Row(u"k1"_s, yesterday, u"a"_s, 20)};
        QTest::newRow("nothing of theirs") << a << QList<ReadingTimeRow>{} << a;
        QTest::newRow("the same rows again") << a << a << a;
        QTest::newRow("their own computer's rows add")
            << a << QList<ReadingTimeRow>{Row(u"k1"_s, kToday, u"b"_s, 7)}
            << QList<ReadingTimeRow>{a[0], a[1], Row(u"k1"_s, kToday, u"b"_s, 7)};
        QTest::newRow("an older copy of our row is left")
            << a << QList<ReadingTimeRow>{Row(u"k1"_s, kToday, u"a"_s, 4)} << a;
        QTest::newRow("a newer copy of a row replaces it")
            << QList<ReadingTimeRow>{Row(u"k1"_s, kToday, u"b"_s, 7)}
            << QList<ReadingTimeRow>{Row(u"k1"_s, kToday, u"b"_s, 9, 3000)}
            << QList<ReadingTimeRow>{Row(u"k1"_s, kToday, u"b"_s, 9, 3000)};
        QTest::newRow("another book, another day")
            << QList<ReadingTimeRow>{a[0]} << QList<ReadingTimeRow>{Row(u"k2"_s, kToday, u"a"_s, 1), a[1]}
            << QList<ReadingTimeRow>{a[0], Row(u"k2"_s, kToday, u"a"_s, 1), a[1]};
    }

    void merge_neverCountsTwice()
    {
        QFETCH(QList<ReadingTimeRow>, ours);
        QFETCH(QList<ReadingTimeRow>, theirs);
        QFETCH(QList<ReadingTimeRow>, merged);
        QCOMPARE(MergedReadingTime(ours, theirs), merged);
        QCOMPARE(MergedReadingTime(merged, theirs), merged);
    }

    void speed_followsTheNewestHours_data()
    {
        QTest::addColumn<QList<ReadingTimeRow>>("rows");
        QTest::addColumn<double>("speed");
        QTest::newRow("nothing read") << QList<ReadingTimeRow>{} << kDefaultSpeed;
        QTest::newRow("under half an hour")
            << QList<ReadingTimeRow>{Row(u"k"_s, kToday, u"a"_s, 29, 900)} << kDefaultSpeed;
        QTest::newRow("half an hour, two computers")
            << QList<ReadingTimeRow>{Row(u"k"_s, kToday, u"a"_s, 20, 800), Row(u"k"_s, kToday, u"b"_s, 10, 200)}
            << 600.0;
        QTest::newRow("older days beyond three hours are left out") << QList<ReadingTimeRow>{
            Row(u"k"_s, kToday.addDays(-9), u"a"_s, 600, 0), Row(u"k"_s, kToday.addDays(-1), u"a"_s, 120, 400),
            Row(u"j"_s, kToday, u"a"_s, 60, 700)} << 500.0;
        QTest::newRow("time without characters (jumps) slows it")
            << QList<ReadingTimeRow>{Row(u"k"_s, kToday, u"a"_s, 60, 300)} << 300.0;
    }

    void speed_followsTheNewestHours()
    {
        QFETCH(QList<ReadingTimeRow>, rows);
        QFETCH(double, speed);
        QCOMPARE(ReadingSpeed(rows), speed);
    }

    void minutesToRead_data()
    {
        QTest::addColumn<qsizetype>("characters");
        QTest::addColumn<double>("speed");
        QTest::addColumn<qint64>("minutes");
        QTest::newRow("whole minutes") << qsizetype(1500) << 500.0 << 3LL;
        QTest::newRow("a started minute counts") << qsizetype(1501) << 500.0 << 4LL;
        QTest::newRow("a few characters") << qsizetype(1) << 500.0 << 1LL;
        QTest::newRow("nothing left") << qsizetype(0) << 500.0 << 0LL;
        QTest::newRow("past the end") << qsizetype(-20) << 500.0 << 0LL;
        QTest::newRow("no speed") << qsizetype(900) << 0.0 << 0LL;
        QTest::newRow("a whole long book") << qsizetype(8'000'000) << 640.0 << 12'500LL;
    }

    void minutesToRead()
    {
        QFETCH(qsizetype, characters);
        QFETCH(double, speed);
        QFETCH(qint64, minutes);
        QCOMPARE(MinutesToRead(characters, speed), minutes);
    }

    void progress_isTheShareBeforeTheTopLine_data()
    {
        QTest::addColumn<qsizetype>("position");
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<int>("progress");
        QTest::addColumn<QString>("label");
        QTest::newRow("two thirds: cut, then shown rounded") << qsizetype(2) << qsizetype(3) << 6666 << u"66.7 %"_s;
        QTest::newRow("just under a half tenth") << qsizetype(336'449) << qsizetype(1'000'000) << 3364 << u"33.6 %"_s;
        QTest::newRow("a half tenth") << qsizetype(3365) << qsizetype(10'000) << 3365 << u"33.7 %"_s;
        QTest::newRow("98 % is not yet read through") << qsizetype(98) << qsizetype(100) << 9800 << u"98.0 %"_s;
        QTest::newRow("beyond 98 % is") << qsizetype(9801) << qsizetype(10000) << 9801 << u"读完"_s;
        QTest::newRow("past the end") << qsizetype(12) << qsizetype(10) << kProgressWhole << u"读完"_s;
        QTest::newRow("an empty text") << qsizetype(0) << qsizetype(0) << 0 << u"0.0 %"_s;
    }

    void progress_isTheShareBeforeTheTopLine()
    {
        QFETCH(qsizetype, position);
        QFETCH(qsizetype, length);
        QFETCH(int, progress);
        QCOMPARE(ProgressAt(position, length), progress);
        QTEST(ProgressLabel(progress), "label");
    }

    void progressLabel_ofNoProgress_isADash()
    {
        QCOMPARE(ProgressLabel(kProgressNotKnown), u"—"_s);
        QCOMPARE(ProgressLabel(kProgressWhole + 1), u"—"_s);
    }

    void totals_sumDaysWeeksAndBooks()
    {
        const QList<ReadingTimeRow> rows = {
            Row(u"k1"_s, kToday, u"a"_s, 10),
            Row(u"k1"_s, kToday, u"b"_s, 5),
            Row(u"k2"_s, kToday.addDays(-1), u"a"_s, 30), // Wednesday
            Row(u"k2"_s, kToday.addDays(-2), u"a"_s, 1),  // Tuesday
            Row(u"k1"_s, kToday.addDays(-4), u"a"_s, 40), // last Sunday
            Row(u"k3"_s, QDate(2025, 12, 31), u"a"_s, 100),
            Row(u"k3"_s, kToday.addDays(3), u"a"_s, 7), // a clock that ran ahead
        };
        const ReadingTotals totals = ReadingTotalsOf(rows, kToday);
        QCOMPARE(totals.todayMs, 15 * kMinute);
        QCOMPARE(totals.weekMs, 46 * kMinute);
        QCOMPARE(totals.yearMs, 86 * kMinute);
        QCOMPARE(totals.allMs, 193 * kMinute);
        QCOMPARE(totals.daysInARow, 3);
        QCOMPARE(totals.lastDaysMs.size(), ReadingTotals::kChartDays);
        QCOMPARE(totals.lastDaysMs.last(), 15 * kMinute);
        QCOMPARE(totals.lastDaysMs[ReadingTotals::kChartDays - 5], 40 * kMinute);
        QCOMPARE(totals.lastDaysMs[ReadingTotals::kChartDays - 4], 0);
        using Book = std::pair<QString, qint64>;
        QCOMPARE(totals.books,
                 (QList<Book>{{u"k3"_s, 107 * kMinute}, {u"k1"_s, 55 * kMinute}, {u"k2"_s, 31 * kMinute}}));
        // Nothing yet today: the days in a row up to yesterday.
        QCOMPARE(ReadingTotalsOf(rows.mid(2), kToday).daysInARow, 2);
        QCOMPARE(ReadingTotalsOf({}, kToday).daysInARow, 0);
    }
};

FOLIVAR_TEST(ReadingTimeTest)
#include "ReadingTimeTest.moc"
