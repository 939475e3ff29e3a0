#include "ui/FilterField.h"

#include <QKeyEvent>

namespace {

bool IsPlainEscape(const QKeyEvent &key)
{
    return key.key() == Qt::Key_Escape && key.modifiers() == Qt::NoModifier;
}

} // namespace

// No clear button: Esc clears the field, and with Qt's button in the window
// a question opened later did not take the keyboard under X without a window
// manager.
FilterField::FilterField(const QString &placeholder, QWidget *parent) : QLineEdit(parent)
{
    setPlaceholderText(placeholder);
}

// A shortcut would take Esc before the field sees it; the field claims it
// while it has something to clear.
bool FilterField::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && !text().isEmpty()
        && IsPlainEscape(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FilterField::keyPressEvent(QKeyEvent *event)
{
    if (IsPlainEscape(*event) && !text().isEmpty()) {
        clear();
        return event->accept();
    }
    QLineEdit::keyPressEvent(event);
}
