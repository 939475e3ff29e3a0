#include "core/IniFile.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

// GBK is the oracle: every file the reader writes for Chinese names must be
// readable by a GBK program.
QByteArray Gbk(const QString &text)
{
    QStringEncoder gbk("GBK");
    return gbk.encode(text);
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

constexpr auto kReadOnlyDirectory = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

} // namespace

class IniFileTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir_;
    QString path_;

private Q_SLOTS:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        path_ = dir_->filePath(QStringLiteral("config.ini"));
    }

    void cleanup()
    {
        QFile::setPermissions(dir_->path(), kReadOnlyDirectory | QFileDevice::WriteOwner);
        dir_.reset();
    }

    void firstWrites_buildSectionsInWriteOrder()
    {
        QVERIFY(WriteIniValue(path_, "Config", "路径", "d:\\book\\"));
        QCOMPARE(FileBytes(path_), Gbk("[Config]\r\n路径=d:\\book\\\r\n"));

        const QList<std::array<QString, 3>> rest = {
            {"Config", "书", "3"},
            {"Config", "章", "-1"},
            {"Config", "行", "0"},
            {"字体", "字体", "宋体"},
            {"字体", "字体大小", "12"},
            {"字体", "文本颜色", "0"},
            {"字体", "背景颜色", "16777215"},
        };
        for (const auto &[section, key, value] : rest)
            QVERIFY(WriteIniValue(path_, section, key, value));

        QCOMPARE(FileBytes(path_),
                 Gbk("[Config]\r\n路径=d:\\book\\\r\n书=3\r\n章=-1\r\n行=0\r\n"
                     "[字体]\r\n字体=宋体\r\n字体大小=12\r\n文本颜色=0\r\n背景颜色=16777215\r\n"));
        for (const auto &[section, key, value] : rest)
            QCOMPARE(ReadIniValue(path_, section, key, "default"), value);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.ini"});

        // The same values in one write leave the same bytes.
        const QString once = dir_->filePath(QStringLiteral("once.ini"));
        QList<IniValue> all{{"Config", "路径", "d:\\book\\"}};
        for (const auto &[section, key, value] : rest)
            all.append({section, key, value});
        QVERIFY(WriteIniValues(once, all));
        QCOMPARE(FileBytes(once), FileBytes(path_));
    }

    void write_existingFile_keepsEveryOtherLineByteForByte()
    {
        const QByteArray before = Gbk("; reader settings\n"
                                      "[config]\r\n"
                                      "  路径 =  e:\\小说\\\r\n"
                                      "# 书=9\n"
                                      "书=1\n"
                                      "\r\n"
                                      "[Other]\n"
                                      "x = y\r\n"
                                      "[字体]\r\n"
                                      "字体大小=9");
        WriteFileBytes(path_, before);
        const QString once = dir_->filePath(QStringLiteral("once.ini"));
        WriteFileBytes(once, before);

        const QList<IniValue> values{
            {"Config", "路径", "f:\\书\\"}, {"Config", "章", "7"}, {"字体", "字体", "黑体"}, {"New", "k", "v"}};
        for (const IniValue &value : values)
            QVERIFY(WriteIniValue(path_, value.section, value.key, value.value));
        // In one write, the same bytes.
        QVERIFY(WriteIniValues(once, values));
        QCOMPARE(FileBytes(once), FileBytes(path_));

        QCOMPARE(FileBytes(path_),
                 Gbk("; reader settings\n"
                     "[config]\r\n"
                     "  路径 =  f:\\书\\\r\n"
                     "# 书=9\n"
                     "书=1\n"
                     "章=7\r\n"
                     "\r\n"
                     "[Other]\n"
                     "x = y\r\n"
                     "[字体]\r\n"
                     "字体大小=9\r\n"
                     "字体=黑体\r\n"
                     "[New]\r\n"
                     "k=v\r\n"));
    }

    void write_existingKey_replacesOnlyItsValue()
    {
        WriteFileBytes(path_, Gbk("[Config]\r\n行=120\r\n书=2\n"));
        QVERIFY(WriteIniValue(path_, "CONFIG", "书", "-1"));
        QVERIFY(WriteIniValue(path_, "config", "行", ""));
        QCOMPARE(FileBytes(path_), Gbk("[Config]\r\n行=\r\n书=-1\n"));
    }

    void read_missingFileSectionOrKey_givesDefault_emptyValueGivesEmpty()
    {
        QCOMPARE(ReadIniValue(path_, "Config", "路径", "d:\\book\\"), QString("d:\\book\\"));
        WriteFileBytes(path_, Gbk("[Config]\r\n路径=\r\n行=  \r\n"));
        QCOMPARE(ReadIniValue(path_, "Config", "路径", "d:\\book\\"), QString(""));
        QCOMPARE(ReadIniValue(path_, "Config", "行", "0"), QString(""));
        QCOMPARE(ReadIniValue(path_, "Config", "书", "none"), QString("none"));
        QCOMPARE(ReadIniValue(path_, "字体", "路径", "none"), QString("none"));
    }

    void read_toleratesCaseBlanksCommentsDuplicatesAndBom()
    {
        WriteFileBytes(path_,
                       "\xEF\xBB\xBF"
                           + Gbk("key=outside\r\n"
                                 "  [ Config ]  \n"
                                 "; Key=commented\r\n"
                                 "#key=commented\n"
                                 "\n"
                                 "  Key  =  first value  \r\n"
                                 "KEY=second\n"
                                 "[其他]\n"
                                 "key=other\n"));
        QCOMPARE(ReadIniValue(path_, "config", "kEY", "none"), QString("first value"));
        QCOMPARE(ReadIniValue(path_, "其他", "key", "none"), QString("other"));

        WriteFileBytes(path_, "\xEF\xBB\xBF[Config]\r\nkey=bom\r\n");
        QCOMPARE(ReadIniValue(path_, "Config", "key", "none"), QString("bom"));
    }

    // In GB18030, 锘开 begins with the bytes of a UTF-8 byte-order mark.
    void write_keyStartingWithByteOrderMarkBytes_readsBack()
    {
        QVERIFY(Gbk("锘开").startsWith("\xEF\xBB\xBF"));
        QVERIFY(WriteIniValue(path_, "Config", "锘开", "1"));
        QVERIFY(WriteIniValue(path_, "Config", "开", "2"));
        QCOMPARE(ReadIniValue(path_, "Config", "锘开", "none"), QString("1"));
        QCOMPARE(ReadIniValue(path_, "Config", "开", "none"), QString("2"));
        QCOMPARE(FileBytes(path_), Gbk("[Config]\r\n锘开=1\r\n开=2\r\n"));
    }

    void write_valueOutsideGbk_roundTrips()
    {
        const QString path = QStringLiteral("/home/读者/한국어/😀/");
        QVERIFY(WriteIniValue(path_, "Config", "路径", path));
        QCOMPARE(ReadIniValue(path_, "Config", "路径", ""), path);
        QVERIFY(WriteIniValue(path_, "Config", "书", "0"));
        QCOMPARE(ReadIniValue(path_, "Config", "路径", ""), path);
    }

    void write_keepsFilePermissions()
    {
        WriteFileBytes(path_, "[Config]\r\n");
        const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path_, permissions));
        QVERIFY(WriteIniValue(path_, "Config", "行", "3"));
        QCOMPARE(QFile::permissions(path_) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser),
                 permissions);
    }

    // Root ignores permission bits, so these pass only if the writer checks them.
    void write_readOnlyFile_keepsIt()
    {
        const QByteArray before = Gbk("[Config]\r\n行=5\r\n");
        WriteFileBytes(path_, before);
        QVERIFY(QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(!WriteIniValue(path_, "Config", "行", "6"));
        QVERIFY(!WriteIniValue(path_, "Config", "书", "1"));
        QCOMPARE(FileBytes(path_), before);
    }

    void write_readOnlyDirectory_keepsFileAndCreatesNothing()
    {
        const QByteArray before = Gbk("[Config]\r\n行=5\r\n");
        WriteFileBytes(path_, before);
        QVERIFY(QFile::setPermissions(dir_->path(), kReadOnlyDirectory));
        QVERIFY(!WriteIniValue(path_, "Config", "行", "6"));
        const QString other = dir_->filePath("other.ini");
        QVERIFY(!WriteIniValue(other, "Config", "行", "6"));
        QCOMPARE(FileBytes(path_), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.ini"});
    }

    // A file-size limit makes the system refuse the new content part way through.
    void write_failingMidWay_keepsOldFileWhole()
    {
        const QByteArray before = Gbk("[Config]\r\n路径=d:\\book\\\r\n");
        WriteFileBytes(path_, before);
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{static_cast<rlim_t>(before.size()), limit.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = WriteIniValue(path_, "Config", "路径", "d:\\a much longer book directory\\");
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, oldHandler);

        QVERIFY(!written);
        QCOMPARE(FileBytes(path_), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"config.ini"});
    }

    void write_failing_leavesEverythingAsItWas()
    {
        QVERIFY(QDir(dir_->path()).mkdir("config.ini"));
        WriteFileBytes(path_ + "/inside", "kept");
        QVERIFY(!WriteIniValue(path_, "Config", "行", "6"));
        QVERIFY(QFileInfo(path_).isDir());
        QCOMPARE(FileBytes(path_ + "/inside"), QByteArray("kept"));

        QVERIFY(!WriteIniValue(dir_->filePath("missing/config.ini"), "Config", "行", "6"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{"config.ini"});
    }

    void lock_isHeldByOneAtATimeAndLeavesNothingBehind()
    {
        std::optional<IniFileLock> first;
        first.emplace(path_);
        QVERIFY(first->IsHeld());
        QVERIFY(!IniFileLock(path_, std::chrono::milliseconds(0)).IsHeld());
        first.reset();
        QVERIFY(IniFileLock(path_, std::chrono::milliseconds(0)).IsHeld());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void lock_readOnlyFolder_isNotTakenAndCreatesNothing()
    {
        QVERIFY(QFile::setPermissions(dir_->path(), kReadOnlyDirectory));
        QVERIFY(!IniFileLock(path_).IsHeld());
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
};

FOLIVAR_TEST(IniFileTest)
#include "IniFileTest.moc"
