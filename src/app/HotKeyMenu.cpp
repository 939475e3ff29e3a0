#include "app/HotKeyMenu.h"

#include "app/Log.h"
#include "app/MenuItem.h"
#include "platform/HotKeyService.h"
#include "tools/HotKey.h"
#include "ui/HotKeyDialog.h"
#include "ui/MessageStrip.h"
#include "ui/NotifyLabel.h"
#include "ui/ReaderControls.h"

#include <QApplication>

namespace {

void TellNotClaimed(MessageStrip &strip, const QString &setting)
{
    qCInfo(lcApp).noquote() << "the hide key" << setting << "could not be claimed";
    strip.ShowMessage(QStringLiteral("热键 %1 无法使用：已被其他程序占用，或此桌面不支持全局热键").arg(setting));
}

void TellChosen(MessageStrip &strip, const QKeySequence &key)
{
    strip.ShowMessage(key.isEmpty() ? QStringLiteral("不再使用热键")
                                    : QStringLiteral("热键：%1").arg(key.toString(QKeySequence::NativeText)));
}

// The key held is let go while the dialog is open, so that pressing it there
// reaches the dialog; it is claimed again when the dialog is cancelled.
void AskForKey(ReaderHotKey &hotKey, const ReaderControls &c)
{
    hotKey.Release(c.mainWindow);
    const std::optional<QKeySequence> chosen = AskHotKey(c.mainWindow, HotKeyOfSetting(hotKey.Setting()));
    // The window closed meanwhile: shutdown has let the key go for good.
    if (!c.mainWindow->isVisible())
        return;
    const bool held =
        chosen ? hotKey.Change(c.mainWindow, c.标签_热键反馈, *chosen) : hotKey.Claim(c.mainWindow, c.标签_热键反馈);
    if (!held)
        TellNotClaimed(*c.标签_提示, hotKey.Setting());
    else if (chosen)
        TellChosen(*c.标签_提示, *chosen);
}

void LetDesktopChoose(ReaderHotKey &hotKey, const ReaderControls &c)
{
    if (hotKey.LetDesktopChoose(c.mainWindow, c.标签_热键反馈))
        c.标签_提示->ShowMessage(QStringLiteral("热键由桌面管理：请在桌面的对话框或快捷键设置中选择"));
    else
        TellNotClaimed(*c.标签_提示, hotKey.Setting());
}

void ChooseHotKey(ReaderHotKey &hotKey, const ReaderControls &c)
{
    switch (HotKeyChooserHere()) {
    case HotKeyChooser::Program:
        return AskForKey(hotKey, c);
    case HotKeyChooser::Desktop:
        return LetDesktopChoose(hotKey, c);
    case HotKeyChooser::Nobody:
        qCInfo(lcApp) << "no global hot keys on this desktop";
        c.标签_提示->ShowMessage(QStringLiteral("此桌面不提供全局快捷键，无法设置热键"));
        return;
    }
}

} // namespace

void AddHotKeyItem(QMenu *settings, ReaderHotKey &hotKey, const ReaderControls &c)
{
    AddMenuItem(settings, QStringLiteral("热键…"), [&hotKey, &c] { ChooseHotKey(hotKey, c); });
}

void LendHotKeyToTextFields(ReaderHotKey &hotKey, const ReaderControls &c)
{
    QObject::connect(qApp, &QApplication::focusChanged, c.mainWindow, [&hotKey, &c](QWidget *, QWidget *focused) {
        if (!hotKey.FollowFocus(c.mainWindow, c.标签_热键反馈, focused))
            TellNotClaimed(*c.标签_提示, hotKey.Setting());
    });
}
