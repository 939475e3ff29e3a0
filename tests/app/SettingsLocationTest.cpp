#include "core/Settings.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Where config.ini lives: beside the program when its folder can take it,
// otherwise (an installed program in /usr/bin) in the user's config folder.
class SettingsLocationTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir configHome_;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", configHome_.path().toLocal8Bit()); }

    void writableProgramFolder_keepsTheFileBesideTheProgram()
    {
        QTemporaryDir program;
        QCOMPARE(SettingsPathFor(program.path()), program.path() + QStringLiteral("/config.ini"));
    }

    void readOnlyProgramFolder_usesTheUsersConfigFolder()
    {
        QTemporaryDir program;
        QVERIFY(QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const QString path = SettingsPathFor(program.path());
        QVERIFY(path.startsWith(configHome_.path() + QLatin1Char('/')));
        QVERIFY(path.endsWith(QStringLiteral("/config.ini")));

        // The folder is made by the first write, and the values come back.
        QVERIFY(!QFileInfo::exists(path));
        Settings saved;
        saved.chapter = 12;
        saved.book = 3;
        SaveSettings(path, saved);
        const Settings loaded = LoadSettings(path);
        QCOMPARE(loaded.chapter, 12);
        QCOMPARE(loaded.book, 3);
        QVERIFY(!QFileInfo::exists(program.path() + QStringLiteral("/config.ini")));
        QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void missingProgramFolder_usesTheUsersConfigFolder()
    {
        QVERIFY(SettingsPathFor(QStringLiteral("/nonexistent/folivar")).startsWith(configHome_.path()));
    }

    void numbers_onlyDecimalIntegersCount()
    {
        QCOMPARE(SettingNumber(QStringLiteral("37")), 37);
        QCOMPARE(SettingNumber(QStringLiteral("-1")), -1);
        QCOMPARE(SettingNumber(QStringLiteral(" 5 ")), 5);
        QCOMPARE(SettingNumber(QStringLiteral("abc")), std::nullopt);
        QCOMPARE(SettingNumber(QStringLiteral("99999999999999")), std::nullopt);
        QCOMPARE(SettingNumber(QString()), std::nullopt);
        QCOMPARE(SettingTenths(QStringLiteral("1.5")), 15);
        QCOMPARE(SettingTenths(QStringLiteral(" 2 ")), 20);
        QCOMPARE(SettingTenths(QStringLiteral("0.06")), 1);
        QCOMPARE(SettingTenths(QStringLiteral("1,5")), std::nullopt);
        QCOMPARE(SettingTenths(QStringLiteral("1e300")), std::nullopt);
        QCOMPARE(SettingTenths(QStringLiteral("nan")), std::nullopt);
    }
};

FOLIVAR_TEST(SettingsLocationTest)
#include "SettingsLocationTest.moc"
