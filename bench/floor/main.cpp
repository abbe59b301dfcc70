// The floor: the same window and countdown as Vorpel, written as a bare Qt 6 Widgets program, so that
// every figure of the real program can be set against what Qt itself costs.

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>

namespace {

constexpr int kFullMinute = 60;

bool measuring()
{
    const char* value = std::getenv("VORPEL_MEASURE");
    return value && std::string(value) == "1";
}

long long clockNs(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The kernel's start time of this process counts clock ticks since boot; it includes the exec and the
// dynamic loading that a timestamp taken in main() would miss.
double msSinceProcessStart()
{
    std::string stat(1024, '\0');
    if (FILE* file = std::fopen("/proc/self/stat", "r")) {
        stat.resize(std::fread(stat.data(), 1, stat.size() - 1, file));
        std::fclose(file);
    }
    std::size_t field = stat.rfind(')');
    if (field == std::string::npos)
        return -1;
    // starttime is field 22; field 3 (the state) follows the command's closing parenthesis.
    const char* at = stat.c_str() + field + 2;
    for (int n = 3; n < 22 && at; ++n) {
        at = std::strchr(at, ' ');
        if (at)
            ++at;
    }
    if (!at)
        return -1;
    double startTicks = std::strtod(at, nullptr);
    double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    return static_cast<double>(clockNs(CLOCK_BOOTTIME)) / 1e6 - startTicks * 1000.0 / ticksPerSecond;
}

void report(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Reports the first frame once: the first Paint any widget receives starts a zero-delay timer, which
// runs when that paint pass, flush to the X server included, has returned to the event loop.
class FirstFrameProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && event->type() == QEvent::Paint) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                char line[64];
                std::snprintf(line, sizeof line, "first-frame %.3f", msSinceProcessStart());
                report(line);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

class CountdownWindow : public QMainWindow {
public:
    explicit CountdownWindow(bool measure)
        : m_measure(measure)
    {
        setWindowTitle(QString::fromUtf8(u8"ボルペル"));
        buildMenus();

        auto* content = new QWidget(this);
        auto* layout = new QVBoxLayout(content);
        layout->setContentsMargins(20, 14, 20, 20);
        layout->setSpacing(12);

        m_text = new QLabel(QStringLiteral("01:00"), content);
        QFont font = m_text->font();
        font.setPointSize(256);
        font.setBold(true);
        m_text->setFont(font);
        m_text->setAlignment(Qt::AlignCenter);
        layout->addWidget(m_text, 1);

        m_bar = new QProgressBar(content);
        m_bar->setRange(0, kFullMinute);
        m_bar->setValue(0);
        m_bar->setTextVisible(false);
        m_bar->setFixedHeight(22);
        layout->addWidget(m_bar);
        setCentralWidget(content);

        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1000);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        arm();
    }

protected:
    void mousePressEvent(QMouseEvent*) override { reset(); }
    void keyPressEvent(QKeyEvent*) override { reset(); }

private:
    void buildMenus()
    {
        QMenu* file = menuBar()->addMenu(QString::fromUtf8(u8"ファイル"));
        QAction* quit = file->addAction(QString::fromUtf8(u8"終了"));
        quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
        connect(quit, &QAction::triggered, qApp, &QApplication::quit);

        QMenu* edit = menuBar()->addMenu(QString::fromUtf8(u8"編集"));
        edit->addAction(QString::fromUtf8(u8"取り消す"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
        edit->addSeparator();
        edit->addAction(QString::fromUtf8(u8"カット"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
        edit->addAction(QString::fromUtf8(u8"コピー"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
        edit->addAction(QString::fromUtf8(u8"貼り付け"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
        edit->addAction(QString::fromUtf8(u8"削除"));
        edit->addSeparator();
        edit->addAction(QString::fromUtf8(u8"すべてを選択"))->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    }

    // Starts the one-second grid; the n-th tick is due n seconds after this.
    void arm()
    {
        m_timer.start();
        if (m_measure)
            report("arm " + std::to_string(clockNs(CLOCK_MONOTONIC)));
    }

    void tick()
    {
        long long now = clockNs(CLOCK_MONOTONIC);
        if (m_measure)
            report("tick " + std::to_string(++m_ticks) + " " + std::to_string(now));
        if (m_left > 0)
            --m_left;
        m_text->setText(QStringLiteral("00:%1").arg(m_left, 2, 10, QLatin1Char('0')));
        setTextColor(m_left <= 5 ? QColor(128, 0, 0) : m_left <= 14 ? QColor(255, 0, 0) : QColor(0, 0, 0));
        m_bar->setValue(m_left);
    }

    // As in the real program, a press restarts the minute but not the timer's grid.
    void reset()
    {
        m_left = kFullMinute;
        m_text->setText(QStringLiteral("01:00"));
        setTextColor(QColor(0, 0, 0));
        m_bar->setValue(kFullMinute);
    }

    void setTextColor(const QColor& color)
    {
        QPalette palette = m_text->palette();
        if (palette.color(QPalette::WindowText) == color)
            return;
        palette.setColor(QPalette::WindowText, color);
        m_text->setPalette(palette);
    }

    bool m_measure;
    int m_left = kFullMinute;
    long long m_ticks = 0;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QTimer m_timer;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const bool measure = measuring();
    FirstFrameProbe probe;
    if (measure)
        app.installEventFilter(&probe);
    CountdownWindow window(measure);
    window.showFullScreen();
    return app.exec();
}
