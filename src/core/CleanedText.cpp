#include "core/CleanedText.h"

#include <algorithm>

CleanedText::CleanedText(QString text) : shown_(std::move(text)), textLength_(shown_.size())
{
    if (!shown_.isEmpty())
        runs_.append({0, shown_.size(), 0, shown_.size(), true});
}

qsizetype CleanedText::RunAt(qsizetype shownPosition) const
{
    const auto run = std::partition_point(runs_.cbegin(), runs_.cend(), [shownPosition](const Run &r) {
        return r.shownStart + r.shownLength <= shownPosition;
    });
    return run - runs_.cbegin();
}

qsizetype CleanedText::TextPosition(qsizetype shownPosition) const
{
    const qsizetype i = RunAt(shownPosition);
    if (i >= runs_.size())
        return textLength_;
    const Run &run = runs_[i];
    return run.copied ? run.textStart + qMax(qsizetype(0), shownPosition - run.shownStart) : run.textStart;
}

qsizetype CleanedText::ShownPosition(qsizetype textPosition) const
{
    // The original stretches never go back, so the first run that reaches
    // past the position holds it, or stands where its deleted text was.
    const auto run = std::partition_point(runs_.cbegin(), runs_.cend(),
                                          [textPosition](const Run &r) { return r.textEnd <= textPosition; });
    if (run == runs_.cend())
        return shown_.size();
    if (run->copied && textPosition >= run->textStart)
        return run->shownStart + (textPosition - run->textStart);
    return run->shownStart;
}

// A match that begins inside an earlier replacement (not at its start) and
// one that ends inside it both take its original end, so that the stretches
// stay in order however rules cut through each other's replacements.
qsizetype CleanedText::TextStartOf(qsizetype shownPosition) const
{
    const qsizetype i = RunAt(shownPosition);
    if (i >= runs_.size())
        return textLength_;
    const Run &run = runs_[i];
    if (run.copied)
        return run.textStart + (shownPosition - run.shownStart);
    return shownPosition == run.shownStart ? run.textStart : run.textEnd;
}

qsizetype CleanedText::TextEndOf(qsizetype shownEnd) const
{
    const qsizetype i = RunAt(shownEnd - 1);
    if (i >= runs_.size())
        return textLength_;
    const Run &run = runs_[i];
    return run.copied ? run.textStart + (shownEnd - run.shownStart) : run.textEnd;
}

void CleanedText::AppendRuns(QList<Run> &runs, qsizetype from, qsizetype to, qsizetype &at) const
{
    for (qsizetype i = RunAt(from); i < runs_.size() && runs_[i].shownStart < to; ++i) {
        const Run &run = runs_[i];
        const qsizetype start = qMax(from, run.shownStart);
        const qsizetype end = qMin(to, run.shownStart + run.shownLength);
        Run piece = run;
        piece.shownStart = at;
        piece.shownLength = end - start;
        if (run.copied) {
            piece.textStart = run.textStart + (start - run.shownStart);
            piece.textEnd = piece.textStart + piece.shownLength;
        } else if (start != run.shownStart) {
            // The rest of a replacement a later rule cut into: its start
            // still stands for what it replaced, what follows the cut for
            // nothing more.
            piece.textStart = run.textEnd;
        }
        runs.append(piece);
        at += piece.shownLength;
    }
}

void CleanedText::Replace(const QList<Replacement> &replacements)
{
    if (replacements.isEmpty())
        return;
    QString shown;
    QList<Run> runs;
    qsizetype at = 0;
    qsizetype from = 0;
    for (const Replacement &replacement : replacements) {
        AppendRuns(runs, from, replacement.start, at);
        shown += QStringView(shown_).sliced(from, replacement.start - from);
        if (!replacement.with.isEmpty()) {
            const qsizetype textStart = TextStartOf(replacement.start);
            const qsizetype textEnd = replacement.end > replacement.start ? TextEndOf(replacement.end) : textStart;
            runs.append({at, replacement.with.size(), textStart, textEnd, false});
            at += replacement.with.size();
            shown += replacement.with;
        }
        from = replacement.end;
    }
    AppendRuns(runs, from, shown_.size(), at);
    shown += QStringView(shown_).sliced(from);
    shown_ = std::move(shown);
    runs_ = std::move(runs);
    changed_ = true;
}
