#pragma once
// Where a book's text stands in its file. The reading notes the places where
// its decoder held nothing back (the start of each part, SplitPoints.h); from
// the nearest such place before a text position, encoding only the text in
// between gives the position's byte offset, so no offset costs more than
// encoding about one part, whatever the book's length.
//
// An offset is exact where the text in between is the bytes' own. A NUL that
// cut a piece short, or a byte the decoding replaced, makes the offsets after
// it in that part wrong; whoever reads the file by them checks what they find.
#include "core/TextEncodingDetector.h"

#include <QList>
#include <QStringView>

#include <optional>

class TextByteMap {
public:
    // Notes that text position `text` starts at byte `byte` of the file;
    // places are noted in text order.
    void Add(qsizetype text, qint64 byte);
    // The text lost `front`, its first characters (the leading blanks
    // trimmed): the positions move back by its length, and the text's new
    // start lies where `front`, encoded, ends.
    void DropFront(QStringView front, const TextEncoding &encoding);
    // The byte offset in the file of position `position` of `text`, the text
    // these places were noted for. nullopt when no place lies at or before
    // it, when more than kMostEncoded characters lie between (a book with no
    // line feed to split it at), or when the text in between cannot be
    // encoded.
    std::optional<qint64> ByteOffset(QStringView text, qsizetype position, const TextEncoding &encoding) const;

    static constexpr qsizetype kMostEncoded = 1 << 20;

private:
    struct Place {
        qsizetype text = 0;
        qint64 byte = 0;
    };
    QList<Place> places_;
};
