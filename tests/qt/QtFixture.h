#pragma once

#include "support/PropertySetBuilder.h"
#include "support/SetProperty.h"

#include "library/Label.h"
#include "library/MassPropertySetter.h"
#include "library/ProgressBar.h"
#include "library/Startup.h"
#include "library/Window.h"
#include "platforms/qt/QtPlatform.h"
#include "platforms/qt/QtWindowView.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// One line per action: its text, "-" for a separator, then its shortcut and "(off)" when disabled.
inline std::vector<std::string> describe(const QWidget& menu)
{
    std::vector<std::string> lines;
    for (const QAction* action : menu.actions()) {
        std::string line = action->isSeparator() ? "-" : action->text().toStdString();
        if (!action->shortcut().isEmpty())
            line += " [" + action->shortcut().toString(QKeySequence::PortableText).toStdString() + "]";
        if (!action->isEnabled())
            line += " (off)";
        lines.push_back(line);
    }
    return lines;
}

inline bool isRed(QColor c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
inline bool isDarkRed(QColor c)
{
    return c.red() > 100 && c.red() < 160 && c.green() < 40 && c.blue() < 40;
}
inline bool isBlack(QColor c)
{
    return c.red() < 60 && c.green() < 60 && c.blue() < 60;
}

// A window class that logs what reaches its MouseDown and KeyDown handlers.
struct RecordingWindow : Window {
    std::vector<std::string> log;

    static bool OnMouseDown(RecordingWindow* self, std::int32_t x, std::int32_t y)
    {
        self->log.push_back("MouseDown " + std::to_string(x) + "," + std::to_string(y));
        return true;
    }
    static bool OnKeyDown(RecordingWindow* self, String* key)
    {
        self->log.push_back("KeyDown " + std::string(key->bytes()));
        return false;
    }

    static inline ClassTable* ctbl = nullptr;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(Window::lookup());
        RuntimeSetClassName(ctbl, "test.RecordingWindow");
        ctbl->allocate = &allocateInstance<RecordingWindow>;
        RuntimeBindEventHandler<&OnMouseDown>(ctbl, Window::kMouseDown);
        RuntimeBindEventHandler<&OnKeyDown>(ctbl, Window::kKeyDownEvent);
    }
    static ClassTable* lookup() { return classLookup<RecordingWindow>(); }
};

// A fresh class library on the Qt platform (offscreen in tests) for each test; the QApplication is the
// test program's own. A window is built the way a program builds one: controls added, their property
// sets applied, then constructed, which shows it.
class QtTest : public testing::Test {
protected:
    void SetUp() override
    {
        RuntimeLibraryInitialize();
        int argc = 0;
        platform = QtPlatform::create(argc, nullptr);
        RuntimeSetPlatform(platform.get());
    }
    void TearDown() override
    {
        RuntimeLibraryFinalize();
        view = nullptr;
        label = nullptr;
        bar = nullptr;
        window = nullptr;
        RuntimeSetPlatform(nullptr);
        platform.reset();
    }

    // The design of the countdown window: 776 by 456, the label above the bar, both locked.
    static std::vector<propset::Entry> windowSet(bool fullScreen)
    {
        return { { "Width", 776 }, { "Height", 456 }, { "Title", std::string("\xE3\x83\x9C\xE3\x83\xAB") },
            { "FullScreen", fullScreen }, { "MaximizeButton", false }, { "HasBackColor", false } };
    }
    static std::vector<propset::Entry> labelSet()
    {
        return { { "Left", 20 }, { "Top", 14 }, { "Width", 728 }, { "Height", 388 }, { "LockLeft", true },
            { "LockTop", true }, { "LockRight", true }, { "LockBottom", true },
            { "Text", std::string("01:00") }, { "TextAlign", 1 }, { "TextFont", std::string("System") },
            { "Bold", true } };
    }
    static std::vector<propset::Entry> barSet()
    {
        return { { "Left", 20 }, { "Top", 414 }, { "Width", 736 }, { "Height", 22 }, { "LockLeft", true },
            { "LockRight", true }, { "LockBottom", true }, { "Maximum", 60 }, { "Value", 0 } };
    }

    static void apply(Object& object, const std::vector<propset::Entry>& entries)
    {
        Ref<String> bytes = String::create(propset::build(entries));
        RuntimeMassPropertySetter(&object, bytes.ptr());
    }

    template <class T> static Ref<T> addControl(Window& window, const char* name)
    {
        Ref<T> control = newObject<T>();
        Ref<String> controlName = String::create(name);
        callMethod(&window, Window::kAddControl, controlName.ptr(), control.ptr());
        return control;
    }

    // Opens a RecordingWindow with a 256-point label and a bar of 60, and waits until Qt shows it.
    void openCountdownWindow(bool fullScreen = false)
    {
        window = newObject<RecordingWindow>();
        bar = addControl<ProgressBar>(*window, "limitbar");
        label = addControl<Label>(*window, "timertext");
        setProperty(*label, "TextSize", 256.0f);
        apply(*bar, barSet());
        apply(*label, labelSet());
        apply(*window, windowSet(fullScreen));
        callMethod(window.get(), Window::kConstructor);
        view = platform->windowView(*window);
        ASSERT_TRUE(view);
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
    }

    QWidget* labelView() const { return platform->controlWidget(*label); }
    QWidget* barView() const { return platform->controlWidget(*bar); }

    std::unique_ptr<QtPlatform> platform;
    RefPtr<RecordingWindow> window;
    RefPtr<Label> label;
    RefPtr<ProgressBar> bar;
    QtWindowView* view = nullptr;
};
