#include "sync/BookSync.h"
#include "core/BookRecordJson.h"
#include "core/BookStore.h"
#include "support/TestRegistry.h"

#include <QMap>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// A WebDAV server that keeps its files in memory and honours If-Match and
// If-None-Match as the usual servers do; `beforeWrite` runs before each PUT
// is judged, to let another computer write first.
class StandInDav : public QObject {
public:
    QMap<QByteArray, QByteArray> files;
    QMap<QByteArray, int> versions;
    int refusedWrites = 0;
    std::function<void(const QByteArray &path)> beforeWrite;

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
        const QByteArray path = first.value(1).mid(QByteArrayLiteral("/dav/").size());
        Answer(socket, first.value(0), path, headers, request.mid(headEnd + 4, length));
        pending_.remove(socket);
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
            if (status == 201)
                Store(path, body);
        }
        socket->write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nETag: " + ETagOf(path) + "\r\nContent-Length: "
                      + QByteArray::number(reply.size()) + "\r\nConnection: close\r\n\r\n" + reply);
        socket->disconnectFromHost();
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

} // namespace

class BookSyncTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Another computer writes between this one's read and its write: the
    // write is refused, the file is read again and merged, and nothing of
    // either side is lost.
    void writeRefused_readsAgainAndMerges()
    {
        StandInDav dav;
        const QByteArray book = "folivar/books/a.txt.json";
        dav.Store(book, SyncedRecordToJson(PlacedRecord(3, 50, u"there"_s, {MarkAt(20)})));
        dav.beforeWrite = [&dav, &book](const QByteArray &path) {
            if (path == book && dav.versions.value(book) == 1)
                dav.Store(book, SyncedRecordToJson(PlacedRecord(5, 200, u"there"_s, {MarkAt(20), MarkAt(30)})));
        };
        BookStore store;
        QVERIFY(store.PutUnmarked(u"a.txt"_s, PlacedRecord(1, 100, u"here"_s, {MarkAt(10)})));
        BookSync sync(store);
        sync.SetDevice(u"here"_s, u"here"_s);
        QSignalSpy idle(&sync, &BookSync::idle);
        QSignalSpy failed(&sync, &BookSync::failed);
        sync.SetAccount({dav.Address(), QString(), QString(), true});
        sync.SyncBook(u"a.txt"_s);
        QVERIFY(idle.wait(10000));
        QCOMPARE(failed.count(), 0);
        QCOMPARE(dav.refusedWrites, 1);
        const QList<Bookmark> all{MarkAt(10), MarkAt(20), MarkAt(30)};
        const std::optional<BookRecord> local = store.Find(u"a.txt"_s);
        QVERIFY(local);
        QCOMPARE(local->chapter, 5);
        QCOMPARE(local->bookmarks, all);
        const std::optional<BookRecord> shared = SyncedRecordFromJson(dav.files.value(book));
        QVERIFY(shared);
        QCOMPARE(shared->chapter, 5);
        QCOMPARE(shared->bookmarks, all);
    }
};

FOLIVAR_TEST(BookSyncTest)
#include "BookSyncTest.moc"
