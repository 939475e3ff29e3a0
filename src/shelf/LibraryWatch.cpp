#include "shelf/LibraryWatch.h"

#include "shelf/Log.h"

#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace {

// A copy of many books is one burst of notices: listed once, after it.
constexpr int kSettleMs = 300;
// Where notices cannot come, how often the folders are listed again.
constexpr int kPollMs = 2000;

} // namespace

LibraryWatch::LibraryWatch(QObject *parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    poll_.setInterval(kPollMs);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&settle_, &QTimer::timeout, this, &LibraryWatch::ListAgain);
    connect(&poll_, &QTimer::timeout, this, &LibraryWatch::ListAgain);
    connect(&listing_, &QFutureWatcher<BookLibrary>::finished, this, [this] {
        if (listedDirectory_ != directory_)
            return ListAgain();
        Q_EMIT listed(listing_.result());
        if (std::exchange(again_, false))
            ListAgain();
    });
}

void LibraryWatch::Watch(const QString &directory, const QStringList &folders)
{
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    directory_ = directory;
    QStringList paths;
    for (const QString &folder : folders)
        paths << directory + folder;
    const QStringList unwatched = paths.isEmpty() ? QStringList() : watcher_.addPaths(paths);
    if (!unwatched.isEmpty())
        qCInfo(lcShelf) << "listing" << unwatched.size() << "folders every" << kPollMs
                        << "ms, as they cannot be watched";
    if (unwatched.isEmpty())
        poll_.stop();
    else
        poll_.start();
}

void LibraryWatch::Stop()
{
    Watch(QString(), {});
    settle_.stop();
    again_ = false;
}

// A change during a listing may have come too late for it: the folders are
// listed again once it ends.
void LibraryWatch::ListAgain()
{
    if (directory_.isEmpty())
        return;
    if (listing_.isRunning()) {
        again_ = true;
        return;
    }
    listedDirectory_ = directory_;
    listing_.setFuture(QtConcurrent::run(ListLibrary, directory_));
}
