#include "platforms/qt/QtGuardedApplication.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
// One QApplication for the whole test program, of the program's own kind: Qt does not take kindly to a
// second one.
class QtApplicationEnvironment final : public testing::Environment {
public:
    void SetUp() override { m_application = std::make_unique<QtGuardedApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[9] = "qt_tests";
    char* m_argv[2] = { m_name, nullptr };
    std::unique_ptr<QApplication> m_application;
};

[[maybe_unused]] testing::Environment* const environment
    = testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
} // namespace
