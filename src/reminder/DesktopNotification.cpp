#include "DesktopNotification.h"

// Qt
#include <QDBusError>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace tonarika {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The key a click on the notification itself invokes too.
const QString kAction = QStringLiteral("default");
constexpr int kCallMs = 5000;

}  // namespace

DesktopNotification::DesktopNotification(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    // Listened to before the notification is sent, so that no answer comes unheard.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
}

std::optional<QString> DesktopNotification::show(const Content& content, bool* noService)
{
    if (noService)
        *noService = false;
    QDBusMessage notify = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), content.desktopEntry);
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    notify << QStringLiteral("Tonarika") << uint(0) << content.icon << content.title << content.body
           << QStringList{kAction, content.actionLabel} << hints << int(-1);
    const QDBusMessage reply = m_bus.call(notify, QDBus::Block, kCallMs);
    if (reply.type() == QDBusMessage::ErrorMessage) {
        if (noService) {
            const QString name = reply.errorName();
            *noService = name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                         || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")
                         || name == QLatin1String("org.freedesktop.DBus.Error.Spawn.ServiceNotFound");
        }
        return reply.errorName() + QStringLiteral(": ") + reply.errorMessage();
    }
    if (reply.arguments().isEmpty())
        return QStringLiteral("the notification service gave no number for the notification");
    m_id = reply.arguments().constFirst().toUInt();
    return std::nullopt;
}

void DesktopNotification::close()
{
    if (m_id == 0)
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("CloseNotification"));
    message << m_id;
    m_bus.call(message, QDBus::Block, kCallMs);
}

void DesktopNotification::onActionInvoked(uint id, const QString& key)
{
    if (id == m_id && m_id != 0 && key == kAction)
        emit actionInvoked();
}

void DesktopNotification::onClosed(uint id, uint)
{
    if (id == m_id && m_id != 0)
        emit closed();
}

}  // namespace tonarika
