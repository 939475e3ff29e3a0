#include "platform/ProgramLauncher.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Puts a fake browser first on PATH; each run of it leaves one file holding
// its argument count and arguments, one a line.
class ProgramLauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        originalPath_ = qgetenv("PATH");
        programDir_.emplace();
        QVERIFY(programDir_->isValid());
        qputenv("PATH", QFile::encodeName(programDir_->path()) + ':' + originalPath_);
    }

    void cleanup()
    {
        qputenv("PATH", originalPath_);
        programDir_.reset();
    }

    void launch_eachCall_startsOneProcessWithTheUrlAsOnlyArgument_data()
    {
        QTest::addColumn<QString>("installedName");
        QTest::newRow("same case") << QStringLiteral("IEXPLORE.EXE");
        QTest::newRow("lower case") << QStringLiteral("iexplore.exe");
    }

    void launch_eachCall_startsOneProcessWithTheUrlAsOnlyArgument()
    {
        QFETCH(QString, installedName);
        InstallRecordingProgram(installedName);
        const QStringList urls{QStringLiteral("http://www.example.com/soft/sort042/down-3226.html"),
                               QStringLiteral("http://www.example.com"),
                               QStringLiteral("http://links.example.net?a=1&b=two words")};
        for (const QString &url : urls)
            LaunchProgram(QStringLiteral("IEXPLORE.EXE"), url);

        QTRY_COMPARE_WITH_TIMEOUT(Records().size(), urls.size(), 20000);
        QStringList arguments;
        for (const QStringList &record : Records()) {
            QCOMPARE(record.size(), 2);
            QCOMPARE(record.at(0), QStringLiteral("1"));
            arguments << record.at(1);
        }
        arguments.sort();
        QStringList expected = urls;
        expected.sort();
        QCOMPARE(arguments, expected);
    }

    // Without a browser of that name the address goes to the desktop's
    // services; offscreen they refuse it at once instead of hanging.
    void launch_programMissing_handsUrlToDesktopServices()
    {
        const QString url = QStringLiteral("http://www.example.com");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("openUrl.*") + QRegularExpression::escape(url)));
        LaunchProgram(QStringLiteral("NO-SUCH-BROWSER.EXE"), url);
        QVERIFY(Records().isEmpty());
    }

private:
    void InstallRecordingProgram(const QString &name)
    {
        const QString script = QStringLiteral("#!/bin/sh\n"
                                              "record=\"%1/record.$$\"\n"
                                              "printf '%s\\n' \"$#\" \"$@\" > \"$record.tmp\"\n"
                                              "mv \"$record.tmp\" \"$record\"\n")
                                   .arg(programDir_->path());
        QFile file(programDir_->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script.toUtf8());
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFile::ExeOwner));
    }

    QList<QStringList> Records() const
    {
        QList<QStringList> records;
        const QDir dir(programDir_->path());
        for (const QString &name : dir.entryList({QStringLiteral("record.*")}, QDir::Files)) {
            if (name.endsWith(QLatin1String(".tmp")))
                continue;
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                records << QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        return records;
    }

    QByteArray originalPath_;
    std::optional<QTemporaryDir> programDir_;
};

FOLIVAR_TEST(ProgramLauncherTest)
#include "ProgramLauncherTest.moc"
