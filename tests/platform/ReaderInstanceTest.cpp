#include "platform/ReaderInstance.h"
#include "platform/PrivateFolder.h"
#include "support/TestRegistry.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr uid_t kNobody = 65534;

QByteArray Message(const QStringList &paths)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << paths;
    return message;
}

QString MadeFolder(const QString &path, mode_t mode)
{
    QDir().mkpath(path);
    ::chmod(QFile::encodeName(path).constData(), mode);
    return path;
}

// Another start of the reader, as a process of its own.
int RunHelper(const QStringList &arguments)
{
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.start(QString::fromUtf8(READER_INSTANCE_HELPER), arguments);
    return helper.waitForFinished(20000) && helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
}

// A client that sends `bytes` and is then told nothing or "k"; true once
// the reader has ended the connection.
bool EndedByTheReader(QLocalSocket &client, const QByteArray &bytes)
{
    client.write(bytes);
    QSignalSpy ended(&client, &QLocalSocket::disconnected);
    return client.state() == QLocalSocket::UnconnectedState || ended.wait(5000);
}

} // namespace

class ReaderInstanceTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString runtime_;
    QString settings_;
    QByteArray runtimeBefore_;

private Q_SLOTS:
    void initTestCase() { runtimeBefore_ = qgetenv("XDG_RUNTIME_DIR"); }
    void cleanupTestCase() { qputenv("XDG_RUNTIME_DIR", runtimeBefore_); }

    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        runtime_ = MadeFolder(dir_->filePath(u"run"_s), 0700);
        settings_ = dir_->filePath(u"config.ini"_s);
        qputenv("XDG_RUNTIME_DIR", runtime_.toUtf8());
    }

    void folderRefusal_refusesWhatOthersCouldReach_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("refused");
        QTest::newRow("own, 0700") << u"own"_s << false;
        QTest::newRow("own, 0755") << u"open"_s << true;
        QTest::newRow("a symbolic link to an own folder") << u"link"_s << true;
        QTest::newRow("a plain file") << u"file"_s << true;
        QTest::newRow("another user's") << u"other"_s << true;
    }

    void folderRefusal_refusesWhatOthersCouldReach()
    {
        QFETCH(QString, kind);
        QFETCH(bool, refused);
        const QString path = dir_->filePath(kind);
        if (kind == u"file"_s)
            QFile(path).open(QIODevice::WriteOnly);
        else if (kind == u"link"_s)
            QVERIFY(QFile::link(runtime_, path));
        else
            MadeFolder(path, kind == u"open"_s ? 0755 : 0700);
        if (kind == u"other"_s) {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs root");
            QCOMPARE(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
        }
        QCOMPARE(!FolderRefusal(path).isEmpty(), refused);
    }

    // Without a usable $XDG_RUNTIME_DIR: an own folder in the temp folder,
    // and no socket at all where someone else planted that name.
    void privateFolder_withoutRuntimeFolder_isOwnFolderInTemp()
    {
        qputenv("XDG_RUNTIME_DIR", MadeFolder(dir_->filePath(u"shared"_s), 0755).toUtf8());
        const QByteArray tempBefore = qgetenv("TMPDIR");
        qputenv("TMPDIR", MadeFolder(dir_->filePath(u"tmp"_s), 0777).toUtf8());
        const QString own = dir_->filePath(u"tmp/folivar-%1"_s.arg(::geteuid()));
        QCOMPARE(PrivateFolder(), own);
        QCOMPARE(FolderRefusal(own), QString());
        qputenv("TMPDIR", MadeFolder(dir_->filePath(u"planted"_s), 0777).toUtf8());
        QFile(dir_->filePath(u"planted/folivar-%1"_s.arg(::geteuid()))).open(QIODevice::WriteOnly);
        ReaderInstance instance(settings_);
        QCOMPARE(instance.SocketPath(), QString());
        QVERIFY(!instance.HandOverOrServe({}));
        QVERIFY(!instance.Serving());
        qputenv("TMPDIR", tempBefore);
    }

    void handOver_reachesTheReaderInItsPrivateFolder()
    {
        ReaderInstance first(settings_);
        QVERIFY(!first.HandOverOrServe({}));
        QVERIFY(first.Serving());
        QVERIFY(first.SocketPath().startsWith(runtime_ + u'/'));
        QSignalSpy handed(&first, &ReaderInstance::handedOver);
        QProcess second;
        second.start(QString::fromUtf8(READER_INSTANCE_HELPER), {settings_, u"hand"_s, u"/书/b.txt"_s});
        QVERIFY(handed.wait(10000));
        QCOMPARE(handed.first().first().toStringList(), QStringList{u"/书/b.txt"_s});
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 10000);
        QCOMPARE(second.exitCode(), 0);
    }

    void message_beyondTheCaps_isRefused_data()
    {
        QTest::addColumn<QByteArray>("message");
        QStringList many;
        for (int i = 0; i < 17; ++i)
            many << u"/书/%1.txt"_s.arg(i);
        QTest::newRow("over 64 KiB") << Message({QString(40000, u'长')});
        QTest::newRow("17 paths") << Message(many);
        QTest::newRow("a count of four thousand million") << QByteArray("\xff\xff\xff\xf0", 4);
        QTest::newRow("nothing, for ever") << QByteArray();
    }

    void message_beyondTheCaps_isRefused()
    {
        QFETCH(QByteArray, message);
        ReaderInstance reader(settings_);
        QVERIFY(!reader.HandOverOrServe({}));
        QSignalSpy handed(&reader, &ReaderInstance::handedOver);
        QLocalSocket client;
        client.connectToServer(reader.SocketPath());
        QVERIFY(client.waitForConnected(5000));
        QVERIFY(EndedByTheReader(client, message));
        QCOMPARE(client.readAll(), QByteArray());
        QCOMPARE(handed.count(), 0);
    }

    // The ninth start at once is turned away; once the others are gone,
    // a start is heard again.
    void connections_atMostEightAtOnce()
    {
        ReaderInstance reader(settings_);
        QVERIFY(!reader.HandOverOrServe({}));
        QSignalSpy handed(&reader, &ReaderInstance::handedOver);
        std::vector<std::unique_ptr<QLocalSocket>> silent;
        for (int i = 0; i < 8; ++i) {
            silent.push_back(std::make_unique<QLocalSocket>());
            silent.back()->connectToServer(reader.SocketPath());
        }
        QLocalSocket ninth;
        ninth.connectToServer(reader.SocketPath());
        QVERIFY(EndedByTheReader(ninth, Message({u"a.txt"_s})));
        QCOMPARE(handed.count(), 0);
        for (const auto &socket : silent)
            QTRY_COMPARE_WITH_TIMEOUT(socket->state(), QLocalSocket::UnconnectedState, 5000);
        QLocalSocket later;
        later.connectToServer(reader.SocketPath());
        later.write(Message({u"a.txt"_s}));
        QVERIFY(handed.wait(5000));
    }

    // A first reader that is stopped keeps serving: a second start runs on
    // its own instead of taking over, and a first reader that ends removes
    // its own socket only, not one made at its path since.
    void stoppedReader_keepsItsPlace_andRemovesOnlyItsOwnSocket()
    {
        QProcess first;
        first.start(QString::fromUtf8(READER_INSTANCE_HELPER), {settings_, u"serve"_s});
        QVERIFY(first.waitForReadyRead(10000));
        QCOMPARE(first.readLine().trimmed(), QByteArray("serving"));
        ::kill(pid_t(first.processId()), SIGSTOP);
        QCOMPARE(RunHelper({settings_, u"hand"_s, u"b.txt"_s}), 2);
        ::kill(pid_t(first.processId()), SIGCONT);
        QCOMPARE(RunHelper({settings_, u"hand"_s, u"c.txt"_s}), 0);
        const QString socketPath = ReaderInstance(settings_).SocketPath();
        QVERIFY(QFile::remove(socketPath));
        QLocalServer later;
        QVERIFY(later.listen(socketPath));
        first.write("quit\n");
        QVERIFY(first.waitForFinished(10000));
        QVERIFY(QFileInfo::exists(socketPath));
    }

    void otherUsersConnection_isIgnored()
    {
        if (::geteuid() != 0)
            QSKIP("connecting as another user needs root");
        ReaderInstance reader(settings_);
        QVERIFY(!reader.HandOverOrServe({}));
        QSignalSpy handed(&reader, &ReaderInstance::handedOver);
        // Opened up so that the other user reaches the socket at all: only
        // the peer check stands in the way.
        for (const QString &path : {dir_->path(), runtime_})
            ::chmod(QFile::encodeName(path).constData(), 0711);
        ::chmod(QFile::encodeName(reader.SocketPath()).constData(), 0666);
        QTest::ignoreMessage(QtWarningMsg, "instance: ignoring a connection from another user");
        QProcess other;
        other.setChildProcessModifier([] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(9);
        });
        other.start(QString::fromUtf8(READER_INSTANCE_HELPER), {reader.SocketPath(), u"send"_s, u"b.txt"_s});
        QTRY_VERIFY_WITH_TIMEOUT(other.state() == QProcess::NotRunning, 10000);
        QCOMPARE(other.exitCode(), 3);
        QCOMPARE(handed.count(), 0);
    }
};

FOLIVAR_TEST(ReaderInstanceTest)
#include "ReaderInstanceTest.moc"
