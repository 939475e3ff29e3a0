#include "app/ViewBindings.h"

#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "ui/BusyCursor.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/ListWindow.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"
#include "ui/TrailingTextDelegate.h"

#include <QAction>
#include <QLineEdit>
#include <QShortcut>

#include <memory>
#include <optional>

namespace {

void BindAutoScroll(EditBox &pane, AutoScroll &scroll)
{
    QObject::connect(&scroll, &AutoScroll::slideRequested, &pane, &EditBox::SlideUpLines);
    QObject::connect(&scroll, &AutoScroll::slideEnded, &pane, &EditBox::StopSliding);
    QObject::connect(&pane, &EditBox::slidPastEnd, &scroll, &AutoScroll::OnSlidPastEnd);
    for (const auto userAct :
         {&EditBox::userPressedKey, &EditBox::userClicked, &EditBox::userTurnedWheel, &EditBox::hidden})
        QObject::connect(&pane, userAct, &scroll, &AutoScroll::Stop);
}

// What is typed narrows the book list; the highlight stays on the shelf's
// row, back in sight once the filter lets that book through again. Ctrl+L
// puts the keys in the field.
void BindBookFilter(QLineEdit &filter, ListBox &bookList, Shelf &shelf)
{
    QObject::connect(&filter, &QLineEdit::textChanged, &bookList, [&bookList, &shelf](const QString &text) {
        shelf.Shown().SetFilter(text);
        bookList.SetSelection(shelf.HighlightedRow());
    });
    auto *keys = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), filter.window());
    QObject::connect(keys, &QShortcut::activated, &filter, [&filter] {
        filter.setFocus(Qt::ShortcutFocusReason);
        filter.selectAll();
    });
}

} // namespace

void BindReadAloud(EditBox &pane, ReadAloud &aloud)
{
    QObject::connect(&aloud, &ReadAloud::markRequested, &pane, &EditBox::HighlightText);
    QObject::connect(&pane, &EditBox::typographyChanged, &aloud, &ReadAloud::OnTextReshown);
    for (const auto userAct : {&EditBox::userPressedKey, &EditBox::userTurnedWheel, &EditBox::userMovedScrollBar})
        QObject::connect(&pane, userAct, &aloud, &ReadAloud::Stop);
}

void BindPane(EditBox &pane, ReadingSession &session)
{
    QObject::connect(&session, &ReadingSession::textShown, &pane, &EditBox::SetText);
    QObject::connect(&session, &ReadingSession::scrollRequested, &pane, &EditBox::ScrollToTextPosition);
    QObject::connect(&session, &ReadingSession::scrollLinesRequested, &pane, &EditBox::ScrollLines);
    QObject::connect(&session, &ReadingSession::scrollToEndRequested, &pane, &EditBox::ScrollToEnd);
    QObject::connect(&session, &ReadingSession::selectionRequested, &pane, &EditBox::SelectText);
    QObject::connect(&pane, &EditBox::topLineChanged, &session, &ReadingSession::OnTopLineMoved);
    QObject::connect(&pane, &EditBox::keyReleased, &session, &ReadingSession::OnContentKeyUp);
    QObject::connect(&pane, &EditBox::pagedPastText, &session, &ReadingSession::OnContentPagedPast);
    BindAutoScroll(pane, session.Scrolling());
    BindReadAloud(pane, session.Aloud());
}

void BindChapterList(ListBox &chapterList, ReadingSession &session)
{
    chapterList.SetModel(&session.Chapters());
    QObject::connect(&session, &ReadingSession::shownChapterChanged, &chapterList, &ListBox::SetSelection);
    QObject::connect(&chapterList, &ListBox::userSelectionChanged, &session, &ReadingSession::OnChapterSelected);
    QObject::connect(&chapterList, &ListBox::keyReleased, &session, &ReadingSession::OnChapterListKeyUp);
    auto *restore = new QAction(QStringLiteral("恢复删除的标题"), &chapterList);
    chapterList.addAction(restore);
    chapterList.setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(restore, &QAction::triggered, &session, &ReadingSession::OnRestoreRemovedHeadings);
}

void BindBookList(const ReaderControls &controls, ReadingSession &session)
{
    Shelf &shelf = session.BookShelf();
    ListBox &bookList = *controls.列表框_文件;
    bookList.SetModel(&shelf.Books(), &shelf.Shown());
    bookList.setItemDelegate(new TrailingTextDelegate(BookListModel::kProgressRole, &bookList));
    BindBookFilter(*controls.bookFilter, bookList, shelf);
    QObject::connect(&shelf, &Shelf::highlightChanged, &bookList, &ListBox::SetSelection);
    QObject::connect(&bookList, &ListBox::userSelectionChanged, &session, &ReadingSession::OnBookSelected);
    QObject::connect(&shelf, &Shelf::directoryChanged, controls.编辑框_路径, &QLineEdit::setText);
    NotifyLabel &statusLabel = *controls.标签_状态显示;
    QObject::connect(&shelf, &Shelf::loadProgress, &statusLabel,
                     [&statusLabel](int percentage) { OnLoadProgress(statusLabel, percentage); });
    auto busy = std::make_shared<std::optional<BusyCursor>>();
    QObject::connect(&shelf, &Shelf::loadingChanged, &bookList, [busy](bool loading) {
        if (loading && !*busy)
            busy->emplace();
        else if (!loading)
            busy->reset();
    });
}

void BindListWindows(const ReaderControls &controls, ReadingSession &session)
{
    ListWindow &findWindow = *controls.findWindow;
    FindInBook &find = session.Find();
    QObject::connect(&findWindow, &ListWindow::termEntered, &find, &FindInBook::OnSearch);
    QObject::connect(&findWindow, &ListWindow::itemPicked, &find, &FindInBook::OnHitPicked);
    QObject::connect(&find, &FindInBook::resultsChanged, &findWindow, &ListWindow::SetItems);
    QObject::connect(&find, &FindInBook::windowAsked, &findWindow, &ListWindow::ShowInFront);
    ListWindow &bookmarksWindow = *controls.bookmarksWindow;
    Bookmarks &marks = session.Marks();
    QObject::connect(&bookmarksWindow, &ListWindow::itemPicked, &marks, &Bookmarks::OnPicked);
    QObject::connect(&bookmarksWindow, &ListWindow::itemDeleteRequested, &marks, &Bookmarks::OnDeleted);
    QObject::connect(&marks, &Bookmarks::listChanged, &bookmarksWindow, &ListWindow::SetItems);
}

void OnLoadProgress(NotifyLabel &statusLabel, int percentage)
{
    statusLabel.SetCaption(percentage == 100 ? QStringLiteral("载入完成")
                                             : QStringLiteral("已载入%1%").arg(percentage));
}
