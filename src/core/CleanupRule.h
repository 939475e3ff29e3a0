#pragma once
// A 净化规则: what the reader wants gone from, or changed in, the text a book
// shows (a site's ads, "本章未完" lines, a typo). Rules only change what is
// shown; the book file and every place kept stay the book's own text.
#include <QList>
#include <QString>

struct CleanupRule {
    // What the rule works on: the chapter's text in the pane, the chapter
    // titles as listed, or both.
    enum Target { Content = 1, Titles = 2, Both = Content | Titles };

    QString name;
    // Plain text, or a regular expression (PCRE, as the chapter rules take
    // it) when isRegex.
    QString pattern;
    // What each match becomes; empty deletes it. A regular expression's
    // replacement names its groups as shared rule files do, $1 ... $9 (\1
    // too), and \$ and \\ stand for those characters.
    QString replacement;
    bool isRegex = false;
    // Empty: every book; else the file name of the one book it cleans.
    QString scope;
    Target target = Both;
    bool enabled = true;

    bool operator==(const CleanupRule &) const = default;
    // Whether it cleans the book of that file name.
    bool Cleans(const QString &fileName) const { return scope.isEmpty() || scope == fileName; }
};

// Why the rule cannot be used, in a line for the user: an empty pattern, a
// regular expression the engine refuses (its message, and where), or one that
// can match empty text; empty when it can be used.
QString RuleProblem(const CleanupRule &rule);
