#pragma once
// 阅读 > 章节规则: the rule that cuts the open book into chapters, chosen per
// book and kept in its record.
#include "core/ChapterRules.h"

class ReadingSession;

class ChapterRuleChoice {
public:
    explicit ChapterRuleChoice(ReadingSession &session) : session_(session) {}

    // "默认" and "严格（仅独立标题行）", and a confirmed "自定义…": cuts the
    // open book by the rule and remembers the rule for it. The reader stays
    // where they are: the new chapter that holds the start of the one shown
    // is shown, with the line that was on top still on top when it lies in
    // that chapter. Does nothing without a book on screen.
    void OnChooseChapterRule(const ChapterRule &rule);
    // The expression "自定义…" offers first: the book's own, or an example
    // for a book that has none.
    QString CustomPatternToOffer() const;

private:
    ReadingSession &session_;
};
