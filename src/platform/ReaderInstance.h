#pragma once
// One reader per settings file and user: the first start serves the later
// ones, which hand their command line over to it and end, so that two copies
// never overwrite each other's places. Built on Qt's local sockets (a Unix
// socket, a named pipe on Windows).
#include <QObject>
#include <QStringList>

class QLocalServer;

class ReaderInstance : public QObject {
    Q_OBJECT
public:
    // The instance of the settings file at settingsPath, for the user running
    // the program.
    explicit ReaderInstance(const QString &settingsPath, QObject *parent = nullptr);
    ~ReaderInstance() override;

    // Hands `arguments` to the reader already running on these settings and
    // returns true once it has taken them. Without one (none runs, or one
    // that was killed left its socket behind, which is cleared), this reader
    // serves the later starts from now on and false comes back. Starts at the
    // same moment are taken one after the other.
    bool HandOverOrServe(const QStringList &arguments);

Q_SIGNALS:
    // A later start handed over its arguments.
    void handedOver(const QStringList &arguments);

private:
    bool HandOver(const QStringList &arguments) const;
    bool Serve();
    void Answer();

    QString name_;
    QLocalServer *server_ = nullptr;
};
