#pragma once
// What a reader without books sees in the pane: how to choose the book
// folder, the keys, and where the settings are kept; or, when the book folder
// is missing, which folder and that it will be opened again once it is back.
// Neither is a place to remember, and the first book opened replaces them.
#include <QString>

class ReadingSession;

QString FirstStartGuide(const QString &settingsPath);
QString MissingFolderNotice(const QString &folder);

// Shows the guide when the book list is empty and no book is open.
void ShowGuideWithoutBooks(ReadingSession &session, const QString &settingsPath);
