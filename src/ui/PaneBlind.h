#pragma once
// 鼠标移出时隐藏: once the pointer has been out of the window for half a
// second, a blind of the page's own colour covers the text, so that only the
// page's background shows; it lifts as soon as the pointer comes back. It
// takes no focus and lets every click and wheel through.
#include <QTimer>
#include <QWidget>

class PaneBlind : public QWidget {
    Q_OBJECT

public:
    // Covers `page` (a pane's viewport) while the pointer is out of its window.
    explicit PaneBlind(QWidget &page);

    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }
    // Whether the text is covered now.
    bool IsDown() const { return isVisible(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget &page_;
    bool enabled_ = false;
    QTimer lowering_;
};
