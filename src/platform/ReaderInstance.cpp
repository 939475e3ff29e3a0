#include "platform/ReaderInstance.h"

#include "platform/InstanceListener.h"
#include "platform/Log.h"
#include "platform/PrivateFolder.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <optional>

namespace {

constexpr int kPatienceMs = 3000;
constexpr qint64 kLargestMessage = qint64(64) * 1024;
constexpr quint32 kMostPaths = 16;
constexpr int kConnectionMs = 2000;
constexpr int kMostConnections = 8;
constexpr qsizetype kLoggedPathLength = 200;
const char kTaken = 'k';

// The same for the same user and settings file, whatever the path's spelling.
QString InstanceName(const QString &settingsPath)
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    const QByteArray key = (user + u'\n' + QFileInfo(settingsPath).absoluteFilePath()).toUtf8();
    return QStringLiteral("folivar-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
}

QString ForLog(const QString &path)
{
    return path.size() <= kLoggedPathLength ? path : path.left(kLoggedPathLength) + QStringLiteral("…");
}

// A message is a QStringList as QDataStream writes it: the count, then each
// path. nullopt while it is incomplete; `refused` when it never can be one.
std::optional<QStringList> PathsIn(const QByteArray &message, bool &refused)
{
    QDataStream in(message);
    quint32 count = 0;
    in >> count;
    refused = count > kMostPaths;
    QStringList paths;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok && !refused; ++i) {
        QString path;
        in >> path;
        paths << path;
    }
    refused = refused || in.status() == QDataStream::ReadCorruptData;
    if (refused || in.status() != QDataStream::Ok)
        return std::nullopt;
    return paths;
}

void Close(QLocalSocket *socket)
{
    socket->abort();
    socket->deleteLater();
}

} // namespace

ReaderInstance::ReaderInstance(const QString &settingsPath, QObject *parent) : QObject(parent)
{
    if (const QString folder = PrivateFolder(); !folder.isEmpty())
        socketPath_ = QDir(folder).filePath(InstanceName(settingsPath));
}

// The listener goes first: it removes its socket while the lock still says
// this reader runs.
ReaderInstance::~ReaderInstance()
{
    delete listener_;
}

bool ReaderInstance::HandOverOrServe(const QStringList &arguments)
{
    if (socketPath_.isEmpty()) {
        qCWarning(lcPlatform) << "instance: this reader runs on its own, later starts cannot reach it";
        return false;
    }
    // Two starts at once must not both find no reader and both serve.
    QLockFile starting(socketPath_ + QStringLiteral(".starting"));
    starting.setStaleLockTime(0);
    starting.tryLock(kPatienceMs);
    if (HandOver(arguments))
        return true;
    Serve();
    return false;
}

bool ReaderInstance::HandOver(const QStringList &arguments) const
{
    QLocalSocket socket;
    socket.connectToServer(ConnectName(socketPath_));
    if (!socket.waitForConnected(kPatienceMs))
        return false;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << arguments;
    socket.write(message);
    if (!socket.waitForBytesWritten(kPatienceMs) || !socket.waitForReadyRead(kPatienceMs))
        return false;
    const bool taken = socket.read(1) == QByteArray(1, kTaken);
    qCInfo(lcPlatform) << "instance: handed over to the running reader:" << taken;
    return taken;
}

// Whatever is at the socket's path once no live process holds the lock was
// left by a reader that was killed.
bool ReaderInstance::Serve()
{
    auto serving = std::make_unique<QLockFile>(socketPath_ + QStringLiteral(".lock"));
    // Only the holder's process id tells: a reader runs for days.
    serving->setStaleLockTime(0);
    if (!serving->tryLock(0)) {
        qint64 pid = 0;
        QString host, program;
        serving->getLockInfo(&pid, &host, &program);
        qCWarning(lcPlatform) << "instance: the reader" << pid
                              << "on these settings does not answer; this one runs without serving later starts";
        return false;
    }
    auto *listener = new InstanceListener(this);
    if (!listener->Listen(socketPath_)) {
        delete listener;
        return false;
    }
    serving_ = std::move(serving);
    listener_ = listener;
    connect(listener_, &InstanceListener::connected, this, &ReaderInstance::Answer);
    return true;
}

void ReaderInstance::Answer(QLocalSocket *socket)
{
    if (connections_ >= kMostConnections) {
        qCInfo(lcPlatform) << "instance: too many starts at once, closing one";
        return Close(socket);
    }
    ++connections_;
    connect(socket, &QObject::destroyed, this, [this] { --connections_; });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kConnectionMs, socket, [socket] { Close(socket); });
    // Qt stops reading past this, and Read then sees the message is too long.
    socket->setReadBufferSize(kLargestMessage + 1);
    connect(socket, &QLocalSocket::readyRead, socket, [this, socket] { Read(socket); });
}

void ReaderInstance::Read(QLocalSocket *socket)
{
    bool refused = socket->bytesAvailable() > kLargestMessage;
    const std::optional<QStringList> paths = refused ? std::nullopt : PathsIn(socket->peek(kLargestMessage), refused);
    if (refused) {
        qCWarning(lcPlatform) << "instance: refusing a message that is not a short list of paths";
        return Close(socket);
    }
    if (!paths)
        return; // the rest is still on its way
    socket->write(QByteArray(1, kTaken));
    socket->flush();
    socket->disconnectFromServer();
    for (const QString &path : *paths)
        qCInfo(lcPlatform).noquote() << "instance: handed over:" << ForLog(path);
    Q_EMIT handedOver(*paths);
}
