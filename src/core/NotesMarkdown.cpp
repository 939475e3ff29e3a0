#include "core/NotesMarkdown.h"

#include <QRegularExpression>

#include <optional>

namespace {

// A line as Markdown shows it as written: a backslash before what would
// start a heading, a quote, a list or a rule, and before characters that
// mark emphasis, code, links or HTML anywhere.
QString Escaped(const QString &line)
{
    static const QRegularExpression anywhere(QStringLiteral(R"(([\\`*_\[\]<>|]))"));
    static const QRegularExpression mark(QStringLiteral(R"(^(\s*)([#+\-=~]))"));
    static const QRegularExpression number(QStringLiteral(R"(^(\s*)(\d+)([.)]))"));
    QString escaped = line;
    escaped.replace(anywhere, QStringLiteral(R"(\\1)"));
    escaped.replace(mark, QStringLiteral(R"(\1\\2)"));
    return escaped.replace(number, QStringLiteral(R"(\1\2\\3)"));
}

QStringList Lines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return text.trimmed().split(lineEnd);
}

void AppendHighlight(QString &markdown, const ExportedHighlight &highlight)
{
    for (const QString &line : Lines(highlight.text))
        markdown +=
            line.trimmed().isEmpty() ? QStringLiteral(">\n") : QStringLiteral("> ") + Escaped(line.trimmed()) + u'\n';
    markdown += QStringLiteral("\n颜色：%1\n\n").arg(HighlightColourName(highlight.colour));
    if (highlight.note.trimmed().isEmpty())
        return;
    const QStringList note = Lines(highlight.note);
    markdown += QStringLiteral("笔记：");
    for (const QString &line : note)
        markdown += Escaped(line) + QStringLiteral("  \n");
    markdown += u'\n';
}

} // namespace

QString NotesMarkdown(const QString &bookName, const QList<ExportedHighlight> &highlights)
{
    QString markdown = QStringLiteral("# ") + Escaped(bookName) + QStringLiteral("\n\n");
    std::optional<QString> chapter;
    QList<ExportedHighlight> lost;
    for (const ExportedHighlight &highlight : highlights) {
        if (highlight.chapter.isEmpty()) {
            lost.append(highlight);
            continue;
        }
        if (highlight.chapter != chapter)
            markdown += QStringLiteral("## ") + Escaped(highlight.chapter.trimmed()) + QStringLiteral("\n\n");
        chapter = highlight.chapter;
        AppendHighlight(markdown, highlight);
    }
    if (!lost.isEmpty())
        markdown += QStringLiteral("## 未找到\n\n");
    for (const ExportedHighlight &highlight : std::as_const(lost))
        AppendHighlight(markdown, highlight);
    return markdown;
}
