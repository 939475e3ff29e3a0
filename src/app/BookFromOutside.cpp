#include "app/BookFromOutside.h"

#include "app/Log.h"
#include "core/BookFileName.h"
#include "core/Log.h"
#include "session/ReadingSession.h"
#include "ui/MessageStrip.h"

#include <QDir>
#include <QUrl>

QStringList BookPathsFrom(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        const QUrl url(argument);
        paths << (url.isLocalFile() ? BookPathOf(url) : QDir::current().absoluteFilePath(argument));
    }
    return paths;
}

// A URL's path is percent-escaped bytes: a name that is no UTF-8 comes whole.
QString BookPathOf(const QUrl &file)
{
    return BookPathOf(QByteArray::fromPercentEncoding(file.path(QUrl::FullyEncoded).toLatin1()));
}

QString BookFileProblemText(BookFileProblem problem, const QString &path)
{
    const QString name = QDir::toNativeSeparators(ShownBookPath(path));
    switch (problem) {
    case BookFileProblem::None:
        return {};
    case BookFileProblem::Missing:
        return QStringLiteral("找不到文件：%1").arg(name);
    case BookFileProblem::NotAFile:
        return QStringLiteral("不是文件：%1").arg(name);
    case BookFileProblem::NotText:
        return QStringLiteral("只能打开 .txt 文本文件：%1").arg(name);
    case BookFileProblem::Unreadable:
        return QStringLiteral("没有读取权限：%1").arg(name);
    case BookFileProblem::TooLarge:
        return QStringLiteral("文件超过 2 GB，无法打开：%1").arg(name);
    }
    return {};
}

bool OpenBookFromOutside(ReadingSession &session, MessageStrip &strip, const QString &path)
{
    const BookFileProblem problem = CheckBookFile(path);
    if (problem == BookFileProblem::None)
        return session.OnOpenBookFile(path);
    const QString logged = LoggedPath(path);
    qCInfo(lcApp).noquote() << "not opening" << logged << "-" << BookFileProblemText(problem, logged);
    strip.ShowMessage(BookFileProblemText(problem, path));
    return false;
}
