#pragma once

#include <QApplication>

#include <exception>

// The program's QApplication. Nothing may unwind through Qt's event loop: an exception that an event's
// handling lets out (the toolkit's own, or one of ours outside a delivery) ends the loop here, and the
// platform throws it again once the loop has returned, so it reaches the start-up driver's report.
class QtGuardedApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override;

    // The first exception that ended the loop, taken; nil when none did.
    std::exception_ptr takeEscaped();

private:
    std::exception_ptr m_escaped;
};
