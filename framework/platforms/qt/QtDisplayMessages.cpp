#include "QtDisplayMessages.h"

#include "QtGuardedApplication.h"

#include <QGuiApplication>
#include <QStringList>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {
const char* variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Qt aborts when no platform plugin starts. While the application is made, its messages wait here: on
// that failure the program says why in one line and exits with status 1; otherwise they are passed on
// as they came.
struct StartupMessages {
    std::string program;
    std::vector<std::pair<QtMsgType, QString>> held;
};
StartupMessages* startupMessages = nullptr;

// Started outside a login session (su, ssh, a bare X server) there is no XDG_RUNTIME_DIR, and Qt says
// that it makes a folder of its own instead. It does, and nothing is amiss: that line is no news for the
// person who started the program.
bool isQtRuntimeFolderNotice(const QString& message)
{
    return message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set"));
}

// The Wayland client library prints its own errors straight to stderr ("error: XDG_RUNTIME_DIR is
// invalid or not set in the environment."), beside Qt's. Its log goes through a handler of ours instead:
// held with Qt's while the application is made, and printed as before afterwards. The library is the
// one Qt's Wayland plugin loads; without it there is no Wayland to try, and nothing to hold.
using WaylandLogHandler = void (*)(const char* format, va_list arguments);

void holdWaylandLog(const char* format, va_list arguments)
{
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    QString line = QString::fromLocal8Bit(text).trimmed();
    if (line.startsWith(QLatin1String("error: ")))
        line.remove(0, 7);
    if (startupMessages)
        startupMessages->held.emplace_back(QtWarningMsg, line);
}

void printWaylandLog(const char* format, va_list arguments)
{
    std::vfprintf(stderr, format, arguments);
}

void setWaylandLogHandler(WaylandLogHandler handler)
{
    static void* library = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (!library)
        return;
    using Setter = void (*)(WaylandLogHandler);
    if (auto set = reinterpret_cast<Setter>(dlsym(library, "wl_log_set_handler_client")))
        set(handler);
}

// The display a platform plugin connects to, named as the user set it; empty when its variable is unset
// and the plugin has no default.
QString displayOfPlugin(const QString& plugin)
{
    if (plugin == QLatin1String("wayland"))
        return QString::fromLocal8Bit(
            variable("WAYLAND_DISPLAY") ? variable("WAYLAND_DISPLAY") : "wayland-0");
    if (plugin == QLatin1String("xcb"))
        return QString::fromLocal8Bit(variable("DISPLAY"));
    return {};
}

// Qt's Wayland plugin says only "Failed to create wl_display (No such file or directory)" when there is no
// socket by that name: say which socket.
QStringList waylandReasons(const QString& display, const QStringList& reasons)
{
    const char* folder = variable("XDG_RUNTIME_DIR");
    if (display.startsWith(QLatin1Char('/')) || !folder)
        return reasons;
    QString socket = QString::fromLocal8Bit(folder) + QLatin1Char('/') + display;
    QStringList said;
    for (const QString& reason : reasons)
        said << (reason.endsWith(QLatin1String("(No such file or directory)"))
                    && access(socket.toLocal8Bit().constData(), F_OK) != 0
                ? QStringLiteral("no Wayland socket %1").arg(socket)
                : reason);
    return said;
}

QString withoutFinalStop(QString text)
{
    text = text.trimmed();
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// Qt tries the session's platforms in turn (Wayland, then X11), or the one QT_QPA_PLATFORM chooses, and
// says of each that failed:
//   Could not load the Qt platform plugin "wayland" in "" even though it was found.
// after the plugin's own reasons; of a plugin it does not have:
//   Could not find the Qt platform plugin "bogus" in ""
// The line names the displays tried and their reasons, in Qt's order. A plugin that Qt tried of its own
// accord with no display set (X11 without DISPLAY) is no news; one the user chose is.
void reportNoDisplay(const StartupMessages& messages, const QString& fatal)
{
    static const QLatin1String failedPlugin("Could not load the Qt platform plugin \"");
    static const QLatin1String missingPlugin("Could not find the Qt platform plugin \"");
    static const QLatin1String available("Available platform plugins are: ");
    const char* chosen = variable("QT_QPA_PLATFORM");
    QStringList displays;
    QStringList reasons;
    QStringList pending;
    for (const auto& held : messages.held) {
        const QString& text = held.second;
        bool failed = text.startsWith(failedPlugin);
        if (!failed && !text.startsWith(missingPlugin)) {
            pending << withoutFinalStop(text);
            continue;
        }
        QString plugin
            = text.mid((failed ? failedPlugin : missingPlugin).size()).section(QLatin1Char('"'), 0, 0);
        QString display = displayOfPlugin(plugin);
        if (!failed) {
            QString reason
                = QStringLiteral("QT_QPA_PLATFORM chooses \"%1\", a platform Qt does not have").arg(plugin);
            if (qsizetype at = fatal.indexOf(available); at >= 0)
                reason
                    += QStringLiteral("; it has %1").arg(withoutFinalStop(fatal.mid(at + available.size())));
            reasons << reason;
        } else if (!display.isEmpty()) {
            displays << display;
            reasons << (plugin == QLatin1String("wayland") ? waylandReasons(display, pending) : pending);
        } else if (plugin != QLatin1String("xcb")) {
            // A platform without a display of ours to name (eglfs, vnc and the like): its own reasons.
            reasons << QStringLiteral("the platform %1: %2")
                           .arg(plugin,
                               pending.isEmpty() ? QStringLiteral("it did not start")
                                                 : pending.join(QLatin1String("; ")));
        } else if (chosen) {
            reasons << QStringLiteral("QT_QPA_PLATFORM chooses xcb, and DISPLAY is unset");
        }
        pending.clear();
    }
    reasons << pending;
    // Qt's own last word says to reinstall the application, which would not help: it is kept only when
    // it is a plugin's own.
    if (reasons.isEmpty() && !fatal.isEmpty()
        && !fatal.startsWith(QLatin1String("This application failed to start")))
        reasons << withoutFinalStop(fatal.section(QLatin1Char('\n'), 0, 0));
    if (reasons.isEmpty() && chosen)
        reasons << QStringLiteral("QT_QPA_PLATFORM chooses %1, and it did not start")
                       .arg(QString::fromLocal8Bit(chosen));
    if (reasons.isEmpty())
        reasons << QStringLiteral("no Qt platform plugin could be started");
    QString names = displays.join(QLatin1String(" or "));
    std::fprintf(stderr, "%s: cannot open the desktop display%s%s (%s)\n", messages.program.c_str(),
        names.isEmpty() ? "" : " ", names.toLocal8Bit().constData(),
        reasons.join(QLatin1String("; ")).toLocal8Bit().constData());
    std::fflush(stderr);
}

void holdStartupMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    StartupMessages& messages = *startupMessages;
    if (type != QtFatalMsg) {
        if (!isQtRuntimeFolderNotice(message))
            messages.held.emplace_back(type, message);
        return;
    }
    reportNoDisplay(messages, message);
    std::_Exit(1);
}

// When the display goes away, Qt says so and ends the process. Whatever else Qt finds fatal later would
// abort the process after the handler: it is one line and status 1 as well.
QtMessageHandler runningPrevious = nullptr;
std::string runningProgram;

void passRunningMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("The Wayland connection broke"))
        || message.startsWith(QLatin1String("The X11 connection broke")))
        QtEndWithLine(message);
    if (type == QtFatalMsg)
        QtEndWithLine(QString::fromStdString(runningProgram) + QLatin1String(": ")
            + message.section(QLatin1Char('\n'), 0, 0));
    if (runningPrevious)
        runningPrevious(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
} // namespace

std::string QtProgramName(int argc, char** argv)
{
    std::string path = argc > 0 && argv && argv[0] ? argv[0] : "vorpel";
    return path.substr(path.find_last_of('/') + 1);
}

std::unique_ptr<QApplication> QtMakeProgramApplication(int& argc, char** argv)
{
    StartupMessages messages;
    messages.program = QtProgramName(argc, argv);
    startupMessages = &messages;
    setWaylandLogHandler(&holdWaylandLog);
    QtMessageHandler previous = qInstallMessageHandler(&holdStartupMessage);
    std::unique_ptr<QApplication> application = std::make_unique<QtGuardedApplication>(argc, argv);
    // A platform that starts without a screen (linuxfb without a framebuffer, say) has nothing to show
    // the window on either.
    if (!QGuiApplication::primaryScreen()) {
        reportNoDisplay(
            messages, QStringLiteral("the platform %1 has no screen").arg(QGuiApplication::platformName()));
        std::_Exit(1);
    }
    qInstallMessageHandler(previous);
    setWaylandLogHandler(&printWaylandLog);
    startupMessages = nullptr;
    runningProgram = messages.program;
    runningPrevious = qInstallMessageHandler(&passRunningMessage);
    QMessageLogContext context;
    for (const auto& [type, text] : messages.held)
        qt_message_output(type, context, text);
    return application;
}

void QtEndWithLine(const QString& line)
{
    // The Wayland plugin can notice a lost compositor on two threads at once: the first one says it.
    static std::atomic_flag told = ATOMIC_FLAG_INIT;
    if (told.test_and_set()) {
        for (;;)
            pause();
    }
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
    std::_Exit(1);
}
