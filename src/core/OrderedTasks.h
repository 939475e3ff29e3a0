#pragma once
// Work shared out over threads of its own, its results taken back in the
// order the work was given. Splitting a book over the cores goes through
// here: the parts are handed out as they are cut, and joined in book order.
#include <QFuture>
#include <QPromise>
#include <QRunnable>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <utility>

template <typename Result>
class OrderedTasks {
public:
    // At most `threads` tasks run at a time (at least one).
    explicit OrderedTasks(int threads) { pool_.setMaxThreadCount(qMax(1, threads)); }
    // Drops the tasks that have not started and waits for the running ones:
    // no work outlives its owner.
    ~OrderedTasks()
    {
        pool_.clear();
        pool_.waitForDone();
    }
    OrderedTasks(const OrderedTasks &) = delete;
    OrderedTasks &operator=(const OrderedTasks &) = delete;

    // Queues a task; a free thread takes it up.
    void Add(std::function<Result()> work)
    {
        auto *task = new Task(std::move(work));
        results_.push_back(task->Future());
        pool_.start(task);
    }
    // Tasks added and not taken back yet.
    qsizetype Count() const { return qsizetype(results_.size()); }
    // The result of the oldest task not taken back yet, once it is done.
    // Only when Count() > 0.
    Result TakeOldest()
    {
        QFuture<Result> oldest = std::move(results_.front());
        results_.pop_front();
        return oldest.takeResult();
    }

private:
    class Task : public QRunnable {
    public:
        // Started from the outset: a future waited for before a thread took
        // its task up must wait, not find it idle and without a result.
        explicit Task(std::function<Result()> work) : work_(std::move(work)) { promise_.start(); }
        QFuture<Result> Future() { return promise_.future(); }
        void run() override
        {
            promise_.addResult(work_());
            // The task's inputs go now, not when the pool gets round to it.
            work_ = nullptr;
            promise_.finish();
        }

    private:
        std::function<Result()> work_;
        // A task dropped before it ran cancels its future.
        QPromise<Result> promise_;
    };

    std::deque<QFuture<Result>> results_;
    QThreadPool pool_;
};
