#include "core/BookStore.h"
#include "support/TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

BookRecord SampleRecord(int chapter)
{
    BookRecord record;
    record.size = 1234567 + chapter;
    record.modified = 1765226317123;
    record.chapter = chapter;
    record.chapterTitle = u"第%1章 风起\t\"云涌\"\\"_s.arg(chapter);
    record.line = 42;
    // A lone surrogate, as a damaged book can leave in a heading.
    const QString lone = u"😀 \u0001 "_s + QChar(0xD800) + u" lone"_s;
    record.removedHeadings = {{123, u"第一次回家\r"_s}, {4567890123, lone}};
    record.lastRead = 1765226399000;
    if (chapter % 2 == 1) {
        record.bookmarks = {{98765, u"第一章 开始"_s, u"　　他回头看了一眼，"_s, 1765226399123},
                            {4, QString(), lone, 0}};
        record.encoding = u"UTF-16LE"_s;
        record.chapterRule = u"custom:^Chapter \\d+"_s;
        record.removedUnderRule = u"strict"_s;
    }
    return record;
}

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class BookStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void records_roundTripWithAnyName()
    {
        // Names with ini and JSON syntax, emoji, and 255 bytes of UTF-8.
        const QStringList names = {u"a=b[c].txt"_s, u"\"quoted\" \\ name.txt"_s, u"😀书.txt"_s,
                                   QString(81, QChar(0x4E66)) + u"x.txt"_s, u"\u3000\n.txt"_s};
        BookRecords records;
        for (int i = 0; i < names.size(); ++i)
            records.insert(names[i], SampleRecord(i));
        const QByteArray json = BookRecordsToJson(records);
        QVERIFY(json.isValidUtf8());
        QCOMPARE(BookRecordsFromJson(json), std::optional<BookRecords>(records));
    }

    void damagedStores_areRefused_data()
    {
        QTest::addColumn<QByteArray>("json");
        const QByteArray good = BookRecordsToJson({{u"a.txt"_s, SampleRecord(3)}});
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("[Config]\r\n路径=d:\\book\\\r\n");
        QTest::newRow("cut short") << good.left(good.size() / 2);
        QTest::newRow("no books") << QByteArray(R"({"version":1})");
        QTest::newRow("books not an object") << QByteArray(R"({"version":1,"books":[]})");
        QTest::newRow("chapter a string") << QByteArray(R"({"books":{"a.txt":{"chapter":"3"}}})");
        QTest::newRow("chapter a fraction") << QByteArray(R"({"books":{"a.txt":{"chapter":3.5}}})");
        QTest::newRow("chapter beyond 32 bits") << QByteArray(R"({"books":{"a.txt":{"chapter":4294967296}}})");
        QTest::newRow("heading without position")
            << QByteArray(R"({"books":{"a.txt":{"removedHeadings":[{"text":"x"}]}}})");
        QTest::newRow("trailing comma") << QByteArray(R"({"books":{"a.txt":{"line":1,}}})");
        QTest::newRow("text after the end") << QByteArray(R"({"books":{}} x)");
        QTest::newRow("bad escape") << QByteArray(R"({"books":{"a\u12.txt":{}}})");
        QTest::newRow("invalid UTF-8") << QByteArray("{\"books\":{\"\xC3\x28.txt\":{}}}");
        QTest::newRow("nested too deep") << QByteArray(R"({"books":{},"x":)") + QByteArray(200, '[');
    }

    void damagedStores_areRefused()
    {
        QFETCH(QByteArray, json);
        QCOMPARE(BookRecordsFromJson(json), std::nullopt);
    }

    void unknownMembers_areSkipped()
    {
        const auto records = BookRecordsFromJson(
            R"({"version":7,"future":[1,{"a":null},true],"books":{"a.txt":{"chapter":2,"note":"x","line":-1}}})");
        QVERIFY(records);
        QCOMPARE(records->value(u"a.txt"_s).chapter, 2);
        QCOMPARE(records->value(u"a.txt"_s).line, -1);
    }

    void store_writesWhatChanged_andReadsItBack()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.json"_s);
        {
            BookStore store;
            store.Open(path);
            QCOMPARE(store.Count(), 0);
            QVERIFY(store.Put(u"a.txt"_s, SampleRecord(1)));
            QVERIFY(!store.Put(u"a.txt"_s, SampleRecord(1)));
            store.Flush();
            QCOMPARE(BookRecordsFromJson(FileBytes(path)), std::optional<BookRecords>({{u"a.txt"_s, SampleRecord(1)}}));
            QVERIFY(store.Put(u"b.txt"_s, SampleRecord(2)));
        } // the last change is written as the store goes
        BookStore again;
        again.Open(path);
        QVERIFY(again.Find(u"a.txt"_s));
        QCOMPARE(*again.Find(u"b.txt"_s), SampleRecord(2));
        QVERIFY(!again.Find(u"c.txt"_s));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"books.json"_s});
    }

    void damagedFile_readsEmpty_andIsKeptOnceBesideTheNextSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.json"_s);
        WriteBytes(path, "{\"books\":{\"a.txt\":{\"chapter\":");
        BookStoreFile file(path);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"damaged book store"_s));
        QVERIFY(file.Load().isEmpty());
        QVERIFY(file.Save({{u"b.txt"_s, SampleRecord(2)}}));
        QCOMPARE(FileBytes(path + u".bad"_s), QByteArray("{\"books\":{\"a.txt\":{\"chapter\":"));
        QVERIFY(file.Save({{u"b.txt"_s, SampleRecord(3)}}));
        QCOMPARE(FileBytes(path + u".bad"_s), QByteArray("{\"books\":{\"a.txt\":{\"chapter\":"));
        QCOMPARE(file.Load(), BookRecords({{u"b.txt"_s, SampleRecord(3)}}));
    }

    void readOnlyFolder_keepsTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"books.json"_s);
        BookStoreFile file(path);
        QVERIFY(file.Save({{u"a.txt"_s, SampleRecord(1)}}));
        const QByteArray before = FileBytes(path);
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not writing"_s));
        QVERIFY(!file.Save({{u"a.txt"_s, SampleRecord(2)}}));
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(FileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"books.json"_s});
    }
};

FOLIVAR_TEST(BookStoreTest)
#include "BookStoreTest.moc"
