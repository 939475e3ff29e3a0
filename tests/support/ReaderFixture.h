#pragma once
// Runs the real main window the way the program does: a config.ini beside the
// test executable (where the program looks for it), a book folder of its own,
// and start-up driven by the event loop.
#include "app/MainWindow.h"
#include "app/ReaderServices.h"
#include "session/ReadingSession.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class ListBox;

class ReaderFixture {
public:
    ReaderFixture();
    ~ReaderFixture();

    QString BookFolder() const { return books_.path(); }
    QString SettingsPath() const;
    // Writes a book file (raw bytes) into the book folder.
    void AddBook(const QString &name, const QByteArray &bytes) const;
    // Writes config.ini from "section/key=value" lines, GBK-encoded, CR LF.
    void WriteSettings(const QStringList &lines) const;
    // A config.ini that lists this fixture's book folder and nothing else.
    void WriteSettingsForBookFolder() const;
    QByteArray SettingsBytes() const;
    // The pane shows lines; its text holds no carriage returns.
    static QString AsShownInPane(const QString &text);

    // Creates the window and waits until start-up has run.
    MainWindow &Start();
    // Closes the window the way the user does; shutdown runs.
    void Close();

    ReaderServices &Services() { return *services_; }
    MainWindow &Window() { return *window_; }
    const ReaderControls &Controls() const { return window_->Controls(); }
    ReadingSession &Session() const { return window_->Session(); }

    // Opens the book at that row as a user's choice does, and waits until it
    // is shown (or could not be) and its last notification has been handled.
    void OpenBookAt(int index);

    // Watches the loads that begin while it lives: Wait() lets the event
    // loop run until they have ended, each book shown with its 100 handled,
    // or a failure reported.
    class LoadWatch {
    public:
        explicit LoadWatch(const ReaderFixture &reader);
        void Wait() const;

    private:
        const ReaderFixture &reader_;
        QObject context_;
        int shown_ = 0;
        int hundreds_ = 0;
    };
    void ShowChapter(int n);
    // Selects that row of the list as the user does, with a click.
    static void Choose(ListBox &list, int row);
    const QString &BookText() const { return Session().Book().BookText; }

private:
    QTemporaryDir books_;
    std::unique_ptr<ReaderServices> services_;
    std::unique_ptr<MainWindow> window_;
};
