#include "QtGuardedApplication.h"

#include <utility>

bool QtGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // The first one is what went wrong; what follows while the loop winds down is its echo.
        if (!m_escaped)
            m_escaped = std::current_exception();
        QCoreApplication::exit(1);
        return true;
    }
}

std::exception_ptr QtGuardedApplication::takeEscaped()
{
    return std::exchange(m_escaped, nullptr);
}
