#include "platform/OfferedVoices.h"
#include "support/TestRegistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

class OfferedVoicesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void offered_chineseFirstWithoutVariants_data();
    void offered_chineseFirstWithoutVariants();
};

void OfferedVoicesTest::offered_chineseFirstWithoutVariants_data()
{
    QTest::addColumn<QList<ListedVoice>>("voices");
    QTest::addColumn<int>("own");
    QTest::addColumn<QStringList>("offered");
    const QLocale unknown = QLocale::c();
    // As espeak-ng lists them through speech-dispatcher: every language,
    // each with its variants, under the C locale.
    QTest::newRow("espeak-ng, Mandarin by name")
        << QList<ListedVoice>{{u"English (Great Britain)"_s, unknown},
                              {u"Chinese (Cantonese)"_s, unknown},
                              {u"Chinese (Cantonese)+Adam"_s, unknown},
                              {u"Chinese (Mandarin, latin as Pinyin)"_s, unknown},
                              {u"Chinese (Mandarin, latin as Pinyin)+female2"_s, unknown},
                              {u"Hakka Chinese"_s, unknown}}
        << int(QLocale::Chinese)
        << QStringList{u"Chinese (Mandarin, latin as Pinyin)"_s, u"Chinese (Cantonese)"_s, u"Hakka Chinese"_s};
    QTest::newRow("Chinese locales, Hong Kong after the mainland, own language last")
        << QList<ListedVoice>{{u"Mei"_s, QLocale(u"zh_HK"_s)},
                              {u"Anna"_s, QLocale(u"de_DE"_s)},
                              {u"Li"_s, QLocale(u"zh_CN"_s)},
                              {u"Bob"_s, QLocale(u"en_US"_s)}}
        << int(QLocale::German) << QStringList{u"Li（zh_CN）"_s, u"Mei（zh_HK）"_s, u"Anna（de_DE）"_s};
    QTest::newRow("a variant whose voice is not offered stays")
        << QList<ListedVoice>{{u"Mandarin+Soft"_s, unknown}} << int(QLocale::C) << QStringList{u"Mandarin+Soft"_s};
    QTest::newRow("no Chinese voice, the user's language unknown: nothing")
        << QList<ListedVoice>{{u"English"_s, unknown}, {u"Bob"_s, QLocale(u"en_US"_s)}} << int(QLocale::C)
        << QStringList{};
}

void OfferedVoicesTest::offered_chineseFirstWithoutVariants()
{
    QFETCH(const QList<ListedVoice>, voices);
    QFETCH(const int, own);
    QFETCH(const QStringList, offered);
    QStringList names;
    for (const qsizetype at : OfferedVoices(voices, QLocale::Language(own)))
        names.append(OfferedVoiceName(voices[at]));
    QCOMPARE(names, offered);
}

FOLIVAR_TEST(OfferedVoicesTest)
#include "OfferedVoicesTest.moc"
