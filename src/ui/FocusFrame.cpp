#include "ui/FocusFrame.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {
constexpr int kFrameWidth = 2;
} // namespace

FocusFrame::FocusFrame(QWidget *control) : QWidget(control)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(control->rect());
    setVisible(control->hasFocus());
    control->installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    else if (event->type() == QEvent::FocusIn)
        show(), raise();
    else if (event->type() == QEvent::FocusOut)
        hide();
    return false;
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    // The application's highlight, not the control's: the lists take the
    // reading colours, and the frame must show on light and dark alike.
    QPainter painter(this);
    painter.setPen(QPen(QApplication::palette().color(QPalette::Highlight), kFrameWidth));
    painter.drawRect(
        QRectF(rect()).adjusted(kFrameWidth / 2.0, kFrameWidth / 2.0, -kFrameWidth / 2.0, -kFrameWidth / 2.0));
}
