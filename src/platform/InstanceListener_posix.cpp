#include "platform/InstanceListener.h"

#include "platform/Log.h"

#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kBacklog = 16;

// Whether the process at the other end runs as this user: the kernel's word,
// taken when it connected.
bool PeerIsThisUser(int descriptor)
{
#if defined(SO_PEERCRED)
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(descriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.uid == ::geteuid();
#else
    uid_t user = 0;
    gid_t group = 0;
    return ::getpeereid(descriptor, &user, &group) == 0 && user == ::geteuid();
#endif
}

QString LastError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString ConnectName(const QString &path)
{
    return path;
}

InstanceListener::InstanceListener(QObject *parent) : QObject(parent) {}

InstanceListener::~InstanceListener()
{
    if (descriptor_ < 0)
        return;
    delete notifier_;
    ::close(descriptor_);
    struct stat now {};
    const QByteArray path = QFile::encodeName(path_);
    if (::lstat(path.constData(), &now) == 0 && now.st_dev == device_ && now.st_ino == inode_)
        ::unlink(path.constData());
}

bool InstanceListener::Listen(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path)) {
        qCWarning(lcPlatform) << "instance: the socket's path is too long:" << path;
        return false;
    }
    std::memcpy(address.sun_path, name.constData(), name.size());
    ::unlink(name.constData());
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    struct stat made {};
    if (descriptor < 0 || ::fcntl(descriptor, F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(descriptor, F_SETFL, O_NONBLOCK) != 0
        || ::bind(descriptor, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::chmod(name.constData(), 0600) != 0 || ::listen(descriptor, kBacklog) != 0
        || ::lstat(name.constData(), &made) != 0) {
        qCWarning(lcPlatform) << "instance: cannot listen at" << path << "-" << LastError();
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    path_ = path;
    descriptor_ = descriptor;
    device_ = made.st_dev;
    inode_ = made.st_ino;
    notifier_ = new QSocketNotifier(descriptor_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InstanceListener::Accept);
    return true;
}

void InstanceListener::Accept()
{
    for (;;) {
        const int client = ::accept(descriptor_, nullptr, nullptr);
        if (client < 0)
            return;
        ::fcntl(client, F_SETFD, FD_CLOEXEC);
        if (!PeerIsThisUser(client)) {
            qCWarning(lcPlatform) << "instance: ignoring a connection from another user";
            ::close(client);
            continue;
        }
        auto *socket = new QLocalSocket(this);
        socket->setSocketDescriptor(client, QLocalSocket::ConnectedState, QIODevice::ReadWrite);
        Q_EMIT connected(socket);
    }
}
