// The program as it runs on the desktop, with a user of its own: it waits for the window's ticks and
// answers with a key, a mouse press and finally Ctrl+Q, all through the window system as a user's
// input comes. tools/memcheck runs it under valgrind. Exit status: the program's own, or 3 when the
// script could not be played to its end.

#include "platforms/qt/QtLabelView.h"
#include "platforms/qt/QtPlatformScope.h"
#include "startup/Program.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
// When the label shows the text, the action is played.
struct Step {
    const char* waitFor;
    std::function<void(QWindow&)> act;
};

// The countdown's text in the shown window, or nil before the window is up.
const QtLabelView* shownLabel(QWidget*& window)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || !top->windowHandle())
            continue;
        for (QWidget* child : top->findChildren<QWidget*>()) {
            if (auto* label = dynamic_cast<const QtLabelView*>(child)) {
                window = top;
                return label;
            }
        }
    }
    return nullptr;
}

class Player {
public:
    Player(std::vector<Step> steps, int giveUpMs)
        : m_steps(std::move(steps))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
        m_poll.start(10);
        m_giveUp.setSingleShot(true);
        QObject::connect(&m_giveUp, &QTimer::timeout, [this] { giveUp(); });
        m_giveUp.start(giveUpMs);
    }

    bool finished() const { return m_next == m_steps.size(); }
    bool gaveUp() const { return m_gaveUp; }

private:
    void poll()
    {
        QWidget* window = nullptr;
        const QtLabelView* label = shownLabel(window);
        if (finished() || !label)
            return;
        m_last = label->text();
        // What an action changes must show before the next step can match: a press that did nothing
        // would otherwise pass for one that reset the count to the same text a tick later.
        if (m_last == m_actedOn)
            return;
        m_actedOn.clear();
        if (m_last != QString::fromUtf8(m_steps[m_next].waitFor))
            return;
        m_actedOn = m_last;
        std::printf("vorpel_driven: %s shown, step %zu\n", m_steps[m_next].waitFor, m_next + 1);
        std::fflush(stdout);
        m_steps[m_next++].act(*window->windowHandle());
        // The last action has to end the loop; the give-up timer stays to catch it when it does not.
        if (finished())
            m_poll.stop();
    }

    void giveUp()
    {
        if (finished()) {
            std::fprintf(stderr, "vorpel_driven: the program went on after its last step\n");
        } else {
            std::fprintf(stderr,
                "vorpel_driven: gave up waiting for %s at step %zu; the label shows \"%s\"\n",
                m_steps[m_next].waitFor, m_next + 1, m_last.toUtf8().constData());
        }
        m_gaveUp = true;
        m_poll.stop();
        QCoreApplication::exit(0);
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QString m_last;
    QString m_actedOn;
    bool m_gaveUp = false;
    QTimer m_poll;
    QTimer m_giveUp;
};
} // namespace

int main(int argc, char** argv)
{
    QtPlatformScope platform(argc, argv);
    if (!platform)
        return 1;
    std::int32_t status = 0;
    bool played = false;
    {
        // Two ticks, a key; a tick, a press; a tick, Quit. Under valgrind start-up alone takes seconds.
        Player player(
            {
                { "00:58", [](QWindow& window) { QTest::keyClick(&window, Qt::Key_A); } },
                { "00:59", [](QWindow& window) { QTest::mouseClick(&window, Qt::LeftButton); } },
                { "00:59",
                    [](QWindow& window) { QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier); } },
            },
            120'000);
        status = runProgram();
        played = player.finished() && !player.gaveUp();
    }
    if (!played)
        return 3;
    std::printf("vorpel_driven: quit with status %d\n", status);
    return status;
}
