#include "support/ReaderFixture.h"

#include "core/CodePage.h"
#include "core/Settings.h"
#include "shelf/Shelf.h"
#include "support/WaitForStartUp.h"
#include "ui/ListBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// Each reader starts afresh: no settings, and no book store left behind by
// the reader before, which would remember places and removed headings.
void RemoveStoredFiles(const QString &settingsPath)
{
    QFile::remove(settingsPath);
    const QString store = BookStorePathFor(settingsPath);
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(store + suffix);
}

} // namespace

ReaderFixture::ReaderFixture()
{
    RemoveStoredFiles(SettingsPath());
}

ReaderFixture::~ReaderFixture()
{
    if (window_)
        Close();
    window_.reset();
    services_.reset();
    RemoveStoredFiles(SettingsPath());
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
    services_ = std::make_unique<ReaderServices>();
    window_ = std::make_unique<MainWindow>(*services_);
    if (!WaitForStartUp(*window_))
        qWarning("start-up did not finish");
    return *window_;
}

void ReaderFixture::OpenBookAt(int index)
{
    const LoadWatch watch(*this);
    Session().OnBookSelected(index);
    watch.Wait();
}

ReaderFixture::LoadWatch::LoadWatch(const ReaderFixture &reader) : reader_(reader)
{
    QObject::connect(&reader.Session(), &ReadingSession::bookShown, &context_, [this] { ++shown_; });
    QObject::connect(&reader.Session().BookShelf(), &Shelf::loadProgress, &context_,
                     [this](int percentage) { hundreds_ += percentage == 100 ? 1 : 0; });
}

void ReaderFixture::LoadWatch::Wait() const
{
    // The 100 follows the book it belongs to; a failed load posts none.
    if (!WaitUntil([this] { return !reader_.Session().BookShelf().IsLoading() && hundreds_ >= shown_; }))
        qWarning("the load did not end");
}

void ReaderFixture::ShowChapter(int n)
{
    Session().ShowChapter(n);
}

void ReaderFixture::Choose(ListBox &list, int row)
{
    const QModelIndex index = list.model()->index(row, 0);
    list.scrollTo(index);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(index).center());
}

void ReaderFixture::Close()
{
    window_->close();
}
