#pragma once
// The rules that cut a book into chapters: the designed pattern (默认), a
// strict one that takes only whole heading lines (严格), or an expression of
// the reader's own (自定义). Each book keeps the rule chosen for it.
#include "core/ChapterHeadings.h"

#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>

struct ChapterRule {
    enum Kind { Default, Strict, Custom };
    Kind kind = Default;
    // The reader's expression, for Custom only.
    QString pattern;

    // Tells rules apart: "", "strict", "custom:" and the expression.
    QString Key() const;
    // The rule a key stands for; the default one for any unknown key.
    static ChapterRule FromKey(const QString &key);
    bool operator==(const ChapterRule &) const = default;
};

// The strict rule: a heading is a whole line of at most 40 characters,
// indented or not (space, tab, U+3000): 第, one to twelve numerals (Chinese,
// formal, ASCII or full-width digits; blanks around them), then 章, 回, 卷,
// 节, 集 or 部 and the rest of the line; or a line that starts with 序章,
// 楔子, 引子, 序言, 前言, 后记, 尾声, 番外 or 终章; or a numbered section such as
// 一、概述. Compiled once per process, multi-line.
const QRegularExpression &StrictChapterPattern();

// How long the strict rule and a custom expression may search a book.
inline constexpr std::chrono::milliseconds kChapterSearchTimeLimit = std::chrono::seconds(2);

// Every heading the rule finds in the text, in book order, at most one a
// line: each from where the rule matched (the strict rule leaves indentation
// out) to the end of its line, its CR included. A custom expression that the
// engine cannot use, or a strict or custom search still running at
// `deadline`, finds the headings it had found by then (logged; `outOfTime`,
// when given, tells the latter).
//
// Positions count from the start of `text`, which may be a stretch of a book
// that starts at a line start: the default and the strict rule find there
// just what they find in those lines of the whole book, as their headings
// never reach over a line end. A custom expression may, and needs the whole.
QList<ChapterHeading> FindHeadingsByRule(QStringView text, const ChapterRule &rule,
                                         QDeadlineTimer deadline = QDeadlineTimer(kChapterSearchTimeLimit),
                                         bool *outOfTime = nullptr);

// What a reader's own expression makes of a text, for its preview.
struct CustomRuleCheck {
    // Empty when the expression may be used; else why not.
    QString problem;
    int found = 0;
    QStringList firstTitles; // the first 20, without line ends
};

// Checks an expression (Qt/PCRE2 syntax, multi-line, matched per line): the
// engine must take it (else its own message), it must never match an empty
// string, and it must find its headings within `timeLimit` without the
// engine giving up (catastrophic backtracking). Stops early, with no problem
// named, when `cancel` becomes true.
CustomRuleCheck CheckCustomRule(const QString &pattern, const QString &text, std::chrono::milliseconds timeLimit,
                                const std::atomic_bool &cancel);
