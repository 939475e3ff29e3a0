// The settings held for the run and written back whole: one write a second
// after the first change, the place as it was read until it is set, and a
// file of the earlier versions read and written back byte for byte.
#include "core/Preferences.h"
#include "core/CodePage.h"
#include "support/TestRegistry.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every key of the sections before [窗口], as the reader wrote them before it came.
const QString kFileBeforeWindow =
    u"[Config]\r\n路径=/书/\r\n书=2\r\n章=5\r\n行=17\r\n书名=乙.txt\r\n章名=第五章 雨\r\n"
    u"[字体]\r\n字体=Noto Serif CJK SC\r\n字体大小=15\r\n文本颜色=0\r\n背景颜色=16777215\r\n"
    u"[排版]\r\n行距=1.5\r\n段距=0.5\r\n左右页边距=20\r\n上下页边距=10\r\n首行缩进=不缩进\r\n"
    u"空行=删除\r\n正文宽度=40\r\n两端对齐=1\r\n[阅读]\r\n自动滚动速度=30\r\n[热键]\r\n热键=Ctrl+J\r\n"
    u"[朗读]\r\n语速=2\r\n声音=普通话\r\n[同步]\r\n地址=https://dav.example/\r\n用户=甲\r\n启用=1\r\n"
    u"[书库]\r\n排序=2\r\n"_s;

// Every key in the order a save writes them, as the reader has written them
// since 排版, 热键, 朗读, 同步, 书库 and 窗口 came.
const QString kWholeFile = kFileBeforeWindow
    + u"[窗口]\r\n左=120\r\n上=-40\r\n宽=700\r\n高=500\r\n全屏=0\r\n简洁模式=1\r\n"
      u"简洁左=300\r\n简洁上=20\r\n简洁宽=420\r\n简洁高=90\r\n置顶=1\r\n透明度=80\r\n"
      u"背景透明=0\r\n鼠标移出时隐藏=1\r\n"_s;

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString Path() const { return dir_.filePath(u"config.ini"_s); }

private Q_SLOTS:
    void init() { QFile::remove(Path()); }

    // Every value typed as the file keeps it, and written back unchanged.
    void wholeFile_readsTyped_andIsWrittenBackByteForByte()
    {
        WriteFileBytes(Path(), EncodeCodePage(kWholeFile));
        Preferences preferences;
        preferences.Load(Path());
        const Settings &values = preferences.Values();
        QCOMPARE(values.book, 2);
        QCOMPARE(values.chapterTitle, u"第五章 雨"_s);
        QCOMPARE(values.fontSize, 15);
        QCOMPARE(values.lineSpacing, 15);
        QCOMPARE(values.indentation, Indentation::None);
        QCOMPARE(values.blankLines, BlankLines::Remove);
        QVERIFY(values.justify);
        QVERIFY(values.syncEnabled);
        QCOMPARE(values.bookOrder, 2);
        QCOMPARE(values.hotKey, u"Ctrl+J"_s);
        QCOMPARE(values.windowTop, -40);
        QCOMPARE(values.simpleHeight, 90);
        QVERIFY(values.simpleMode && values.stayOnTop && values.hideOnLeave && !values.fullScreen);
        QCOMPARE(values.opacity, 80);
        preferences.SaveAndStop();
        QCOMPARE(DecodeCodePage(FileBytes(Path())), kWholeFile);
    }

    // A file from before [窗口] remembers no place: the window opens at the
    // designed one, and the section comes after the others, which keep
    // their bytes.
    void fileBeforeTheWindowSection_remembersNoPlace_andGainsTheSectionAtItsEnd()
    {
        WriteFileBytes(Path(), EncodeCodePage(kFileBeforeWindow));
        Preferences preferences;
        preferences.Load(Path());
        const Settings &values = preferences.Values();
        QVERIFY(!values.windowLeft && !values.windowTop && !values.windowWidth && !values.windowHeight);
        QVERIFY(!values.simpleLeft && !values.simpleWidth);
        QVERIFY(!values.simpleMode && !values.stayOnTop && !values.hideOnLeave && !values.fullScreen);
        QCOMPARE(values.opacity, 100);
        preferences.SaveAndStop();
        QCOMPARE(DecodeCodePage(FileBytes(Path())),
                 kFileBeforeWindow
                     + u"[窗口]\r\n左=\r\n上=\r\n宽=\r\n高=\r\n全屏=0\r\n简洁模式=0\r\n简洁左=\r\n简洁上=\r\n"
                       u"简洁宽=\r\n简洁高=\r\n置顶=0\r\n透明度=100\r\n背景透明=0\r\n鼠标移出时隐藏=0\r\n"_s);
    }

    // Told once per value that differs; a run of changes is written once, a
    // second after the first, in the background.
    void changes_areToldAndWrittenOnceASecondAfterTheFirst()
    {
        Preferences preferences;
        preferences.Load(Path());
        preferences.StartSaving();
        QSignalSpy changed(&preferences, &Preferences::changed);
        QSignalSpy written(&preferences.Writer(), &SettingsWriter::written);
        preferences.Set(&Settings::fontName, u"DejaVu Serif"_s);
        preferences.Set(&Settings::fontName, u"DejaVu Serif"_s);
        preferences.Set(&Settings::autoScrollSpeed, 40);
        preferences.Set(&Settings::justify, true);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(changed.first().at(0).value<SettingId>(), IdOf(&Settings::fontName));
        QVERIFY(!QFile::exists(Path()));
        QVERIFY(written.wait(5000));
        QCOMPARE(written.last().at(0).toBool(), true);
        const QString file = DecodeCodePage(FileBytes(Path()));
        QVERIFY(file.contains(u"字体=DejaVu Serif\r\n"_s));
        QVERIFY(file.contains(u"自动滚动速度=40\r\n"_s));
        QVERIFY(file.contains(u"两端对齐=1\r\n"_s));
        QVERIFY(!written.wait(1500));
        QCOMPARE(written.count(), 1);
    }

    // A place start-up could not go back to goes back to the file as it was
    // read, even when it is no number, until the reader sets it.
    void place_isWrittenAsReadUntilSet()
    {
        WriteFileBytes(Path(), EncodeCodePage(u"[Config]\r\n路径=/书/\r\n书=abc\r\n行=--7\r\n"_s));
        Preferences preferences;
        preferences.Load(Path());
        QCOMPARE(preferences.Values().book, 0);
        preferences.Set(&Settings::fontSize, std::optional<int>(20));
        QCOMPARE(preferences.Texts()[IdOf(&Settings::book)], u"abc"_s);
        QCOMPARE(preferences.Texts()[IdOf(&Settings::line)], u"--7"_s);
        preferences.Set(&Settings::line, 0);
        preferences.SaveAndStop();
        const QString file = DecodeCodePage(FileBytes(Path()));
        QVERIFY(file.contains(u"书=abc\r\n"_s));
        QVERIFY(file.contains(u"行=0\r\n"_s));
        QVERIFY(file.contains(u"字体大小=20\r\n"_s));
    }

    // Shutdown writes every value, whatever the file holds by then, and
    // nothing is written after it.
    void saveAndStop_writesEveryValue_thenNothingMore()
    {
        Preferences preferences;
        preferences.Load(Path());
        preferences.StartSaving();
        QSignalSpy written(&preferences.Writer(), &SettingsWriter::written);
        preferences.SaveAndStop();
        QCOMPARE(written.count(), 1);
        QVERIFY(DecodeCodePage(FileBytes(Path())).startsWith(u"[Config]\r\n路径="_s));
        QFile::remove(Path());
        preferences.Set(&Settings::voice, u"某"_s);
        QVERIFY(!written.wait(1500));
        QVERIFY(!QFile::exists(Path()));
    }
};

FOLIVAR_TEST(PreferencesTest)
#include "PreferencesTest.moc"
