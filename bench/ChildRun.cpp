#include "ChildRun.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>

Measurement RunChild(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "child run failed: %s\n", qPrintable(arguments.join(u' ')));
        return {};
    }
    return ParseMeasurement(child.readAllStandardOutput());
}
