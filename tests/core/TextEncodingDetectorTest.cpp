#include "core/TextEncodingDetector.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

namespace {

// Traditional characters, so the same text exists in Big5, GB18030 and UTF-8.
const QString kLetter =
    QStringLiteral("　　見字如面。我到雨港已經一個禮拜了，直到今天才提起筆來給妳寫信，請別怪我。這一個禮拜，"
                   "雨幾乎沒有停過。火車進站的時候，窗外灰濛濛的一片，我還以為是起了霧，下了車才知道，那是雨。\r\n");

QByteArray Encoded(const QString &text, const char *codec)
{
    QStringEncoder encoder(codec);
    return encoder.encode(text);
}

} // namespace

Q_DECLARE_METATYPE(TextEncoding::Kind)

class TextEncodingDetectorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void detect_data()
    {
        QTest::addColumn<QByteArray>("sample");
        QTest::addColumn<TextEncoding::Kind>("kind");
        QTest::addColumn<qsizetype>("markLength");
        const QByteArray utf8 = Encoded(kLetter, "UTF-8");
        QTest::newRow("UTF-8 mark") << "\xEF\xBB\xBF" + utf8 << TextEncoding::Utf8 << qsizetype(3);
        QTest::newRow("UTF-16LE mark") << "\xFF\xFE" + Encoded(kLetter, "UTF-16LE") << TextEncoding::Utf16LE
                                       << qsizetype(2);
        QTest::newRow("UTF-16BE mark") << "\xFE\xFF" + Encoded(kLetter, "UTF-16BE") << TextEncoding::Utf16BE
                                       << qsizetype(2);
        // The mark wins over what follows it.
        QTest::newRow("UTF-8 mark before GB18030")
            << "\xEF\xBB\xBF" + Encoded(kLetter, "GB18030") << TextEncoding::Utf8 << qsizetype(3);
        QTest::newRow("UTF-8 without mark") << utf8 << TextEncoding::Utf8 << qsizetype(0);
        QTest::newRow("UTF-8 four-byte characters")
            << Encoded(QStringLiteral("𠀋𠂉"), "UTF-8") << TextEncoding::Utf8 << qsizetype(0);
        QTest::newRow("Big5") << Encoded(kLetter, "Big5") << TextEncoding::Big5 << qsizetype(0);
        QTest::newRow("GB18030, Traditional") << Encoded(kLetter, "GB18030") << TextEncoding::Gb18030 << qsizetype(0);
        QTest::newRow("GBK, Simplified") << Encoded(
            QStringLiteral(
                "第一章 最后一班渡船\r\n　　青鸟渡口挂在银河外缘的一条旧航道上，离最近的恒星也有半光年远。\r\n"),
            "GB18030") << TextEncoding::Gb18030
                                         << qsizetype(0);
        // GBK characters whose two bytes also form valid UTF-8 pairs (一 is
        // D2 BB, and 第 is B5 DA: after one stray byte, DA B5 pairs follow).
        QTest::newRow("GBK of UTF-8-looking pairs")
            << Encoded(QString(5000, u'一'), "GB18030") << TextEncoding::Gb18030 << qsizetype(0);
        QTest::newRow("GBK of shifted pairs")
            << Encoded(QString(5000, u'第'), "GB18030") << TextEncoding::Gb18030 << qsizetype(0);
        QTest::newRow("ASCII") << QByteArray("Chapter 1\r\nPlain text only.\r\n") << TextEncoding::Gb18030
                               << qsizetype(0);
        QTest::newRow("empty") << QByteArray() << TextEncoding::Gb18030 << qsizetype(0);
        QTest::newRow("lone mark byte") << QByteArray("\xFF") << TextEncoding::Gb18030 << qsizetype(0);
        // Overlong forms and encoded surrogates are not UTF-8.
        QTest::newRow("overlong and surrogates")
            << QByteArray("\xC0\xAF \xE0\x80\xAF \xED\xA0\x80 \xC1\xBF") << TextEncoding::Gb18030 << qsizetype(0);
    }

    void detect()
    {
        QFETCH(QByteArray, sample);
        QFETCH(TextEncoding::Kind, kind);
        QFETCH(qsizetype, markLength);
        const TextEncoding encoding = DetectEncoding(sample, true);
        QCOMPARE(encoding.kind, kind);
        QCOMPARE(encoding.markLength, markLength);
    }

    void utf8CutAtSampleEdge_stillUtf8OnlyWhenTheFileGoesOn()
    {
        const QByteArray bytes = Encoded(QStringLiteral("書a€𠀋¢"), "UTF-8");
        for (qsizetype cut = 1; cut <= bytes.size(); ++cut) {
            const QByteArrayView sample = QByteArrayView(bytes).first(cut);
            const bool hasWholeCharacter = cut >= 3;
            QCOMPARE(DetectEncoding(sample, false).kind == TextEncoding::Utf8, hasWholeCharacter);
        }
        // The same cut in a file that really ends there is a broken character:
        // with a single multi-byte character before it, that is too much.
        QVERIFY(DetectEncoding(QByteArrayView(bytes).first(4 + 2), true).kind != TextEncoding::Utf8);
    }

    void utf8WithRareCorruptBytes_staysUtf8()
    {
        // 267 multi-byte characters, a stray byte and a character missing its last byte.
        const QByteArray letter = Encoded(kLetter, "UTF-8");
        const QByteArray bytes = letter + '\xFF' + letter + "\xE4\xB8" + letter;
        QCOMPARE(DetectEncoding(bytes, true), (TextEncoding{TextEncoding::Utf8, 0}));
    }

    void utf8WithFrequentCorruptBytes_isGb18030()
    {
        QByteArray bytes;
        for (qsizetype i = 0; i < kLetter.size(); i += 20)
            bytes += Encoded(kLetter.mid(i, 20), "UTF-8") + '\xFF';
        QCOMPARE(DetectEncoding(bytes, true).kind, TextEncoding::Gb18030);
    }

    void randomBytes_giveAnEncodingQtCanDecode()
    {
        QRandomGenerator random(8);
        for (int round = 0; round < 200; ++round) {
            QByteArray bytes(random.bounded(1, 4000), Qt::Uninitialized);
            for (char &byte : bytes)
                byte = char(random.bounded(256));
            const TextEncoding encoding = DetectEncoding(bytes, random.bounded(2) == 0);
            QVERIFY(encoding.markLength <= 3);
            QVERIFY(QStringDecoder(encoding.Name()).isValid());
        }
    }
};

FOLIVAR_TEST(TextEncodingDetectorTest)
#include "TextEncodingDetectorTest.moc"
