#pragma once
// Cutting a text into the sentences 朗读 speaks one at a time.
#include <QList>
#include <QStringView>

// A stretch of a text: `length` characters from `position`.
struct TextSpan {
    qsizetype position = 0;
    qsizetype length = 0;
    friend bool operator==(const TextSpan &, const TextSpan &) = default;
};

// Sentences longer than this are cut again after a comma or semicolon.
inline constexpr qsizetype kLongestSentence = 120;

// The sentences of `text`, in order. A sentence ends after a run of 。！？…
// (and their half- and full-width forms) or at a line end, and keeps the
// closing quotes and brackets that follow its end. Blanks around a sentence
// (spaces, U+3000, CR, LF) are not part of it, and a stretch of blanks alone
// is no sentence. A sentence longer than kLongestSentence is cut after the
// last ，；,; that keeps its first piece within that length (or, lacking one,
// after the first one past it), again and again.
QList<TextSpan> SplitSentences(QStringView text);
