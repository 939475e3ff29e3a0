#pragma once
// Small positive integers that name widgets, in place of native window
// handles. Zero and negative values are never handed out, so callers may use
// them as codes of their own.
#include <QtGlobal>

class QWidget;

using WindowHandle = qint32;

// The handle of a widget; the same widget always gets the same handle.
WindowHandle HandleOf(QWidget *widget);

// The widget a handle names, or nullptr once it is gone or was never given out.
QWidget *WidgetOf(WindowHandle handle);
