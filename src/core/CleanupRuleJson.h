#pragma once
// 净化规则 as the JSON file readers share them in: an array of objects
//
//     [{"name":"去广告","pattern":"本章未完.*","replacement":"","isRegex":true,
//       "scope":"","scopeTitle":false,"scopeContent":true,"isEnabled":true,"order":0}]
//
// "scope" empty or absent means every book, else the file name of the one book
// it cleans; "scopeTitle"/"scopeContent" say whether it works on the chapter
// titles and on the text (both when absent); "isRegex" is false and
// "isEnabled" true when absent. Other members, which such files carry, are
// skipped. A regular expression's replacement names its groups as $1, $2 in
// the file (where this program writes \1, \2) and a plain "$" as "\$".
#include "core/CleanupRule.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct ReadCleanupRules {
    // In the order of their "order" (absent: their place in the file); rules
    // of equal order as the file lists them.
    QList<CleanupRule> rules;
    // Why nothing of the file can be taken, in a line for the user naming the
    // file (and the rule, by its name or its place); empty when it was read.
    QString problem;
};

// Reads a whole file of rules, or none of it: text that is not JSON, not an
// array of objects, a member of the wrong type, or a rule that cannot be used
// (RuleProblem) refuses the file.
ReadCleanupRules RulesFromJson(const QByteArray &json, const QString &fileName);

// The rules in that format, indented (UTF-8), "order" their place in the list.
QByteArray RulesToJson(const QList<CleanupRule> &rules);

// `imported` after `own`; one whose name is taken (by an earlier rule of
// either) gets " (2)" added, or " (3)" ..., the first that is free. No rule
// of `own` changes.
QList<CleanupRule> AddImported(const QList<CleanupRule> &own, const QList<CleanupRule> &imported);
