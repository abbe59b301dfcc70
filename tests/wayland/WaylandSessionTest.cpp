// The real program in a Wayland session, on a compositor of its own: a headless weston, or for input a
// weston that runs as a window on an Xvfb of its own, so that xdotool's keys and clicks on that window
// reach the program as a Wayland seat's. The environment is a GNOME-style session's:
// XDG_SESSION_TYPE=wayland, and DISPLAY naming an X server (XWayland's) that the program must not need.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {
constexpr int kWidth = 1280;
constexpr int kHeight = 720;
const QString kSocket = QStringLiteral("vorpel-test");

// Polls until the condition holds or the time is up; tests wait on other processes this way.
bool waitFor(const std::function<bool()>& condition, int milliseconds)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.hasExpired(milliseconds))
            return false;
        QThread::msleep(50);
    }
    return true;
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// The program's text: dark pixels, counted in the middle of the output where the digits stand.
int darkPixelsInTheMiddle(const QImage& image)
{
    int dark = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
        for (int x = image.width() / 8; x < image.width() * 7 / 8; ++x) {
            QColor c = image.pixelColor(x, y);
            dark += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    }
    return dark;
}

// The window covers the whole output: the compositor's own background shows in no corner, and the
// digits stand in the middle. The top left is read a little below the corner: weston may leave its
// pointer at the output's origin (see the input test) and draw it there.
bool showsTheWindowFullScreen(const QImage& image)
{
    if (image.size() != QSize(kWidth, kHeight))
        return false;
    for (QPoint corner : { QPoint(0, 32), QPoint(kWidth - 1, 0), QPoint(0, kHeight - 1),
             QPoint(kWidth - 1, kHeight - 1) }) {
        QColor c = image.pixelColor(corner);
        if (c.red() < 200 || c.green() < 200 || c.blue() < 200)
            return false;
    }
    return darkPixelsInTheMiddle(image) > kWidth * kHeight / 100;
}

// How full the progress bar is, from 0 to 1: its blue chunk against the bar's whole width, on the row
// near the bottom where the chunk is widest. Nil when no bar shows.
std::optional<double> barFill(const QImage& image)
{
    auto isChunk = [](QColor c) { return c.blue() > 150 && c.red() < 100; };
    auto isEmptyPart = [](QColor c) { return c.red() >= 250 && c.green() >= 250 && c.blue() >= 250; };
    int bestRow = -1;
    int bestCount = 0;
    for (int y = image.height() * 4 / 5; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += isChunk(image.pixelColor(x, y));
        if (count > bestCount) {
            bestCount = count;
            bestRow = y;
        }
    }
    if (bestRow < 0)
        return std::nullopt;
    int left = -1;
    int right = -1;
    for (int x = 0; x < image.width(); ++x) {
        QColor c = image.pixelColor(x, bestRow);
        if (isChunk(c) || (left >= 0 && isEmptyPart(c))) {
            if (left < 0)
                left = x;
            right = x;
        }
    }
    return static_cast<double>(bestCount) / (right - left + 1);
}

enum class Backend { Headless, OnXvfb };

class WaylandSession : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtimeDir.isValid());
        ASSERT_TRUE(m_shots.isValid());
    }

    void TearDown() override
    {
        stop(m_program);
        stop(m_compositor);
        stop(m_xServer);
    }

    void startCompositor(Backend backend)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        QString backendName = QStringLiteral("headless-backend.so");
        if (backend == Backend::OnXvfb) {
            ASSERT_NO_FATAL_FAILURE(startXServer());
            environment.insert(QStringLiteral("DISPLAY"), m_xDisplay);
            backendName = QStringLiteral("x11-backend.so");
        }
        m_compositor.setProcessEnvironment(environment);
        // weston talks a lot; its log stays beside its socket.
        m_compositor.setProcessChannelMode(QProcess::MergedChannels);
        m_compositor.setStandardOutputFile(m_runtimeDir.filePath(QStringLiteral("weston.log")));
        // --debug lets weston-screenshooter in.
        m_compositor.start(QStringLiteral("weston"),
            { QStringLiteral("--backend=") + backendName, QStringLiteral("--use-pixman"),
                QStringLiteral("--width=%1").arg(kWidth), QStringLiteral("--height=%1").arg(kHeight),
                QStringLiteral("--socket=") + kSocket, QStringLiteral("--idle-time=0"),
                QStringLiteral("--debug") });
        ASSERT_TRUE(m_compositor.waitForStarted(10000)) << "weston did not start: is it installed?";
        ASSERT_TRUE(waitFor([&] { return QFileInfo::exists(m_runtimeDir.filePath(kSocket)); }, 10000))
            << "weston did not open its socket";
    }

    // An X server for weston's window, on a display number it picks itself, with room beside the window
    // for the pointer to leave it.
    void startXServer()
    {
        m_xServer.setProcessChannelMode(QProcess::SeparateChannels);
        m_xServer.setStandardErrorFile(QProcess::nullDevice());
        m_xServer.start(QStringLiteral("Xvfb"),
            { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("%1x%2x24").arg(kWidth + 100).arg(kHeight + 100), QStringLiteral("-nolisten"),
                QStringLiteral("tcp") });
        ASSERT_TRUE(m_xServer.waitForStarted(10000)) << "Xvfb did not start: is it installed?";
        ASSERT_TRUE(waitFor(
            [&] {
                m_xServer.waitForReadyRead(50);
                return m_xServer.canReadLine();
            },
            10000));
        QByteArray number = m_xServer.readLine().trimmed();
        ASSERT_FALSE(number.isEmpty()) << "Xvfb gave no display number";
        m_xDisplay = QStringLiteral(":") + QString::fromLatin1(number);
    }

    // Plays input on weston's window, as a user at its keyboard and mouse would.
    void xdotool(const QStringList& arguments, QByteArray* output = nullptr)
    {
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_xDisplay);
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(tool.waitForFinished(10000)) << "xdotool did not end: is it installed?";
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
        if (output)
            *output = tool.readAllStandardOutput();
    }

    // Moves the X pointer and waits until the X server reports it there.
    void movePointer(int x, int y)
    {
        const QByteArray there = QStringLiteral("x:%1 y:%2 ").arg(x).arg(y).toLatin1();
        QByteArray location;
        bool moved = waitFor(
            [&] {
                xdotool({ QStringLiteral("mousemove"), QString::number(x), QString::number(y) });
                xdotool({ QStringLiteral("getmouselocation") }, &location);
                return location.startsWith(there) || testing::Test::HasFatalFailure();
            },
            5000);
        ASSERT_FALSE(testing::Test::HasFatalFailure());
        ASSERT_TRUE(moved) << "the X pointer stays at " << location.constData();
    }

    QProcessEnvironment sessionEnvironment(const QString& waylandDisplay = kSocket) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        // Under LeakSanitizer, what the system's D-Bus, Wayland and EGL libraries keep to the end is not
        // ours. The slow unwinder follows an allocation's stack through libraries built without frame
        // pointers, as far as the library that the suppressions name.
        QString leakOptions = environment.value(QStringLiteral("LSAN_OPTIONS"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
            (leakOptions.isEmpty() ? QString() : leakOptions + QLatin1Char(':'))
                + QStringLiteral(
                    "fast_unwind_on_malloc=0:print_suppressions=0:suppressions=" VORPEL_LSAN_SUPPRESSIONS));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandDisplay);
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4093"));
        return environment;
    }

    void startProgram(const char* path, const QProcessEnvironment& environment)
    {
        m_program.setProcessEnvironment(environment);
        m_program.start(QString::fromLocal8Bit(path), {});
        ASSERT_TRUE(m_program.waitForStarted(10000));
    }

    // What the compositor shows now.
    QImage screenshot()
    {
        QProcess shooter;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir.path());
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
        shooter.setProcessEnvironment(environment);
        shooter.setWorkingDirectory(m_shots.path());
        shooter.start(QStringLiteral("weston-screenshooter"), {});
        if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0)
            return {};
        QDir shots(m_shots.path());
        QImage image;
        for (const QFileInfo& file : shots.entryInfoList({ QStringLiteral("*.png") }, QDir::Files)) {
            image.load(file.filePath());
            QFile::remove(file.filePath());
        }
        return image;
    }

    QTemporaryDir m_runtimeDir;
    QTemporaryDir m_shots;
    QProcess m_xServer;
    QString m_xDisplay;
    QProcess m_compositor;
    QProcess m_program;
};

TEST_F(WaylandSession, TheWindowFillsTheOutputCountsDownAndEndsWithTheCompositor)
{
    ASSERT_NO_FATAL_FAILURE(startCompositor(Backend::Headless));
    startProgram(VORPEL_PROGRAM, sessionEnvironment());
    QImage first;
    ASSERT_TRUE(waitFor([&] { return showsTheWindowFullScreen(first = screenshot()); }, 20000))
        << "no full-screen window with its digits at " << kWidth << "x" << kHeight;

    // A tick or two later the digits are others.
    QThread::msleep(2200);
    QImage later = screenshot();
    ASSERT_TRUE(showsTheWindowFullScreen(later));
    EXPECT_NE(first.copy(0, kHeight / 4, kWidth, kHeight / 2), later.copy(0, kHeight / 4, kWidth, kHeight / 2))
        << "the countdown did not tick";
    EXPECT_EQ(m_program.readAllStandardError().toStdString(), "") << "the program spoke on stderr in a Wayland session";

    // The compositor goes away: the program ends with one line and status 1.
    stop(m_compositor);
    ASSERT_TRUE(m_program.waitForFinished(10000)) << "the program outlived its compositor";
    EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_program.exitCode(), 1);
    QByteArray said = m_program.readAllStandardError();
    EXPECT_EQ(said.count('\n'), 1) << said.constData();
    EXPECT_TRUE(said.endsWith('\n')) << said.constData();
}

// Input from the compositor's seat: a key, a click, and a key after a lone Alt tap each restart the
// minute (the bar jumps back to full), and Ctrl+Q ends the program with status 0.
TEST_F(WaylandSession, KeysClicksAndQuitFromTheSeatReachTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(startCompositor(Backend::OnXvfb));
    startProgram(VORPEL_PROGRAM, sessionEnvironment());
    ASSERT_TRUE(waitFor([&] { return showsTheWindowFullScreen(screenshot()); }, 20000));
    // weston moves its pointer by each X motion relative to the X position it saw last. Xvfb's pointer
    // already stands inside weston's window when it maps, and the enter this gives weston can come before
    // its output is ready to place it: its pointer then stays in the corner, over the menu bar, whatever
    // moves follow. Out of the window and in again, once the output shows the program, the enter places it.
    ASSERT_NO_FATAL_FAILURE(movePointer(kWidth + 50, kHeight + 50));
    ASSERT_NO_FATAL_FAILURE(movePointer(kWidth / 2, kHeight / 2));

    struct Reset {
        const char* what;
        QStringList input;
    };
    const Reset resets[] = {
        { "a key", { QStringLiteral("key"), QStringLiteral("a") } },
        { "a click", { QStringLiteral("click"), QStringLiteral("1") } },
        { "a key after a lone Alt tap",
            { QStringLiteral("key"), QStringLiteral("alt"), QStringLiteral("key"), QStringLiteral("b") } },
    };
    for (const Reset& reset : resets) {
        SCOPED_TRACE(reset.what);
        // Five ticks or more down, the bar is at most 55/60; a reset brings it to 60/60, a tick after
        // that to 59/60.
        ASSERT_TRUE(waitFor([&] { return barFill(screenshot()).value_or(1) < 0.93; }, 15000));
        xdotool(reset.input);
        EXPECT_TRUE(waitFor([&] { return barFill(screenshot()).value_or(0) > 0.95; }, 3000))
            << reset.what << " did not restart the minute";
    }

    xdotool({ QStringLiteral("key"), QStringLiteral("ctrl+q") });
    ASSERT_TRUE(m_program.waitForFinished(10000)) << "Ctrl+Q did not end the program";
    EXPECT_EQ(m_program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_program.exitCode(), 0);
    EXPECT_EQ(m_program.readAllStandardError().toStdString(), "");
}

// A compositor that cannot be reached, with an X display beside it or not: one line naming it, status 1.
TEST_F(WaylandSession, AnUnreachableCompositorIsOneLineAndStatusOne)
{
    for (bool withX : { false, true }) {
        SCOPED_TRACE(withX ? "with DISPLAY" : "without DISPLAY");
        QProcessEnvironment environment = sessionEnvironment(QStringLiteral("vorpel-nobody"));
        if (!withX)
            environment.remove(QStringLiteral("DISPLAY"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QString::fromLocal8Bit(VORPEL_PROGRAM), {});
        ASSERT_TRUE(program.waitForFinished(30000));
        QByteArray said = program.readAllStandardError();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_TRUE(said.startsWith("vorpel: cannot open the desktop display vorpel-nobody")) << said.constData();
        EXPECT_EQ(said.count('\n'), 1) << said.constData();
    }
}
// A compositor matches the window to the program's desktop entry by the app id its toplevel sends; the
// program's side of the protocol, as libwayland logs it, shows what it sent.
TEST_F(WaylandSession, TheWindowsAppIdIsTheDesktopEntrysId)
{
    ASSERT_NO_FATAL_FAILURE(startCompositor(Backend::Headless));
    QProcessEnvironment environment = sessionEnvironment();
    environment.insert(QStringLiteral("WAYLAND_DEBUG"), QStringLiteral("client"));
    // The log runs long: to a file, so that a full pipe never stalls the program.
    QString log = m_runtimeDir.filePath(QStringLiteral("program.log"));
    m_program.setStandardErrorFile(log);
    startProgram(VORPEL_PROGRAM, environment);
    ASSERT_TRUE(waitFor([&] { return showsTheWindowFullScreen(screenshot()); }, 20000));
    stop(m_program);

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QString said = QString::fromUtf8(file.readAll());
    static const QRegularExpression setAppId(QStringLiteral(R"re(xdg_toplevel@\d+\.set_app_id\("([^"]*)"\))re"));
    QStringList ids;
    for (QRegularExpressionMatchIterator match = setAppId.globalMatch(said); match.hasNext();)
        ids << match.next().captured(1);
    ASSERT_FALSE(ids.isEmpty()) << "the program sent no app id";
    for (const QString& id : ids)
        EXPECT_EQ(id.toStdString(), VORPEL_APP_ID);
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
