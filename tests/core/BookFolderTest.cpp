// The book folder lists every ".txt" file whatever bytes its name holds: each
// kept name opens its own file, shows what Qt can show of it, and stands in
// config.ini so that it is read back as written.
#include "core/BookFolder.h"
#include "core/BookFileName.h"
#include "core/BookLibrary.h"
#include "core/IniFile.h"
#include "core/Settings.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// A temporary folder that goes with every file in it, those whose names Qt
// cannot list included.
struct ScratchFolder {
    QTemporaryDir dir;
    ~ScratchFolder() { std::filesystem::remove_all(QFile::encodeName(dir.path()).toStdString()); }
};

// A file whose name is these bytes, holding them.
void WriteNamedFile(const QString &folder, const QByteArray &name)
{
    std::ofstream(QFile::encodeName(folder + u'/').append(name).toStdString(), std::ios::binary) << name.data();
}

} // namespace

class BookFolderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listing_holdsEveryTextFile_eachNameOpeningItsOwn()
    {
        const QList<QByteArray> books{"b.txt",
                                      "C.TXT",
                                      "a\nb.txt",
                                      "\xCA\xE9.txt",                 // 书 in GBK
                                      "\xEF\xBF\xBD\xEF\xBF\xBD.txt", // what Qt makes of that name
                                      "\xEF\xBF\xBD%CA%E9.txt",       // a name that looks escaped
                                      "\xED\xA0\x80.txt"};            // a surrogate: no UTF-8
        ScratchFolder scratch;
        const QTemporaryDir &dir = scratch.dir;
        for (const QByteArray &name : books + QList<QByteArray>{".hidden.txt", "notes.md"})
            WriteNamedFile(dir.path(), name);
        QVERIFY(QDir(dir.path()).mkdir(u"folder.txt"_s));
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(u"pipe.txt"_s)).constData(), 0644), 0);

        const QString folder = dir.path() + u'/';
        QList<QByteArray> contents;
        QStringList shown;
        for (const QString &name : ListBookFiles(folder)) {
            QCOMPARE(CheckBookFile(folder + name), BookFileProblem::None);
            QFile file;
            QString failure;
            QVERIFY2(OpenBookFile(file, folder + name, failure), qPrintable(failure));
            contents << file.readAll();
            shown << ShownBookName(name);
        }
        QCOMPARE(QSet<QByteArray>(contents.begin(), contents.end()), QSet<QByteArray>(books.begin(), books.end()));
        QCOMPARE(contents.size(), books.size());
        shown.sort();
        QCOMPARE(shown,
                 QStringList({u"C.TXT"_s, u"a\uFFFDb.txt"_s, u"b.txt"_s, u"\uFFFD%CA%E9.txt"_s, u"\uFFFD\uFFFD.txt"_s,
                              u"\uFFFD\uFFFD.txt"_s, u"\uFFFD\uFFFD\uFFFD.txt"_s}));

        // A FIFO named like a book is refused, and opening it does not wait for a writer.
        QCOMPARE(CheckBookFile(folder + u"pipe.txt"_s), BookFileProblem::NotAFile);
        QFile pipe;
        QString failure;
        QVERIFY(!OpenBookFile(pipe, folder + u"pipe.txt"_s, failure));
    }

    // Subfolders to three levels, each folder that holds books as a row of
    // its own before them, in an order that sorting by ListedBefore keeps; a
    // link looping back, a hidden and a too deep folder are not listed, and a
    // folder a link reaches twice is listed once.
    void library_listsSubfoldersGrouped_readingEachFolderOnce()
    {
        ScratchFolder scratch;
        const QDir root(scratch.dir.path());
        for (const QString &folder : {u"玄幻/仙侠/完本/更深"_s, u"都市"_s, u"空"_s, u".hidden"_s, u"a b"_s})
            QVERIFY(root.mkpath(folder));
        for (const QString &book :
             {u"顶.txt"_s, u"玄幻/乙.txt"_s, u"玄幻/甲.TXT"_s, u"玄幻/仙侠/完本/终.txt"_s,
              u"玄幻/仙侠/完本/更深/不见.txt"_s, u"都市/同名.txt"_s, u"a b/同名.txt"_s, u".hidden/藏.txt"_s})
            WriteNamedFile(root.path(), QFile::encodeName(book));
        QVERIFY(QFile::link(root.path(), root.filePath(u"玄幻/回到顶"_s)));
        QVERIFY(QFile::link(root.filePath(u"都市"_s), root.filePath(u"都市的链接"_s)));

        const BookLibrary library = ListLibrary(root.path() + u'/');
        const QStringList expected{
            u"顶.txt"_s,      u"a b/"_s,         u"a b/同名.txt"_s,    u"玄幻/"_s,
            u"玄幻/乙.txt"_s, u"玄幻/甲.TXT"_s,  u"玄幻/仙侠/完本/"_s, u"玄幻/仙侠/完本/终.txt"_s,
            u"都市/"_s,       u"都市/同名.txt"_s};
        QStringList sortedExpected = expected;
        std::sort(sortedExpected.begin(), sortedExpected.end(), ListedBefore);
        QCOMPARE(sortedExpected, expected);
        // Qt's order of two Chinese names is their code points' order.
        QCOMPARE(library.entries, expected);
        QCOMPARE(
            library.folders,
            QStringList({u""_s, u"a b/"_s, u"玄幻/"_s, u"玄幻/仙侠/"_s, u"玄幻/仙侠/完本/"_s, u"空/"_s, u"都市/"_s}));
        for (const QString &entry : expected)
            QCOMPARE(IsFolderEntry(entry), entry.endsWith(u'/'));
        QCOMPARE(NameOfEntry(u"玄幻/仙侠/"_s), u"仙侠"_s);
        QCOMPARE(NameOfEntry(u"玄幻/乙.txt"_s), u"乙.txt"_s);
        QCOMPARE(FolderOfEntry(u"顶.txt"_s), QString());
    }

    void bookName_inConfigIni_isReadBackAsWritten_data()
    {
        QTest::addColumn<QByteArray>("fileName");
        QTest::addColumn<QString>("written");
        QTest::newRow("UTF-8") << "乙 书.txt"_ba << u"乙 书.txt"_s;
        QTest::newRow("GBK") << "\xCA\xE9.txt"_ba << u"\uFFFD%CA%E9.txt"_s;
        QTest::newRow("line break") << "a\r\nb.txt"_ba << u"\uFFFDa%0D%0Ab.txt"_s;
        QTest::newRow("blank first") << " 书.txt"_ba << u"\uFFFD%20%E4%B9%A6.txt"_s;
        QTest::newRow("looks escaped") << "\xEF\xBF\xBD%CA%E9.txt"_ba << u"\uFFFD%EF%BF%BD%25CA%25E9.txt"_s;
    }

    void bookName_inConfigIni_isReadBackAsWritten()
    {
        QFETCH(QByteArray, fileName);
        QFETCH(QString, written);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config.ini"_s);
        Settings settings;
        settings.bookName = BookNameOf(fileName);
        SaveSettings(path, settings);
        QCOMPARE(ReadIniValue(path, u"Config"_s, u"书名"_s, QString()), written);
        const QString read = LoadSettings(path).bookName;
        QCOMPARE(read, settings.bookName);
        QCOMPARE(NativeNameOf(read), fileName);
    }
};

FOLIVAR_TEST(BookFolderTest)
#include "BookFolderTest.moc"
