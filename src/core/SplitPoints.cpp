#include "core/SplitPoints.h"

namespace {

constexpr char kLineFeed = '\n';
// How far into its piece a byte encoding's split point lies at least.
constexpr qsizetype kFirstByteSplit = 3;

// Where the piece's first NUL character starts; its size when it has none.
qsizetype FirstNul(QByteArrayView piece, bool utf16)
{
    if (!utf16) {
        const qsizetype nul = piece.indexOf('\0');
        return nul < 0 ? piece.size() : nul;
    }
    for (qsizetype unit = 0; unit + 1 < piece.size(); unit += 2) {
        if (piece[unit] == 0 && piece[unit + 1] == 0)
            return unit;
    }
    return piece.size();
}

qsizetype LastUtf16LineFeed(QByteArrayView bytes, bool bigEndian)
{
    const char first = bigEndian ? 0 : kLineFeed;
    const char second = bigEndian ? kLineFeed : 0;
    for (qsizetype unit = bytes.size() / 2 * 2 - 2; unit >= 0; unit -= 2) {
        if (bytes[unit] == first && bytes[unit + 1] == second)
            return unit;
    }
    return -1;
}

} // namespace

qsizetype LastSplitPoint(QByteArrayView piece, const TextEncoding &encoding)
{
    const bool utf16 = encoding.IsUtf16();
    const QByteArrayView kept = piece.first(FirstNul(piece, utf16));
    if (!utf16) {
        const qsizetype split = kept.lastIndexOf(kLineFeed) + 1;
        return split < kFirstByteSplit ? -1 : split;
    }
    const qsizetype lineFeed = LastUtf16LineFeed(kept, encoding.kind == TextEncoding::Utf16BE);
    return lineFeed < 0 ? -1 : lineFeed + 2;
}
