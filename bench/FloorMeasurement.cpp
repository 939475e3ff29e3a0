#include "FloorMeasurement.h"

#include "ProcessMemory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>

namespace {

// The reader's own piece size, so both read the file the same way.
constexpr qint64 kPieceSize = 100000;

} // namespace

// The text grows into room reserved up front: a GB18030 byte never yields
// more than one UTF-16 unit, and the pages the text does not reach are never
// touched, so they cost no resident memory.
Measurement MeasureFloor(const QString &bookPath)
{
    const qint64 idle = CurrentResidentBytes();
    QElapsedTimer timer;
    timer.start();
    QFile file(bookPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text;
    text.reserve(file.size());
    QStringDecoder decoder("GB18030");
    for (QByteArray piece = file.read(kPieceSize); !piece.isEmpty(); piece = file.read(kPieceSize))
        text += decoder.decode(piece);
    const double elapsedMs = timer.nsecsElapsed() / 1e6;
    if (text.isEmpty())
        return {};
    return {{MeasurementKey::kFloorMs, elapsedMs},
            {MeasurementKey::kIdleBytes, double(idle)},
            {MeasurementKey::kPeakBytes, double(PeakResidentBytes())}};
}
