#include "core/CodePage.h"
#include "support/TestRegistry.h"

#include <QStringEncoder>
#include <QTest>

class CodePageTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void encode_gbkCharacters_giveGbkBytes()
    {
        // Bytes checked with iconv -t GBK.
        QCOMPARE(EncodeCodePage(QStringLiteral("路径")), QByteArray("\xC2\xB7\xBE\xB6"));
        QStringEncoder gbk("GBK");
        const QString text = QStringLiteral("[字体]书章行字体大小文本颜色背景颜色=d:\\book\\宋体");
        const QByteArray gbkBytes = gbk.encode(text);
        QCOMPARE(EncodeCodePage(text), gbkBytes);
        QCOMPARE(DecodeCodePage(gbkBytes), text);
    }

    void roundTrip_charactersOutsideGbk_keepsThem()
    {
        const QString text = QStringLiteral("/home/한국어/😀");
        const QByteArray bytes = EncodeCodePage(text);
        QVERIFY(bytes.endsWith("\x94\x39\xFC\x36")); // the emoji, as iconv -t GB18030 gives it
        QVERIFY(!bytes.contains('?'));
        QCOMPARE(DecodeCodePage(bytes), text);
    }
};

FOLIVAR_TEST(CodePageTest)
#include "CodePageTest.moc"
