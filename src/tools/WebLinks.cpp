#include "tools/WebLinks.h"

#include "platform/ProgramLauncher.h"

#include <QString>

namespace {

// Our two hosts, until the project has its own names.
const QString kHomeHost = QStringLiteral("folivar.example");
const QString kLinkDirectoryHost = QStringLiteral("links.folivar.example");

void OpenPage(const QString &url)
{
    LaunchProgram(QStringLiteral("IEXPLORE.EXE"), url);
}

} // namespace

void OnCheckUpdate()
{
    OpenPage(QStringLiteral("http://") + kHomeHost + QStringLiteral("/soft/sort042/down-3226.html"));
}

void OnHomePage()
{
    OpenPage(QStringLiteral("http://") + kHomeHost);
}

void OnLinkDirectory()
{
    OpenPage(QStringLiteral("http://") + kLinkDirectoryHost);
}
