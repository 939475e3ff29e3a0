#include "ProcessMemory.h"

#include <QByteArray>
#include <QFile>

namespace {

// A "Name:   12345 kB" line of a /proc/<pid>/status file.
qint64 StatusFieldBytes(const QString &statusPath, const QByteArray &name)
{
    QFile status(statusPath);
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
    return StatusFieldBytes(QStringLiteral("/proc/self/status"), "VmRSS");
}

qint64 PeakResidentBytes()
{
    return StatusFieldBytes(QStringLiteral("/proc/self/status"), "VmHWM");
}

qint64 PeakResidentBytesOf(qint64 processId)
{
    return StatusFieldBytes(QStringLiteral("/proc/%1/status").arg(processId), "VmHWM");
}
