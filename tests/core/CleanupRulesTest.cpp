#include "core/CleanupRule.h"
#include "core/CleanupRuleJson.h"
#include "support/TestRegistry.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;
using Rules = QList<CleanupRule>;

// How QCOMPARE shows a rule that differs.
static char *toString(const CleanupRule &rule)
{
    return QTest::toString(u"{%1|%2|%3|%4|%5|%6|%7}"_s.arg(rule.name, rule.pattern, rule.replacement)
                               .arg(rule.isRegex)
                               .arg(rule.scope)
                               .arg(int(rule.target))
                               .arg(rule.enabled));
}

namespace {

// As readers share them: members this program does not know, booleans left
// out, the array not in the order of "order", a Java-style replacement.
const char kSharedFile[] = R"([
  {"id": 1702, "name": "章节名去括号", "group": "标题", "pattern": "【(.+?)】", "replacement": "$1",
   "isRegex": true, "scopeContent": false, "order": 10, "timeoutMillisecond": 3000},
  {"id": 1700, "name": "去广告", "pattern": "^.*(请收藏|本章未完).*$", "replacement": "",
   "isRegex": true, "scope": "", "isEnabled": true, "order": 2, "scopeTitle": false, "scopeContent": true},
  {"id": 1701, "name": "错字", "pattern": "的的", "replacement": "的$1", "scope": "山城旧事.txt",
   "isEnabled": false, "order": 5, "exclude": null}
])";

CleanupRule Rule(const QString &name, const QString &pattern, bool isRegex = false)
{
    CleanupRule rule;
    rule.name = name;
    rule.pattern = pattern;
    rule.isRegex = isRegex;
    return rule;
}

Rules SharedFileRules()
{
    return {{u"去广告"_s, u"^.*(请收藏|本章未完).*$"_s, QString(), true, QString(), CleanupRule::Content, true},
            {u"错字"_s, u"的的"_s, u"的$1"_s, false, u"山城旧事.txt"_s, CleanupRule::Both, false},
            {u"章节名去括号"_s, u"【(.+?)】"_s, u"$1"_s, true, QString(), CleanupRule::Titles, true}};
}

Rules Named(const QStringList &names)
{
    Rules rules;
    for (const QString &name : names)
        rules.append(Rule(name, u"x"_s));
    return rules;
}

QStringList NamesOf(const Rules &rules)
{
    QStringList names;
    for (const CleanupRule &rule : rules)
        names.append(rule.name);
    return names;
}

} // namespace

class CleanupRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rulesFromJson_readsSharedFiles_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<Rules>("rules");
        QTest::newRow("shared file") << QByteArray(kSharedFile) << SharedFileRules();
        QTest::newRow("empty array") << QByteArray("[]") << Rules();
        QTest::newRow("equal orders keep the file's order")
            << QByteArray(R"([{"name":"b","pattern":"x","order":1},{"name":"a","pattern":"y","order":1},
                               {"name":"c","pattern":"z","order":0}])")
            << Rules{Rule(u"c"_s, u"z"_s), Rule(u"b"_s, u"x"_s), Rule(u"a"_s, u"y"_s)};
        QTest::newRow("no order: the place in the file")
            << QByteArray(R"([{"name":"b","pattern":"x"},{"name":"a","pattern":"y"}])")
            << Rules{Rule(u"b"_s, u"x"_s), Rule(u"a"_s, u"y"_s)};
        QTest::newRow("null members as absent")
            << QByteArray(R"([{"name":null,"pattern":"x","isRegex":null,"scope":null,"order":null}])")
            << Rules{Rule(QString(), u"x"_s)};
        QTest::newRow("a regex replacement kept as written")
            << QByteArray(R"json([{"name":"a","pattern":"(x)","isRegex":true,"replacement":"\\$5 $1\\\\ \\d"}])json")
            << Rules{{u"a"_s, u"(x)"_s, u"\\$5 $1\\\\ \\d"_s, true, QString(), CleanupRule::Both, true}};
    }

    void rulesFromJson_readsSharedFiles()
    {
        QFETCH(QByteArray, json);
        QFETCH(Rules, rules);
        const ReadCleanupRules read = RulesFromJson(json, u"规则.json"_s);
        QCOMPARE(read.problem, QString());
        QCOMPARE(read.rules, rules);
    }

    // Nothing of such a file is taken; the message names the file and,
    // where one is at fault, the rule.
    void rulesFromJson_refusesTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("told");
        const QByteArray good = R"({"name":"好","pattern":"x"})";
        QTest::newRow("not JSON") << QByteArray("[Config]\r\n路径=d:\\book\\\r\n") << QStringList{u"不是 JSON"_s};
        QTest::newRow("cut short") << QByteArray(kSharedFile).left(200) << QStringList{u"不是 JSON"_s};
        QTest::newRow("an object, not an array") << good << QStringList{u"JSON 数组"_s};
        QTest::newRow("an element that is no object") << "[" + good + R"(,"x"])" << QStringList{u"第 2 条"_s};
        QTest::newRow("text for a boolean")
            << "[" + good + R"(,{"name":"坏","pattern":"x","isRegex":"true"}])" << QStringList{u"“坏”"_s, u"isRegex"_s};
        QTest::newRow("number for a text, a rule without a name")
            << "[" + good + R"(,{"pattern":5}])" << QStringList{u"第 2 条"_s, u"pattern"_s};
        QTest::newRow("text for the order")
            << "[" + good + R"(,{"name":"坏","pattern":"x","order":"1"}])" << QStringList{u"“坏”"_s, u"order"_s};
        // "(" as a JSON escape: moc, which reads this file, counts brackets
        // even in raw strings.
        QTest::newRow("an invalid expression") << "[" + good + R"(,{"name":"坏","pattern":"\u0028x","isRegex":true}])"
                                               << QStringList{u"“坏”"_s, u"表达式有误"_s};
        QTest::newRow("an expression matching empty text")
            << "[" + good + R"(,{"name":"坏","pattern":"x*","isRegex":true}])" << QStringList{u"“坏”"_s, u"空文本"_s};
        QTest::newRow("no pattern") << "[" + good + R"(,{"name":"坏"}])" << QStringList{u"“坏”"_s, u"空的"_s};
        QTest::newRow("neither titles nor text")
            << "[" + good + R"(,{"name":"坏","pattern":"x","scopeTitle":false,"scopeContent":false}])"
            << QStringList{u"“坏”"_s, u"既不作用于正文"_s};
    }

    void rulesFromJson_refusesTheWholeFile()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, told);
        const ReadCleanupRules read = RulesFromJson(json, u"别人的规则.json"_s);
        QCOMPARE(read.rules, Rules());
        QVERIFY2(read.problem.startsWith(u"无法导入 别人的规则.json："_s), qPrintable(read.problem));
        for (const QString &part : std::as_const(told))
            QVERIFY2(read.problem.contains(part), qPrintable(read.problem + u" lacks "_s + part));
    }

    void addImported_comesAfterOwn_takenNamesNumbered_data()
    {
        QTest::addColumn<QStringList>("own");
        QTest::addColumn<QStringList>("imported");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("no names taken") << QStringList{u"a"_s} << QStringList{u"b"_s, u"c"_s}
                                        << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("a name taken") << QStringList{u"去广告"_s} << QStringList{u"去广告"_s}
                                      << QStringList{u"去广告"_s, u"去广告 (2)"_s};
        QTest::newRow("its (2) taken as well") << QStringList{u"a"_s, u"a (2)"_s} << QStringList{u"a"_s, u"a"_s}
                                               << QStringList{u"a"_s, u"a (2)"_s, u"a (3)"_s, u"a (4)"_s};
        QTest::newRow("taken within the file")
            << QStringList() << QStringList{u"a"_s, u"a"_s} << QStringList{u"a"_s, u"a (2)"_s};
        QTest::newRow("a number the file holds already")
            << QStringList{u"a"_s} << QStringList{u"a (2)"_s, u"a"_s} << QStringList{u"a"_s, u"a (2)"_s, u"a (3)"_s};
    }

    void addImported_comesAfterOwn_takenNamesNumbered()
    {
        QFETCH(QStringList, own);
        QFETCH(QStringList, imported);
        QFETCH(QStringList, names);
        const Rules all = AddImported(Named(own), Named(imported));
        QCOMPARE(NamesOf(all), names);
        QCOMPARE(all.first(own.size()), Named(own));
    }

    void rulesToJson_readsBackAsTheSame_data()
    {
        QTest::addColumn<Rules>("rules");
        const QString lone = QChar(0xD800) + u"\"\\\n"_s;
        QTest::newRow("shared file") << SharedFileRules();
        QTest::newRow("none") << Rules();
        QTest::newRow("dollars and backslashes")
            << Rules{{u"a"_s, u"(x)(y)"_s, u"$ \\2\\1 \\d \\"_s, true, QString(), CleanupRule::Both, false},
                     {u"b"_s, u"$1\\1"_s, u"$2 \\"_s, false, u"a.txt"_s, CleanupRule::Titles, true}};
        QTest::newRow("odd texts") << Rules{{lone, lone, lone, false, lone, CleanupRule::Content, true}};
    }

    void rulesToJson_readsBackAsTheSame()
    {
        QFETCH(Rules, rules);
        const ReadCleanupRules read = RulesFromJson(RulesToJson(rules), u"a.json"_s);
        QCOMPARE(read.problem, QString());
        QCOMPARE(read.rules, rules);
    }

    // The members other programs read.
    void rulesToJson_writesTheSharedMembers()
    {
        const QJsonDocument written = QJsonDocument::fromJson(RulesToJson(SharedFileRules()));
        const QJsonObject expected{
            {u"name"_s, u"章节名去括号"_s}, {u"pattern"_s, u"【(.+?)】"_s}, {u"replacement"_s, u"$1"_s},
            {u"isRegex"_s, true},           {u"scope"_s, QString()},        {u"scopeTitle"_s, true},
            {u"scopeContent"_s, false},     {u"isEnabled"_s, true},         {u"order"_s, 2}};
        QCOMPARE(written.array().size(), 3);
        QCOMPARE(written.array()[2].toObject(), expected);
        QCOMPARE(written.array().at(1).toObject().value(u"scope"_s).toString(), u"山城旧事.txt"_s);
    }
};

FOLIVAR_TEST(CleanupRulesTest)
#include "CleanupRulesTest.moc"
