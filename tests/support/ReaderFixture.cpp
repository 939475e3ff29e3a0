#include "support/ReaderFixture.h"

#include "core/CodePage.h"
#include "reader/ChapterNavigation.h"
#include "shelf/BookLoader.h"
#include "support/WaitForStartUp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

ReaderFixture::ReaderFixture()
{
    QFile::remove(SettingsPath());
}

ReaderFixture::~ReaderFixture()
{
    if (window_)
        Close();
    window_.reset();
    state_.reset();
    QFile::remove(SettingsPath());
}

QString ReaderFixture::SettingsPath() const
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini");
}

void ReaderFixture::AddBook(const QString &name, const QByteArray &bytes) const
{
    QFile file(QDir(books_.path()).filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void ReaderFixture::WriteSettings(const QStringList &lines) const
{
    QString text;
    QString section;
    for (const QString &line : lines) {
        const qsizetype slash = line.indexOf(QLatin1Char('/'));
        const QString lineSection = line.left(slash);
        if (lineSection != section) {
            section = lineSection;
            text += QStringLiteral("[%1]\r\n").arg(section);
        }
        text += line.mid(slash + 1) + QStringLiteral("\r\n");
    }
    QFile file(SettingsPath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(EncodeCodePage(text));
}

void ReaderFixture::WriteSettingsForBookFolder() const
{
    WriteSettings({QStringLiteral("Config/路径=") + books_.path() + QLatin1Char('/')});
}

QByteArray ReaderFixture::SettingsBytes() const
{
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ReaderFixture::AsShownInPane(const QString &text)
{
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

MainWindow &ReaderFixture::Start()
{
    state_ = std::make_unique<ReaderState>();
    window_ = std::make_unique<MainWindow>(*state_);
    if (!WaitForStartUp(*state_))
        qWarning("start-up did not finish");
    return *window_;
}

void ReaderFixture::OpenBookAt(int index)
{
    const ReaderControls &c = Controls();
    ::OpenBookAt(state_->shelf, state_->book, *c.列表框_文件, *c.标签_状态显示, index);
}

void ReaderFixture::ShowChapter(int n)
{
    ::ShowChapter(state_->book, *Controls().列表框_章节, *Controls().编辑框_内容, n);
}

void ReaderFixture::Close()
{
    window_->close();
}
