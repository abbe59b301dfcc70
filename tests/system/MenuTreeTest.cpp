#include "SystemSupport.h"

#include "library/QuitMenuItem.h"
#include "menus/MainMenuBar.h"
#include "runtime/FaultInjection.h"

#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <vector>

using Bar = MainMenuBar::MainMenuBar;

namespace {
// What the bar's Child was asked, and whether the shared variable was still empty at the time.
struct ChildCall {
    const MenuItem* receiver;
    std::string name;
    bool sharedStillEmpty;
};
std::vector<ChildCall>& childCalls()
{
    static std::vector<ChildCall> calls;
    return calls;
}
RefPtr<MenuItem> recordingChild(MenuItem* bar, String* name)
{
    childCalls().push_back({ bar, std::string(name->bytes()), !MainMenuBar::implicitInstance_ });
    return MenuItem::Child(bar, name);
}

std::string failingMenu;
RefPtr<MenuItem> childMissing(MenuItem* bar, String* name)
{
    if (name->bytes() == failingMenu)
        return nullptr;
    return MenuItem::Child(bar, name);
}
void untitledRaising(Bar*)
{
    RuntimeRaise(InvalidArgumentException::lookup(), "refused by the test");
}

// A menu-bar class for one test: MainMenuBar with one routine replaced.
ClassTable* barClassWith(std::size_t slot, MethodEntry replacement)
{
    ClassTable* table = RuntimeNewClass(Bar::lookup());
    RuntimeSetClassName(table, "test.MenuBar");
    table->methods[slot] = replacement;
    return table;
}

Ref<Bar> constructedBar(const ClassTable* table = Bar::lookup())
{
    Ref<Object> bar = RuntimeNewObject(table);
    callMethod(bar.ptr(), MenuItem::kConstructor);
    return adoptRef(*static_cast<Bar*>(bar.leakRef()));
}

// Items as the test's constructor leaves them: each property the menus set starts at a value they never
// give it, so an item's state shows which of its setters have run.
std::vector<Ref<MenuItem>>& markedItems()
{
    static std::vector<Ref<MenuItem>> items;
    return items;
}
const char* const kUnset = "(never set)";
void markingConstructor(MenuItem* item)
{
    RuntimeMenuItemAutoEnableSetter(item, 0, false);
    RuntimeMenuItemTextSetter(item, 0, String::create(kUnset).ptr());
    RuntimeMenuItemCommandKeySetter(item, 0, String::create(kUnset).ptr());
    markedItems().push_back(*item);
    MenuItem::Constructor(item);
}
std::string stateOf(const MenuItem& item)
{
    std::string state;
    auto add = [&](bool done, const char* what) {
        if (done)
            state.append(state.empty() ? "" : " ").append(what);
    };
    add(!item.name().bytes().empty(), "Name");
    add(item.autoEnable(), "AutoEnable");
    add(item.text().bytes() != kUnset, "Text");
    add(item.keyboardShortcut().bytes() != kUnset, "KeyboardShortcut");
    add(item.parent() != nullptr, "appended");
    return state;
}

std::vector<std::string> childNames(const MenuItem& item)
{
    std::vector<std::string> names;
    for (const Ref<MenuItem>& child : item.children())
        names.emplace_back(child->name().bytes());
    return names;
}
} // namespace

TEST(MenuTree, BarHoldsFileThenEditWithEveryItemInOrder)
{
    struct Item {
        const char* name;
        const char* menu;
        const char8_t* text;
        const char* shortcut;
    };
    const Item file[] = {
        { "FileQuit", "FileMenu", u8"終了", "Cmd+Q" },
    };
    const Item edit[] = {
        { "EditUndo", "EditMenu", u8"取り消す", "Cmd+Z" },
        { "EditSeparator1", "EditMenu", u8"-", "" },
        { "EditCut", "EditMenu", u8"カット", "Cmd+X" },
        { "EditCopy", "EditMenu", u8"コピー", "Cmd+C" },
        { "EditPaste", "EditMenu", u8"貼り付け", "Cmd+V" },
        { "EditClear", "EditMenu", u8"削除", "" },
        { "EditSeparator2", "EditMenu", u8"-", "" },
        { "EditSelectAll", "EditMenu", u8"すべてを選択", "Cmd+A" },
    };
    auto text = [](const char8_t* utf8) { return std::string(reinterpret_cast<const char*>(utf8)); };

    Ref<Bar> bar = constructedBar();
    EXPECT_TRUE(bar->isMenuBar);
    EXPECT_FALSE(bar->defaultConstructed) << "the bar's constructor is its own";
    ASSERT_EQ(childNames(bar.get()), (std::vector<std::string> { "FileMenu", "EditMenu" }));

    struct Menu {
        const char8_t* text;
        std::span<const Item> items;
    };
    const Menu menus[] = { { u8"ファイル", file }, { u8"編集", edit } };
    for (std::size_t m = 0; m < 2; ++m) {
        const MenuItem& menu = bar->children()[m].get();
        SCOPED_TRACE(std::string(menu.name().bytes()));
        EXPECT_EQ(menu.text().bytes(), text(menus[m].text));
        EXPECT_EQ(menu.keyboardShortcut().bytes(), "");
        EXPECT_TRUE(menu.autoEnable() && menu.defaultConstructed);
        EXPECT_EQ(menu.classTable(), MenuItem::lookup());
        ASSERT_EQ(menu.children().size(), menus[m].items.size());
        for (std::size_t i = 0; i < menus[m].items.size(); ++i) {
            const Item& expected = menus[m].items[i];
            const MenuItem& item = menu.children()[i].get();
            SCOPED_TRACE(expected.name);
            EXPECT_EQ(item.name().bytes(), expected.name);
            EXPECT_EQ(item.text().bytes(), text(expected.text));
            EXPECT_EQ(item.keyboardShortcut().bytes(), expected.shortcut);
            EXPECT_TRUE(item.autoEnable() && item.defaultConstructed);
            EXPECT_TRUE(item.children().empty());
            bool quits = std::string_view(expected.name) == "FileQuit";
            EXPECT_EQ(item.classTable(), quits ? QuitMenuItem::lookup() : MenuItem::lookup());
        }
    }
}

TEST(MenuTree, EveryItemFindsItsMenuAgainFromTheBar)
{
    childCalls().clear();
    ClassTable* recording = barClassWith(MenuItem::kChild.index, method<&recordingChild>());
    Ref<Bar> bar = constructedBar(recording);
    std::vector<std::string> names;
    for (const ChildCall& call : childCalls()) {
        EXPECT_EQ(call.receiver, bar.ptr());
        names.push_back(call.name);
    }
    std::vector<std::string> expected { "FileMenu" };
    expected.insert(expected.end(), 8, "EditMenu");
    EXPECT_EQ(names, expected);
}

// Stops the construction at each framework call in turn and looks at the item being built: the states it
// passes through are the order of the calls made for it.
TEST(MenuTree, EachItemIsNamedEnabledTextedAndGivenItsShortcutBeforeItIsAttached)
{
    struct Item {
        const char* name;
        bool separator;
    };
    const Item items[] = {
        { "FileMenu", false },
        { "FileQuit", false },
        { "EditMenu", false },
        { "EditUndo", false },
        { "EditSeparator1", true },
        { "EditCut", false },
        { "EditCopy", false },
        { "EditPaste", false },
        { "EditClear", false },
        { "EditSeparator2", true },
        { "EditSelectAll", false },
    };
    ReplacedEntry plain(MenuItem::lookup(), MenuItem::kConstructor.index, method<&markingConstructor>());
    ReplacedEntry quit(QuitMenuItem::lookup(), MenuItem::kConstructor.index, method<&markingConstructor>());

    std::vector<std::vector<std::string>> seen(std::size(items));
    auto observe = [&] {
        if (markedItems().empty())
            return;
        std::vector<std::string>& states = seen.at(markedItems().size() - 1);
        std::string state = stateOf(markedItems().back().get());
        if (states.empty() || states.back() != state)
            states.push_back(state);
    };
    for (std::uint64_t n = 1;; ++n) {
        markedItems().clear();
        Ref<Object> bar = RuntimeNewObject(Bar::lookup());
        RuntimeSetFaultInjection(n);
        std::string raised = raisedBy([&] { callMethod(bar.ptr(), MenuItem::kConstructor); });
        bool fired = RuntimeFaultInjectionCalls() >= n;
        RuntimeSetFaultInjection(0);
        if (fired) {
            ASSERT_EQ(raised, "RuntimeException") << "call " << n;
            observe();
            continue;
        }
        // The whole construction, once no call fails.
        ASSERT_EQ(raised, "");
        ASSERT_EQ(markedItems().size(), std::size(items));
        for (std::size_t i = 0; i < std::size(items); ++i) {
            std::vector<std::string>& states = seen[i];
            std::string state = stateOf(markedItems()[i].get());
            if (states.empty() || states.back() != state)
                states.push_back(state);
        }
        markedItems().clear();
        break;
    }

    for (std::size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(items[i].name);
        std::vector<std::string> expected { "", "Name", "Name AutoEnable", "Name AutoEnable Text" };
        if (!items[i].separator)
            expected.push_back("Name AutoEnable Text KeyboardShortcut");
        expected.push_back(expected.back() + " appended");
        EXPECT_EQ(seen[i], expected);
    }
}

// A failure ends the construction at once; what was attached stays, the item being built is not kept.
TEST(MenuTree, FailureLeavesTheItemsAttachedBeforeIt)
{
    struct Case {
        const char* what;
        std::size_t slot;
        MethodEntry replacement;
        const char* missingMenu;
        const char* raised;
        std::vector<std::string> menus;
        std::size_t fileItems, editItems, liveItems;
    };
    const Case cases[] = {
        { "the Edit menu cannot be found", MenuItem::kChild.index, method<&childMissing>(), "EditMenu",
            "NilObjectException", { "FileMenu", "EditMenu" }, 1, 0, 3 },
        { "the File menu cannot be found", MenuItem::kChild.index, method<&childMissing>(), "FileMenu",
            "NilObjectException", { "FileMenu" }, 0, 0, 1 },
        { "building the File menu raises", Bar::kUntitled0.index, method<&untitledRaising>(), "",
            "InvalidArgumentException", {}, 0, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        failingMenu = c.missingMenu;
        ClassTable* table = barClassWith(c.slot, c.replacement);
        std::size_t before = RuntimeLiveObjectCount();
        Ref<Object> bar = RuntimeNewObject(table);
        EXPECT_EQ(raisedBy([&] { callMethod(bar.ptr(), MenuItem::kConstructor); }), c.raised);
        auto& built = static_cast<Bar&>(bar.get());
        EXPECT_EQ(childNames(built), c.menus);
        if (!built.children().empty()) {
            EXPECT_EQ(built.children()[0]->children().size(), c.fileItems);
        }
        if (built.children().size() > 1) {
            EXPECT_EQ(built.children()[1]->children().size(), c.editItems);
        }
        EXPECT_EQ(RuntimeLiveObjectCount(), before + 1 + c.liveItems) << "the item being built was released";
    }
}

TEST(SharedMenuBar, IsMadeOnceAndStoredOnlyWhenComplete)
{
    ASSERT_FALSE(MainMenuBar::implicitInstance_);
    std::size_t before = RuntimeLiveObjectCount();
    {
        childCalls().clear();
        ReplacedEntry recording(Bar::lookup(), MenuItem::kChild.index, method<&recordingChild>());
        RefPtr<Bar> first = MainMenuBar::instance();
        ASSERT_EQ(childCalls().size(), 9u);
        for (const ChildCall& call : childCalls())
            EXPECT_TRUE(call.sharedStillEmpty) << "stored while its constructor ran";
        RefPtr<Bar> second = MainMenuBar::instance();
        EXPECT_EQ(second.get(), first.get());
        EXPECT_EQ(childCalls().size(), 9u) << "constructed once";
        EXPECT_EQ(first.get(), MainMenuBar::implicitInstance_.get());
        EXPECT_EQ(first->refCount(), 3u) << "the variable's and the two results'";
    }
    MainMenuBar::implicitInstance_exit_();
    EXPECT_FALSE(MainMenuBar::implicitInstance_);
    MainMenuBar::implicitInstance_exit_();
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}

TEST(SharedMenuBar, ConstructorThatRaisesLeavesNothingAndALaterCallStartsAgain)
{
    ASSERT_FALSE(MainMenuBar::implicitInstance_);
    std::size_t before = RuntimeLiveObjectCount();
    {
        failingMenu = "EditMenu";
        ReplacedEntry missing(Bar::lookup(), MenuItem::kChild.index, method<&childMissing>());
        EXPECT_EQ(raisedBy([] { MainMenuBar::instance(); }), "NilObjectException");
        EXPECT_FALSE(MainMenuBar::implicitInstance_);
        EXPECT_EQ(RuntimeLiveObjectCount(), before) << "the half-built bar was released";
    }
    RefPtr<Bar> again = MainMenuBar::instance();
    EXPECT_EQ(childNames(*again), (std::vector<std::string> { "FileMenu", "EditMenu" }));
    again = nullptr;
    MainMenuBar::implicitInstance_exit_();
    EXPECT_EQ(RuntimeLiveObjectCount(), before);
}

TEST(SharedMenuBar, ReplacesOnlyTheConstructorWithoutArguments)
{
    const ClassTable* own = Bar::lookup();
    const ClassTable* base = ::MenuBar::lookup();
    EXPECT_EQ(own->nameView(), "MainMenuBar.MainMenuBar");
    EXPECT_EQ(own->base, base);
    ASSERT_EQ(own->methods.size(), Bar::kMethodCount);
    for (std::size_t slot = 0; slot < ::MenuBar::kMethodCount; ++slot) {
        bool replaced = own->methods[slot].fn != base->methods[slot].fn;
        EXPECT_EQ(replaced, slot == MenuItem::kConstructor.index) << "slot " << slot;
    }
    std::vector<std::string> names;
    for (const OperationInfo& operation : own->operations)
        names.emplace_back(operation.name->bytes());
    EXPECT_EQ(names, (std::vector<std::string> { "Untitled0", "Untitled1", "Constructor" }));
}
