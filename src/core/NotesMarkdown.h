#pragma once
// A book's highlights and notes as a Markdown file of their own: the book's
// name as the title, a heading per chapter that has highlights, each one as
// a quote with its colour as a word and its note under it. Text that Markdown
// would read as markup is escaped, so that a viewer shows it as written.
#include "core/Highlight.h"

#include <QList>
#include <QString>

// A highlight as the export writes it: the title of its chapter (empty for
// one whose text was not found again), its text, colour and note.
struct ExportedHighlight {
    QString chapter;
    QString text;
    HighlightColour colour = HighlightColour::Yellow;
    QString note;
};

// The Markdown text, highlights in the order given (book order) under
// their chapters' headings, those not found last under 未找到; LF line ends.
QString NotesMarkdown(const QString &bookName, const QList<ExportedHighlight> &highlights);
