#pragma once
// The regular expression a 净化规则 runs, bounded: PCRE2 gives up on one
// match after five million steps of backtracking (some tens of milliseconds),
// so that a pattern that runs away on a chapter fails there instead of
// holding the window; the match then reads as invalid
// (QRegularExpressionMatch::isValid).
#include <QRegularExpression>

inline constexpr char kCleanupMatchLimit[] = "(*LIMIT_MATCH=5000000)";
// An error's offset in the expression is the pattern's own plus this.
inline constexpr int kCleanupLimitLength = int(sizeof kCleanupMatchLimit) - 1;

// Multi-line (^ and $ at each line), Unicode properties on.
QRegularExpression CleanupExpression(const QString &pattern);
