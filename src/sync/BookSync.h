#pragma once
// Keeps the books' records, highlights and time read alike with other
// computers through a WebDAV folder: one JSON file per book (SharedBook.h)
// under <folder>/folivar/books/ (the book's
// file name, escaped, plus ".json"; books here are named by the key of their
// record, BookKey.h) and the list of devices in
// <folder>/folivar/devices.json. A book is synced by reading its file,
// merging it with what the store has of it (MergeSharedBooks) and writing back what
// the other side lacks, only while the file's ETag is the one read (a new
// file only while there is none): a file another computer wrote meanwhile is
// read and merged again. All requests run through Qt Network on the
// caller's thread without waiting; nothing here blocks but Finish, bounded.
// A failure is logged, told once through `failed` until a sync succeeds
// again, and the books waiting are tried again after a delay that doubles
// (10 s up to 5 min). The store's records stay as they are on any failure; a
// remote file that cannot be read is replaced by the merged local record.
// What a server sends is not trusted: its JSON is read off the window's
// thread, cut to what a record may hold (RecordLimits.h), a place that
// cannot be in the book is refused, and change times ahead of this
// computer's clock are weighed as FutureMarks says. A write the server
// confirmed is checked at the next read of the file (its ETag, or a 404),
// and a server that lost it is told once.
#include "core/BookRecord.h"
#include "core/SharedBook.h"
#include "core/SyncAccount.h"
#include "sync/FutureMarks.h"
#include "sync/WebDav.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <optional>

class BookStore;

class BookSync : public QObject {
    Q_OBJECT
public:
    explicit BookSync(BookStore &store, QObject *parent = nullptr);

    // Who this reader is to the other computers.
    void SetDevice(const QString &id, const QString &name);
    // The folder and sign-in to sync through; with it on, the books waiting
    // are synced at once.
    void SetAccount(const SyncAccount &account);
    const SyncAccount &Account() const { return account_; }
    // Enabled, with an address, and with a password where a user is named.
    bool IsOn() const;

    // Syncs the book now (it was opened, or 立即同步). While sync is off or
    // failing, the book waits for it.
    void SyncBook(const QString &name);
    // The book's record changed here: it is synced a few seconds later, once
    // for a run of changes.
    void NoteChanged(const QString &name);
    // Syncs every book waiting, now.
    void SyncNow();
    // Shutdown: syncs every book waiting and waits for the requests under
    // way, at most `ms`.
    void Finish(int ms);

Q_SIGNALS:
    // The other computers' changes were merged into the book's record;
    // `before` is the record as it was.
    void recordMerged(const QString &name, const BookRecord &before);
    // The other computers' highlights, or changes to them, were merged into
    // the book's list.
    void highlightsMerged(const QString &name);
    // Rows of the time read came from the other computers.
    void readingTimeMerged();
    // Syncing failed, in words for the user; not again until it worked.
    void failed(const QString &message);
    // The account changed (SetAccount).
    void accountChanged();
    // No book is being synced any more.
    void idle();

private:
    void Prepare(const QString &name);
    void UpdateDevices(int attempt);
    void Fetch(const QString &name, int attempt);
    void Read(const QString &name, const DavAnswer &answer, int attempt);
    void CheckLastWrite(const QString &name, const DavAnswer &read);
    // The remote record as it may be merged into the local one.
    SharedBook Trusted(const QString &name, SharedBook remote, const BookRecord &local);
    // What the store has of the book, with `record` as its record.
    SharedBook Local(const QString &name, const BookRecord &record) const;
    void Merge(const QString &name, const std::optional<SharedBook> &remote, const QByteArray &etag, int attempt);
    void Keep(const QString &name, const SharedBook &local, const SharedBook &merged, bool hadRecord);
    void Write(const QString &name, const QByteArray &json, const QByteArray &etag, int attempt);
    void Done(const QString &name);
    void Stop(const QString &name, const QString &message);

    BookStore &store_;
    WebDav dav_;
    SyncAccount account_;
    QString deviceId_;
    QString deviceName_;
    QSet<QString> waiting_;
    QSet<QString> running_;
    // This reader's last write of each book and the file's ETag before it,
    // until the file is read again.
    struct WriteCheck {
        bool made = false;
        QByteArray before;
    };
    QHash<QString, WriteCheck> lastWrites_;
    bool toldLostWrite_ = false;
    FutureMarks futureMarks_;
    bool prepared_ = false;
    bool failing_ = false;
    // Shutdown has begun: nothing is tried again later.
    bool finishing_ = false;
    int retryMs_;
    QTimer afterChange_;
    QTimer retry_;
};
