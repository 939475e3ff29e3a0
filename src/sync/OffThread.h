#pragma once
// Work too long for the window's thread (reading a record's JSON), run in
// Qt's thread pool with its result handed back on the context's thread.
#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <type_traits>
#include <utility>

// Runs `work` (which must own everything it reads) off the caller's thread,
// then `done` with its result on `context`'s thread; once the context is
// gone, `done` is not called.
template <typename Work, typename Done>
void RunOffThread(QObject *context, Work work, Done done)
{
    using Result = std::invoke_result_t<Work>;
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}
