#pragma once

#include "library/FrameworkState.h"
#include "library/Startup.h"
#include "mainwindow/Window1.h"
#include "platforms/headless/HeadlessPlatform.h"
#include "runtime/RuntimeException.h"
#include "startup/Program.h"
#include "startup/ProgramBeforeLoop.h"
#include "support/RaisedBy.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

using namespace std::chrono_literals;

// Puts another routine in one slot of a class table and puts the original back when it goes.
class ReplacedEntry {
public:
    ReplacedEntry(ClassTable* table, std::size_t slot, MethodEntry replacement)
        : m_table(table)
        , m_slot(slot)
        , m_original(table->methods.at(slot))
    {
        table->methods[slot] = replacement;
    }
    ~ReplacedEntry() { m_table->methods[m_slot] = m_original; }
    ReplacedEntry(const ReplacedEntry&) = delete;
    ReplacedEntry& operator=(const ReplacedEntry&) = delete;

    const MethodEntry& original() const { return m_original; }

private:
    ClassTable* m_table;
    std::size_t m_slot;
    MethodEntry m_original;
};

// The program started as far as its event loop, on the headless platform: the application object is
// registered and the main window is open. Nothing may outlive the test.
class StartedProgram : public testing::Test {
protected:
    void SetUp() override
    {
        RuntimeSetPlatform(&platform);
        m_objects = RuntimeLiveObjectCount();
        m_program.emplace();
        ASSERT_TRUE(m_program->window());
        window = m_program->window();
    }

    void TearDown() override
    {
        window = nullptr;
        m_program.reset();
        RuntimeSetPlatform(nullptr);
        EXPECT_EQ(RuntimeLiveObjectCount(), m_objects) << "objects outlived the program";
    }

    Ref<::Label> label() { return *Window1::Window1::timertext(window.get()); }
    Ref<::ProgressBar> bar() { return *Window1::Window1::limitbar(window.get()); }
    Ref<::Timer> timer() { return *Window1::Window1::vorpel_timer(window.get()); }
    std::string labelText() { return std::string(label()->text().bytes()); }

    HeadlessPlatform platform;
    RefPtr<Window1::Window1> window;

private:
    std::size_t m_objects = 0;
    std::optional<ProgramBeforeLoop> m_program;
};
