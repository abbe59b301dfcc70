#pragma once

#include <QAbstractNativeEventFilter>
#include <QtGui/qwindowdefs.h>

#include <functional>

// On X11 another program may destroy one of our windows (XDestroyWindow, as `xdotool windowclose`
// does). Qt takes no notice: the widget lives on, and the program with it, with nothing on the screen.
// Installed on the application, this reports the id of every window the X server says is destroyed; the
// platform picks out the ones it still shows. Events of other platforms pass by untouched.
class QtX11DestroyWatch final : public QAbstractNativeEventFilter {
public:
    explicit QtX11DestroyWatch(std::function<void(WId)> destroyed);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::function<void(WId)> m_destroyed;
};
