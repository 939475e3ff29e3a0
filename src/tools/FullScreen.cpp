#include "tools/FullScreen.h"

#include <QEvent>
#include <QWidget>

namespace {

// Remembers the window's size before full screen and puts it back if the
// first size the window gets on leaving full screen is another one: Qt's
// Wayland platform at times takes the decorations off that size twice, and
// each round trip would shrink the window.
class NormalSize : public QObject {
    Q_OBJECT

public:
    explicit NormalSize(QWidget &window) : QObject(&window), window_(window) {}

    static NormalSize &Of(QWidget &window)
    {
        auto *kept = window.findChild<NormalSize *>(QString(), Qt::FindDirectChildrenOnly);
        return kept ? *kept : *new NormalSize(window);
    }

    void Remember() { size_ = window_.size(); }

    void PutBackOnNextResize() { window_.installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Resize || window_.isFullScreen())
            return false;
        window_.removeEventFilter(this);
        if (size_.isValid() && window_.size() != size_)
            QMetaObject::invokeMethod(
                this, [this] { window_.resize(size_); }, Qt::QueuedConnection);
        return false;
    }

private:
    QWidget &window_;
    QSize size_;
};

} // namespace

void OnToggleFullScreen(QWidget &window)
{
    if (window.isFullScreen()) {
        OnLeaveFullScreen(window);
        return;
    }
    NormalSize::Of(window).Remember();
    window.showFullScreen();
}

void OnLeaveFullScreen(QWidget &window)
{
    if (!window.isFullScreen())
        return;
    NormalSize::Of(window).PutBackOnNextResize();
    window.showNormal();
}

#include "FullScreen.moc"
