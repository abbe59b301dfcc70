#pragma once

#include "QtWindowView.h"
#include "library/Platform.h"
#include "library/RectControl.h"
#include "library/Window.h"

#include <memory>
#include <stdexcept>
#include <unordered_map>

class DeadlineTimer;
class QApplication;
class QtX11DestroyWatch;
class QWidget;

// What a program prints, after "vorpel: ", when there is no desktop to show windows on.
inline constexpr const char* kQtNoDisplayMessage
    = "no desktop session (DISPLAY and WAYLAND_DISPLAY are unset); run it from a graphical session";

// False when neither DISPLAY nor WAYLAND_DISPLAY is set and QT_QPA_PLATFORM does not choose a platform:
// Qt would then abort on start-up rather than report it. Needs no QApplication.
bool QtPlatformDisplayAvailable();

struct QtPlatformError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The desktop platform on Qt Widgets; a program's main holds it through a QtPlatformScope. It runs on
// the main thread, and must go before the QApplication it uses.
class QtPlatform final : public Platform {
public:
    // Makes the QApplication from the program's arguments, which must outlive it, unless one exists
    // already (then it is used and not owned). Throws QtPlatformError when there is no display.
    static std::unique_ptr<QtPlatform> create(int& argc, char** argv);
    // The same for a program's main: where create would throw (no display, or no timer from the system),
    // prints one line "<program>: <why>" on stderr and gives nil.
    static std::unique_ptr<QtPlatform> createForProgram(int& argc, char** argv);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Clock::time_point now() override { return Clock::now(); }
    void showWindow(Window&) override;
    void windowChanged(Window&, WindowAspect) override;
    void windowClosed(Window&) override;
    void controlChanged(RectControl&, ControlAspect) override;
    void scheduleTimer(Timer&, Clock::time_point deadline) override;
    void cancelTimer(Timer&) override;
    // Under the program's own QtGuardedApplication, what an event's handling let out of Qt's loop ends
    // the loop and is thrown again from here.
    void run() override;
    void quit() override;

    // The Qt window shown for a window, nil when none.
    QtWindowView* windowView(const Window&) const;
    // The widget shown for a control, nil when none. For tests and measurements; inline, so that the
    // program, which never asks, carries none of it.
    QWidget* controlWidget(const RectControl& control) const
    {
        Window* window = control.window.get();
        QtWindowView* view = window ? windowView(*window) : nullptr;
        return view ? view->controlWidget(control) : nullptr;
    }

private:
    explicit QtPlatform(std::unique_ptr<QApplication> ownedApplication);
    // The X server destroyed this window; when it is one we show, its Window closes.
    void nativeWindowDestroyed(unsigned long long id);

    // Declared first, so that it goes last: every widget and notifier needs it.
    std::unique_ptr<QApplication> m_ownedApplication;
    std::unique_ptr<DeadlineTimer> m_timers;
    std::unique_ptr<QtX11DestroyWatch> m_destroyWatch;
    std::unordered_map<const Window*, QtWindowView*> m_views;
    bool m_running = false;
    bool m_quitPending = false;
};
