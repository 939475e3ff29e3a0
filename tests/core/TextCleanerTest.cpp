#include "core/TextCleaner.h"
#include "support/TestRegistry.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

class TextCleanerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clean_appliesTheBooksUsableRulesInOrder_data();
    void clean_appliesTheBooksUsableRulesInOrder();
    void positions_mapDeletedAndReplacedText();
    void positions_holdUnderRandomRules();
};

namespace {

CleanupRule Rule(const QString &pattern, const QString &replacement, bool isRegex = false,
                 CleanupRule::Target target = CleanupRule::Both)
{
    CleanupRule rule;
    rule.name = pattern;
    rule.pattern = pattern;
    rule.replacement = replacement;
    rule.isRegex = isRegex;
    rule.target = target;
    return rule;
}

CleanupRule With(CleanupRule rule, const std::function<void(CleanupRule &)> &change)
{
    change(rule);
    return rule;
}

const QString kBook = u"山城旧事.txt"_s;

} // namespace

void TextCleanerTest::clean_appliesTheBooksUsableRulesInOrder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<CleanupRule>>("rules");
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("ranAway");
    const int content = CleanupRule::Content;
    QTest::newRow("plain text deleted everywhere")
        << u"甲求月票乙求月票丙"_s << QList{Rule(u"求月票"_s, {})} << content << u"甲乙丙"_s << QStringList();
    QTest::newRow("an ad line gone with its line end")
        << u"第一章 山门\r\n天才一秒记住本站地址：www.xxxx.com\r\n少年走进山门。\r\n"_s
        << QList{Rule(u"^天才一秒.*\\r?\\n"_s, {}, true)} << content << u"第一章 山门\r\n少年走进山门。\r\n"_s
        << QStringList();
    QTest::newRow("each rule works on what the one before left")
        << u"本章未完，请点击下一页继续阅读"_s << QList{Rule(u"请点击下一页"_s, u"翻页"_s), Rule(u"翻页继续"_s, u"…"_s)}
        << content << u"本章未完，…阅读"_s << QStringList();
    QTest::newRow("groups as $n and \\n, escaped characters as themselves")
        << u"第12章 第3章"_s << QList{Rule(u"第(\\d+)章"_s, u"[$1|\\1|\\$1|\\\\]"_s, true)} << content
        << u"[12|12|$1|\\] [3|3|$1|\\]"_s << QStringList();
    QTest::newRow("a titles rule leaves the chapter's text")
        << u"（本章完）"_s << QList{Rule(u"（本章完）"_s, {}, false, CleanupRule::Titles)} << content << u"（本章完）"_s
        << QStringList();
    QTest::newRow("disabled, another book's, broken and empty-matching rules are left out")
        << u"错字 错字"_s
        << QList{With(Rule(u"错"_s, u"X"_s), [](CleanupRule &r) { r.enabled = false; }),
                 With(Rule(u"字"_s, u"Y"_s), [](CleanupRule &r) { r.scope = u"别的书.txt"_s; }),
                 Rule(u"(错"_s, u"Z"_s, true), Rule(u"字*"_s, u"W"_s, true),
                 With(Rule(u" "_s, u"_"_s), [](CleanupRule &r) { r.scope = kBook; })}
        << content << u"错字_错字"_s << QStringList();
    QTest::newRow("only empty matches change nothing")
        << u"甲广告"_s << QList{Rule(u"(?=广告)"_s, u"X"_s, true)} << content << u"甲广告"_s << QStringList();
    QTest::newRow("a rule that runs away is skipped, the others apply")
        << QString(40, u'a') + u"cb 广告"_s << QList{Rule(u"(a|aa)+b"_s, u"X"_s, true), Rule(u"广告"_s, {})} << content
        << QString(40, u'a') + u"cb "_s << QStringList{u"(a|aa)+b"_s};
}

void TextCleanerTest::clean_appliesTheBooksUsableRulesInOrder()
{
    QFETCH(QString, text);
    QFETCH(QList<CleanupRule>, rules);
    QFETCH(int, target);
    QFETCH(QString, shown);
    QFETCH(QStringList, ranAway);
    QList<CleanupRule> gaveUp;
    const CleanedText cleaned = TextCleaner(rules, kBook).Clean(text, CleanupRule::Target(target), &gaveUp);
    QCOMPARE(cleaned.Shown(), shown);
    QStringList gaveUpNames;
    for (const CleanupRule &rule : gaveUp)
        gaveUpNames.append(rule.name);
    QCOMPARE(gaveUpNames, ranAway);
}

void TextCleanerTest::positions_mapDeletedAndReplacedText()
{
    // 甲广告乙丁: 广告 deleted, 乙 replaced by 丙丙丙, then 丙丁 by 戊.
    const QList<CleanupRule> rules{Rule(u"广告"_s, {}), Rule(u"乙"_s, u"丙丙丙"_s), Rule(u"丙丁"_s, u"戊"_s)};
    const CleanedText cleaned = TextCleaner(rules, kBook).Clean(u"甲广告乙丁己"_s, CleanupRule::Content);
    QCOMPARE(cleaned.Shown(), u"甲丙丙戊己"_s);
    const QList<qsizetype> shownOfText{0, 1, 1, 1, 3, 4, 5};
    const QList<qsizetype> textOfShown{0, 3, 3, 4, 5, 6};
    for (qsizetype t = 0; t < shownOfText.size(); ++t)
        QCOMPARE(cleaned.ShownPosition(t), shownOfText[t]);
    for (qsizetype p = 0; p < textOfShown.size(); ++p)
        QCOMPARE(cleaned.TextPosition(p), textOfShown[p]);
    QVERIFY(cleaned.Changed());
    QVERIFY(!CleanedText(u"甲"_s).Changed());
}

// Random texts and rules against a plain reference: the shown text is what
// QString::replace makes of it rule by rule, and the positions never go back
// and come back to themselves.
void TextCleanerTest::positions_holdUnderRandomRules()
{
    QRandomGenerator random(35);
    const QString letters = u"ab广告\n"_s;
    const QStringList pieces{u"a"_s, u"ab"_s, u"告\n"_s, u"b广"_s, u"x"_s, u"yy"_s, u"\n"_s};
    for (int round = 0; round < 500; ++round) {
        QString text;
        for (int i = random.bounded(30); i > 0; --i)
            text += letters[random.bounded(letters.size())];
        QList<CleanupRule> rules;
        QString expected = text;
        for (int i = random.bounded(1, 5); i > 0; --i) {
            const QString &pattern = pieces[random.bounded(pieces.size())];
            const QString replacement = random.bounded(3) == 0 ? QString() : pieces[random.bounded(pieces.size())];
            rules.append(Rule(pattern, replacement));
            expected.replace(pattern, replacement);
        }
        const CleanedText cleaned = TextCleaner(rules, kBook).Clean(text, CleanupRule::Content);
        QCOMPARE(cleaned.Shown(), expected);
        qsizetype before = 0;
        for (qsizetype p = 0; p <= cleaned.Shown().size(); ++p) {
            const qsizetype t = cleaned.TextPosition(p);
            QVERIFY2(t >= before && t <= text.size(), qPrintable(text));
            QCOMPARE(cleaned.TextPosition(cleaned.ShownPosition(t)), t);
            before = t;
        }
        for (qsizetype t = 1; t <= text.size(); ++t)
            QVERIFY(cleaned.ShownPosition(t) >= cleaned.ShownPosition(t - 1));
    }
}

FOLIVAR_TEST(TextCleanerTest)

#include "TextCleanerTest.moc"
