#include "QtFixture.h"

#include "library/MenuBar.h"
#include "library/QuitMenuItem.h"
#include "platforms/qt/QtShortcut.h"
#include "runtime/WeakPtr.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {
struct ItemDesign {
    const char* text;
    const char* shortcut = "";
    bool autoEnable = true;
};

Ref<MenuItem> append(MenuItem& parent, const ItemDesign& design)
{
    Ref<MenuItem> item = newObject<MenuItem>();
    callMethod(item.ptr(), MenuItem::kConstructor);
    Ref<String> text = String::create(design.text);
    Ref<String> shortcut = String::create(design.shortcut);
    MenuItem::Text::Set(item.ptr(), 0, text.ptr());
    MenuItem::KeyboardShortcut::Set(item.ptr(), 0, shortcut.ptr());
    MenuItem::AutoEnable::Set(item.ptr(), 0, design.autoEnable);
    callMethod(&parent, MenuItem::kAppend, item.ptr());
    return item;
}

} // namespace

class QtMenuBarTest : public QtTest { };

TEST_F(QtMenuBarTest, TheBarShowsTheTreeInOrderWithSeparatorsShortcutsAndEnabledState)
{
    openCountdownWindow();
    Ref<MenuBar> tree = newObject<MenuBar>();
    Ref<MenuItem> file = append(*tree, { "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB" }); // ファイル
    append(*file, { "\xE7\xB5\x82\xE4\xBA\x86", "Cmd+Q" }); // 終了
    Ref<MenuItem> edit = append(*tree, { "Edit & Go" });
    append(*edit, { "Undo", "Cmd+Z" });
    append(*edit, { "-" });
    append(*edit, { "Redo", "Cmd+Shift+Z" });
    append(*edit, { "Delete", "" });
    append(*edit, { "Manual", "Cmd+M", false });
    Ref<MenuItem> more = append(*edit, { "More" });
    append(*more, { "Zoom", "Option+F5" });
    Window::MenuBar::Set(window.get(), 0, tree.ptr());

    QMenuBar* shown = view->menuBar();
    EXPECT_EQ(describe(*shown),
        (std::vector<std::string> { "\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB", "Edit && Go" }))
        << "an ampersand is shown, not taken as a mnemonic";
    ASSERT_EQ(shown->actions().size(), 2);
    EXPECT_EQ(describe(*shown->actions()[0]->menu()),
        (std::vector<std::string> { "\xE7\xB5\x82\xE4\xBA\x86 [Ctrl+Q]" }));
    QMenu* editMenu = shown->actions()[1]->menu();
    EXPECT_EQ(describe(*editMenu),
        (std::vector<std::string> {
            "Undo [Ctrl+Z]", "-", "Redo [Ctrl+Shift+Z]", "Delete", "Manual [Ctrl+M] (off)", "More" }));
    ASSERT_TRUE(editMenu->actions().back()->menu());
    EXPECT_EQ(describe(*editMenu->actions().back()->menu()), std::vector<std::string> { "Zoom [Alt+F5]" });
    EXPECT_TRUE(shown->isVisible()) << "the menu bar shows";
}

TEST_F(QtMenuBarTest, AFullScreenWindowShowsItsMenuBarToo)
{
    openCountdownWindow(true);
    Ref<MenuBar> tree = newObject<MenuBar>();
    append(*append(*tree, { "File" }), { "Quit", "Cmd+Q" });
    Window::MenuBar::Set(window.get(), 0, tree.ptr());
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_TRUE(view->menuBar()->isVisible());
    EXPECT_EQ(view->content()->geometry().top(), view->menuBar()->geometry().bottom() + 1)
        << "the content starts below the bar";
}

TEST_F(QtMenuBarTest, ShortcutTextsReadWithCtrlAsThePrimaryModifier)
{
    struct Case {
        const char* text;
        QKeySequence expected;
    };
    const Case cases[] = {
        { "Cmd+Q", QKeySequence(Qt::CTRL | Qt::Key_Q) },
        { "cmd+z", QKeySequence(Qt::CTRL | Qt::Key_Z) },
        { "Cmd+Shift+Z", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) },
        { "Ctrl+A", QKeySequence(Qt::CTRL | Qt::Key_A) },
        { "Option+F5", QKeySequence(Qt::ALT | Qt::Key_F5) },
        { "Cmd++", QKeySequence(Qt::CTRL | Qt::Key_Plus) },
        { " Cmd + X ", QKeySequence(Qt::CTRL | Qt::Key_X) },
        { "F5", QKeySequence(Qt::Key_F5) },
        { "", QKeySequence() },
        { "Hyper+Q", QKeySequence() },
        { "Cmd+NoSuchKey", QKeySequence() },
        { "Cmd+Q, Cmd+W", QKeySequence() },
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtShortcut(c.text), c.expected) << '"' << c.text << '"';
}

// The library owns the menu tree. A closed window's view goes only once Qt deletes it later, and until
// then it must keep none of the tree alive: at shut-down the tree goes last, and its finalisers must run
// while a failure among them can still make the exit status.
TEST_F(QtMenuBarTest, AClosedWindowsViewKeepsNoMenuItemAlive)
{
    openCountdownWindow();
    WeakPtr<MenuItem> quit;
    WeakPtr<MenuItem> root;
    {
        Ref<MenuBar> tree = newObject<MenuBar>();
        quit = append(*append(*tree, { "File" }), { "Quit", "Cmd+Q" }).ptr();
        root = tree.ptr();
        Window::MenuBar::Set(window.get(), 0, tree.ptr());
    }
    ASSERT_TRUE(view->menuBar()->actions().size() == 1 && quit.get()) << "the window shows the tree";

    QPointer<QtWindowView> closed(view);
    callMethod(window.get(), Window::kClose);
    window = nullptr;
    view = nullptr;
    EXPECT_TRUE(closed) << "the view is still to be deleted";
    EXPECT_FALSE(root.get()) << "the view kept the menu bar alive";
    EXPECT_FALSE(quit.get()) << "the view kept a menu item alive";
}

