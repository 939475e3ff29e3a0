// The hot key under a private X server of its own, driven by xdotool.
#include "NotificationRecorder.h"
#include "platform/HotKeyService.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

// Counts every press of one key that reaches this program, on any window.
// Installed last, it runs before the hot-key service's own filter.
class KeyPressCounter : public QAbstractNativeEventFilter {
public:
    xcb_keycode_t keycode = 0;
    int presses = 0;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if (eventType == "xcb_generic_event_t" && (event->response_type & ~0x80) == XCB_KEY_PRESS
            && reinterpret_cast<const xcb_key_press_event_t *>(event)->detail == keycode)
            ++presses;
        return false;
    }
};

} // namespace

class HotKeyX11Test : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Presses that are not the hot key go to the focused window, where the
        // counter sees them too.
        focusWindow_.resize(200, 100);
        focusWindow_.show();
        focusWindow_.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&focusWindow_));

        otherClient_ = xcb_connect(nullptr, nullptr);
        QVERIFY(!xcb_connection_has_error(otherClient_));
        otherRoot_ = xcb_setup_roots_iterator(xcb_get_setup(otherClient_)).data->root;
    }

    void cleanupTestCase() { xcb_disconnect(otherClient_); }

    void init()
    {
        target_.received.clear();
        counter_.presses = 0;
        counter_.keycode = KeycodeOf(QStringLiteral("grave"));
    }

    void cleanup() { UnregisterHotKey(HandleOf(&owner_), kHotKeyNumber); }

    void press_registeredKey_notifiesTargetOncePerPress_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<QString>("key"); // the key's keysym name, as xdotool takes it
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<int>("expectedNotifications");
        const QString grave = QStringLiteral("grave");
        QTest::newRow("bare key twice") << 0 << VK_OEM_3 << grave << QStringList{"grave", "grave"} << 2;
        QTest::newRow("with CapsLock on")
            << 0 << VK_OEM_3 << grave << QStringList{"Caps_Lock", "grave", "Caps_Lock"} << 1;
        QTest::newRow("with NumLock on") << 0 << VK_OEM_3 << grave << QStringList{"Num_Lock", "grave", "Num_Lock"} << 1;
        QTest::newRow("shift, ctrl and alt are other keys")
            << 0 << VK_OEM_3 << grave << QStringList{"shift+grave", "ctrl+grave", "alt+grave", "super+grave", "grave"}
            << 1;
        QTest::newRow("registered with ctrl")
            << int(HotKeyControl) << VK_OEM_3 << grave << QStringList{"grave", "ctrl+grave"} << 1;
        QTest::newRow("a letter with ctrl and alt")
            << int(HotKeyControl | HotKeyAlt) << int('H') << QStringLiteral("h")
            << QStringList{"h", "ctrl+h", "alt+h", "ctrl+alt+shift+h", "ctrl+alt+h"} << 1;
        QTest::newRow("a function key with super")
            << int(HotKeyWin) << VK_F1 + 11 << QStringLiteral("F12") << QStringList{"F12", "super+F12", "alt+F12"} << 1;
    }

    void press_registeredKey_notifiesTargetOncePerPress()
    {
        QFETCH(int, modifiers);
        QFETCH(int, virtualKey);
        QFETCH(QString, key);
        QFETCH(QStringList, keys);
        QFETCH(int, expectedNotifications);
        counter_.keycode = KeycodeOf(key);
        QVERIFY(counter_.keycode != XCB_NO_SYMBOL);
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), modifiers, virtualKey), kHotKeyNumber);

        PressKeys(keys);
        const auto pressesOfKey = std::count_if(
            keys.begin(), keys.end(), [&key](const QString &press) { return press.split('+').last() == key; });
        QTRY_COMPARE_WITH_TIMEOUT(counter_.presses, int(pressesOfKey), 20000);
        QCoreApplication::sendPostedEvents();
        const QList<QPair<int, int>> expected(expectedNotifications, {kHotKeyNumber, 0});
        QCOMPARE(target_.received, expected);
        QVERIFY(!owner_.isVisible());
    }

    void unregister_releasesTheKey()
    {
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        UnregisterHotKey(HandleOf(&owner_), kHotKeyNumber);

        PressKeys({"grave"});
        QTRY_COMPARE_WITH_TIMEOUT(counter_.presses, 1, 20000);
        QCoreApplication::sendPostedEvents();
        QVERIFY(target_.received.isEmpty());
        QVERIFY(OtherClientGrabs(0));
        OtherClientLetsGo();
    }

    void unregister_byWrongOwner_keepsTheKey()
    {
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        UnregisterHotKey(HandleOf(&target_), kHotKeyNumber);

        PressKeys({"grave"});
        QTRY_COMPARE_WITH_TIMEOUT(counter_.presses, 1, 20000);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(target_.received.size(), 1);
    }

    void register_keyHeldByAnotherClient_fails_data()
    {
        QTest::addColumn<int>("heldVariant");
        QTest::newRow("bare key") << 0;
        // Refused only after the bare key was taken: that grab must be given back.
        QTest::newRow("CapsLock variant") << int(XCB_MOD_MASK_LOCK);
    }

    void register_keyHeldByAnotherClient_fails()
    {
        QFETCH(int, heldVariant);
        QVERIFY(OtherClientGrabs(heldVariant));

        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), 0);
        QVERIFY(OtherClientGrabs(0));
        OtherClientLetsGo();

        // Still free to register once the other client lets go.
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
    }

private:
    // The first key that types the named keysym, as the other client sees the keyboard.
    xcb_keycode_t KeycodeOf(const QString &keysymName)
    {
        const std::map<QString, xcb_keysym_t> keysyms{{"grave", XK_grave}, {"h", XK_h}, {"F12", XK_F12}};
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(otherClient_);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysyms.at(keysymName));
        const xcb_keycode_t first = codes ? codes[0] : XCB_NO_SYMBOL;
        std::free(codes);
        xcb_key_symbols_free(symbols);
        return first;
    }

    void PressKeys(const QStringList &keys)
    {
        // The counter must see events before the service's filter consumes them.
        qApp->removeNativeEventFilter(&counter_);
        qApp->installNativeEventFilter(&counter_);
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys), 0);
    }

    // Waits until the server has taken the other client's grabs away: a grab
    // made right after must not race the release.
    void OtherClientLetsGo()
    {
        std::free(xcb_request_check(otherClient_,
                                    xcb_ungrab_key_checked(otherClient_, XCB_GRAB_ANY, otherRoot_, XCB_MOD_MASK_ANY)));
    }

    bool OtherClientGrabs(uint16_t modifiers)
    {
        xcb_generic_error_t *error =
            xcb_request_check(otherClient_,
                              xcb_grab_key_checked(otherClient_, 1, otherRoot_, modifiers, counter_.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return error == nullptr;
    }

    QWidget focusWindow_;
    QWidget owner_;
    NotificationRecorder target_;
    KeyPressCounter counter_;
    xcb_connection_t *otherClient_ = nullptr;
    xcb_window_t otherRoot_ = 0;
};

// Starts a private X server on the first free display from :97 up, away from
// the low numbers desktops and other test runs pick. Xvfb writes the number to
// its standard output once it accepts clients, and exits if the display is taken.
QByteArray StartPrivateXServer(QProcess &xvfb)
{
    xvfb.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    for (int display = 97; display < 130; ++display) {
        xvfb.start(QStringLiteral("Xvfb"),
                   {QStringLiteral(":%1").arg(display), QStringLiteral("-displayfd"), QStringLiteral("1"),
                    QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("640x480x24")});
        QByteArray ready;
        while (!ready.endsWith('\n') && xvfb.waitForReadyRead(30000))
            ready += xvfb.readAllStandardOutput();
        if (ready.endsWith('\n'))
            return ':' + ready.trimmed();
        xvfb.kill();
        xvfb.waitForFinished();
    }
    return {};
}

int main(int argc, char **argv)
{
    QProcess xvfb;
    const QByteArray display = StartPrivateXServer(xvfb);
    if (display.isEmpty()) {
        std::fprintf(stderr, "no private X server could be started\n");
        return 1;
    }
    qputenv("DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", "xcb");

    int result;
    {
        QApplication app(argc, argv);
        HotKeyX11Test test;
        result = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished();
    return result;
}

#include "HotKeyX11Test.moc"
