#pragma once
// What a reader without books sees in the pane: how to choose the book
// folder, the keys, and where the settings are kept. It is never a place to
// remember, and the first book opened replaces it.
#include <QString>

class ListBox;
class ReadingSession;

QString FirstStartGuide(const QString &settingsPath);

// Shows the guide when the book list is empty and no book is open.
void ShowGuideWithoutBooks(const ReadingSession &session, const ListBox &bookList, const QString &settingsPath);
