#pragma once
// The hide key: which key hides the reader and shows it again, as config.ini
// keeps it (Preferences), and the reader's claim on it while it runs.
#include <QKeySequence>
#include <QObject>
#include <QString>

class Preferences;
class QWidget;

// The key a settings text names: kDefaultHotKey (Settings.h), a key in
// QKeySequence's portable text ("Ctrl+Alt+H"), or kNoHotKey, read as an
// empty sequence. A text that names no single key with a virtual-key code
// reads as the default.
QKeySequence HotKeyOfSetting(const QString &text);
// The settings text of a key: its portable text, kNoHotKey when empty.
QString SettingOfHotKey(const QKeySequence &key);

class ReaderHotKey : public QObject {
    Q_OBJECT

public:
    explicit ReaderHotKey(Preferences &preferences) : preferences_(preferences) {}

    // The key's settings text.
    const QString &Setting() const;
    // Start-up: the key remembered, as HotKeyOfSetting reads it (an
    // unreadable text becomes the default's); nothing is claimed yet.
    void AdoptRemembered();

    // Claims the remembered key for the window; each press notifies the
    // label (标签_热键反馈). True when the key is held now, or is none; false
    // when the service could not claim it (it logs why).
    bool Claim(QWidget *window, QWidget *notifyLabel);
    // Gives the key back; Claim takes it again, FollowFocus no longer does.
    void Release(QWidget *window);
    // Gives the key held back and claims `key` (empty: none) in its place,
    // which is remembered (changed() when it differs) whether or not it can
    // be claimed. Returns what Claim returns.
    bool Change(QWidget *window, QWidget *notifyLabel, const QKeySequence &key);
    // Where the desktop picks the key: asks it to show its dialog, else binds
    // the remembered key afresh, or the default when none is remembered.
    // False when the desktop could not be asked.
    bool LetDesktopChoose(QWidget *window, QWidget *notifyLabel);
    // The keyboard focus went to `focused` (null: to another program). While
    // one of the reader's own text fields has it, a key held without
    // modifiers is the field's: it is let go, so that it types its character
    // there, and claimed again once the focus leaves the fields. A key with
    // modifiers stays claimed, and so does one the desktop binds (the
    // portal), which could not be let go without asking the user again.
    // False when the key could not be claimed again (it logs why).
    bool FollowFocus(QWidget *window, QWidget *notifyLabel, const QWidget *focused);

Q_SIGNALS:
    void changed();

private:
    Preferences &preferences_;
    int id_ = 0;
    // Let go for a text field that has the focus (FollowFocus).
    bool lent_ = false;
};

// Handler of 标签_热键反馈's notification: hides the window, or shows it again.
void OnHotKey(QWidget &window, int hotKey, int unused);

// The reader was started again: its window shows, also when it was hidden with
// the hot key or minimised, and comes to the front.
void ShowInFront(QWidget &window);
