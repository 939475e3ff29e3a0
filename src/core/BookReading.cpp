#include "core/BookReading.h"

#include "core/OrderedTasks.h"
#include "core/PartDecoding.h"
#include "core/SplitPoints.h"
#include "core/TextRoom.h"

#include <utility>

namespace {

// Parts aimed for per thread over the book, and the most pieces a part
// gathers: with several parts per thread no thread waits long at the end
// for another's last part, and small parts keep the bytes and text in hand
// small next to the book.
constexpr qint64 kPartsPerThread = 8;
constexpr qint64 kMostPiecesPerPart = 4;
// Parts handed out and not joined yet, per thread: a thread that finishes
// one finds the next waiting, while the reading never runs far ahead.
constexpr qsizetype kPartsInHandPerThread = 2;

struct DecodedPart {
    QString text;
    QByteArray bytes; // given back, for its room
    qint64 start = 0; // where the part's bytes start in the file
    qint64 end = 0;   // and where they end
};

// A buffer of a part already joined, emptied, for another part: its pages
// are in memory already, while fresh ones cost a page fault each, dear on a
// virtual machine. Empty when there is none.
template <typename Buffer>
Buffer TakeSpare(QList<Buffer> &spares)
{
    if (spares.isEmpty())
        return {};
    Buffer spare = spares.takeLast();
    spare.resize(0);
    return spare;
}

qint64 PartSizeFor(qint64 length, const ReadingSplit &split)
{
    if (split.partSize > 0)
        return split.partSize;
    const qint64 pieces = length / split.pieceSize / (kPartsPerThread * qMax(1, split.threads));
    return qBound<qint64>(1, pieces, kMostPiecesPerPart) * split.pieceSize;
}

// The longest text the bytes can make, which the text gets room for: no byte
// gives more than one UTF-16 unit, and in UTF-16 two bytes give one. Pages
// the text does not reach are never touched, and the rest of the room is
// handed back at the end.
qsizetype LongestText(qint64 length, const TextEncoding &encoding)
{
    return qsizetype(encoding.IsUtf16() ? length / 2 : length);
}

class SplitReading {
public:
    SplitReading(QIODevice &file, qint64 length, const TextEncoding &encoding, const ReadingSplit &split,
                 const std::function<bool()> &cancelled, const std::function<void(qint64)> &piecesDone,
                 TextByteMap *byteMap)
        : file_(file), length_(length), encoding_(encoding), pieceSize_(split.pieceSize),
          partSize_(PartSizeFor(length, split)), mostInHand_(kPartsInHandPerThread * qMax(1, split.threads)),
          cancelled_(cancelled), piecesDone_(piecesDone), byteMap_(byteMap), parts_(split.threads)
    {}

    std::optional<QString> Run();

private:
    bool Cancelled() const { return cancelled_ && cancelled_(); }
    bool ReadPiece();
    void CutIfDue();
    void HandOver(qsizetype end);
    bool JoinOldest();
    void Report(qint64 pieces);

    QIODevice &file_;
    const qint64 length_;
    const TextEncoding encoding_;
    const qint64 pieceSize_;
    const qint64 partSize_;
    const qsizetype mostInHand_;
    const std::function<bool()> &cancelled_;
    const std::function<void(qint64)> &piecesDone_;
    TextByteMap *byteMap_;
    QByteArray pending_;      // read and not handed over yet
    qint64 pendingStart_ = 0; // where pending_ starts in the file
    qsizetype lastPiece_ = 0; // bytes of the piece read last
    qint64 piecesRead_ = 0;
    qint64 piecesReported_ = 0;
    QString text_;
    QList<QByteArray> spareBytes_;
    QList<QString> spareTexts_;
    OrderedTasks<DecodedPart> parts_;
};

std::optional<QString> SplitReading::Run()
{
    ReserveTextRoom(text_, LongestText(length_, encoding_));
    pending_.reserve(partSize_ + pieceSize_);
    for (bool atEnd = false; !atEnd;) {
        if (Cancelled())
            return std::nullopt;
        atEnd = ReadPiece();
        if (!atEnd)
            CutIfDue();
        while (parts_.Count() > mostInHand_) {
            if (!JoinOldest())
                return std::nullopt;
        }
    }
    HandOver(pending_.size());
    while (parts_.Count() > 0) {
        if (!JoinOldest())
            return std::nullopt;
    }
    Report(piecesRead_);
    text_.squeeze();
    return std::move(text_);
}

// Whether this piece found the end: as the one-thread loop did, a piece
// shorter than asked for ends the book, and so does reaching the length.
bool SplitReading::ReadPiece()
{
    const qint64 position = pendingStart_ + pending_.size();
    const qint64 wanted = qBound<qint64>(0, length_ - position, pieceSize_);
    const qsizetype had = pending_.size();
    pending_.resize(had + qsizetype(wanted));
    const qint64 got = qMax<qint64>(0, file_.read(pending_.data() + had, wanted));
    pending_.truncate(had + qsizetype(got));
    lastPiece_ = qsizetype(got);
    ++piecesRead_;
    return got < wanted || position + got >= length_;
}

// A part is cut only in its last piece, which starts on a piece boundary of
// the file, as a split point must be looked for.
void SplitReading::CutIfDue()
{
    if (pending_.size() < partSize_)
        return;
    const qsizetype pieceStart = pending_.size() - lastPiece_;
    const qsizetype split = LastSplitPoint(QByteArrayView(pending_).sliced(pieceStart), encoding_);
    if (split >= 0)
        HandOver(pieceStart + split);
}

void SplitReading::HandOver(qsizetype end)
{
    QByteArray bytes = std::exchange(pending_, TakeSpare(spareBytes_));
    pending_.reserve(partSize_ + pieceSize_);
    pending_.append(QByteArrayView(bytes).sliced(end));
    bytes.truncate(end);
    const qint64 start = std::exchange(pendingStart_, pendingStart_ + end);
    parts_.Add([bytes, text = TakeSpare(spareTexts_), start, encoding = encoding_, pieceSize = pieceSize_]() mutable {
        AppendBookPart(bytes, start, encoding, pieceSize, text);
        const qint64 partEnd = start + bytes.size();
        return DecodedPart{std::move(text), std::move(bytes), start, partEnd};
    });
}

bool SplitReading::JoinOldest()
{
    if (Cancelled())
        return false;
    DecodedPart part = parts_.TakeOldest();
    // A part starts where the decoder holds nothing back; the first one's
    // text starts after the byte-order mark.
    if (byteMap_)
        byteMap_->Add(text_.size(), part.start == 0 ? qMin(length_, qint64(encoding_.markLength)) : part.start);
    text_ += part.text;
    spareTexts_.append(std::move(part.text));
    spareBytes_.append(std::move(part.bytes));
    Report(part.end / pieceSize_);
    return true;
}

void SplitReading::Report(qint64 pieces)
{
    if (pieces <= piecesReported_)
        return;
    piecesReported_ = pieces;
    if (piecesDone_)
        piecesDone_(pieces);
}

} // namespace

std::optional<QString> ReadBookText(QIODevice &file, qint64 length, const TextEncoding &encoding,
                                    const std::function<bool()> &cancelled,
                                    const std::function<void(qint64)> &piecesDone, const ReadingSplit &split,
                                    TextByteMap *byteMap)
{
    SplitReading reading(file, length, encoding, split, cancelled, piecesDone, byteMap);
    return reading.Run();
}
