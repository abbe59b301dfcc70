#include "QtX11DestroyWatch.h"

#include <QByteArray>

#include <xcb/xcb.h>

QtX11DestroyWatch::QtX11DestroyWatch(std::function<void(WId)> destroyed)
    : m_destroyed(std::move(destroyed))
{
}

bool QtX11DestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent; a real DestroyNotify comes from the server.
    if (event->response_type != XCB_DESTROY_NOTIFY)
        return false;
    m_destroyed(static_cast<const xcb_destroy_notify_event_t*>(message)->window);
    // Qt goes on with the event as before.
    return false;
}
