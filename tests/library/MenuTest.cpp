#include "support/HeadlessFixture.h"

#include "library/MenuBar.h"
#include "library/QuitMenuItem.h"
#include "library/Window.h"
#include "runtime/RuntimeException.h"

#include <functional>
#include <vector>

namespace {
template <class T> Ref<T> item(const char* name, const char* text)
{
    Ref<T> made = newObject<T>();
    callMethod(made.ptr(), MenuItem::kConstructor);
    Ref<String> n = String::create(name);
    Ref<String> t = String::create(text);
    MenuItem::Name::Set(made.ptr(), 0, n.ptr());
    MenuItem::Text::Set(made.ptr(), 0, t.ptr());
    return made;
}
} // namespace

class MenuTest : public HeadlessTest { };

TEST_F(MenuTest, AppendChildAndLookupFollowTheTree)
{
    Ref<MenuBar> bar = newObject<MenuBar>();
    EXPECT_TRUE(bar->isMenuBar);
    EXPECT_FALSE(bar->defaultConstructed);
    Ref<MenuItem> file = item<MenuItem>("FileMenu", "File");
    Ref<QuitMenuItem> quit = item<QuitMenuItem>("FileQuit", "Quit");
    callMethod(bar.ptr(), MenuItem::kAppend, file.ptr());
    callMethod(file.ptr(), MenuItem::kAppend, quit.ptr());

    Ref<String> fileName = "FileMenu"_s;
    Ref<String> quitName = "FileQuit"_s;
    Ref<String> missing = "EditMenu"_s;
    EXPECT_EQ(callMethod(bar.ptr(), MenuItem::kChild, fileName.ptr()).get(), file.ptr());
    EXPECT_FALSE(callMethod(bar.ptr(), MenuItem::kChild, quitName.ptr()))
        << "Child looks one level down only";
    EXPECT_EQ(callMethod(bar.ptr(), MenuItem::kLookup, quitName.ptr()).get(), quit.ptr());
    EXPECT_FALSE(callMethod(bar.ptr(), MenuItem::kLookup, missing.ptr()));
    EXPECT_TRUE(quit->defaultConstructed);
    EXPECT_TRUE(quit->autoEnable());
    EXPECT_EQ(quit->refCount(), 2u) << "the menu holds its item";
}

TEST_F(MenuTest, AnItemJoinsOneMenuOnlyAndNeverItsOwnSubtree)
{
    Ref<MenuItem> a = item<MenuItem>("A", "a");
    Ref<MenuItem> b = item<MenuItem>("B", "b");
    callMethod(a.ptr(), MenuItem::kAppend, b.ptr());
    for (auto [parent, child] :
        { std::pair { b.ptr(), a.ptr() }, std::pair { a.ptr(), b.ptr() }, std::pair { a.ptr(), a.ptr() } }) {
        try {
            callMethod(parent, MenuItem::kAppend, child);
            ADD_FAILURE() << "append accepted";
        } catch (const RaisedException& raised) {
            EXPECT_TRUE(raised.is<InvalidArgumentException>());
        }
    }
    EXPECT_EQ(a->children().size(), 1u);
}

TEST_F(MenuTest, ChoosingQuitEndsTheLoop)
{
    Ref<QuitMenuItem> quit = item<QuitMenuItem>("FileQuit", "Quit");
    Ref<Window> window = newObject<Window>();
    callMethod(window.ptr(), Window::kConstructor);
    platform.script([&] { platform.chooseMenu(quit.get()); });
    platform.script([] { ADD_FAILURE() << "the loop went on after Quit"; });
    RuntimeRun();
    EXPECT_TRUE(platform.quitCalled());
    EXPECT_EQ(RuntimeExit(), 0);
}

// A window showing the tree rebuilds its menus once for each change of what an item shows, and not when
// the value is the one it has or when only the Name, which is not shown, changes.
TEST_F(MenuTest, ItemSettersTellTheWindowsShowingTheTreeOnlyOfChanges)
{
    Ref<MenuBar> bar = newObject<MenuBar>();
    Ref<MenuItem> file = item<MenuItem>("FileMenu", "File");
    callMethod(bar.ptr(), MenuItem::kAppend, file.ptr());
    Ref<Window> window = newObject<Window>();
    callMethod(window.ptr(), Window::kConstructor);
    Window::MenuBar::Set(window.ptr(), 0, bar.ptr());

    Ref<String> other = "Other"_s;
    struct Case {
        const char* what;
        std::function<void()> set;
        std::function<bool()> holds;
        std::size_t rebuilds;
    };
    const Case cases[] = {
        { "Text", [&] { MenuItem::Text::Set(file.ptr(), 0, other.ptr()); },
            [&] { return file->text().bytes() == "Other"; }, 1 },
        { "KeyboardShortcut", [&] { MenuItem::KeyboardShortcut::Set(file.ptr(), 0, other.ptr()); },
            [&] { return file->keyboardShortcut().bytes() == "Other"; }, 1 },
        { "AutoEnable", [&] { MenuItem::AutoEnable::Set(file.ptr(), 0, false); },
            [&] { return !file->autoEnable(); }, 1 },
        { "Name", [&] { MenuItem::Name::Set(file.ptr(), 0, other.ptr()); },
            [&] { return file->name().bytes() == "Other"; }, 0 },
    };
    for (const Case& c : cases) {
        for (int round = 0; round < 2; ++round) {
            platform.forgetWindowChanges();
            c.set();
            EXPECT_TRUE(c.holds()) << c.what;
            std::size_t rebuilds = round == 0 ? c.rebuilds : 0;
            EXPECT_EQ(platform.windowChanges(), std::vector<WindowAspect>(rebuilds, WindowAspect::MenuBar))
                << c.what << (round == 0 ? "" : ": the same value again");
        }
    }
    Window::Close(window.ptr());
}
