#include "ReaderFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

namespace {

QByteArray Gbk(const QString &text)
{
    QStringEncoder encoder("GB18030");
    return encoder.encode(text);
}

} // namespace

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
        file.write(Gbk(text));
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
    if (!QTest::qWaitFor([this] { return state_->startedUp; }, 60000))
        qWarning("start-up did not finish");
    return *window_;
}

void ReaderFixture::Close()
{
    window_->close();
}
