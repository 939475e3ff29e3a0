// The hot key on a Wayland session, through a stand-in desktop portal
// (tests/support/mock_portal.py) on a private session bus of its own.
#include "NotificationRecorder.h"
#include "platform/HotKeyService.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

class HotKeyPortalTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(recordDir_.isValid()); }

    void cleanup()
    {
        UnregisterHotKey(HandleOf(&owner_), kHotKeyNumber);
        StopPortal();
        target_.received.clear();
    }

    void portal_bindsTheShortcut_andEachActivationNotifies()
    {
        StartPortal(QStringLiteral("bind"));
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        QTRY_VERIFY(Recorded().contains("BindShortcuts toggle-reader 隐藏/显示阅读器 grave"));
        QVERIFY(Recorded().contains("Register example.folivar.Folivar"));

        ActivateShortcut();
        ActivateShortcut();
        const QList<QPair<int, int>> twice(2, {kHotKeyNumber, 0});
        QTRY_COMPARE(target_.received, twice);

        // Released, the session is closed and later activations reach nobody.
        UnregisterHotKey(HandleOf(&owner_), kHotKeyNumber);
        QTRY_VERIFY(Recorded().contains("Close"));
        ActivateShortcut();
        QTest::qWait(200);
        QCOMPARE(target_.received, twice);
    }

    void portal_thatSaysNo_leavesNoHotKey_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("registered");
        QTest::newRow("no portal on the bus") << QString() << 0;
        QTest::newRow("session call fails") << QStringLiteral("error") << 0;
        // Refused in the session's answer, after registration returned.
        QTest::newRow("session refused") << QStringLiteral("refuse") << int(kHotKeyNumber);
    }

    void portal_thatSaysNo_leavesNoHotKey()
    {
        QFETCH(QString, mode);
        QFETCH(int, registered);
        if (!mode.isEmpty())
            StartPortal(mode);
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), registered);
        if (!mode.isEmpty())
            QTRY_VERIFY(Recorded().contains("CreateSession"));
        QTest::qWait(200);
        QVERIFY(!Recorded().contains("BindShortcuts"));
        ActivateShortcut();
        QTest::qWait(200);
        QVERIFY(target_.received.isEmpty());
    }

    // The trigger names the modifiers, then the key's keysym name.
    void portal_keyWithoutATriggerName_isRefused_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("virtualKey");
        QTest::addColumn<QByteArray>("trigger"); // empty: refused
        QTest::newRow("a code without a key") << 0 << 0xFF << QByteArray();
        QTest::newRow("an unknown modifier") << 0x100 << VK_OEM_3 << QByteArray();
        QTest::newRow("ctrl and shift") << int(HotKeyControl | HotKeyShift) << VK_OEM_3
                                        << QByteArray("CTRL+SHIFT+grave");
        QTest::newRow("a letter") << int(HotKeyControl | HotKeyAlt) << int('H') << QByteArray("CTRL+ALT+h");
        QTest::newRow("a function key") << int(HotKeyWin) << VK_F1 + 11 << QByteArray("LOGO+F12");
        QTest::newRow("a keypad digit") << 0 << VK_NUMPAD0 + 7 << QByteArray("KP_7");
    }

    void portal_keyWithoutATriggerName_isRefused()
    {
        QFETCH(int, modifiers);
        QFETCH(int, virtualKey);
        QFETCH(QByteArray, trigger);
        StartPortal(QStringLiteral("bind"));
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), modifiers, virtualKey),
                 trigger.isEmpty() ? 0 : kHotKeyNumber);
        if (!trigger.isEmpty())
            QTRY_VERIFY(Recorded().contains("BindShortcuts toggle-reader 隐藏/显示阅读器 " + trigger + '\n'));
    }

    // Only a portal of version 2 has a dialog for a shortcut once bound.
    void configure_showsThePortalsDialog_onceBound()
    {
        StartPortal(QStringLiteral("configure"));
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        QTRY_VERIFY(ConfigureHotKey(HandleOf(&owner_), kHotKeyNumber));
        QTRY_VERIFY(Recorded().contains("ConfigureShortcuts True"));
        QVERIFY(!ConfigureHotKey(HandleOf(&target_), kHotKeyNumber));
        QVERIFY(!ConfigureHotKey(HandleOf(&owner_), 0));
    }

    void configure_olderPortal_isNotAsked()
    {
        StartPortal(QStringLiteral("bind"));
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        QTRY_VERIFY(Recorded().contains("BindShortcuts"));
        QVERIFY(!ConfigureHotKey(HandleOf(&owner_), kHotKeyNumber));
        // Re-registered, the key is bound afresh in a new session.
        UnregisterHotKey(HandleOf(&owner_), kHotKeyNumber);
        QCOMPARE(RegisterHotKey(HandleOf(&owner_), HandleOf(&target_), 0, VK_OEM_3), kHotKeyNumber);
        QTRY_COMPARE(Recorded().count("BindShortcuts"), 2);
        QVERIFY(!Recorded().contains("ConfigureShortcuts"));
    }

    void chooser_onAWaylandSession_isThePortal_whenThereIsOne()
    {
        QCOMPARE(HotKeyChooserHere(), HotKeyChooser::Nobody);
        StartPortal(QStringLiteral("bind"));
        QCOMPARE(HotKeyChooserHere(), HotKeyChooser::Desktop);
    }

private:
    void StartPortal(const QString &mode)
    {
        recordFile_ = recordDir_.filePath(mode + QString::number(++portals_));
        portal_.setProcessChannelMode(QProcess::ForwardedChannels);
        portal_.start(QStringLiteral("/usr/bin/python3"),
                      {qEnvironmentVariable("FOLIVAR_SOURCE_DIR") + QStringLiteral("/tests/support/mock_portal.py"),
                       mode, recordFile_});
        QTRY_VERIFY_WITH_TIMEOUT(Recorded().startsWith("ready"), 20000);
    }

    void StopPortal()
    {
        portal_.kill();
        portal_.waitForFinished();
        recordFile_.clear();
    }

    QByteArray Recorded() const
    {
        if (recordFile_.isEmpty())
            return {};
        QFile file(recordFile_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void ActivateShortcut()
    {
        const QDBusMessage activate = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("test.folivar.MockPortal"), QStringLiteral("Activate"));
        QDBusConnection::sessionBus().call(activate, QDBus::Block, 5000);
    }

    QTemporaryDir recordDir_;
    QString recordFile_;
    int portals_ = 0;
    QProcess portal_;
    QWidget owner_;
    NotificationRecorder target_;
};

// A session bus of the test's own; dbus-daemon prints its address once it
// accepts clients.
QByteArray StartPrivateBus(QProcess &daemon)
{
    daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QByteArray address;
    while (!address.endsWith('\n') && daemon.waitForReadyRead(30000))
        address += daemon.readAllStandardOutput();
    return address.trimmed();
}

int main(int argc, char **argv)
{
    QProcess daemon;
    const QByteArray address = StartPrivateBus(daemon);
    if (address.isEmpty()) {
        std::fprintf(stderr, "no private session bus could be started\n");
        return 1;
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    qputenv("XDG_SESSION_TYPE", "wayland");

    int result;
    {
        QApplication app(argc, argv);
        QGuiApplication::setDesktopFileName(QStringLiteral("example.folivar.Folivar"));
        HotKeyPortalTest test;
        result = QTest::qExec(&test, argc, argv);
    }
    daemon.terminate();
    daemon.waitForFinished();
    return result;
}

#include "HotKeyPortalTest.moc"
