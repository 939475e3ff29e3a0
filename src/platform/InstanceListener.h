#pragma once
// Where the running reader waits for later starts: a local socket at a path,
// taking connections of this user only. The socket file goes with the
// listener only while it is still the one the listener made: a later reader
// that took the path over keeps its own.
#include <QObject>
#include <QString>

class QLocalSocket;

class InstanceListener : public QObject {
    Q_OBJECT
public:
    explicit InstanceListener(QObject *parent = nullptr);
    ~InstanceListener() override;

    // Listens at `path`, replacing what is there (the caller knows it is
    // left over). False (logged) when that fails.
    bool Listen(const QString &path);

Q_SIGNALS:
    // A connection of this user's; the listener is its parent until the
    // receiver takes it.
    void connected(QLocalSocket *socket);

private:
    void Accept();

    QString path_;
    int descriptor_ = -1;
    quint64 device_ = 0;
    quint64 inode_ = 0;
    class QSocketNotifier *notifier_ = nullptr;
    class QLocalServer *server_ = nullptr;
};

// The name a QLocalSocket connects to for the listener at `path`.
QString ConnectName(const QString &path);
