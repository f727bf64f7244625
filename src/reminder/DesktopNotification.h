#pragma once

// Qt
#include <QDBusConnection>
#include <QObject>
#include <QString>

// std
#include <optional>

namespace tonarika {

// One notification through the desktop's notification service
// (org.freedesktop.Notifications) on a session bus: shown with one action, and told when
// the player takes the action or the notification is closed.
class DesktopNotification : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotification(QDBusConnection bus, QObject* parent = nullptr);

    struct Content {
        QString title;
        QString body;
        QString actionLabel;   // the one action's label
        QString icon;          // an icon's name in the theme
        QString desktopEntry;  // the desktop entry's name, without ".desktop"
    };
    // Shows it; why it could not, or nothing. `noService` says whether no service answers.
    std::optional<QString> show(const Content& content, bool* noService = nullptr);
    // Takes it off the screen.
    void close();

signals:
    void actionInvoked();
    void closed();

private slots:
    void onActionInvoked(uint id, const QString& key);
    void onClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    uint m_id = 0;
};

}  // namespace tonarika
