#include "platform/HotKeyService.h"
#include "support/TestRegistry.h"

#include <QTest>
#include <QWidget>

// The behaviour every platform shares; presses themselves are tested under a
// real X server in test_hotkey_x11.
class HotKeyServiceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void register_withoutGlobalHotKeys_failsQuietly()
    {
        QWidget owner;
        QWidget target;
        const int id = RegisterHotKey(HandleOf(&owner), HandleOf(&target), 0, VK_OEM_3);
        QCOMPARE(id, 0);
        UnregisterHotKey(HandleOf(&owner), id);
        UnregisterHotKey(HandleOf(&owner), kHotKeyNumber);
    }
};

FOLIVAR_TEST(HotKeyServiceTest)
#include "HotKeyServiceTest.moc"
