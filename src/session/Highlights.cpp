#include "session/Highlights.h"

#include "core/BookStore.h"
#include "session/ReadingSession.h"

#include <QDateTime>
#include <algorithm>

namespace {

constexpr qsizetype kExcerptLength = 30;
constexpr qsizetype kNoteLength = 40;

// The first characters of a text on one line, "…" where it was cut.
QString Shortened(const QString &text, qsizetype length)
{
    QString line = text.simplified();
    if (line.size() <= length)
        return line;
    line.truncate(length);
    return line + u'…';
}

void SortInBookOrder(QList<Highlight> &highlights)
{
    std::stable_sort(highlights.begin(), highlights.end(),
                     [](const Highlight &a, const Highlight &b) { return a.start < b.start; });
}

} // namespace

Highlights::Highlights(ReadingSession &session) : session_(session) {}

QList<Highlight> Highlights::InOrder() const
{
    QList<Highlight> kept;
    for (const Highlight &highlight : Stored()) {
        if (highlight.IsKept())
            kept.append(highlight);
    }
    SortInBookOrder(kept);
    return kept;
}

QList<Highlight> Highlights::Stored() const
{
    return session_.HasBook() ? session_.Store().Highlights(session_.Book().RecordKey()) : QList<Highlight>();
}

bool Highlights::CanHighlight(qsizetype from, qsizetype to) const
{
    const QString &shown = session_.ShownText();
    const bool inText = from >= 0 && from < to && to <= shown.size();
    return inText && session_.HasBook() && !session_.IsPreviewing() && session_.ShownChapter() >= 0
        && !session_.Editing().IsOpen() && !QStringView(shown).sliced(from, to - from).trimmed().isEmpty();
}

int Highlights::Add(qsizetype from, qsizetype to, HighlightColour colour, const QString &note)
{
    const OpenBook &book = session_.Book();
    const std::optional<TextRange> chapter = book.ChapterRange(session_.ShownChapter());
    if (!CanHighlight(from, to) || !chapter)
        return -1;
    const qsizetype start = qMin(chapter->start + session_.OwnPosition(from), chapter->end);
    const qsizetype end = qMin(chapter->start + session_.OwnPosition(to), chapter->end);
    if (end <= start)
        return -1;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const Highlight added{start, end, book.BookText.sliced(start, end - start), colour, note, now, now};
    QList<Highlight> highlights = Stored();
    highlights.append(added);
    Replace(highlights);
    return int(InOrder().indexOf(added));
}

int Highlights::At(qsizetype shownPosition) const
{
    const QList<Highlight> highlights = InOrder();
    int found = -1;
    for (const auto &[index, shown] : ShownWithIndices(highlights)) {
        const bool inside = shownPosition >= shown.position && shownPosition < shown.position + shown.length;
        if (inside && (found < 0 || highlights[index].created >= highlights[found].created))
            found = index;
    }
    return found;
}

void Highlights::SetNote(int index, const QString &note)
{
    Change(index, [&note](Highlight &highlight) { highlight.note = note; });
}

void Highlights::SetColour(int index, HighlightColour colour)
{
    Change(index, [colour](Highlight &highlight) { highlight.colour = colour; });
}

void Highlights::Remove(int index)
{
    Change(index, [](Highlight &highlight) { highlight.deleted = highlight.changed; });
}

void Highlights::Change(int index, const std::function<void(Highlight &)> &change)
{
    const QList<Highlight> kept = InOrder();
    if (index < 0 || index >= kept.size())
        return;
    QList<Highlight> highlights = Stored();
    for (Highlight &highlight : highlights) {
        if (highlight.IsKept() && highlight.IsSameAs(kept[index])) {
            highlight.changed = QDateTime::currentMSecsSinceEpoch();
            change(highlight);
            return Replace(highlights);
        }
    }
}

QList<ShownHighlight> Highlights::Shown() const
{
    QList<ShownHighlight> shown;
    for (const auto &[index, highlight] : ShownWithIndices(InOrder()))
        shown.append(highlight);
    return shown;
}

QList<std::pair<int, ShownHighlight>> Highlights::ShownWithIndices(const QList<Highlight> &highlights) const
{
    const OpenBook &book = session_.Book();
    const std::optional<TextRange> chapter = book.ChapterRange(session_.ShownChapter());
    QList<std::pair<int, ShownHighlight>> shown;
    if (!chapter || session_.Editing().IsOpen() || session_.IsPreviewing())
        return shown;
    for (int i = 0; i < int(highlights.size()); ++i) {
        const std::optional<TextRange> found = FindHighlightAgain(book.BookText, highlights[i]);
        if (!found || found->end <= chapter->start || found->start >= chapter->end)
            continue;
        const qsizetype start = session_.ShownPosition(qMax(found->start, chapter->start) - chapter->start);
        const qsizetype end = session_.ShownPosition(qMin(found->end, chapter->end) - chapter->start);
        if (end > start)
            shown.append({i, {start, end - start, highlights[i].colour}});
    }
    return shown;
}

void Highlights::List()
{
    const OpenBook &book = session_.Book();
    QStringList lines;
    for (const Highlight &highlight : InOrder()) {
        const std::optional<TextRange> found = FindHighlightAgain(book.BookText, highlight);
        const QString where = found ? book.ChapterTitle(book.ChapterAt(found->start)) : QStringLiteral("未找到");
        QString line =
            QStringLiteral("%1　%2　%3")
                .arg(where, HighlightColourName(highlight.colour), Shortened(highlight.text, kExcerptLength));
        if (!highlight.note.isEmpty())
            line += QStringLiteral("　笔记：") + Shortened(highlight.note, kNoteLength);
        lines.append(line);
    }
    Q_EMIT listChanged(lines, QStringLiteral("%1 条高亮").arg(lines.size()));
}

QList<ExportedHighlight> Highlights::Exported() const
{
    const OpenBook &book = session_.Book();
    QList<ExportedHighlight> exported;
    for (const Highlight &highlight : InOrder()) {
        const std::optional<TextRange> found = FindHighlightAgain(book.BookText, highlight);
        exported.append({found ? book.ChapterTitle(book.ChapterAt(found->start)) : QString(), highlight.text,
                         highlight.colour, highlight.note});
    }
    return exported;
}

void Highlights::OnPicked(int index)
{
    const QList<Highlight> highlights = InOrder();
    if (index < 0 || index >= highlights.size())
        return;
    const OpenBook &book = session_.Book();
    const std::optional<TextRange> found = FindHighlightAgain(book.BookText, highlights[index]);
    if (!found)
        return;
    const int chapter = book.ChapterAt(found->start);
    if (chapter != session_.ShownChapter()) {
        session_.Jumps().NoteJumpFromHere();
        session_.ShowChapter(chapter);
    }
    if (const std::optional<TextRange> range = book.ChapterRange(chapter))
        session_.SelectText(found->start - range->start, found->end - found->start);
}

void Highlights::Replace(const QList<Highlight> &highlights)
{
    session_.Store().PutHighlights(session_.Book().RecordKey(), highlights);
    ShowAgain();
}

void Highlights::ShowAgain()
{
    Q_EMIT changed();
    List();
}
