#include "QtFixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

#include <stdexcept>
#include <string>

namespace {
// Throws from its event handling, as the toolkit or a view might outside any delivery.
class Thrower final : public QObject {
protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("thrown in Qt's loop");
        return QObject::event(event);
    }
};
} // namespace

// Nothing unwinds through Qt, which would complain on stderr about it: the loop ends and the exception
// comes out of run() once, to the caller.
TEST_F(QtTest, AnExceptionInQtsLoopEndsRunAndComesOutOfItOnce)
{
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    std::string thrown;
    testing::internal::CaptureStderr();
    try {
        platform->run();
    } catch (const std::runtime_error& error) {
        thrown = error.what();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(thrown, "thrown in Qt's loop");

    // It was taken: the next run ends as usual.
    QTimer::singleShot(0, [this] { platform->quit(); });
    EXPECT_NO_THROW(platform->run());
}
