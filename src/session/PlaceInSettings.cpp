#include "session/PlaceInSettings.h"

#include "core/Preferences.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"

namespace {

// A chapter title with a line break cannot stand in the settings file: it is
// not remembered, and the next start goes by the number alone. (A book's name
// is kept escaped instead, see Settings.h.)
QString AsSettingText(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') ? QString() : text;
}

} // namespace

PlaceInSettings::PlaceInSettings(ReadingSession &session, Preferences &preferences, QObject *parent)
    : QObject(parent), session_(session), preferences_(preferences)
{
    const Shelf &shelf = session.BookShelf();
    connect(&shelf, &Shelf::directoryChanged, this, &PlaceInSettings::PutFolderAndBook);
    connect(&shelf, &Shelf::highlightChanged, this, &PlaceInSettings::PutFolderAndBook);
    connect(&shelf, &Shelf::folderListed, this, &PlaceInSettings::Follow);
    connect(&session, &ReadingSession::bookShown, this, &PlaceInSettings::Follow);
    connect(&session, &ReadingSession::shownChapterChanged, this, &PlaceInSettings::PutChapter);
    connect(&session, &ReadingSession::topLineMoved, this, &PlaceInSettings::PutLine);
}

// The reader has moved on: a place start-up could not restore is given up.
void PlaceInSettings::Follow()
{
    keeping_ = false;
    PutFolderAndBook();
    PutChapter();
    PutLine();
}

void PlaceInSettings::PutFolderAndBook()
{
    if (keeping_)
        return;
    const Shelf &shelf = session_.BookShelf();
    preferences_.Set(&Settings::bookDirectory, shelf.BookDirectory());
    const int row = shelf.HighlightedRow();
    preferences_.Set(&Settings::book, std::optional<int>(row));
    preferences_.Set(&Settings::bookName, shelf.Books().Entry(row));
}

// A preview's chapter number is its own (0), not the book's: the book,
// once there, puts its own.
void PlaceInSettings::PutChapter()
{
    if (keeping_ || session_.IsPreviewing())
        return;
    const int chapter = session_.ShownChapter();
    preferences_.Set(&Settings::chapter, std::optional<int>(chapter));
    preferences_.Set(&Settings::chapterTitle, AsSettingText(session_.Book().ChapterTitle(chapter)));
}

// Without a book the pane holds at most the guide, which is no place.
void PlaceInSettings::PutLine()
{
    if (!keeping_ && !session_.IsPreviewing())
        preferences_.Set(&Settings::line, session_.HasBook() ? session_.TopLine() : 0);
}
