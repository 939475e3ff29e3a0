#include "app/BookFromOutside.h"

#include "app/Log.h"
#include "session/ReadingSession.h"
#include "ui/MessageStrip.h"

#include <QDir>
#include <QUrl>

QStringList BookPathsFrom(const QStringList &arguments)
{
    QStringList paths;
    for (const QString &argument : arguments) {
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        paths << QDir::current().absoluteFilePath(path);
    }
    return paths;
}

QString BookFileProblemText(BookFileProblem problem, const QString &path)
{
    const QString name = QDir::toNativeSeparators(path);
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
    const QString why = BookFileProblemText(problem, path);
    qCInfo(lcApp).noquote() << "not opening" << path << "-" << why;
    strip.ShowMessage(why);
    return false;
}
