#pragma once

#include <QObject>
#include <QString>
#include <QWebEngineNotification>

#include <memory>

namespace platform {

// The notifications pages show (those the policy let ask for them), handed to whoever puts them
// on the screen: the main window shows them as tray balloons. With nobody listening they are
// dropped.
class PageNotifications : public QObject {
    Q_OBJECT

public:
    static PageNotifications &Instance();

    // The shared profile's presenter.
    static void Present(std::unique_ptr<QWebEngineNotification> notification);

signals:
    void Shown(const QString &title, const QString &message, const QString &origin);
};

} // namespace platform
