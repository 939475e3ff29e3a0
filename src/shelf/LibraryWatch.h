#pragma once
// Keeps the book list current while the reader runs: the book folder and its
// listed subfolders are watched, and a change (a book added, removed or
// renamed, a subfolder made) lists the library again in Qt's thread pool, a
// moment after the last change of a burst. A folder the system will not
// watch (too many watches, a file system without notices) is listed again
// every few seconds instead.
#include "core/BookLibrary.h"

#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

class LibraryWatch : public QObject {
    Q_OBJECT
public:
    explicit LibraryWatch(QObject *parent = nullptr);

    // Watches the directory (with its separator at the end) and these of its
    // folders (relative, as BookLibrary::folders gives them) in place of
    // whatever was watched.
    void Watch(const QString &directory, const QStringList &folders);
    // Watches nothing; a listing under way is dropped when it ends.
    void Stop();

Q_SIGNALS:
    // The watched directory listed afresh.
    void listed(const BookLibrary &library);

private:
    void ListAgain();

    QFileSystemWatcher watcher_;
    QTimer settle_;
    QTimer poll_;
    QFutureWatcher<BookLibrary> listing_;
    QString directory_;
    QString listedDirectory_;
    bool again_ = false;
};
