#include "Measurement.h"

#include <QList>
#include <cstdio>

void PrintMeasurement(const Measurement &measurement)
{
    for (auto it = measurement.cbegin(); it != measurement.cend(); ++it)
        std::printf("%s %.6f\n", qPrintable(it.key()), it.value());
    std::fflush(stdout);
}

Measurement ParseMeasurement(const QByteArray &output)
{
    Measurement measurement;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 2)
            continue;
        bool ok = false;
        const double value = fields.at(1).toDouble(&ok);
        if (ok)
            measurement.insert(QString::fromLatin1(fields.at(0)), value);
    }
    return measurement;
}
