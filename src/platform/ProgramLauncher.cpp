#include "platform/ProgramLauncher.h"

#include "platform/Log.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Names like "IEXPLORE.EXE" come from a case-insensitive file system; on a
// case-sensitive one the program is usually installed in lower case.
QString FindProgram(const QString &program)
{
    QString found = QStandardPaths::findExecutable(program);
    if (!found.isEmpty() || program == program.toLower())
        return found;
    return QStandardPaths::findExecutable(program.toLower());
}

void OpenInDefaultBrowser(const QString &address)
{
    if (!QDesktopServices::openUrl(QUrl(address)))
        qCInfo(lcPlatform) << "launcher: the default browser could not open" << address;
}

} // namespace

void LaunchProgram(const QString &program, const QString &commandLine)
{
    const QString path = FindProgram(program);
    if (path.isEmpty()) {
        qCInfo(lcPlatform) << "launcher:" << program << "not found; using the default browser";
        OpenInDefaultBrowser(commandLine);
        return;
    }
    if (!QProcess::startDetached(path, {commandLine}))
        qCInfo(lcPlatform) << "launcher: could not start" << path;
}
