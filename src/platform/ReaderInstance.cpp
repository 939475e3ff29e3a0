#include "platform/ReaderInstance.h"

#include "platform/Log.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>

namespace {

constexpr int kPatienceMs = 3000;
const char kTaken = 'k';

// The same for the same user and settings file, whatever the path's spelling.
QString InstanceName(const QString &settingsPath)
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    const QByteArray key = (user + u'\n' + QFileInfo(settingsPath).absoluteFilePath()).toUtf8();
    return QStringLiteral("folivar-")
        + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
}

} // namespace

ReaderInstance::ReaderInstance(const QString &settingsPath, QObject *parent)
    : QObject(parent), name_(InstanceName(settingsPath))
{}

ReaderInstance::~ReaderInstance() = default;

bool ReaderInstance::HandOverOrServe(const QStringList &arguments)
{
    // Two starts at once must not both find no reader and both serve.
    QLockFile starting(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")));
    starting.tryLock(kPatienceMs);
    if (HandOver(arguments))
        return true;
    Serve();
    return false;
}

bool ReaderInstance::HandOver(const QStringList &arguments) const
{
    QLocalSocket socket;
    socket.connectToServer(name_);
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

bool ReaderInstance::Serve()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket nobody answers on was left by a reader that was killed.
    if (!server_->listen(name_) && !(QLocalServer::removeServer(name_) && server_->listen(name_))) {
        qCWarning(lcPlatform) << "instance: cannot serve later starts:" << server_->errorString();
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &ReaderInstance::Answer);
    return true;
}

void ReaderInstance::Answer()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return; // the rest is still on its way
            socket->write(QByteArray(1, kTaken));
            Q_EMIT handedOver(arguments);
        });
    }
}
