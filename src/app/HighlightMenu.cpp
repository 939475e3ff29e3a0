#include "app/HighlightMenu.h"

#include "app/MenuItem.h"
#include "core/NotesMarkdown.h"
#include "core/SafeFile.h"
#include "session/ReadingSession.h"
#include "ui/EditBox.h"
#include "ui/ListWindow.h"
#include "ui/MessageStrip.h"
#include "ui/NoteDialog.h"
#include "ui/ReaderControls.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>
#include <QStandardPaths>

namespace {

constexpr HighlightColour kColours[] = {HighlightColour::Yellow, HighlightColour::Green, HighlightColour::Blue,
                                        HighlightColour::Pink};

void MarkShownHighlights(EditBox &pane, const Highlights &highlights)
{
    QList<EditBox::Mark> marks;
    for (const ShownHighlight &shown : highlights.Shown())
        marks.append({shown.position, shown.length, HighlightBackground(shown.colour)});
    pane.SetMarks(marks);
}

// A submenu with the four colours, each calling `chosen` with its own.
void AddColourMenu(QMenu *menu, const QString &title, const std::function<void(HighlightColour)> &chosen)
{
    QMenu *colours = menu->addMenu(title);
    for (const HighlightColour colour : kColours)
        AddMenuItem(colours, HighlightColourName(colour), [chosen, colour] { chosen(colour); });
}

// 高亮 and 添加笔记… for the selection [from, to) of the pane, which reads
// `selected`.
void AddSelectionItems(QMenu *menu, Highlights &highlights, QWidget *window, std::pair<qsizetype, qsizetype> range,
                       const QString &selected)
{
    AddColourMenu(menu, QStringLiteral("高亮"),
                  [&highlights, range](HighlightColour colour) { highlights.Add(range.first, range.second, colour); });
    AddMenuItem(menu, QStringLiteral("添加笔记…"), [&highlights, window, range, selected] {
        if (const std::optional<QString> note = AskNote(window, QStringLiteral("添加笔记"), selected, {}))
            highlights.Add(range.first, range.second, HighlightColour::Yellow, *note);
    });
}

// 修改笔记…, 改颜色 and 删除 for the highlight `index`.
void AddHighlightedItems(QMenu *menu, Highlights &highlights, QWidget *window, int index)
{
    AddMenuItem(menu, QStringLiteral("修改笔记…"), [&highlights, window, index] {
        const QList<Highlight> all = highlights.InOrder();
        if (index >= all.size())
            return;
        if (const std::optional<QString> note =
                AskNote(window, QStringLiteral("修改笔记"), all[index].text, all[index].note))
            highlights.SetNote(index, *note);
    });
    AddColourMenu(menu, QStringLiteral("改颜色"),
                  [&highlights, index](HighlightColour colour) { highlights.SetColour(index, colour); });
    AddMenuItem(menu, QStringLiteral("删除"), [&highlights, index] { highlights.Remove(index); });
}

// The pane's own menu (复制, 全选) under the highlight items that fit where
// the user clicked.
void ShowContextMenu(EditBox &pane, Highlights &highlights, QWidget *window, QPoint at)
{
    QMenu *menu = pane.createStandardContextMenu(at);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *standard = menu->actions().value(0);
    auto *ours = new QMenu(menu);
    const std::pair<qsizetype, qsizetype> selection = pane.SelectedRange();
    if (highlights.CanHighlight(selection.first, selection.second)) {
        const QString selected = pane.textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n');
        AddSelectionItems(ours, highlights, window, selection, selected);
    }
    if (const int index = highlights.At(pane.TextPositionAt(at)); index >= 0)
        AddHighlightedItems(ours, highlights, window, index);
    if (!ours->actions().isEmpty()) {
        menu->insertActions(standard, ours->actions());
        menu->insertSeparator(standard);
    }
    menu->popup(pane.viewport()->mapToGlobal(at));
}

// 导出 Markdown…: the open book's highlights written to a .md file the user
// names; the strip below the pane tells where, or why not.
void ExportMarkdown(ReadingSession &session, QWidget *window, MessageStrip &strip)
{
    if (!session.HasBook())
        return;
    const QFileInfo book(session.Book().fileName);
    const QString suggested = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                                  .filePath(book.completeBaseName() + QStringLiteral(" 笔记.md"));
    const QString path = QFileDialog::getSaveFileName(window, QStringLiteral("导出 Markdown"), suggested,
                                                      QStringLiteral("Markdown (*.md)"));
    if (path.isEmpty())
        return;
    const QString markdown = NotesMarkdown(book.completeBaseName(), session.Highlighted().Exported());
    if (ReplaceFile(path, markdown.toUtf8()))
        strip.ShowMessage(QStringLiteral("笔记已导出到 %1").arg(QDir::toNativeSeparators(path)));
    else
        strip.ShowMessage(QStringLiteral("无法写入 %1，笔记没有导出").arg(QDir::toNativeSeparators(path)));
}

} // namespace

QColor HighlightBackground(HighlightColour colour)
{
    constexpr int kSeenThrough = 150;
    switch (colour) {
    case HighlightColour::Green:
        return {96, 200, 96, kSeenThrough};
    case HighlightColour::Blue:
        return {80, 160, 255, kSeenThrough};
    case HighlightColour::Pink:
        return {255, 110, 170, kSeenThrough};
    case HighlightColour::Yellow:
        break;
    }
    return {255, 215, 0, kSeenThrough};
}

void BindHighlights(const ReaderControls &controls, ReadingSession &session)
{
    EditBox &pane = *controls.编辑框_内容;
    Highlights &highlights = session.Highlighted();
    const auto mark = [&pane, &highlights] { MarkShownHighlights(pane, highlights); };
    QObject::connect(&session, &ReadingSession::textShown, &pane, mark);
    QObject::connect(&highlights, &Highlights::changed, &pane, mark);
    pane.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&pane, &QWidget::customContextMenuRequested, &pane,
                     [&pane, &highlights, window = controls.mainWindow](QPoint at) {
                         ShowContextMenu(pane, highlights, window, at);
                     });
    ListWindow &notesWindow = *controls.notesWindow;
    QObject::connect(&notesWindow, &ListWindow::itemPicked, &highlights, &Highlights::OnPicked);
    QObject::connect(&notesWindow, &ListWindow::itemDeleteRequested, &highlights, &Highlights::OnDeleted);
    QObject::connect(&highlights, &Highlights::listChanged, &notesWindow, &ListWindow::SetItems);
    QObject::connect(
        notesWindow.AddButton(QStringLiteral("导出 Markdown…")), &QPushButton::clicked, &notesWindow,
        [&session, &notesWindow, &strip = *controls.标签_提示] { ExportMarkdown(session, &notesWindow, strip); });
}

void AddHighlightItems(QMenu *reading, ReadingSession &session, const ReaderControls &c)
{
    AddMenuItem(reading, QStringLiteral("高亮"), [&session, &pane = *c.编辑框_内容] {
        const auto [from, to] = pane.SelectedRange();
        session.Highlighted().Add(from, to, HighlightColour::Yellow);
    })->setShortcut(Qt::CTRL | Qt::Key_H);
    AddMenuItem(reading, QStringLiteral("笔记…"), [&session, &c] {
        session.Highlighted().List();
        c.notesWindow->ShowInFront();
    })->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_N);
}
