#include "sync/BookSync.h"
#include "core/BookRecordJson.h"
#include "core/BookStore.h"
#include "core/RecordLimits.h"
#include "support/TestRegistry.h"
#include "sync/DavFailure.h"
#include "sync/DeviceList.h"
#include "sync/FolderCheck.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Answers an HTTP request and ends the connection.
void Reply(QTcpSocket *socket, const QByteArray &statusAndHeaders, const QByteArray &body)
{
    socket->write("HTTP/1.1 " + statusAndHeaders + "\r\nContent-Length: " + QByteArray::number(body.size())
                  + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

// A WebDAV server that keeps its files in memory and honours If-Match and
// If-None-Match as the usual servers do; `beforeWrite` runs before each PUT
// is judged, to let another computer write first. It can misbehave on
// purpose: challenge for a sign-in, lose what it confirmed (`blackHole`), or
// answer a request its own way (`misbehave`, given the request's whole path,
// returns true when it answered).
class StandInDav : public QObject {
public:
    QMap<QByteArray, QByteArray> files;
    QMap<QByteArray, int> versions;
    int refusedWrites = 0;
    std::function<void(const QByteArray &path)> beforeWrite;
    // Requests without this Authorization header are challenged (Basic).
    QByteArray authorization;
    bool blackHole = false;
    std::function<bool(QTcpSocket *socket, const QByteArray &target)> misbehave;
    int requests = 0;

    StandInDav()
    {
        server_.listen(QHostAddress::LocalHost);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            QTcpSocket *socket = server_.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        });
    }
    QString Address() const { return u"http://127.0.0.1:%1/dav/"_s.arg(server_.serverPort()); }
    QByteArray ETagOf(const QByteArray &path) const { return '"' + QByteArray::number(versions.value(path)) + '"'; }
    void Store(const QByteArray &path, const QByteArray &body)
    {
        files[path] = body;
        versions[path] += 1;
    }

private:
    void Read(QTcpSocket *socket)
    {
        QByteArray &request = pending_[socket];
        request += socket->readAll();
        const qsizetype headEnd = request.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QList<QByteArray> lines = request.left(headEnd).split('\n');
        QMap<QByteArray, QByteArray> headers;
        for (const QByteArray &line : lines.mid(1)) {
            const qsizetype colon = line.indexOf(':');
            headers[line.left(colon).trimmed().toLower()] = line.mid(colon + 1).trimmed();
        }
        const qsizetype length = headers.value("content-length").toLongLong();
        if (request.size() < headEnd + 4 + length)
            return;
        const QList<QByteArray> first = lines.first().trimmed().split(' ');
        const QByteArray body = request.mid(headEnd + 4, length);
        pending_.remove(socket);
        requests += 1;
        const QByteArray target = first.value(1);
        if (!authorization.isEmpty() && headers.value("authorization") != authorization)
            return Reply(socket, "401 Sign in\r\nWWW-Authenticate: Basic realm=\"dav\"", {});
        if (misbehave && misbehave(socket, target))
            return;
        // Any folder of the server holds the same files.
        const QByteArray path = target.mid(target.indexOf('/', 1) + 1);
        Answer(socket, first.value(0), path, headers, body);
    }
    void Answer(QTcpSocket *socket, const QByteArray &method, const QByteArray &path,
                const QMap<QByteArray, QByteArray> &headers, const QByteArray &body)
    {
        int status = 201;
        QByteArray reply;
        if (method == "GET") {
            status = files.contains(path) ? 200 : 404;
            reply = files.value(path);
        } else if (method == "PUT") {
            if (beforeWrite)
                beforeWrite(path);
            const bool stale = headers.contains("if-match") && headers.value("if-match") != ETagOf(path);
            const bool exists = headers.value("if-none-match") == "*" && files.contains(path);
            status = stale || exists ? 412 : 201;
            refusedWrites += status == 412 ? 1 : 0;
            if (status == 201 && !blackHole)
                Store(path, body);
        }
        Reply(socket, QByteArray::number(status) + " X\r\nETag: " + ETagOf(path), reply);
    }

    QTcpServer server_;
    QMap<QTcpSocket *, QByteArray> pending_;
};

Bookmark MarkAt(qsizetype position)
{
    return Bookmark{position, u"第一章"_s, u"书签%1"_s.arg(position), 1000 + position};
}

// A record placed in `chapter` by the user on `device` at `time`.
BookRecord PlacedRecord(int chapter, qint64 time, const QString &device, const QList<Bookmark> &bookmarks)
{
    BookRecord record;
    record.chapter = chapter;
    record.chapterTitle = u"第%1章"_s.arg(chapter);
    record.bookmarks = bookmarks;
    record.changes.place = {time, device};
    return record;
}

// Syncs the book and waits until the sync has ended.
bool SyncOnce(BookSync &sync, const QString &name)
{
    QSignalSpy idle(&sync, &BookSync::idle);
    sync.SyncBook(name);
    return idle.wait(20000);
}

// Answers with `head`, then `chunk` every `everyMs` for as long as the
// client listens, never more than a few chunks ahead of it.
void Drip(QTcpSocket *socket, const QByteArray &head, const QByteArray &chunk, int everyMs)
{
    socket->write(head);
    auto *timer = new QTimer(socket);
    QObject::connect(timer, &QTimer::timeout, socket, [socket, chunk] {
        if (socket->bytesToWrite() < 4 * chunk.size())
            socket->write(chunk);
    });
    timer->start(everyMs);
}

} // namespace

class BookSyncTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Another computer writes between this one's read and its write: the
    // write is refused, the file is read again and merged, and nothing of
    // either side is lost. A record keyed by its folder shares the file of
    // the book's name, as one of an earlier version does.
    void writeRefused_readsAgainAndMerges_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("keyed by the name") << u"a.txt"_s;
        QTest::newRow("keyed by the folder and the name") << u"/home/读者/书/a.txt"_s;
    }

    void writeRefused_readsAgainAndMerges()
    {
        QFETCH(QString, key);
        StandInDav dav;
        const QByteArray book = "folivar/books/a.txt.json";
        dav.Store(book, SyncedRecordToJson(PlacedRecord(3, 50, u"there"_s, {MarkAt(20)})));
        dav.beforeWrite = [&dav, &book](const QByteArray &path) {
            if (path == book && dav.versions.value(book) == 1)
                dav.Store(book, SyncedRecordToJson(PlacedRecord(5, 200, u"there"_s, {MarkAt(20), MarkAt(30)})));
        };
        BookStore store;
        QVERIFY(store.PutUnmarked(key, PlacedRecord(1, 100, u"here"_s, {MarkAt(10)})));
        BookSync sync(store);
        sync.SetDevice(u"here"_s, u"here"_s);
        QSignalSpy idle(&sync, &BookSync::idle);
        QSignalSpy failed(&sync, &BookSync::failed);
        sync.SetAccount({dav.Address(), QString(), QString(), true});
        sync.SyncBook(key);
        QVERIFY(idle.wait(10000));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(dav.refusedWrites, 1);
        const QList<Bookmark> all{MarkAt(10), MarkAt(20), MarkAt(30)};
        const std::optional<BookRecord> local = store.Find(key);
        QVERIFY(local);
        QCOMPARE(local->chapter, 5);
        QCOMPARE(local->bookmarks, all);
        const std::optional<BookRecord> shared = SyncedRecordFromJson(dav.files.value(book));
        QVERIFY(shared);
        QCOMPARE(shared->chapter, 5);
        QCOMPARE(shared->bookmarks, all);
    }

    void redirect_isFollowedWithinTheServerOnly_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("to another folder of the server") << false;
        QTest::newRow("to another port") << true;
    }

    // The password goes to the server it was given for, in answer to its
    // challenge, and never to where it sends a request on.
    void redirect_isFollowedWithinTheServerOnly()
    {
        QFETCH(bool, elsewhere);
        StandInDav dav, other;
        dav.authorization = "Basic " + QByteArray("alice:secret").toBase64();
        const QByteArray to = (elsewhere ? other.Address() : dav.Address().replace(u"/dav/"_s, u"/moved/"_s)).toUtf8();
        dav.misbehave = [&to](QTcpSocket *socket, const QByteArray &target) {
            if (!target.startsWith("/dav/folivar/books/") || !target.endsWith(".json"))
                return false;
            Reply(socket, "307 Elsewhere\r\nLocation: " + to + target.mid(5), {});
            return true;
        };
        BookStore store;
        QVERIFY(store.PutUnmarked(u"a.txt"_s, PlacedRecord(1, 100, u"here"_s, {})));
        BookSync sync(store);
        QSignalSpy failed(&sync, &BookSync::failed);
        sync.SetAccount({dav.Address(), u"alice"_s, u"secret"_s, true});
        QVERIFY(SyncOnce(sync, u"a.txt"_s));
        QCOMPARE(other.requests, 0);
        QCOMPARE(failed.count(), elsewhere ? 1 : 0);
        if (elsewhere)
            QCOMPARE(failed.first().first().toString(),
                     u"服务器把请求转到了别的地址：%1folivar/books/a.txt.json"_s.arg(other.Address()));
        else
            QCOMPARE(SyncedRecordFromJson(dav.files.value("folivar/books/a.txt.json"))->chapter, 1);
    }

    void answer_isCutOffWhenTooLongOrTooSlow_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("chunk");
        QTest::addColumn<int>("everyMs");
        QTest::addColumn<bool>("tooLarge");
        const QByteArray ok = "HTTP/1.1 200 OK\r\n";
        QTest::newRow("a length of 1 GiB") << ok + "Content-Length: 1073741824\r\n\r\n"
                                           << QByteArray(1024, 'x') << 20 << true;
        QTest::newRow("a body without end") << ok + "Connection: close\r\n\r\n"
                                            << QByteArray(qsizetype(256) * 1024, '[') << 0 << true;
        QTest::newRow("a byte now and then") << ok + "Content-Length: 1000\r\n\r\n" << QByteArray("{") << 200 << false;
    }

    void answer_isCutOffWhenTooLongOrTooSlow()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, chunk);
        QFETCH(int, everyMs);
        QFETCH(bool, tooLarge);
        StandInDav server;
        server.misbehave = [&](QTcpSocket *socket, const QByteArray &) {
            Drip(socket, head, chunk, everyMs);
            return true;
        };
        WebDav dav(nullptr, DavLimits{5000, 2000, qint64(1024) * 1024});
        dav.SetAccount({server.Address(), QString(), QString(), true});
        std::optional<DavAnswer> answer;
        dav.Get("a.txt.json", [&answer](const DavAnswer &got) { answer = got; });
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        QCOMPARE(answer->tooLarge, tooLarge);
        QCOMPARE(answer->tooSlow, !tooLarge);
        QVERIFY(answer->body.isEmpty());
        QVERIFY(!answer->Succeeded());
    }

    // Another computer's clock is a day ahead: its place wins once, as a
    // change made now would, and the user's next move here wins over it.
    void futureDatedPlace_winsOnce_thenTheUsersMoveWins()
    {
        StandInDav dav;
        const QByteArray book = "folivar/books/a.txt.json";
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        dav.Store(book, SyncedRecordToJson(PlacedRecord(9, now + qint64(24) * 3600 * 1000, u"ahead"_s, {})));
        // Whatever this reader writes, the file stays as the other one left it.
        dav.blackHole = true;
        BookStore store;
        QVERIFY(store.PutUnmarked(u"a.txt"_s, PlacedRecord(1, now - 60000, u"here"_s, {})));
        store.MarkChangesAs(u"here"_s, [](const QString &) {});
        BookSync sync(store);
        sync.SetAccount({dav.Address(), QString(), QString(), true});
        QVERIFY(SyncOnce(sync, u"a.txt"_s));
        QCOMPARE(store.Find(u"a.txt"_s)->chapter, 9);
        QVERIFY(store.Find(u"a.txt"_s)->changes.place.time <= QDateTime::currentMSecsSinceEpoch());
        QVERIFY(store.Update(u"a.txt"_s, [](BookRecord &record) { record.chapter = 2; }));
        QSignalSpy merged(&sync, &BookSync::recordMerged);
        QVERIFY(SyncOnce(sync, u"a.txt"_s));
        QCOMPARE(store.Find(u"a.txt"_s)->chapter, 2);
        QCOMPARE(merged.count(), 0);
    }

    // Highlights and the time read follow the reader from one computer to
    // the other: a set of highlights in which a deletion or a later note
    // wins, and each computer's time once, however often they sync.
    void highlightsAndTimeRead_followTheReaderAcrossComputers()
    {
        StandInDav dav;
        const QString key = u"a.txt"_s;
        const QDate day(2026, 12, 10);
        BookStore a;
        BookStore b;
        QVERIFY(a.PutUnmarked(key, PlacedRecord(1, 100, u"pc-a"_s, {})));
        QVERIFY(b.PutUnmarked(key, PlacedRecord(1, 100, u"pc-b"_s, {})));
        BookSync syncA(a);
        BookSync syncB(b);
        for (BookSync *sync : {&syncA, &syncB})
            sync->SetAccount({dav.Address(), QString(), QString(), true});
        const Highlight lamp{10, 12, u"灯火"_s, HighlightColour::Green, u"灯下"_s, 1000, 1000};
        const Highlight bridge{40, 42, u"桥上"_s, HighlightColour::Yellow, {}, 2000, 2000};
        a.PutHighlights(key, {lamp, bridge});
        a.PutReadingTime({key, day, u"pc-a"_s, 60000, 500});
        b.PutReadingTime({key, day, u"pc-b"_s, 30000, 200});
        QVERIFY(SyncOnce(syncA, key));
        QVERIFY(SyncOnce(syncB, key));
        QCOMPARE(b.Highlights(key), (QList<Highlight>{lamp, bridge}));

        Highlight deleted = lamp;
        deleted.changed = deleted.deleted = 5000;
        Highlight noted = bridge;
        noted.note = u"他看了很久"_s;
        noted.changed = 6000;
        b.PutHighlights(key, {deleted, noted});
        a.PutReadingTime({key, day, u"pc-a"_s, 90000, 700});
        QSignalSpy highlightsMerged(&syncA, &BookSync::highlightsMerged);
        QVERIFY(SyncOnce(syncB, key));
        QVERIFY(SyncOnce(syncA, key));
        QVERIFY(SyncOnce(syncA, key));
        QCOMPARE(highlightsMerged.count(), 1);
        QCOMPARE(a.Highlights(key), (QList<Highlight>{deleted, noted}));
        QVERIFY(SyncOnce(syncB, key));
        for (BookStore *store : {&a, &b})
            QCOMPARE(ReadingTotalsOf(store->ReadingTime(), day).todayMs, 120000);
    }

    // A record no reader makes: its bookmarks are cut to what a record
    // holds, and a place that cannot be in the book is refused.
    void absurdRecord_isCutAndItsPlaceRefused()
    {
        StandInDav dav;
        QList<Bookmark> many;
        for (int i = 0; i < kMostBookmarks + 1000; ++i)
            many.append(MarkAt(i));
        many.append(MarkAt(200000));
        BookRecord absurd = PlacedRecord(-5, 500, u"there"_s, many);
        dav.Store("folivar/books/a.txt.json", SyncedRecordToJson(absurd));
        BookStore store;
        BookRecord local = PlacedRecord(1, 100, u"here"_s, {});
        local.size = 100000;
        QVERIFY(store.PutUnmarked(u"a.txt"_s, local));
        BookSync sync(store);
        sync.SetAccount({dav.Address(), QString(), QString(), true});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"refusing \\d+ bookmarks"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"refusing the shared place"_s));
        QVERIFY(SyncOnce(sync, u"a.txt"_s));
        const BookRecord kept = *store.Find(u"a.txt"_s);
        QCOMPARE(kept.chapter, 1);
        QCOMPARE(kept.bookmarks.size(), kMostBookmarks);
        QCOMPARE(kept.bookmarks.last().position, kMostBookmarks - 1);
    }

    // The server answers 201 to every write and keeps nothing: the next read
    // finds no file, which is told once, however often it happens.
    void writesTheServerLoses_areToldOnce()
    {
        StandInDav dav;
        dav.blackHole = true;
        BookStore store;
        QVERIFY(store.PutUnmarked(u"a.txt"_s, PlacedRecord(1, 100, u"here"_s, {})));
        BookSync sync(store);
        QSignalSpy failed(&sync, &BookSync::failed);
        sync.SetAccount({dav.Address(), QString(), QString(), true});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"did not keep it"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"did not keep it"_s));
        for (int i = 0; i < 3; ++i)
            QVERIFY(SyncOnce(sync, u"a.txt"_s));
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.first().first().toString(), u"同步服务器说已存下《a.txt》的记录，却没有存下"_s);
    }

    // 测试连接's verdict: a folder written and read back, a server that
    // confirms writes it does not keep, a password refused, no web address.
    void folderCheck_saysWhatTheFolderAllows_data()
    {
        QTest::addColumn<QString>("address"); // "dav": the stand-in server
        QTest::addColumn<bool>("blackHole");
        QTest::addColumn<QString>("password"); // the server wants "secret"
        QTest::addColumn<QString>("verdict");
        QTest::newRow("read and written")
            << u"dav"_s << false << u"secret"_s << u"连接成功：这个文件夹可以读取和写入"_s;
        QTest::newRow("writes not kept") << u"dav"_s << true << u"secret"_s << u"写入了文件，但读不回来："_s;
        QTest::newRow("password refused") << u"dav"_s << false << u"wrong"_s << u"同步服务器拒绝登录"_s;
        QTest::newRow("no web address") << u"ftp://127.0.0.1/dav/"_s << false << u"secret"_s << u"地址应以 http://"_s;
    }

    void folderCheck_saysWhatTheFolderAllows()
    {
        QFETCH(QString, address);
        QFETCH(bool, blackHole);
        QFETCH(QString, password);
        QFETCH(QString, verdict);
        StandInDav dav;
        dav.blackHole = blackHole;
        dav.authorization = "Basic " + QByteArray("u:secret").toBase64();
        QObject context;
        QString told;
        CheckFolder({address == u"dav"_s ? dav.Address() : address, u"u"_s, password, true}, &context,
                    [&told](const QString &said) { told = said; });
        QTRY_VERIFY_WITH_TIMEOUT(!told.isEmpty(), 10000);
        QVERIFY2(told.startsWith(verdict), qPrintable(told));
    }

    // devices.json keeps the other computers and brings this one up to date;
    // a list that cannot be read starts afresh with this computer alone.
    void deviceList_keepsTheOthers_andUpdatesThisOne_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QStringList>("devices");
        QTest::newRow("none yet") << QByteArray() << QStringList{u"here"_s};
        QTest::newRow("not JSON") << QByteArray("{devices") << QStringList{u"here"_s};
        QTest::newRow("another computer")
            << QByteArray(R"({"version":1,"devices":{"there":{"name":"办公室","lastSeen":5}}})")
            << QStringList{u"here"_s, u"there"_s};
        QTest::newRow("this one seen before")
            << QByteArray(R"({"version":1,"devices":{"here":{"name":"旧名","lastSeen":5}}})") << QStringList{u"here"_s};
    }

    void deviceList_keepsTheOthers_andUpdatesThisOne()
    {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, devices);
        const QJsonObject list = QJsonDocument::fromJson(DeviceListWith(before, u"here"_s, u"书房"_s, 1000))
                                     .object()[u"devices"_s]
                                     .toObject();
        QCOMPARE(list.keys(), devices);
        QCOMPARE(list[u"here"_s].toObject()[u"name"_s].toString(), u"书房"_s);
        QCOMPARE(list[u"here"_s].toObject()[u"lastSeen"_s].toInteger(), 1000);
        if (devices.contains(u"there"_s))
            QCOMPARE(list[u"there"_s].toObject()[u"lastSeen"_s].toInteger(), 5);
    }

    void clearTextPassword_onlyOverPlainHttpToAnotherComputer_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("inClear");
        QTest::newRow("http to another computer") << u"http://192.0.2.10/dav/"_s << u"u"_s << true;
        QTest::newRow("http by name") << u"HTTP://nas.example:8080/dav/"_s << u"u"_s << true;
        QTest::newRow("https") << u"https://192.0.2.10/dav/"_s << u"u"_s << false;
        QTest::newRow("no user, no password") << u"http://192.0.2.10/dav/"_s << QString() << false;
        QTest::newRow("localhost") << u"http://LocalHost:8080/dav/"_s << u"u"_s << false;
        QTest::newRow("127.0.0.0/8") << u"http://127.8.9.10/dav/"_s << u"u"_s << false;
        QTest::newRow("::1") << u"http://[::1]:8080/dav/"_s << u"u"_s << false;
    }

    void clearTextPassword_onlyOverPlainHttpToAnotherComputer()
    {
        QFETCH(QString, address);
        QFETCH(QString, user);
        QFETCH(bool, inClear);
        QCOMPARE(SendsPasswordInClear({address, user, u"secret"_s, true}), inClear);
    }

    // A server whose certificate does not verify is never talked to: the
    // request ends, and the reasons are named.
    void untrustedCertificate_endsTheRequest_andIsNamed()
    {
        QFile pem(qEnvironmentVariable("FOLIVAR_SOURCE_DIR") + u"/tests/sync/untrusted-server.pem"_s);
        QVERIFY(pem.open(QIODevice::ReadOnly));
        const QByteArray bytes = pem.readAll();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(bytes));
        tls.setPrivateKey(QSslKey(bytes, QSsl::Ec));
        QSslServer server;
        server.setSslConfiguration(tls);
        QVERIFY(server.listen(QHostAddress::LocalHost));
        qsizetype received = 0;
        connect(&server, &QSslServer::pendingConnectionAvailable, &server, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket,
                    [&received, socket] { received += socket->readAll().size(); });
        });
        WebDav dav;
        dav.SetAccount({u"https://127.0.0.1:%1/dav/"_s.arg(server.serverPort()), u"u"_s, u"secret"_s, true});
        std::optional<DavAnswer> answer;
        dav.Get("a.txt.json", [&answer](const DavAnswer &got) { answer = got; });
        QTRY_VERIFY_WITH_TIMEOUT(answer.has_value(), 20000);
        QVERIFY(!answer->Succeeded());
        QCOMPARE(received, 0);
        QCOMPARE(DescribeFailure(*answer), u"同步服务器的证书不可信，未连接：证书不属于这个地址；证书是自签名的"_s);
    }
};

FOLIVAR_TEST(BookSyncTest)
#include "BookSyncTest.moc"
