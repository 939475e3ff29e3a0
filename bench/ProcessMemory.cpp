#include "ProcessMemory.h"

#include <QByteArray>
#include <QFile>

namespace {

// A "Name:   12345 kB" line of /proc/self/status.
qint64 StatusFieldBytes(const QByteArray &name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = name + ':';
    // The file claims a size of 0: read to its end rather than trust atEnd().
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        const QList<QByteArray> fields = line.mid(prefix.size()).simplified().split(' ');
        bool ok = false;
        const qint64 kilobytes = fields.value(0).toLongLong(&ok);
        return ok ? kilobytes * 1024 : -1;
    }
    return -1;
}

} // namespace

qint64 CurrentResidentBytes()
{
    return StatusFieldBytes("VmRSS");
}

qint64 PeakResidentBytes()
{
    return StatusFieldBytes("VmHWM");
}
