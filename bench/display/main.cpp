// Input to display: a key press delivered to Vorpel's window until the label, repainted, shows "01:00".
// The real program on the Qt platform, run offscreen. Before each press a tick turns the label to a red
// "00:14", painted and settled, so that every press repaints text and colour. Writes the samples and
// their summary as JSON.
//
//     QT_QPA_PLATFORM=offscreen vorpel_input_to_display OUT.json [presses]

#include "mainwindow/Window1.h"
#include "platforms/qt/QtLabelView.h"
#include "platforms/qt/QtPlatformScope.h"
#include "platforms/qt/QtWindowView.h"
#include "startup/ProgramBeforeLoop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

namespace {

using Steady = std::chrono::steady_clock;

// Notes every paint the watched widget receives.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

// Runs the loop until the label has been painted and the pass that painted it has returned, which
// includes handing the frame to the backing store. False when no paint comes.
bool processUntilPainted(PaintWatch& watch)
{
    auto give_up = Steady::now() + std::chrono::seconds(2);
    while (!watch.painted) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (Steady::now() > give_up)
            return false;
    }
    return true;
}

int fail(const char* why)
{
    std::fprintf(stderr, "vorpel_input_to_display: %s\n", why);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return fail("usage: vorpel_input_to_display OUT.json [presses]");
    const std::string out = argv[1];
    const long presses = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 500;
    if (presses <= 0)
        return fail("the count of presses must be positive");

    std::vector<double> samples;
    std::string problem;
    QSize screen;
    {
        QtPlatformScope platform(argc, argv);
        if (!platform)
            return 1;
        // Shut down on every way out, so that each measurement is of a whole run.
        ProgramBeforeLoop program;
        {
            RefPtr<Window1::Window1> window = program.window();
            RefPtr<::Timer> timer = window ? Window1::Window1::vorpel_timer(window.get()) : nullptr;
            QtWindowView* view = window ? platform.platform().windowView(*window) : nullptr;
            // The window's one label view, found among its widgets, so that this needs none of the
            // platform's look-ups for tests.
            QtLabelView* labelView = nullptr;
            if (view) {
                for (QWidget* child : view->findChildren<QWidget*>()) {
                    if (auto* shown = dynamic_cast<QtLabelView*>(child))
                        labelView = shown;
                }
            }
            if (!view || !labelView || !timer)
                return fail("the program's window, label or timer is not shown");
            // Ticks come from here only, so that none lands inside a press.
            ::Timer::Mode::Set(timer.get(), 0, ::Timer::ModeOff);
            QWidget* target = view->focusProxy() ? view->focusProxy() : view;
            PaintWatch watch;
            labelView->installEventFilter(&watch);
            QCoreApplication::processEvents();

            for (long n = 0; n < presses && problem.empty(); ++n) {
                window->limit = 15;
                callMethod(timer.get(), ::Timer::kCallAction);
                watch.painted = false;
                if (!processUntilPainted(watch) || labelView->text() != QStringLiteral("00:14")) {
                    problem = "the tick was not painted";
                    break;
                }
                QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                watch.painted = false;
                auto start = Steady::now();
                QCoreApplication::sendEvent(target, &press);
                bool painted = processUntilPainted(watch);
                auto end = Steady::now();
                if (!painted || labelView->text() != QStringLiteral("01:00"))
                    problem = "the key press did not repaint the label with 01:00";
                else
                    samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            }
            labelView->removeEventFilter(&watch);
        }
        screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->size() : QSize();
    }
    if (!problem.empty())
        return fail(problem.c_str());

    std::vector<double> sorted = samples;
    std::sort(sorted.begin(), sorted.end());
    auto at = [&](double q) {
        return sorted[std::min(
            sorted.size() - 1, static_cast<std::size_t>(q * static_cast<double>(sorted.size())))];
    };
    const double mean
        = std::accumulate(sorted.begin(), sorted.end(), 0.0) / static_cast<double>(sorted.size());
    std::ofstream json(out);
    json << "{\"name\": \"input-to-display\", \"presses\": " << sorted.size() << ", \"screen\": \""
         << screen.width() << "x" << screen.height() << "\", \"median_ms\": " << at(0.5)
         << ", \"mean_ms\": " << mean << ", \"p99_ms\": " << at(0.99) << ", \"max_ms\": " << sorted.back()
         << ", \"samples_ms\": [";
    for (std::size_t i = 0; i < samples.size(); ++i)
        json << (i ? ", " : "") << samples[i];
    json << "]}\n";
    if (!json)
        return fail("could not write the results");
    std::printf("input to display: median %.3f ms, p99 %.3f ms, max %.3f ms over %zu presses (%dx%d)\n",
        at(0.5), at(0.99), sorted.back(), sorted.size(), screen.width(), screen.height());
    return 0;
}
