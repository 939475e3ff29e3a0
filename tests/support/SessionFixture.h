#pragma once
// The reader without its window: preferences, a book store in memory, the
// shelf and the reading session over a book folder of the test's own, shown
// in a FakePane, with a speech engine that says nothing. Runs without a
// display.
#include "core/BookStore.h"
#include "core/Preferences.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "support/FakePane.h"

#include <QByteArray>
#include <QTemporaryDir>

class SessionFixture {
public:
    SessionFixture();
    ~SessionFixture();

    QString BookFolder() const { return books_.path() + QLatin1Char('/'); }
    // Writes a book file (raw bytes) into the book folder.
    void AddBook(const QString &name, const QByteArray &bytes) const;
    // The same, the file's name given as its bytes, which need not be UTF-8.
    void AddBookWithName(const QByteArray &fileName, const QByteArray &bytes) const;
    // Lists the book folder afresh, as a folder chosen does.
    void ListBooks();
    // Opens the book at that row as a user's choice does, and waits until it
    // is shown (or could not be) and its last progress has been told.
    void OpenBookAt(int row);
    // Lets the event loop run until the loads begun meanwhile have ended.
    void WaitForLoads();

    Preferences &Prefs() { return preferences_; }
    BookStore &Store() { return store_; }
    Shelf &BookShelf() { return shelf_; }
    ReadingSession &Session() { return *session_; }
    FakePane &Pane() { return *pane_; }
    const QString &BookText() const { return session_->Book().BookText; }

private:
    QTemporaryDir books_;
    Preferences preferences_;
    BookStore store_;
    Shelf shelf_;
    std::unique_ptr<ReadingSession> session_;
    std::unique_ptr<FakePane> pane_;
    int shown_ = 0;
    int hundreds_ = 0;
};
