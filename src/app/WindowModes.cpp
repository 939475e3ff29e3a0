#include "app/WindowModes.h"

#include "app/ReaderServices.h"
#include "layout/RelayoutAll.h"
#include "layout/WindowPlacement.h"
#include "platform/DesktopAbilities.h"
#include "tools/FullScreen.h"
#include "ui/EditBox.h"
#include "ui/ListBox.h"
#include "ui/MessageStrip.h"
#include "ui/PaneBlind.h"
#include "ui/ReaderControls.h"
#include "ui/WindowGrip.h"

#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QWindow>

#include <algorithm>

namespace {

// The simple window may be a strip of a line or two.
const QSize kSmallestSimpleWindow(120, 40);

std::optional<WindowRect> RememberedRect(const std::optional<int> &left, const std::optional<int> &top,
                                         const std::optional<int> &width, const std::optional<int> &height)
{
    if (!left || !top || !width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    return WindowRect{*left, *top, *left + *width, *top + *height};
}

WindowRect WindowRectOf(const QRect &rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect QRectOf(const WindowRect &rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

WindowModes::WindowModes(QMainWindow &window, const ReaderControls &controls, ReaderServices &services)
    : QObject(&window), window_(window), controls_(controls), services_(services)
{
    QWidget &page = *controls.编辑框_内容->viewport();
    grip_ = new WindowGrip(page);
    blind_ = new PaneBlind(page);
    fullWindowLeast_ = window.minimumSize();
    window.installEventFilter(this);
    // The theme sets the page's colour afresh, at full strength.
    connect(&services.preferences, &Preferences::changed, this, [this](SettingId id) {
        if (id == IdOf(&Settings::backgroundColour))
            QMetaObject::invokeMethod(this, &WindowModes::ApplyOpacity, Qt::QueuedConnection);
    });
}

bool WindowModes::IsSimple() const
{
    return services_.preferences.Values().simpleMode;
}

int WindowModes::Opacity() const
{
    const int percent = services_.preferences.Values().opacity;
    return std::ranges::find(kOpacities, percent) != std::end(kOpacities) ? percent : 100;
}

void WindowModes::AdoptRemembered()
{
    ApplyFlags();
    ApplyOpacity();
    blind_->SetEnabled(services_.preferences.Values().hideOnLeave);
}

void WindowModes::PlaceRemembered(const QRect &designedFrame)
{
    designedFrame_ = designedFrame;
    Arrange(IsSimple(), true);
    if (services_.preferences.Values().fullScreen && !window_.isFullScreen())
        OnToggleFullScreen(window_);
    remembering_ = true;
    Remember();
}

void WindowModes::SetSimple(bool on)
{
    if (on == IsSimple())
        return;
    Remember();
    services_.preferences.Set(&Settings::simpleMode, on);
    Arrange(on, false);
}

// The window in one mode or the other, at that mode's place and size.
void WindowModes::Arrange(bool simple, bool onScreensNow)
{
    if (window_.isFullScreen())
        OnLeaveFullScreen(window_);
    // Before the menu bar goes: a first simple window takes the pane's place.
    const QRect place = simple ? SimpleRect(onScreensNow) : NormalRect(onScreensNow);
    ShowOnlyThePane(simple);
    ApplyFlags();
    ApplyOpacity();
    PlaceAt(place);
    if (!simple)
        QMetaObject::invokeMethod(this, &WindowModes::GiveBackTheFullWindow, Qt::QueuedConnection);
}

void WindowModes::ShowOnlyThePane(bool on)
{
    EditBox &pane = *controls_.编辑框_内容;
    if (on && window_.menuBar()->isVisible()) {
        fullWindowSize_ = window_.size();
        fullWindowLeast_ = window_.minimumSize();
        fullWindowPane_ = pane.geometry();
    }
    window_.setMinimumSize(on ? kSmallestSimpleWindow : fullWindowLeast_);
    window_.menuBar()->setVisible(!on);
    for (QWidget *control :
         {static_cast<QWidget *>(controls_.列表框_文件), static_cast<QWidget *>(controls_.列表框_章节),
          static_cast<QWidget *>(controls_.标签_提示)})
        control->setVisible(!on);
    // Keys and the wheel scroll the strip; a scroll bar would only take room.
    pane.setVerticalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
    grip_->SetEnabled(on);
    // Once the window's layout has given the menu bar's room to the client.
    if (on)
        QMetaObject::invokeMethod(this, &WindowModes::FitPaneToWindow, Qt::QueuedConnection);
}

// Once the menu bar has its room again: the controls where the layout puts
// them, and the pane where it was when the window has its size of then.
void WindowModes::GiveBackTheFullWindow()
{
    if (IsSimple())
        return;
    RelayoutAll(services_.layoutTable, services_.windowSystem);
    if (window_.size() == fullWindowSize_ && fullWindowPane_.isValid())
        controls_.编辑框_内容->setGeometry(fullWindowPane_);
}

void WindowModes::FitPaneToWindow()
{
    if (QWidget *client = window_.centralWidget())
        controls_.编辑框_内容->setGeometry(client->rect());
}

void WindowModes::SetStayOnTop(bool on)
{
    services_.preferences.Set(&Settings::stayOnTop, on);
    ApplyFlags();
    if (on && !DesktopKeepsWindowsOnTop() && !toldNotOnTop_) {
        toldNotOnTop_ = true;
        controls_.标签_提示->ShowMessage(QStringLiteral("此桌面自行决定窗口的前后次序，置顶可能无效"));
    }
}

void WindowModes::SetOpacity(int percent)
{
    services_.preferences.Set(&Settings::opacity, percent);
    ApplyOpacity();
}

void WindowModes::SetBackgroundSeeThrough(bool on)
{
    services_.preferences.Set(&Settings::backgroundSeeThrough, on);
    ApplyOpacity();
}

void WindowModes::SetHideOnLeave(bool on)
{
    services_.preferences.Set(&Settings::hideOnLeave, on);
    blind_->SetEnabled(on);
}

// A change of flags hides the window: it shows again as it was.
void WindowModes::ApplyFlags()
{
    const Settings &values = services_.preferences.Values();
    Qt::WindowFlags flags = window_.windowFlags();
    flags.setFlag(Qt::FramelessWindowHint, values.simpleMode);
    flags.setFlag(Qt::WindowStaysOnTopHint, values.stayOnTop);
    if (flags == window_.windowFlags())
        return;
    const bool shown = window_.isVisible();
    const bool fullScreen = window_.isFullScreen();
    window_.setWindowFlags(flags);
    if (shown)
        fullScreen ? window_.showFullScreen() : window_.show();
}

// 透明度 is the whole window's, or in 简洁模式 with 背景透明 the page's alone,
// where the desktop can show through it.
void WindowModes::ApplyOpacity()
{
    const bool pageOnly =
        IsSimple() && services_.preferences.Values().backgroundSeeThrough && DesktopShowsThroughWindows();
    window_.setWindowOpacity(pageOnly ? 1.0 : Opacity() / 100.0);
    SeeThroughPage(pageOnly ? Opacity() : 100);
}

void WindowModes::SeeThroughPage(int percent)
{
    const bool through = percent < 100;
    if (window_.testAttribute(Qt::WA_TranslucentBackground) != through) {
        window_.setAttribute(Qt::WA_TranslucentBackground, through);
        // A window's pixels gain or lose their alpha only when it is made anew.
        if (window_.isVisible() && window_.windowHandle()) {
            window_.hide();
            window_.windowHandle()->destroy();
            window_.show();
        }
    }
    EditBox &pane = *controls_.编辑框_内容;
    QPalette palette = pane.palette();
    QColor page = palette.color(QPalette::Base);
    page.setAlpha(percent * 255 / 100);
    palette.setColor(QPalette::Base, page);
    pane.setPalette(palette);
}

QRect WindowModes::SimpleRect(bool onScreensNow) const
{
    const Settings &values = services_.preferences.Values();
    const EditBox &pane = *controls_.编辑框_内容;
    const QRect paneOnScreen(pane.mapToGlobal(QPoint(0, 0)), pane.size());
    return PlaceOf(RememberedRect(values.simpleLeft, values.simpleTop, values.simpleWidth, values.simpleHeight),
                   paneOnScreen, onScreensNow);
}

QRect WindowModes::NormalRect(bool onScreensNow) const
{
    const Settings &values = services_.preferences.Values();
    // The designed size is the outer one, frame included.
    const QSize frame = window_.frameGeometry().size() - window_.size();
    const QRect designed(designedFrame_.topLeft(), designedFrame_.size() - frame);
    return PlaceOf(RememberedRect(values.windowLeft, values.windowTop, values.windowWidth, values.windowHeight),
                   designed, onScreensNow);
}

QRect WindowModes::PlaceOf(const std::optional<WindowRect> &remembered, const QRect &otherwise, bool onScreensNow) const
{
    if (!onScreensNow)
        return remembered ? QRectOf(*remembered) : otherwise;
    return QRectOf(ReopenedWindowRect(services_.windowSystem, remembered, WindowRectOf(otherwise)));
}

void WindowModes::PlaceAt(const QRect &rect)
{
    window_.move(rect.topLeft());
    window_.resize(rect.size());
}

// The place and size of the mode the window is in; not while it is full
// screen, minimised or hidden, which are no place to come back to.
void WindowModes::Remember()
{
    if (!remembering_ || !window_.isVisible() || window_.isFullScreen() || window_.isMinimized())
        return;
    Preferences &preferences = services_.preferences;
    const bool simple = IsSimple();
    preferences.Set(simple ? &Settings::simpleLeft : &Settings::windowLeft, std::optional(window_.x()));
    preferences.Set(simple ? &Settings::simpleTop : &Settings::windowTop, std::optional(window_.y()));
    preferences.Set(simple ? &Settings::simpleWidth : &Settings::windowWidth, std::optional(window_.width()));
    preferences.Set(simple ? &Settings::simpleHeight : &Settings::windowHeight, std::optional(window_.height()));
}

bool WindowModes::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &window_)
        return false;
    switch (event->type()) {
    case QEvent::Move:
        Remember();
        break;
    case QEvent::Resize:
        Remember();
        if (IsSimple())
            QMetaObject::invokeMethod(this, &WindowModes::FitPaneToWindow, Qt::QueuedConnection);
        break;
    case QEvent::WindowStateChange:
        if (remembering_)
            services_.preferences.Set(&Settings::fullScreen, window_.isFullScreen());
        break;
    default:
        break;
    }
    return false;
}
