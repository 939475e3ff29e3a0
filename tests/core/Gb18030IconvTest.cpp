#include "core/Gb18030Iconv.h"
#include "support/TestRegistry.h"

#include <QStringDecoder>
#include <QTest>

#include <functional>

namespace {

// A character's bytes: one byte, a lead byte and a trail, or four bytes with
// a digit second and fourth; anything longer is such characters in a row.
using Sequences = std::function<void(const std::function<void(QByteArray)> &)>;

void SingleBytes(const std::function<void(QByteArray)> &take)
{
    for (int byte = 0; byte < 256; ++byte)
        take(QByteArray(1, char(byte)));
}

void BytePairs(const std::function<void(QByteArray)> &take)
{
    for (int first = 0; first < 256; ++first) {
        QByteArray pair(2, char(first));
        for (int second = 0; second < 256; ++second) {
            pair[1] = char(second);
            take(pair);
        }
    }
}

Sequences FourBytes(int firstLead, int lastLead)
{
    return [=](const std::function<void(QByteArray)> &take) {
        for (int lead = firstLead; lead <= lastLead; ++lead) {
            for (int second = '0'; second <= '9'; ++second) {
                for (int third = 0x81; third <= 0xFE; ++third) {
                    for (int fourth = '0'; fourth <= '9'; ++fourth) {
                        const char sequence[] = {char(lead), char(second), char(third), char(fourth)};
                        take(QByteArray(sequence, 4));
                    }
                }
            }
        }
    };
}

// As the book's decoder reads a stretch without NUL bytes.
QString ByQt(const QByteArray &bytes)
{
    QStringDecoder decoder("GB18030", QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

// Sequences are tried in blocks, one a line: a block that iconv takes as a
// whole is compared in one go, one that it turns down sequence by sequence.
class BlockCheck {
public:
    void Add(const QByteArray &sequence)
    {
        sequences_.append(sequence);
        if (sequences_.size() == kBlockSequences)
            Check();
    }
    void Check()
    {
        if (!Compare(sequences_.join('\n'))) {
            for (const QByteArray &sequence : std::as_const(sequences_))
                Compare(sequence);
        }
        sequences_.clear();
    }
    // The first bytes iconv took where Qt gives another text.
    QByteArray differing;

private:
    static constexpr qsizetype kBlockSequences = 1000;

    bool Compare(const QByteArray &bytes)
    {
        QString text;
        if (!AppendGb18030ByIconv(bytes, text))
            return false;
        if (text != ByQt(bytes) && differing.isEmpty())
            differing = bytes;
        return true;
    }

    QList<QByteArray> sequences_;
};

} // namespace

Q_DECLARE_METATYPE(Sequences)

class Gb18030IconvTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everySequenceIconvTakes_decodesAsQtDoes_data()
    {
        QTest::addColumn<Sequences>("sequences");
        QTest::newRow("single bytes") << Sequences(SingleBytes);
        QTest::newRow("byte pairs") << Sequences(BytePairs);
        QTest::newRow("four bytes, lead 81..8F: the rest of the BMP") << FourBytes(0x81, 0x8F);
        QTest::newRow("four bytes, lead 90..E3: beyond the BMP") << FourBytes(0x90, 0xE3);
        QTest::newRow("four bytes, lead E4..FE: unassigned") << FourBytes(0xE4, 0xFE);
    }

    void everySequenceIconvTakes_decodesAsQtDoes()
    {
        QFETCH(Sequences, sequences);
        BlockCheck check;
        sequences([&](const QByteArray &sequence) { check.Add(sequence); });
        check.Check();
        QVERIFY2(check.differing.isEmpty(), check.differing.toHex(' ').constData());
    }

    void commonText_isTakenAndDisputedCharactersAreNot_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("taken");
        QTest::newRow("GBK prose with CR LF") << QByteArray("\xD2\xBB\xA1\xA2\xB5\xDA\xCA\xAE\xD5\xC2\r\n") << true;
        QTest::newRow("four-byte character in the BMP") << QByteArray("\x81\x30\x81\x30") << true;
        QTest::newRow("vertical comma, PUA to ICU") << QByteArray("\xA6\xD9") << false;
        QTest::newRow("ideograph FE51, PUA to ICU") << QByteArray("\xFE\x51") << false;
        QTest::newRow("user-defined area") << QByteArray("\xAA\xA1") << false;
        QTest::newRow("beyond the BMP") << QByteArray("\x95\x32\x82\x36") << false;
        QTest::newRow("byte that is no character") << QByteArray("a\x80") << false;
        QTest::newRow("lead byte cut off at the end") << QByteArray("a\xB5") << false;
    }

    void commonText_isTakenAndDisputedCharactersAreNot()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, taken);
        QString text = QStringLiteral("kept");
        QCOMPARE(AppendGb18030ByIconv(bytes, text), taken);
        QCOMPARE(text, QStringLiteral("kept") + (taken ? ByQt(bytes) : QString()));
    }
};

FOLIVAR_TEST(Gb18030IconvTest)

#include "Gb18030IconvTest.moc"
