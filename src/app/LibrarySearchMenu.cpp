#include "app/LibrarySearchMenu.h"

#include "app/MenuItem.h"
#include "core/BookLibrary.h"
#include "session/ReadingSession.h"
#include "shelf/LibrarySearch.h"
#include "shelf/Shelf.h"
#include "ui/LibrarySearchWindow.h"

namespace {

// The books the book list holds, each in its folder.
QList<LibraryBook> ListedBooks(const Shelf &shelf)
{
    QList<LibraryBook> books;
    for (int row = 0; row < shelf.Books().Count(); ++row) {
        const QString entry = shelf.Books().Entry(row);
        if (!IsFolderEntry(entry))
            books.append({shelf.BookDirectory() + FolderOfEntry(entry), NameOfEntry(entry)});
    }
    return books;
}

// A book's own row opens nothing; an occurrence's is a jump 返回 comes back
// from.
void OnHitPicked(ReadingSession &session, const LibrarySearch &search, int row)
{
    const std::optional<LibraryPlace> place = search.Results().PlaceAt(row);
    if (!place)
        return;
    session.Jumps().NoteJumpFromHere();
    session.GoToPlace(place->path, ShownPlace{place->chapter, 0, place->position, place->length});
}

} // namespace

void AddLibrarySearchItem(QMenu *file, ReadingSession &session, QWidget *mainWindow)
{
    auto *search = new LibrarySearch(session.Store(), mainWindow);
    auto *window = new LibrarySearchWindow(&search->Results(), mainWindow);
    AddMenuItem(file, QStringLiteral("在书库中查找…"), [window] {
        window->ShowInFront();
    })->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_F);
    QObject::connect(window, &LibrarySearchWindow::termEntered, search, [search, &session](const QString &term) {
        search->Start(term, ListedBooks(session.BookShelf()));
    });
    QObject::connect(window, &LibrarySearchWindow::stopRequested, search, &LibrarySearch::Stop);
    // A search nobody waits for any more need not read on.
    QObject::connect(window, &QDialog::finished, search, &LibrarySearch::Stop);
    QObject::connect(search, &LibrarySearch::progressed, window,
                     [search, window] { window->ShowProgress(search->Summary(), search->IsRunning()); });
    QObject::connect(window, &LibrarySearchWindow::rowPicked, search,
                     [search, &session](int row) { OnHitPicked(session, *search, row); });
}
