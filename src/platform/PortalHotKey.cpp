// Global shortcuts through org.freedesktop.portal.GlobalShortcuts: create a
// session, bind one shortcut in it, and turn each Activated signal for it into
// the hot-key notification. Every request is answered by a Response signal on
// a request object whose path we predict from our own token, so we listen
// there before asking.
#include "platform/PortalHotKey.h"

#include "platform/HotKeyService.h"
#include "platform/Log.h"
#include "platform/Notification.h"
#include "platform/X11KeySymbols.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace Portal {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kRegistry = QStringLiteral("org.freedesktop.host.portal.Registry");
constexpr int kAnswerLimitMs = 5000;
constexpr int kCloseLimitMs = 1000;
// The interface version that brought ConfigureShortcuts.
constexpr uint kConfigureVersion = 2;

// One entry of BindShortcuts' a(sa{sv}) argument and of its answer.
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument &operator<<(QDBusArgument &argument, const Shortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Shortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

} // namespace Portal

Q_DECLARE_METATYPE(Portal::Shortcut)

namespace Portal {
namespace {

// The portal names keys as the shared shortcut format does: modifiers joined
// with "+", then the key's keysym name.
QString TriggerOf(int modifiers, int virtualKey)
{
    const QString key = KeySymbolOf(virtualKey).name;
    if (key.isEmpty())
        return {};
    QString trigger;
    const std::pair<int, const char *> names[] = {
        {HotKeyControl, "CTRL+"}, {HotKeyAlt, "ALT+"}, {HotKeyShift, "SHIFT+"}, {HotKeyWin, "LOGO+"}};
    for (const auto &[bit, name] : names) {
        if (modifiers & bit) {
            trigger += QLatin1String(name);
            modifiers &= ~bit;
        }
    }
    return modifiers == 0 ? trigger + key : QString();
}

// The handle of the window a portal dialog should sit on; only X11 windows
// can be named without a protocol of their own.
QString ParentWindowOf(WindowHandle owner)
{
    QWidget *window = WidgetOf(owner);
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    return QStringLiteral("x11:%1").arg(window->winId(), 0, 16);
}

QDBusMessage Call(const QString &interface, const QString &method, const QVariantList &arguments,
                  QDeadlineTimer deadline)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    message.setArguments(arguments);
    const int limit = static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1));
    return QDBusConnection::sessionBus().call(message, QDBus::Block, limit);
}

// Newer portals learn a host program's id only from this call, which must
// come before any other; older ones do not know it, and that is fine.
void TellApplicationId(QDeadlineTimer deadline)
{
    const QString appId = QGuiApplication::desktopFileName();
    if (appId.isEmpty())
        return;
    const QDBusMessage reply = Call(kRegistry, QStringLiteral("Register"), {appId, QVariantMap()}, deadline);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCInfo(lcPlatform) << "hot key: the portal takes no application id:" << reply.errorName();
}

// The interface version the portal last said it offers.
uint &OfferedVersion()
{
    static uint version = 0;
    return version;
}

QString SessionHandleOf(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

// One GlobalShortcuts session holding the reader's shortcut.
class ShortcutSession : public QObject {
    Q_OBJECT

public:
    ShortcutSession(WindowHandle owner, WindowHandle notifyTarget, QString trigger, uint version)
        : owner_(owner), notifyTarget_(notifyTarget), trigger_(std::move(trigger)), version_(version)
    {
        answerTimer_.setSingleShot(true);
        connect(&answerTimer_, &QTimer::timeout, this, [this] {
            qCInfo(lcPlatform) << "hot key: the portal did not answer within" << kAnswerLimitMs << "ms";
            StopListening();
        });
    }

    ~ShortcutSession() override { Close(); }

    WindowHandle Owner() const { return owner_; }

    // Asks for the session; false when the portal refuses the call itself.
    bool Start(QDeadlineTimer deadline)
    {
        const QString token = NextToken();
        ListenForResponse(token, SLOT(OnSessionCreated(uint, QVariantMap)));
        const QVariantMap options{{QStringLiteral("handle_token"), token},
                                  {QStringLiteral("session_handle_token"), NextToken()}};
        const QDBusMessage reply = Call(kShortcuts, QStringLiteral("CreateSession"), {options}, deadline);
        if (reply.type() == QDBusMessage::ErrorMessage) {
            qCInfo(lcPlatform) << "hot key: the portal refused a session:" << reply.errorMessage();
            StopListening();
            return false;
        }
        answerTimer_.start(kAnswerLimitMs);
        return true;
    }

    // Asks for the desktop's dialog for the bound shortcut; false when this
    // portal has none or nothing is bound yet.
    bool Configure()
    {
        if (version_ < kConfigureVersion || !bound_)
            return false;
        QDBusMessage message =
            QDBusMessage::createMethodCall(kService, kPath, kShortcuts, QStringLiteral("ConfigureShortcuts"));
        message << QVariant::fromValue(QDBusObjectPath(sessionPath_)) << ParentWindowOf(owner_) << QVariantMap();
        return QDBusConnection::sessionBus().callWithCallback(message, this, nullptr,
                                                              SLOT(OnConfigureFailed(QDBusError)));
    }

private Q_SLOTS:
    void OnSessionCreated(uint response, const QVariantMap &results)
    {
        answerTimer_.stop();
        StopListening();
        sessionPath_ = SessionHandleOf(results.value(QStringLiteral("session_handle")));
        if (response != 0 || sessionPath_.isEmpty()) {
            qCInfo(lcPlatform) << "hot key: the portal refused a session, response" << response;
            return;
        }
        QDBusConnection::sessionBus().connect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
                                              SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        BindShortcut();
    }

    void OnShortcutBound(uint response, const QVariantMap &results)
    {
        StopListening();
        if (response != 0) {
            qCInfo(lcPlatform) << "hot key: the desktop did not bind the shortcut, response" << response;
            Close();
            return;
        }
        bound_ = true;
        const auto bound = qdbus_cast<QList<Shortcut>>(results.value(QStringLiteral("shortcuts")));
        for (const Shortcut &shortcut : bound)
            qCInfo(lcPlatform) << "hot key:" << shortcut.id << "bound to"
                               << shortcut.properties.value(QStringLiteral("trigger_description")).toString();
    }

    void OnActivated(const QDBusObjectPath &session, const QString &shortcutId, qulonglong, const QVariantMap &)
    {
        if (session.path() == sessionPath_ && shortcutId == QLatin1String(kPortalShortcutId))
            PostNotification(WidgetOf(notifyTarget_), kHotKeyNumber, 0);
    }

    // The shortcut stays bound as it was.
    void OnConfigureFailed(const QDBusError &error)
    {
        qCInfo(lcPlatform) << "hot key: the portal did not show its shortcut dialog:" << error.message();
    }

    void OnCallFailed(const QDBusError &error)
    {
        qCInfo(lcPlatform) << "hot key: the portal refused the shortcut:" << error.message();
        StopListening();
        Close();
    }

private:
    void BindShortcut()
    {
        const Shortcut shortcut{QLatin1String(kPortalShortcutId),
                                {{QStringLiteral("description"), QStringLiteral("隐藏/显示阅读器")},
                                 {QStringLiteral("preferred_trigger"), trigger_}}};
        const QString token = NextToken();
        ListenForResponse(token, SLOT(OnShortcutBound(uint, QVariantMap)));
        QDBusMessage message =
            QDBusMessage::createMethodCall(kService, kPath, kShortcuts, QStringLiteral("BindShortcuts"));
        message << QVariant::fromValue(QDBusObjectPath(sessionPath_)) << QVariant::fromValue(QList<Shortcut>{shortcut})
                << ParentWindowOf(owner_) << QVariantMap{{QStringLiteral("handle_token"), token}};
        QDBusConnection::sessionBus().callWithCallback(message, this, nullptr, SLOT(OnCallFailed(QDBusError)));
    }

    // The portal's request objects live at request/<our bus name>/<token>.
    void ListenForResponse(const QString &token, const char *slot)
    {
        QString sender = QDBusConnection::sessionBus().baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        requestPath_ = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
        requestSlot_ = slot;
        QDBusConnection::sessionBus().connect(kService, requestPath_, kRequest, QStringLiteral("Response"), this, slot);
    }

    void StopListening()
    {
        if (requestPath_.isEmpty())
            return;
        QDBusConnection::sessionBus().disconnect(kService, requestPath_, kRequest, QStringLiteral("Response"), this,
                                                 requestSlot_);
        requestPath_.clear();
    }

    void Close()
    {
        if (sessionPath_.isEmpty())
            return;
        QDBusConnection::sessionBus().disconnect(kService, kPath, kShortcuts, QStringLiteral("Activated"), this,
                                                 SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        const QDBusMessage message =
            QDBusMessage::createMethodCall(kService, sessionPath_, kSession, QStringLiteral("Close"));
        QDBusConnection::sessionBus().call(message, QDBus::Block, kCloseLimitMs);
        sessionPath_.clear();
        bound_ = false;
    }

    static QString NextToken()
    {
        static int counter = 0;
        return QStringLiteral("folivar%1").arg(++counter);
    }

    WindowHandle owner_;
    WindowHandle notifyTarget_;
    QString trigger_;
    uint version_;
    bool bound_ = false;
    QString sessionPath_;
    QString requestPath_;
    const char *requestSlot_ = nullptr;
    QTimer answerTimer_;
};

std::unique_ptr<ShortcutSession> &ActiveSession()
{
    static std::unique_ptr<ShortcutSession> active;
    return active;
}

} // namespace
} // namespace Portal

bool PortalOffersGlobalShortcuts()
{
    using namespace Portal;
    if (!QDBusConnection::sessionBus().isConnected())
        return false;
    const QDeadlineTimer deadline(kAnswerLimitMs);
    TellApplicationId(deadline);
    const QDBusMessage reply = Call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                                    {kShortcuts, QStringLiteral("version")}, deadline);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        qCInfo(lcPlatform) << "hot key: no portal with global shortcuts:" << reply.errorMessage();
        return false;
    }
    OfferedVersion() = qdbus_cast<QDBusVariant>(reply.arguments().value(0)).variant().toUInt();
    return true;
}

int RegisterPortalHotKey(WindowHandle owner, WindowHandle notifyTarget, int modifiers, int virtualKey)
{
    using namespace Portal;
    if (ActiveSession()) {
        qCInfo(lcPlatform) << "hot key: one is already registered";
        return 0;
    }
    QString trigger = TriggerOf(modifiers, virtualKey);
    if (trigger.isEmpty()) {
        qCInfo(lcPlatform) << "hot key: unsupported key" << Qt::hex << virtualKey << "with modifiers" << modifiers;
        return 0;
    }
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    auto session = std::make_unique<ShortcutSession>(owner, notifyTarget, std::move(trigger), OfferedVersion());
    if (!session->Start(QDeadlineTimer(kAnswerLimitMs)))
        return 0;
    ActiveSession() = std::move(session);
    return kHotKeyNumber;
}

bool ConfigurePortalHotKey(WindowHandle owner, int id)
{
    const std::unique_ptr<Portal::ShortcutSession> &active = Portal::ActiveSession();
    return id == kHotKeyNumber && active && active->Owner() == owner && active->Configure();
}

void UnregisterPortalHotKey(WindowHandle owner, int id)
{
    std::unique_ptr<Portal::ShortcutSession> &active = Portal::ActiveSession();
    if (id != kHotKeyNumber || !active || active->Owner() != owner)
        return;
    active.reset(); // closes the session
}

#include "PortalHotKey.moc"
