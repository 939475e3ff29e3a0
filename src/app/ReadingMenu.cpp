#include "app/ReadingMenu.h"

#include "app/BookEncoding.h"
#include "app/Bookmarks.h"
#include "app/ChapterRuleChoice.h"
#include "app/MenuItem.h"
#include "app/ReaderState.h"
#include "reader/BookFind.h"
#include "ui/ReaderControls.h"

#include <QActionGroup>

namespace {

void FillEncodingMenu(QMenu *encodings, ReaderState &state, const ReaderControls &c)
{
    const std::pair<const char *, std::optional<TextEncoding::Kind>> items[] = {
        {"自动检测", std::nullopt},           {"GB18030", TextEncoding::Gb18030},   {"UTF-8", TextEncoding::Utf8},
        {"UTF-16 LE", TextEncoding::Utf16LE}, {"UTF-16 BE", TextEncoding::Utf16BE}, {"Big5", TextEncoding::Big5}};
    auto *group = new QActionGroup(encodings);
    for (const auto &[text, kind] : items) {
        QAction *item = AddMenuItem(encodings, QString::fromUtf8(text),
                                    [&state, &c, kind = kind] { OnChooseEncoding(state, c, kind); });
        item->setCheckable(true);
        group->addAction(item);
        // The check mark follows the open book.
        QObject::connect(encodings, &QMenu::aboutToShow, item,
                         [&state, item, kind = kind] { item->setChecked(ChosenEncodingOfOpenBook(state) == kind); });
    }
}

void FillChapterRuleMenu(QMenu *rules, ReaderState &state, const ReaderControls &c)
{
    auto *group = new QActionGroup(rules);
    const auto addRule = [&](const QString &text, ChapterRule::Kind kind, std::function<void()> handler) {
        QAction *item = AddMenuItem(rules, text, std::move(handler));
        item->setCheckable(true);
        group->addAction(item);
        QObject::connect(rules, &QMenu::aboutToShow, item,
                         [&state, item, kind] { item->setChecked(state.book.rule.kind == kind); });
    };
    addRule(QStringLiteral("默认"), ChapterRule::Default, [&state, &c] { OnChooseChapterRule(state, c, {}); });
    addRule(QStringLiteral("严格（仅独立标题行）"), ChapterRule::Strict, [&state, &c] {
        OnChooseChapterRule(state, c, {ChapterRule::Strict, {}});
    });
    addRule(QStringLiteral("自定义…"), ChapterRule::Custom, [&state, &c] { OnEditCustomChapterRule(state, c); });
}

} // namespace

void FillReadingMenu(QMenu *reading, ReaderState &state, const ReaderControls &c)
{
    AddMenuItem(reading, QStringLiteral("查找…"), [&c] { OnFind(*c.findWindow); })->setShortcut(QKeySequence::Find);
    AddMenuItem(reading, QStringLiteral("查找下一个"), [&state, &c] {
        OnFindAgain(state.book, state.find, *c.findWindow, *c.列表框_章节, *c.编辑框_内容, 1);
    })->setShortcut(Qt::Key_F3);
    AddMenuItem(reading, QStringLiteral("查找上一个"), [&state, &c] {
        OnFindAgain(state.book, state.find, *c.findWindow, *c.列表框_章节, *c.编辑框_内容, -1);
    })->setShortcut(Qt::SHIFT | Qt::Key_F3);
    reading->addSeparator();
    AddMenuItem(reading, QStringLiteral("添加书签"), [&state, &c] {
        OnAddBookmark(state, c);
    })->setShortcut(Qt::CTRL | Qt::Key_D);
    AddMenuItem(reading, QStringLiteral("书签…"), [&state, &c] {
        OnShowBookmarks(state, c);
    })->setShortcut(Qt::CTRL | Qt::Key_B);
    reading->addSeparator();
    FillEncodingMenu(reading->addMenu(QStringLiteral("编码")), state, c);
    FillChapterRuleMenu(reading->addMenu(QStringLiteral("章节规则")), state, c);
}
