#include "app/BookOrderMenu.h"

#include "app/MenuItem.h"
#include "core/Preferences.h"
#include "session/ReadingSession.h"
#include "shelf/Shelf.h"
#include "ui/ListBox.h"

#include <QActionGroup>

namespace {

struct OrderItem {
    const char *text;
    BookOrder order;
};

// In the order of BookOrder's numbers.
constexpr OrderItem kOrderItems[] = {
    {"按名称", BookOrder::Name},
    {"按最近阅读", BookOrder::LastRead},
    {"按文件大小", BookOrder::Size},
    {"按添加时间", BookOrder::Added},
};

} // namespace

void AddBookOrderMenu(QMenu *file, ListBox &bookList, ReadingSession &session)
{
    Preferences &preferences = session.Prefs();
    ShownBooks &shown = session.BookShelf().Shown();
    QMenu *menu = file->addMenu(QStringLiteral("排序"));
    auto *group = new QActionGroup(menu);
    for (const OrderItem &item : kOrderItems) {
        QAction *action = AddMenuItem(menu, QString::fromUtf8(item.text), [&preferences, order = item.order] {
            preferences.Set(&Settings::bookOrder, int(order));
        });
        action->setCheckable(true);
        group->addAction(action);
        bookList.addAction(action);
    }
    bookList.setContextMenuPolicy(Qt::ActionsContextMenu);
    const auto follow = [&preferences, &shown, group] {
        const BookOrder order = BookOrderFrom(preferences.Values().bookOrder);
        shown.SetOrder(order);
        group->actions().at(int(order))->setChecked(true);
    };
    QObject::connect(&preferences, &Preferences::changed, menu, [follow](SettingId id) {
        if (id == IdOf(&Settings::bookOrder))
            follow();
    });
    follow();
}
