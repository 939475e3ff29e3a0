#pragma once
// One reader per settings file and user: the first start serves the later
// ones, which hand their command line over to it and end, so that two copies
// never overwrite each other's places. The socket and its locks live in a
// folder only this user can reach (PrivateFolder), and only this user's
// connections are heard. What a later start may send is bounded (a short
// list of paths, 64 KiB in all, within 2 s, 8 connections at a time), so
// that nothing sent can stall the window. A reader that is alive keeps its
// place as the one served, however busy or stopped it is.
#include <QObject>
#include <QStringList>

#include <memory>

class InstanceListener;
class QLocalSocket;
class QLockFile;

class ReaderInstance : public QObject {
    Q_OBJECT
public:
    // The instance of the settings file at settingsPath, for the user running
    // the program.
    explicit ReaderInstance(const QString &settingsPath, QObject *parent = nullptr);
    ~ReaderInstance() override;

    // Hands `arguments` to the reader already running on these settings and
    // returns true once it has taken them. Without one, this reader serves
    // the later starts from now on (a socket left by a reader that was
    // killed is replaced) and false comes back. A reader that runs but does
    // not answer (busy or stopped) is not replaced: false comes back and this
    // one runs without serving. Starts at the same moment are taken one
    // after the other.
    bool HandOverOrServe(const QStringList &arguments);
    // Whether later starts are handed to this reader.
    bool Serving() const { return listener_ != nullptr; }
    // Where later starts reach this reader; empty when there is no private
    // folder for it (and every start runs on its own).
    QString SocketPath() const { return socketPath_; }

Q_SIGNALS:
    // A later start handed over its arguments.
    void handedOver(const QStringList &arguments);

private:
    bool HandOver(const QStringList &arguments) const;
    bool Serve();
    void Answer(QLocalSocket *socket);
    void Read(QLocalSocket *socket);

    QString socketPath_;
    // Held while this reader serves: its process id tells later starts
    // whether it still runs.
    std::unique_ptr<QLockFile> serving_;
    InstanceListener *listener_ = nullptr;
    int connections_ = 0;
};
