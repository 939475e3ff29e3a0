#include "core/ScriptConverter.h"
#include "support/TestRegistry.h"

#include <QTest>

class ScriptConverterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void convert_bothDirections_data()
    {
        QTest::addColumn<QString>("simplified");
        QTest::addColumn<QString>("traditional");
        QTest::newRow("characters with several counterparts")
            << QStringLiteral("头发、发展、里面、后来、干燥、只有一只鸟")
            << QStringLiteral("頭髮、發展、裏面、後來、乾燥、只有一隻鳥");
        QTest::newRow("line ends and latin text kept")
            << QStringLiteral("第一章 开始\r\nChapter 1\r\n") << QStringLiteral("第一章 開始\r\nChapter 1\r\n");
        QTest::newRow("empty") << QString() << QString();
    }

    void convert_bothDirections()
    {
        QFETCH(QString, simplified);
        QFETCH(QString, traditional);
        QCOMPARE(ConvertScript(simplified, ScriptConversion::ToTraditional), traditional);
        QCOMPARE(ConvertScript(traditional, ScriptConversion::ToSimplified), simplified);
    }

    // 著 is 着 after a verb, as Traditional text from Taiwan writes it.
    void toSimplified_readsPhrases()
    {
        QCOMPARE(ConvertScript(QStringLiteral("他盤算著，看著我。"), ScriptConversion::ToSimplified),
                 QStringLiteral("他盘算着，看着我。"));
    }

    void convert_alreadyInTargetScript_unchanged()
    {
        const QString traditional = QStringLiteral("頭髮、發展、裏面");
        QCOMPARE(ConvertScript(traditional, ScriptConversion::ToTraditional), traditional);
    }

    void convert_unknownMode_returnsTextUnchanged()
    {
        const QString text = QStringLiteral("头发、發展");
        for (const int mode : {0, 1, 2, 5, -3})
            QCOMPARE(ConvertScript(text, ScriptConversion(mode)), text);
    }
};

FOLIVAR_TEST(ScriptConverterTest)
#include "ScriptConverterTest.moc"
