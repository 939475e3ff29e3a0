#include "core/BookStore.h"

#include <condition_variable>
#include <mutex>
#include <utility>

// What the caller's thread and the store's own thread share, under the mutex.
struct BookStore::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    bool loaded = false;
    BookRecords loadedRecords;
    // Changes not yet taken into the file's records, and how many changes
    // were put and have been written.
    QList<std::pair<QString, BookRecord>> changes;
    quint64 asked = 0;
    quint64 written = 0;
    bool stopping = false;
};

namespace {

// The store's thread: reads the file, then takes in the changes put and
// writes the records, a burst of changes once, until it is stopped. It keeps
// its own copy of the records, so that the caller's never has to be copied.
void RunStoreFile(const QString &path, const std::shared_ptr<BookStore::Shared> &shared)
{
    BookStoreFile file(path);
    BookRecords records = file.Load();
    std::unique_lock lock(shared->mutex);
    shared->loadedRecords = records;
    shared->loaded = true;
    shared->changed.notify_all();
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stopping || shared->written < shared->asked; });
        if (shared->written == shared->asked)
            return;
        const auto changes = std::exchange(shared->changes, {});
        const quint64 asked = shared->asked;
        lock.unlock();
        for (const auto &[name, record] : changes)
            records.insert(name, record);
        file.Save(records);
        lock.lock();
        shared->written = asked;
        shared->changed.notify_all();
    }
}

} // namespace

BookStore::BookStore() : shared_(std::make_shared<Shared>()) {}

BookStore::~BookStore()
{
    if (!thread_.joinable())
        return;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->changed.notify_all();
    thread_.join();
}

void BookStore::Open(const QString &path)
{
    if (thread_.joinable())
        return;
    loaded_ = false;
    thread_ = std::thread(RunStoreFile, path, shared_);
}

void BookStore::EnsureLoaded()
{
    if (loaded_)
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return shared_->loaded; });
    records_ = std::move(shared_->loadedRecords);
    loaded_ = true;
}

std::optional<BookRecord> BookStore::Find(const QString &name)
{
    EnsureLoaded();
    const auto found = records_.constFind(name);
    return found == records_.constEnd() ? std::nullopt : std::optional(found.value());
}

bool BookStore::Put(const QString &name, const BookRecord &record)
{
    EnsureLoaded();
    const auto found = records_.constFind(name);
    if (found != records_.constEnd() && found.value() == record)
        return false;
    records_.insert(name, record);
    if (thread_.joinable()) {
        const std::lock_guard lock(shared_->mutex);
        shared_->changes.append({name, record});
        ++shared_->asked;
        shared_->changed.notify_all();
    }
    return true;
}

void BookStore::Flush()
{
    if (!thread_.joinable())
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->changed.wait(lock, [&] { return shared_->written == shared_->asked; });
}

bool BookStore::Ready()
{
    if (loaded_)
        return true;
    const std::lock_guard lock(shared_->mutex);
    return shared_->loaded;
}

qsizetype BookStore::Count()
{
    EnsureLoaded();
    return records_.size();
}
