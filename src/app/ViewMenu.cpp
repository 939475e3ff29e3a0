#include "app/ViewMenu.h"

#include "app/MenuItem.h"
#include "app/WindowModes.h"
#include "core/Preferences.h"
#include "platform/DesktopAbilities.h"
#include "ui/EditBox.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenuBar>

namespace {

// A checkable item that sets a switch and shows it as the settings keep it.
QAction *AddSwitch(QMenu *menu, const QString &text, Preferences &preferences, bool Settings::*field,
                   std::function<void(bool)> set)
{
    QAction *item = menu->addAction(text);
    item->setCheckable(true);
    item->setChecked(preferences.Values().*field);
    QObject::connect(item, &QAction::triggered, menu, [set = std::move(set)](bool on) { set(on); });
    QObject::connect(&preferences, &Preferences::changed, item, [item, &preferences, field](SettingId id) {
        if (id == IdOf(field))
            item->setChecked(preferences.Values().*field);
    });
    return item;
}

void FillOpacityMenu(QMenu *opacity, WindowModes &modes, Preferences &preferences)
{
    auto *group = new QActionGroup(opacity);
    for (const int percent : WindowModes::kOpacities) {
        QAction *item =
            AddMenuItem(opacity, QStringLiteral("%1 %").arg(percent), [&modes, percent] { modes.SetOpacity(percent); });
        item->setCheckable(true);
        item->setChecked(percent == modes.Opacity());
        group->addAction(item);
    }
    opacity->addSeparator();
    QAction *page = AddSwitch(opacity, QStringLiteral("背景透明"), preferences, &Settings::backgroundSeeThrough,
                              [&modes](bool on) { modes.SetBackgroundSeeThrough(on); });
    page->setToolTip(DesktopShowsThroughWindows() ? QStringLiteral("简洁模式下只让页面透明，文字不透明")
                                                  : QStringLiteral("此桌面不能透出窗口的背景，透明度用于整个窗口"));
    opacity->setToolTipsVisible(true);
}

// In 简洁模式 the pane's right-click menu is the window's.
class SimpleWindowMenu : public QObject {
public:
    SimpleWindowMenu(EditBox &pane, WindowModes &modes, QMenu *menu) : QObject(&pane), modes_(modes), menu_(menu)
    {
        pane.installEventFilter(this);
        pane.viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ContextMenu || !modes_.IsSimple())
            return false;
        menu_->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }

private:
    WindowModes &modes_;
    QMenu *menu_;
};

// Hidden, the menu bar takes its items' keys with it; the window keeps them.
void KeepMenuKeys(QMainWindow &window, const QList<QAction *> &items)
{
    for (QAction *item : items) {
        if (!item->shortcut().isEmpty())
            window.addAction(item);
        if (item->menu())
            KeepMenuKeys(window, item->menu()->actions());
    }
}

} // namespace

void FillViewMenu(QMenu *view, WindowModes &modes, Preferences &preferences)
{
    AddSwitch(view, QStringLiteral("简洁模式"), preferences, &Settings::simpleMode, [&modes](bool on) {
        modes.SetSimple(on);
    })->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_M);
    QAction *onTop = AddSwitch(view, QStringLiteral("置顶"), preferences, &Settings::stayOnTop,
                               [&modes](bool on) { modes.SetStayOnTop(on); });
    if (!DesktopKeepsWindowsOnTop())
        onTop->setToolTip(QStringLiteral("此桌面自行决定窗口的前后次序，置顶可能无效"));
    view->setToolTipsVisible(true);
    FillOpacityMenu(view->addMenu(QStringLiteral("透明度")), modes, preferences);
    AddSwitch(view, QStringLiteral("鼠标移出时隐藏"), preferences, &Settings::hideOnLeave,
              [&modes](bool on) { modes.SetHideOnLeave(on); });
}

void GiveSimpleWindowItsMenu(QMainWindow &window, EditBox &pane, WindowModes &modes, QMenu *view,
                             const QList<QMenu *> &readingMenus)
{
    auto *menu = new QMenu(&pane);
    AddMenuItem(menu, QStringLiteral("退出简洁模式"), [&modes] { modes.SetSimple(false); });
    // 视图's own items after 简洁模式, the same actions.
    menu->addActions(view->actions().mid(1));
    menu->addSeparator();
    for (QMenu *reading : readingMenus)
        menu->addMenu(reading);
    new SimpleWindowMenu(pane, modes, menu);
    KeepMenuKeys(window, window.menuBar()->actions());
}
