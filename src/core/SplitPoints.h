#pragma once
// Where a book's bytes may be cut so that each part decodes on its own.
//
// A split point is the place right after a line feed that no NUL before it
// in its piece has cut away (a NUL cuts the rest of its piece, see
// BookDecoder.h). The line feed is an LF byte in GB18030, Big5 and UTF-8,
// where no multi-byte character holds the byte 0x0A, and the unit 0x000A at
// an even offset from the file's start in UTF-16. The book's decoder holds
// nothing back there, so a fresh one started at a split point goes on
// exactly as the one that read everything before it.
#include "core/TextEncodingDetector.h"

#include <QByteArrayView>

// The last split point in `piece`, one of the pieces a book is read in (it
// starts at a multiple of the piece size, which is even), as an offset into
// the piece; -1 when the piece has none.
qsizetype LastSplitPoint(QByteArrayView piece, const TextEncoding &encoding);
