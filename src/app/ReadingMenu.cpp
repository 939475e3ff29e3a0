#include "app/ReadingMenu.h"

#include "app/ChapterEditingWiring.h"
#include "app/CleanupMenu.h"
#include "app/HighlightMenu.h"
#include "app/Log.h"
#include "app/MenuItem.h"
#include "core/ChapterJump.h"
#include "core/CustomRulePreview.h"
#include "session/ReadingSession.h"
#include "ui/ChapterJumpDialog.h"
#include "ui/ChapterRuleDialog.h"
#include "ui/ListWindow.h"
#include "ui/MessageStrip.h"
#include "ui/ModalDialog.h"
#include "ui/ReaderControls.h"

#include <QActionGroup>

namespace {

// A check mark that always shows the open book's choice: to a screen reader
// with the menu closed, after an opening failed, and after a choice was
// cancelled (a click on a checkable item checks it at once).
void CheckWithOpenBook(QAction *item, QMenu *menu, ReadingSession &session, std::function<bool()> chosen)
{
    item->setCheckable(true);
    const auto follow = [item, chosen = std::move(chosen)] { item->setChecked(chosen()); };
    QObject::connect(&session, &ReadingSession::bookShown, item, follow);
    QObject::connect(&session, &ReadingSession::openFailed, item, follow);
    QObject::connect(menu, &QMenu::aboutToShow, item, follow);
}

void FillEncodingMenu(QMenu *encodings, ReadingSession &session)
{
    const std::pair<const char *, std::optional<TextEncoding::Kind>> items[] = {
        {"自动检测", std::nullopt},           {"GB18030", TextEncoding::Gb18030},   {"UTF-8", TextEncoding::Utf8},
        {"UTF-16 LE", TextEncoding::Utf16LE}, {"UTF-16 BE", TextEncoding::Utf16BE}, {"Big5", TextEncoding::Big5}};
    auto *group = new QActionGroup(encodings);
    for (const auto &[text, kind] : items) {
        QAction *item = AddMenuItem(encodings, QString::fromUtf8(text),
                                    [&session, kind = kind] { session.Encoding().OnChooseEncoding(kind); });
        CheckWithOpenBook(item, encodings, session,
                          [&session, kind = kind] { return session.Encoding().Chosen() == kind; });
        group->addAction(item);
    }
}

// "自定义…": the dialog for an expression of the reader's own, opened with
// the book's own expression if it has one, previewing on the open book.
void OnEditCustomChapterRule(ReadingSession &session, QWidget *window)
{
    if (!session.HasBook())
        return;
    auto *dialog = new ChapterRuleDialog(session.RuleChoice().CustomPatternToOffer(), window);
    auto *preview = new CustomRulePreview(session.Book().BookText, dialog);
    QObject::connect(dialog, &ChapterRuleDialog::patternSettled, preview, &CustomRulePreview::Check);
    QObject::connect(preview, &CustomRulePreview::checked, dialog,
                     [dialog](const QString &checked, const CustomRuleCheck &check) {
                         qCInfo(lcApp) << "own chapter rule" << checked << "checked: finds" << check.found << "headings"
                                       << check.problem;
                         dialog->ShowCheck(checked, check.problem, check.found, check.firstTitles);
                     });
    ChapterRule chosen{ChapterRule::Custom, {}};
    if (RunModalDialog(dialog, [&](ChapterRuleDialog &confirmed) { chosen.pattern = confirmed.Pattern(); }))
        session.RuleChoice().OnChooseChapterRule(chosen);
}

void FillChapterRuleMenu(QMenu *rules, ReadingSession &session, QWidget *window)
{
    auto *group = new QActionGroup(rules);
    const auto addRule = [&](const QString &text, ChapterRule::Kind kind, std::function<void()> handler) {
        QAction *item = AddMenuItem(rules, text, std::move(handler));
        CheckWithOpenBook(item, rules, session, [&session, kind] { return session.Book().rule.kind == kind; });
        group->addAction(item);
    };
    ChapterRuleChoice &choice = session.RuleChoice();
    addRule(QStringLiteral("默认"), ChapterRule::Default, [&choice] { choice.OnChooseChapterRule({}); });
    addRule(QStringLiteral("严格（仅独立标题行）"), ChapterRule::Strict, [&choice] {
        choice.OnChooseChapterRule({ChapterRule::Strict, {}});
    });
    addRule(QStringLiteral("自定义…"), ChapterRule::Custom,
            [&session, window] { OnEditCustomChapterRule(session, window); });
}

// 跳转到章节…: the chapter asked for is shown and selected in the list.
void OnJumpToChapter(ReadingSession &session, QWidget *window)
{
    if (!session.HasBook())
        return;
    const OpenBook &book = session.Book();
    const int current = session.ShownChapter();
    const std::optional<int> chapter =
        AskChapterToJump(window, book.NumberedChapters(),
                         [&book, current](const QString &query) { return FindChapterToJump(book, query, current); });
    if (chapter)
        session.JumpToChapter(*chapter);
}

// 返回 and 前进, usable while there is a place to go to.
void AddJumpItems(QMenu *reading, JumpHistory &jumps)
{
    QAction *back = AddMenuItem(reading, QStringLiteral("返回"), [&jumps] { jumps.GoBack(); });
    back->setShortcut(Qt::ALT | Qt::Key_Left);
    QAction *forward = AddMenuItem(reading, QStringLiteral("前进"), [&jumps] { jumps.GoForward(); });
    forward->setShortcut(Qt::ALT | Qt::Key_Right);
    const auto follow = [back, forward, &jumps] {
        back->setEnabled(jumps.CanGoBack());
        forward->setEnabled(jumps.CanGoForward());
    };
    follow();
    QObject::connect(&jumps, &JumpHistory::changed, reading, follow);
}

// 自动滚动 and its speed keys; the strip below the pane tells the speed.
void AddAutoScrollItems(QMenu *reading, AutoScroll &scroll, MessageStrip &strip)
{
    QAction *toggle = AddMenuItem(reading, QStringLiteral("自动滚动"), [&scroll] { scroll.Toggle(); });
    toggle->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_A);
    toggle->setCheckable(true);
    QObject::connect(&scroll, &AutoScroll::runningChanged, toggle, &QAction::setChecked);
    AddMenuItem(reading, QStringLiteral("滚动加快"), [&scroll] {
        scroll.Faster();
    })->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_Up);
    AddMenuItem(reading, QStringLiteral("滚动减慢"), [&scroll] {
        scroll.Slower();
    })->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_Down);
    const auto tell = [&scroll, &strip] {
        if (scroll.IsRunning())
            strip.ShowMessage(QStringLiteral("自动滚动：每分钟 %1 行").arg(scroll.Speed()));
    };
    QObject::connect(&scroll, &AutoScroll::runningChanged, &strip, tell);
    QObject::connect(&scroll, &AutoScroll::speedChanged, &strip, tell);
}

} // namespace

void FillReadingMenu(QMenu *reading, ReadingSession &session, const ReaderControls &c)
{
    FindInBook &find = session.Find();
    AddMenuItem(reading, QStringLiteral("查找…"), [&c] {
        c.findWindow->ShowInFront();
    })->setShortcut(QKeySequence::Find);
    AddMenuItem(reading, QStringLiteral("查找下一个"), [&find] { find.OnFindAgain(1); })->setShortcut(Qt::Key_F3);
    AddMenuItem(reading, QStringLiteral("查找上一个"), [&find] {
        find.OnFindAgain(-1);
    })->setShortcut(Qt::SHIFT | Qt::Key_F3);
    reading->addSeparator();
    Bookmarks &marks = session.Marks();
    AddMenuItem(reading, QStringLiteral("添加书签"), [&marks] { marks.Add(); })->setShortcut(Qt::CTRL | Qt::Key_D);
    AddMenuItem(reading, QStringLiteral("书签…"), [&marks, &c] {
        marks.List();
        c.bookmarksWindow->ShowInFront();
    })->setShortcut(Qt::CTRL | Qt::Key_B);
    AddHighlightItems(reading, session, c);
    reading->addSeparator();
    FillEncodingMenu(reading->addMenu(QStringLiteral("编码")), session);
    FillChapterRuleMenu(reading->addMenu(QStringLiteral("章节规则")), session, c.mainWindow);
    AddCleanupItems(reading, session, c);
    reading->addSeparator();
    AddMenuItem(reading, QStringLiteral("跳转到章节…"), [&session, &c] {
        OnJumpToChapter(session, c.mainWindow);
    })->setShortcut(Qt::CTRL | Qt::Key_G);
    AddJumpItems(reading, session.Jumps());
    reading->addSeparator();
    AddAutoScrollItems(reading, session.Scrolling(), *c.标签_提示);
    reading->addSeparator();
    AddEditChapterItem(reading, session, c);
}
