#include "PageNotifications.h"

#include <QWebEngineNotification>

namespace platform {

PageNotifications &PageNotifications::Instance()
{
    static PageNotifications instance;
    return instance;
}

void PageNotifications::Present(std::unique_ptr<QWebEngineNotification> notification)
{
    emit Instance().Shown(notification->title(), notification->message(),
                          notification->origin().toString());
    // The page hears that it was shown, as a browser would tell it.
    notification->show();
}

} // namespace platform
