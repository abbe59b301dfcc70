#include "QtX11DestroyWatch.h"

#include <QByteArray>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
xcb_connection_t* applicationConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool isRoot(xcb_window_t window)
{
    xcb_connection_t* connection = applicationConnection();
    if (!connection)
        return false;
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem;
         xcb_screen_next(&screens)) {
        if (screens.data->root == window)
            return true;
    }
    return false;
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T> using Reply = std::unique_ptr<T, FreeReply>;
} // namespace

QtX11DestroyWatch::QtX11DestroyWatch(std::function<void(WId)> destroyed)
    : m_destroyed(std::move(destroyed))
{
}

bool QtX11DestroyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent; real ones come from the server.
    if (event->response_type == XCB_REPARENT_NOTIFY) {
        const auto* reparent = static_cast<const xcb_reparent_notify_event_t*>(message);
        if (isRoot(reparent->parent))
            m_framed.erase(reparent->window);
        else
            m_framed.insert(reparent->window);
    } else if (event->response_type == XCB_DESTROY_NOTIFY) {
        m_destroyed(static_cast<const xcb_destroy_notify_event_t*>(message)->window);
    }
    // Qt goes on with the event as before.
    return false;
}

QtX11DestroyWatch::Cause QtX11DestroyWatch::causeOf(WId window) const
{
    xcb_connection_t* connection = applicationConnection();
    if (!connection)
        return Cause::Destroyed;
    static constexpr char kManagerSelection[] = "WM_S0";
    xcb_intern_atom_cookie_t asked
        = xcb_intern_atom(connection, 0, sizeof kManagerSelection - 1, kManagerSelection);
    Reply<xcb_intern_atom_reply_t> selection(xcb_intern_atom_reply(connection, asked, nullptr));
    if (!selection)
        return Cause::ServerGone;
    if (!m_framed.contains(window))
        return Cause::Destroyed;
    Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection->atom), nullptr));
    if (!owner)
        return Cause::ServerGone;
    return owner->owner == XCB_NONE ? Cause::ManagerGone : Cause::Destroyed;
}

QString QtX11DestroyWatch::lostDisplayLine(Cause cause)
{
    if (cause == Cause::ManagerGone)
        return QStringLiteral("The X11 window manager ended and took the window with it");
    // As Qt words it when it notices first.
    xcb_connection_t* connection = applicationConnection();
    int code = connection ? xcb_connection_has_error(connection) : XCB_CONN_ERROR;
    return QStringLiteral("The X11 connection broke: %1 (code %2)")
        .arg(code == XCB_CONN_ERROR ? QStringLiteral("I/O error") : QStringLiteral("error"))
        .arg(code);
}
