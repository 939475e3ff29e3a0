#include "ui/PaneBlind.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int kLowerAfterMs = 500;

} // namespace

PaneBlind::PaneBlind(QWidget &page) : QWidget(&page), page_(page)
{
    setObjectName(QStringLiteral("blind"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    lowering_.setSingleShot(true);
    lowering_.setInterval(kLowerAfterMs);
    connect(&lowering_, &QTimer::timeout, this, [this] {
        setGeometry(page_.rect());
        show();
        raise();
    });
    page_.installEventFilter(this);
    page_.window()->installEventFilter(this);
}

void PaneBlind::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    lowering_.stop();
    hide();
    if (enabled && !page_.window()->underMouse())
        lowering_.start();
}

bool PaneBlind::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &page_ && event->type() == QEvent::Resize)
        setGeometry(page_.rect());
    if (watched != page_.window() || !enabled_)
        return false;
    if (event->type() == QEvent::Leave) {
        lowering_.start();
    } else if (event->type() == QEvent::Enter) {
        lowering_.stop();
        hide();
    }
    return false;
}

void PaneBlind::paintEvent(QPaintEvent *)
{
    // Replaces what is below, so that a page seen through stays as clear as it is.
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), page_.palette().color(QPalette::Base));
}
