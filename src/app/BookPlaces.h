#pragma once
// Every book keeps its own place: where the reader stopped in it, saved to
// the book store (books.db) while they read and found again whenever the
// book is opened.
#include <QString>

struct ReaderState;
struct ReaderControls;

// books.db, in the folder of config.ini.
QString BookStorePathFor(const QString &settingsPath);

// Handler of a user's selection in the book list (列表框_文件): saves the place
// in the book on screen, opens the selected book and puts the reader back
// where they stopped in it (a book never read: chapter 0).
void OnBookSelected(ReaderState &state, const ReaderControls &controls);
// "打开文件": saves the place in the book on screen and lists the chosen
// folder; with no book in it and none open, the pane shows the guide.
void OnChooseBookFolder(ReaderState &state, const ReaderControls &controls);

// Whether a book is open and wholly on screen (not loading), as the book
// selected in the book list.
bool OpenBookShown(const ReaderState &state, const ReaderControls &controls);

// Saves the place in the book on screen to the store when it differs from the
// one stored. Does nothing while no book is wholly on screen: during a load,
// while a place is being put back, before start-up has put the reader back,
// or once shutdown has run.
void SaveShownPlace(ReaderState &state, const ReaderControls &controls);

// For the book just opened: removes again the headings its record says the
// reader removed under its chapter rule, and shows the resulting chapter list.
void ApplyRemovedHeadings(ReaderState &state, const ReaderControls &controls);
// Shows chapter `chapter`, or the chapter titled `title` nearest to it when
// that one has another title, and scrolls the pane `line` lines down.
void ShowPlace(ReaderState &state, const ReaderControls &controls, int chapter, const QString &title, int line);
// Puts the book just opened back at the place its record remembers; a book
// never read stays at chapter 0.
void ShowOwnPlace(ReaderState &state, const ReaderControls &controls);
