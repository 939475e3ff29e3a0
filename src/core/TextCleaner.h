#pragma once
// The 净化规则 that clean one book, ready to run: the usable ones, enabled,
// meant for every book or for this one, in the order given. Cheap to copy;
// used on any thread, one call at a time per copy.
#include "core/CleanedText.h"
#include "core/CleanupRule.h"

#include <QList>
#include <QRegularExpression>

class TextCleaner {
public:
    // Cleans nothing.
    TextCleaner() = default;
    // The rules of `rules` that clean the book of file name `fileName`; a
    // rule RuleProblem finds fault with is left out.
    TextCleaner(const QList<CleanupRule> &rules, const QString &fileName);

    // Whether any rule works on that target.
    bool Cleans(CleanupRule::Target target) const;
    // `text` with each rule for `target` applied in turn to what the one
    // before left: every non-empty match replaced (a regular expression's
    // replacement may name its groups as $1 or \1; \$ and \\ are the
    // characters). A rule the engine gives up on in this text (it ran away)
    // is skipped here and added to `ranAway` when given.
    CleanedText Clean(const QString &text, CleanupRule::Target target, QList<CleanupRule> *ranAway = nullptr) const;

    // Where `rule` matches in `text` (empty matches aside), at most `most`
    // of them; `ranAway`, when given, tells whether the engine gave up.
    static QList<CleanedText::Replacement> Matches(const CleanupRule &rule, const QString &text, qsizetype most,
                                                   bool *ranAway = nullptr);

private:
    struct Ready {
        CleanupRule rule;
        QRegularExpression expression; // regular expressions only
    };
    static QList<CleanedText::Replacement> MatchesOf(const Ready &ready, const QString &text, qsizetype most,
                                                     bool *ranAway);

    QList<Ready> rules_;
};
