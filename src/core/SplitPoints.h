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
//
// In a byte encoding the split point also lies three bytes or more into its
// piece. Qt's decoder (ICU) has room for two UTF-16 units per byte it is
// handed at a time; bytes held back from the piece before, replayed when
// they turn out to start no character, can fill the room of one or two
// bytes and push out their text, which then depends on where the piece was
// cut. No character is held back by more than three bytes, so three bytes
// leave room for all.
#include "core/TextEncodingDetector.h"

#include <QByteArrayView>

// The last split point in `piece`, one of the pieces a book is read in (it
// starts at a multiple of the piece size, which is even), as an offset into
// the piece; -1 when the piece has none.
qsizetype LastSplitPoint(QByteArrayView piece, const TextEncoding &encoding);
