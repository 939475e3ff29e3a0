#include "platform/WindowHandle.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {

const char *const kHandleProperty = "folivarWindowHandle";

QHash<WindowHandle, QPointer<QWidget>> &HandleTable()
{
    static QHash<WindowHandle, QPointer<QWidget>> table;
    return table;
}

} // namespace

WindowHandle HandleOf(QWidget *widget)
{
    if (!widget)
        return 0;
    const QVariant stored = widget->property(kHandleProperty);
    if (stored.isValid())
        return stored.value<WindowHandle>();
    static WindowHandle lastHandle = 0;
    const WindowHandle handle = ++lastHandle;
    widget->setProperty(kHandleProperty, handle);
    HandleTable().insert(handle, widget);
    return handle;
}

QWidget *WidgetOf(WindowHandle handle)
{
    return HandleTable().value(handle).data();
}
