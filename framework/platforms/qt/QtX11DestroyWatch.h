#pragma once

#include <QAbstractNativeEventFilter>
#include <QString>
#include <QtGui/qwindowdefs.h>

#include <functional>
#include <unordered_set>

// On X11 another program may destroy one of our windows (XDestroyWindow, as `xdotool windowclose`
// does). Qt takes no notice: the widget lives on, and the program with it, with nothing on the screen.
// Installed on the application, this reports the id of every window the X server says is destroyed; the
// platform picks out the ones it still shows. Events of other platforms pass by untouched.
//
// A display that is going away destroys our windows too, just before it drops us: an X server that
// stops, or, under XWayland, the compositor's own window manager, whose frames take our windows with
// them when it ends. The report says which it was.
class QtX11DestroyWatch final : public QAbstractNativeEventFilter {
public:
    enum class Cause {
        // Another client destroyed the window; the display lives on.
        Destroyed,
        // The X server no longer answers: the connection is broken.
        ServerGone,
        // The window manager that framed the window ended and its frame took the window.
        ManagerGone,
    };

    explicit QtX11DestroyWatch(std::function<void(WId)> destroyed);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    // Why the window just reported went. Asked of the server in one round trip after the destruction,
    // so the answer does not depend on which event came first: a server that tears itself down serves
    // no more requests, and a window manager that ends gives up its selection in the same step as its
    // frames.
    Cause causeOf(WId window) const;
    // The one line that tells a display lost for that cause.
    static QString lostDisplayLine(Cause);

private:
    std::function<void(WId)> m_destroyed;
    // Our windows that a window manager has put in frames of its own.
    std::unordered_set<WId> m_framed;
};
