#include "QtFixture.h"

#include "library/FrameworkState.h"
#include "library/MenuBar.h"
#include "library/QuitMenuItem.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

namespace {
template <class T> Ref<T> menuItem(MenuItem& parent, const char* text, const char* shortcut = "")
{
    Ref<T> item = newObject<T>();
    callMethod(item.ptr(), MenuItem::kConstructor);
    Ref<String> t = String::create(text);
    Ref<String> s = String::create(shortcut);
    MenuItem::Text::Set(item.ptr(), 0, t.ptr());
    MenuItem::KeyboardShortcut::Set(item.ptr(), 0, s.ptr());
    callMethod(&parent, MenuItem::kAppend, item.ptr());
    return item;
}

// A menu item whose Action is counted, as a program's own command would be.
struct CountedItem : MenuItem {
    int chosen = 0;
    static bool OnAction(CountedItem* self)
    {
        ++self->chosen;
        return true;
    }
    static inline ClassTable* ctbl = nullptr;
    static void ctblinit()
    {
        ctbl = RuntimeNewClass(MenuItem::lookup());
        RuntimeSetClassName(ctbl, "test.CountedItem");
        ctbl->allocate = &allocateInstance<CountedItem>;
        RuntimeBindEventHandler<&OnAction>(ctbl, MenuItem::kAction);
    }
    static ClassTable* lookup() { return classLookup<CountedItem>(); }
};
} // namespace

class QtInputTest : public QtTest {
protected:
    // The window's menu bar: File > Quit (Cmd+Q), Edit > Undo (Cmd+Z, counted), Cut (Cmd+X, no handler).
    void installMenus()
    {
        menus = newObject<MenuBar>();
        Ref<MenuItem> file = menuItem<MenuItem>(*menus, "File");
        menuItem<QuitMenuItem>(*file, "Quit", "Cmd+Q");
        Ref<MenuItem> edit = menuItem<MenuItem>(*menus, "Edit");
        undo = menuItem<CountedItem>(*edit, "Undo", "Cmd+Z");
        menuItem<MenuItem>(*edit, "Cut", "Cmd+X");
        Window::MenuBar::Set(window.get(), 0, menus.get());
    }
    void TearDown() override
    {
        undo = nullptr;
        menus = nullptr;
        QtTest::TearDown();
    }

    RefPtr<MenuBar> menus;
    RefPtr<CountedItem> undo;
};

TEST_F(QtInputTest, PressesAnywhereOnTheContentReachMouseDownInWindowCoordinates)
{
    openCountdownWindow();
    QWidget* content = view->content();
    QPoint onLabel = labelView()->geometry().center();
    QPoint onBar = barView()->geometry().center();
    QPoint bare(5, 5);
    ASSERT_EQ(content->childAt(bare), nullptr);
    QTest::mouseClick(labelView(), Qt::LeftButton, {}, labelView()->rect().center());
    QTest::mouseClick(barView(), Qt::LeftButton, {}, barView()->rect().center());
    QTest::mouseClick(content, Qt::RightButton, {}, bare);
    auto at = [](QPoint p) { return "MouseDown " + std::to_string(p.x()) + "," + std::to_string(p.y()); };
    EXPECT_EQ(window->log, (std::vector<std::string> { at(onLabel), at(onBar), at(bare) }));
    EXPECT_EQ(labelView()->geometry(),
        QRect(label->frame().left, label->frame().top, label->frame().width, label->frame().height))
        << "content coordinates are the controls' frames' coordinates";
}

TEST_F(QtInputTest, KeyPressesReachKeyDownWithTheirText)
{
    openCountdownWindow();
    ASSERT_EQ(QApplication::focusWidget(), view->content()) << "keys go to the content";
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* expected; // nullptr: no KeyDown
        QString text = {}; // what the desktop gives with the key; empty: what QTest makes of it
    };
    const Case cases[] = {
        { Qt::Key_A, Qt::NoModifier, "a" },
        { Qt::Key_A, Qt::ShiftModifier, "A", QStringLiteral("A") },
        { Qt::Key_Eacute, Qt::NoModifier, "\xC3\xA9", QStringLiteral("\u00e9") },
        { Qt::Key_unknown, Qt::NoModifier, "\xE3\x81\x82", QStringLiteral("\u3042") },
        { Qt::Key_7, Qt::NoModifier, "7" },
        { Qt::Key_Space, Qt::NoModifier, " " },
        { Qt::Key_Return, Qt::NoModifier, "\r" },
        { Qt::Key_Enter, Qt::KeypadModifier, "\x03" },
        { Qt::Key_Escape, Qt::NoModifier, "\x1b" },
        { Qt::Key_Tab, Qt::NoModifier, "\t" },
        { Qt::Key_Backspace, Qt::NoModifier, "\x08" },
        { Qt::Key_Delete, Qt::NoModifier, "\x7f" },
        { Qt::Key_Left, Qt::NoModifier, "\x1c" },
        { Qt::Key_Right, Qt::NoModifier, "\x1d" },
        { Qt::Key_Up, Qt::NoModifier, "\x1e" },
        { Qt::Key_Down, Qt::NoModifier, "\x1f" },
        { Qt::Key_Home, Qt::NoModifier, "\x01" },
        { Qt::Key_End, Qt::NoModifier, "\x04" },
        { Qt::Key_PageUp, Qt::NoModifier, "\x0b" },
        { Qt::Key_PageDown, Qt::NoModifier, "\x0c" },
        { Qt::Key_Insert, Qt::NoModifier, "\x05" },
        { Qt::Key_F5, Qt::NoModifier, "\x10" },
        { Qt::Key_Shift, Qt::ShiftModifier, nullptr },
        { Qt::Key_Control, Qt::ControlModifier, nullptr },
        { Qt::Key_Alt, Qt::AltModifier, nullptr },
        { Qt::Key_Meta, Qt::MetaModifier, nullptr },
        { Qt::Key_CapsLock, Qt::NoModifier, nullptr },
        { Qt::Key_B, Qt::ControlModifier, nullptr },
    };
    for (const Case& c : cases) {
        window->log.clear();
        if (c.text.isEmpty()) {
            QTest::keyClick(QApplication::focusWidget(), c.key, c.modifiers);
        } else {
            QTest::sendKeyEvent(QTest::Press, QApplication::focusWidget(), c.key, c.text, c.modifiers);
            QTest::sendKeyEvent(QTest::Release, QApplication::focusWidget(), c.key, c.text, c.modifiers);
        }
        std::vector<std::string> expected;
        if (c.expected)
            expected.push_back(std::string("KeyDown ") + c.expected);
        EXPECT_EQ(window->log, expected) << "key " << QKeySequence(c.key).toString().toStdString();
    }
}

TEST_F(QtInputTest, MenuShortcutsChooseTheirItemsAndNeverReachKeyDown)
{
    openCountdownWindow();
    installMenus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undo->chosen, 1);
    QTest::keyClick(
        QApplication::focusWidget(), Qt::Key_X, Qt::ControlModifier); // an item with no handler does nothing
    EXPECT_EQ(undo->chosen, 1);
    EXPECT_FALSE(framework().quitRequested());

    // Ctrl+Q inside the running loop chooses Quit, which ends it.
    QObject guard; // whatever is still queued for it goes with the test
    QTimer::singleShot(0, &guard, [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        // Reached only when Quit did not end the loop.
        QMetaObject::invokeMethod(
            &guard,
            [] {
                if (!framework().quitRequested()) {
                    ADD_FAILURE() << "Ctrl+Q did not quit";
                    QCoreApplication::exit(1);
                }
            },
            Qt::QueuedConnection);
    });
    RuntimeRun();
    EXPECT_TRUE(framework().quitRequested());
    EXPECT_TRUE(window->log.empty()) << window->log.front();
}

TEST_F(QtInputTest, ShortcutsWorkWhileTheMenuBarIsHidden)
{
    openCountdownWindow();
    installMenus();
    apply(*window, { { "MenuBarVisible", false } });
    QApplication::processEvents();
    ASSERT_FALSE(view->menuBar()->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undo->chosen, 1);
    EXPECT_TRUE(window->log.empty());
}

// Keys come from the desktop through the window, as on X11, where a lone Alt tap is a press with no
// modifier held and a release with Alt held.
class QtMenuKeyTest : public QtInputTest {
protected:
    void SetUp() override
    {
        QtInputTest::SetUp();
        openCountdownWindow();
        installMenus();
        QApplication::processEvents();
        shown = view->windowHandle();
        ASSERT_TRUE(view->menuBar()->isVisible());
    }
    void tapAlt()
    {
        qt_handleKeyEvent(shown, QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier);
        qt_handleKeyEvent(shown, QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
        QApplication::processEvents();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QString text
            = QTest::keyToAscii(key) ? QString(QChar::fromLatin1(QTest::keyToAscii(key))) : QString();
        qt_handleKeyEvent(shown, QEvent::KeyPress, key, modifiers, text);
        qt_handleKeyEvent(shown, QEvent::KeyRelease, key, modifiers, text);
        QApplication::processEvents();
    }
    // The bar neither highlights a title nor holds the keyboard.
    void expectBarAtRest(const char* when)
    {
        EXPECT_EQ(view->menuBar()->activeAction(), nullptr) << when;
        EXPECT_EQ(QApplication::focusWidget(), view->content()) << when;
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << when;
    }

    QWindow* shown = nullptr;
};

TEST_F(QtMenuKeyTest, AltAloneOpensNoKeyboardModeAndLaterKeysReachKeyDown)
{
    struct Case {
        const char* name;
        std::vector<Qt::Key> keys; // pressed one by one after the Alt tap; Key_Alt taps Alt again
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        { "a letter", { Qt::Key_A }, { "KeyDown a" } },
        { "Down then Return, which once chose Quit", { Qt::Key_Down, Qt::Key_Return },
            { "KeyDown \x1f", "KeyDown \r" } },
        { "Right, Left, Space", { Qt::Key_Right, Qt::Key_Left, Qt::Key_Space },
            { "KeyDown \x1d", "KeyDown \x1c", "KeyDown  " } },
        { "a second tap, then a letter", { Qt::Key_Alt, Qt::Key_B }, { "KeyDown b" } },
        { "Escape", { Qt::Key_Escape }, { "KeyDown \x1b" } },
    };
    for (const Case& c : cases) {
        window->log.clear();
        tapAlt();
        expectBarAtRest(c.name);
        for (Qt::Key key : c.keys) {
            if (key == Qt::Key_Alt)
                tapAlt();
            else
                press(key);
        }
        EXPECT_EQ(window->log, c.expected) << c.name;
        expectBarAtRest(c.name);
        EXPECT_FALSE(framework().quitRequested()) << c.name;
    }
}

TEST_F(QtMenuKeyTest, AltWithALetterIsThatLetterEvenWhenATitleHasAnAmpersand)
{
    Ref<MenuItem> more = menuItem<MenuItem>(*menus, "&Go");
    menuItem<MenuItem>(*more, "Away");
    Window::MenuBar::Set(window.get(), 0, menus.get());
    QApplication::processEvents();
    press(Qt::Key_G, Qt::AltModifier);
    press(Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(window->log, (std::vector<std::string> { "KeyDown g", "KeyDown f" }));
    expectBarAtRest("after Alt+G and Alt+F");
}

TEST_F(QtMenuKeyTest, ShortcutsStillChooseTheirItemsAfterAnAltTap)
{
    tapAlt();
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undo->chosen, 1);
    EXPECT_TRUE(window->log.empty());
}

TEST_F(QtMenuKeyTest, AMenuOpenedWithTheMouseTakesKeysUntilItCloses)
{
    QMenuBar* menuBar = view->menuBar();
    QAction* edit = menuBar->actions().at(1);
    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(edit).center());
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activePopupWidget(), edit->menu()) << "the Edit menu is open";

    press(Qt::Key_Down);
    press(Qt::Key_A);
    EXPECT_TRUE(window->log.empty()) << "an open menu takes the keys";
    EXPECT_EQ(QApplication::activePopupWidget(), edit->menu());

    // Escape closes the menu, and with it any hold of the bar on the keyboard.
    press(Qt::Key_Escape);
    expectBarAtRest("after Escape closed the menu");
    press(Qt::Key_A);
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(window->log, (std::vector<std::string> { "KeyDown a", "KeyDown \x1f", "KeyDown \r" }));

    // Chosen with the mouse, an item does what it does and the keys come back too.
    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(edit).center());
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activePopupWidget(), edit->menu());
    QMenu* menu = edit->menu();
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions().at(0)).center());
    QApplication::processEvents();
    EXPECT_EQ(undo->chosen, 1);
    window->log.clear();
    press(Qt::Key_B);
    EXPECT_EQ(window->log, std::vector<std::string> { "KeyDown b" });
    expectBarAtRest("after choosing Undo");
    EXPECT_FALSE(framework().quitRequested());
}
