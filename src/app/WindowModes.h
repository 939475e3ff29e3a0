#pragma once
// The window's modes and where it stands, kept in config.ini's [窗口]:
// 简洁模式 (the pane alone, no frame, menu bar, lists or strip; moved and
// sized through the text), 置顶, 透明度 with 背景透明, 鼠标移出时隐藏, and the
// place and size of each mode, remembered as the user leaves them and given
// back at the next start. The values live in the settings object; this
// applies them to the window.
#include "platform/WindowSystem.h"

#include <QObject>
#include <QRect>

#include <optional>

class PaneBlind;
class QMainWindow;
class WindowGrip;
struct ReaderControls;
struct ReaderServices;

class WindowModes : public QObject {
    Q_OBJECT

public:
    WindowModes(QMainWindow &window, const ReaderControls &controls, ReaderServices &services);

    // Before the window first shows: 置顶, 透明度 and 鼠标移出时隐藏 as remembered.
    void AdoptRemembered();
    // Once the layouts are registered for the full window: 简洁模式 when it
    // was left in it, the remembered place and size of the mode, kept on the
    // screens there are now (WindowPlacement.h), or `designedFrame` (frame
    // included) when none is remembered, and full screen when it was left
    // so. From then on every move and resize of the window is remembered.
    void PlaceRemembered(const QRect &designedFrame);

    // The menu items' handlers. Leaving 简洁模式 gives back the full window as
    // it was, at its own place and size.
    void SetSimple(bool on);
    void SetStayOnTop(bool on);
    // One of kOpacities; another percentage is taken as 100.
    void SetOpacity(int percent);
    void SetBackgroundSeeThrough(bool on);
    void SetHideOnLeave(bool on);

    // The modes as the settings keep them; Opacity() is always one of kOpacities.
    bool IsSimple() const;
    int Opacity() const;

    static constexpr int kOpacities[] = {100, 90, 80, 70, 50, 30};

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Remember();
    // `onScreensNow`: a remembered place is kept on the screens there are now,
    // as at a start; within a run each mode goes back exactly where it was.
    void Arrange(bool simple, bool onScreensNow);
    void ShowOnlyThePane(bool on);
    void GiveBackTheFullWindow();
    void ApplyFlags();
    void ApplyOpacity();
    void SeeThroughPage(int percent);
    void FitPaneToWindow();
    // Where each mode puts the window: its place and its size inside the frame.
    QRect SimpleRect(bool onScreensNow) const;
    QRect NormalRect(bool onScreensNow) const;
    QRect PlaceOf(const std::optional<WindowRect> &remembered, const QRect &otherwise, bool onScreensNow) const;
    void PlaceAt(const QRect &rect);

    QMainWindow &window_;
    const ReaderControls &controls_;
    ReaderServices &services_;
    WindowGrip *grip_ = nullptr;
    PaneBlind *blind_ = nullptr;
    bool remembering_ = false;
    bool toldNotOnTop_ = false;
    QRect designedFrame_;
    // The full window as 简洁模式 found it: its size and least size, and the
    // pane's place in it (the sidebar may be hidden).
    QSize fullWindowSize_;
    QSize fullWindowLeast_;
    QRect fullWindowPane_;
};
