#include "app/FirstStartGuide.h"

#include "session/ReadingSession.h"
#include "shelf/Shelf.h"

#include <QDir>

QString FirstStartGuide(const QString &settingsPath)
{
    return QStringLiteral("欢迎使用 Folivar\n"
                          "\n"
                          "请选择存放小说（.txt 文件）的文件夹：文件 → 打开文件。\n"
                          "书籍列在左上方，章节列在左下方，点一本书就开始阅读；"
                          "下次打开时，每本书都回到上次读到的地方。\n"
                          "\n"
                          "阅读时的按键：\n"
                          "← →　上一章、下一章\n"
                          "空格、PageDown　向下翻页，读到章末进入下一章\n"
                          "F11　全屏，Esc 退出全屏\n"
                          "`（数字 1 左边的键）　随时隐藏或显示阅读器\n"
                          "\n"
                          "设置保存在：%1")
        .arg(QDir::toNativeSeparators(settingsPath));
}

QString MissingFolderNotice(const QString &folder)
{
    return QStringLiteral("找不到书籍文件夹：\n%1\n\n"
                          "也许它在一个还没有接上的移动硬盘或网络盘上。"
                          "文件夹回来后，阅读器会自己重新打开它，回到上次读到的地方；"
                          "每本书读到的位置都还保存着。")
        .arg(QDir::toNativeSeparators(folder));
}

void ShowGuideWithoutBooks(ReadingSession &session, const QString &settingsPath)
{
    if (session.BookShelf().Books().Count() == 0 && !session.HasBook())
        session.ShowNotice(FirstStartGuide(settingsPath));
}
