#include "app/RecentBooksMenu.h"

#include "app/BookFromOutside.h"
#include "app/MenuItem.h"
#include "core/BookFileName.h"
#include "core/BookFolder.h"
#include "core/BookStore.h"
#include "session/ReadingSession.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The file name as the book list shows it, then the folder.
QString RecentBookText(const QString &path)
{
    const QFileInfo file(path);
    // A menu takes "&" for the key of a mnemonic.
    return QStringLiteral("%1 — %2")
        .arg(ShownBookName(file.fileName()), QDir::toNativeSeparators(file.absolutePath()))
        .replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool IsGone(const QString &path)
{
    const BookFileProblem problem = CheckBookFile(path);
    return problem == BookFileProblem::Missing || problem == BookFileProblem::NotAFile;
}

} // namespace

void FillRecentBooksMenu(QMenu *recent, ReadingSession &session, MessageStrip &strip)
{
    QObject::connect(recent, &QMenu::aboutToShow, recent, [recent, &session, &strip] {
        recent->clear();
        const QStringList paths = session.Store().RecentBooks();
        if (paths.isEmpty())
            recent->addAction(QStringLiteral("（无）"))->setEnabled(false);
        for (const QString &path : paths) {
            QAction *item = AddMenuItem(recent, RecentBookText(path),
                                        [&session, &strip, path] { OpenBookFromOutside(session, strip, path); });
            item->setEnabled(!IsGone(path));
        }
    });
}
