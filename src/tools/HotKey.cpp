#include "tools/HotKey.h"

#include "core/Preferences.h"
#include "platform/HotKeyService.h"
#include "platform/WindowHandle.h"
#include "ui/VirtualKey.h"

#include <QAbstractSpinBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace {

// A control the user types text into: an editable line, text or spin box.
bool TakesTypedText(const QWidget *widget)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        return !line->isReadOnly();
    if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(widget))
        return !spin->isReadOnly();
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(widget))
        return !text->isReadOnly();
    if (const auto *rich = qobject_cast<const QTextEdit *>(widget))
        return !rich->isReadOnly();
    return false;
}

} // namespace

QKeySequence HotKeyOfSetting(const QString &text)
{
    if (text == QString::fromUtf8(kNoHotKey))
        return {};
    const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (key.count() == 1 && HotKeyCombinationOf(key[0]))
        return key;
    return QKeySequence::fromString(QString::fromUtf8(kDefaultHotKey), QKeySequence::PortableText);
}

QString SettingOfHotKey(const QKeySequence &key)
{
    return key.isEmpty() ? QString::fromUtf8(kNoHotKey) : key.toString(QKeySequence::PortableText);
}

const QString &ReaderHotKey::Setting() const
{
    return preferences_.Values().hotKey;
}

void ReaderHotKey::AdoptRemembered()
{
    preferences_.Set(&Settings::hotKey, SettingOfHotKey(HotKeyOfSetting(Setting())));
}

bool ReaderHotKey::Claim(QWidget *window, QWidget *notifyLabel)
{
    const QKeySequence key = HotKeyOfSetting(Setting());
    if (key.isEmpty())
        return true;
    const HotKeyCombination combination = HotKeyCombinationOf(key[0]).value_or(HotKeyCombination{});
    id_ = RegisterHotKey(HandleOf(window), HandleOf(notifyLabel), combination.modifiers, combination.virtualKey);
    return id_ != 0;
}

void ReaderHotKey::Release(QWidget *window)
{
    UnregisterHotKey(HandleOf(window), id_);
    id_ = 0;
    lent_ = false;
}

bool ReaderHotKey::Change(QWidget *window, QWidget *notifyLabel, const QKeySequence &key)
{
    Release(window);
    const QString setting = SettingOfHotKey(key);
    if (setting != Setting()) {
        preferences_.Set(&Settings::hotKey, setting);
        Q_EMIT changed();
    }
    return Claim(window, notifyLabel);
}

bool ReaderHotKey::LetDesktopChoose(QWidget *window, QWidget *notifyLabel)
{
    if (id_ != 0 && ConfigureHotKey(HandleOf(window), id_))
        return true;
    const QKeySequence key = HotKeyOfSetting(Setting());
    return Change(window, notifyLabel, key.isEmpty() ? HotKeyOfSetting(QString::fromUtf8(kDefaultHotKey)) : key);
}

bool ReaderHotKey::FollowFocus(QWidget *window, QWidget *notifyLabel, const QWidget *focused)
{
    const bool typing = TakesTypedText(focused);
    const QKeySequence key = HotKeyOfSetting(Setting());
    const bool bare = !key.isEmpty() && (key[0].keyboardModifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (typing && id_ != 0 && bare && HotKeyChooserHere() == HotKeyChooser::Program) {
        Release(window);
        lent_ = true;
        return true;
    }
    if (typing || !lent_)
        return true;
    lent_ = false;
    return Claim(window, notifyLabel);
}

void OnHotKey(QWidget &window, int hotKey, int)
{
    if (hotKey != kHotKeyNumber)
        return;
    // Place, size and contents stay as they are; no focus is asked for, except
    // on Wayland, where a window shown again gets no keyboard focus unless it asks.
    window.setVisible(!window.isVisible());
    if (window.isVisible() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        window.activateWindow();
}

void ShowInFront(QWidget &window)
{
    window.show();
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
}
