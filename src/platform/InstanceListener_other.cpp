#include "platform/InstanceListener.h"

#include "platform/Log.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

// A named pipe: Qt keeps it to this user, and it goes with its server.
QString ConnectName(const QString &path)
{
    return QFileInfo(path).fileName();
}

InstanceListener::InstanceListener(QObject *parent) : QObject(parent) {}

InstanceListener::~InstanceListener() = default;

bool InstanceListener::Listen(const QString &path)
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(ConnectName(path))) {
        qCWarning(lcPlatform) << "instance: cannot serve later starts:" << server_->errorString();
        return false;
    }
    connect(server_, &QLocalServer::newConnection, this, &InstanceListener::Accept);
    return true;
}

void InstanceListener::Accept()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        socket->setParent(this);
        Q_EMIT connected(socket);
    }
}
