#pragma once
// An edited chapter put back into the book file's bytes. The pane edits a
// chapter with LF line ends; the file keeps its own encoding, byte-order mark
// and line ends, and every byte outside the stretch the reader changed stays
// as it was. Nothing is guessed: the bytes are rewritten only where the book
// text, encoded again, is found to be exactly the file's bytes.
#include "core/TextEncodingDetector.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

// The line end of the text's first line: CR LF, LF or a lone CR; LF for a
// text of one line.
QString LineEndOf(QStringView text);
// The text with every CR LF and every lone CR as LF, as the edit pane holds it.
QString WithLfLineEnds(QStringView text);
// The position in `text` of position `lfPosition` of WithLfLineEnds(text).
qsizetype PositionWithLineEnds(QStringView text, qsizetype lfPosition);

// A change of the book text: `removed` characters from `start` replaced by
// `inserted`.
struct TextChange {
    qsizetype start = 0;
    qsizetype removed = 0;
    QString inserted;

    // Where a position of the text before the change stands after it:
    // positions behind the changed stretch move by the change in length, those
    // inside it stay, held to the end of the inserted text.
    qsizetype Moved(qsizetype position) const;
    bool operator==(const TextChange &) const = default;
};

// The smallest change that turns `original`, the stretch of the book text
// from `start`, into `edited` (LF line ends). Inserted line ends are the
// stretch's own (LineEndOf); the lines left alone keep theirs. nullopt when
// the edit changes nothing.
std::optional<TextChange> ChangeOfEdit(QStringView original, qsizetype start, QStringView edited);

// The position of the first character of `text` that `encoding` cannot hold;
// nullopt when it holds them all.
std::optional<qsizetype> FirstUnencodable(QStringView text, const TextEncoding &encoding);

// The file's bytes with `change` made to the book text, or why not.
struct RewrittenBook {
    enum Failure {
        None,
        // The book text before the change and the stretch it replaces, encoded
        // again, are not the file's bytes (a byte the decoding replaced, a
        // NUL that cut the text short, another file).
        TextMismatch,
        // The encoding cannot hold a character of the inserted text.
        Unencodable,
    };
    QByteArray bytes;
    Failure failure = None;
};
// `bookText` is what `fileBytes` were read as in `encoding` (BookDecoder),
// its leading blanks and line ends trimmed (TrimBookText) and perhaps its end.
RewrittenBook RewriteBookBytes(const QByteArray &fileBytes, const TextEncoding &encoding, QStringView bookText,
                               const TextChange &change);
