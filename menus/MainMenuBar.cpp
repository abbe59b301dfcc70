#include "menus/MainMenuBar.h"

#include "library/QuitMenuItem.h"
#include "runtime/StackCheck.h"

#include <span>
#include <string_view>

namespace MainMenuBar {

ClassTable* MainMenuBar::ctbl = nullptr;
RefPtr<MainMenuBar> implicitInstance_;

namespace {
AttributeTable publicScope()
{
    return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } });
}

struct ItemDesign {
    std::string_view name;
    bool quits;
    const char8_t* text;
    const char* shortcut; // nullptr for a separator, which never gets one
    const char* menu; // nullptr for a menu of the bar itself
};

constexpr ItemDesign kFile[] = {
    { "FileMenu", false, u8"ファイル", "", nullptr },
    { "FileQuit", true, u8"終了", "Cmd+Q", "FileMenu" },
};

constexpr ItemDesign kEdit[] = {
    { "EditMenu", false, u8"編集", "", nullptr },
    { "EditUndo", false, u8"取り消す", "Cmd+Z", "EditMenu" },
    { "EditSeparator1", false, u8"-", nullptr, "EditMenu" },
    { "EditCut", false, u8"カット", "Cmd+X", "EditMenu" },
    { "EditCopy", false, u8"コピー", "Cmd+C", "EditMenu" },
    { "EditPaste", false, u8"貼り付け", "Cmd+V", "EditMenu" },
    { "EditClear", false, u8"削除", "", "EditMenu" },
    { "EditSeparator2", false, u8"-", nullptr, "EditMenu" },
    { "EditSelectAll", false, u8"すべてを選択", "Cmd+A", "EditMenu" },
};

// Builds each item complete, then attaches it. An item's menu is found again from the bar by Name every
// time rather than kept, so the bar's own Child decides where items go.
void build(MainMenuBar* bar, std::span<const ItemDesign> items)
{
    RefPtr<MenuItem> current;
    for (const ItemDesign& design : items) {
        {
            Ref<Object> created
                = RuntimeNewObject(design.quits ? QuitMenuItem::lookup() : MenuItem::lookup());
            callMethod(created.ptr(), MenuItem::kConstructor);
            current = static_cast<MenuItem*>(created.ptr());
        }
        MenuItem::Name::Set(&checkNonNil(current), 0, String::create(design.name).ptr());
        MenuItem::AutoEnable::Set(&checkNonNil(current), 0, true);
        MenuItem::Text::Set(&checkNonNil(current), 0, String::create(design.text).ptr());
        if (design.shortcut)
            MenuItem::KeyboardShortcut::Set(&checkNonNil(current), 0, String::create(design.shortcut).ptr());

        if (!design.menu) {
            callMethod(bar, MenuItem::kAppend, current.get());
            continue;
        }
        Ref<String> menuName = String::create(design.menu);
        RefPtr<MenuItem> menu = callMethod(bar, MenuItem::kChild, menuName.ptr());
        callMethod(&checkNonNil(menu), MenuItem::kAppend, current.get());
    }
}
} // namespace

void MainMenuBar::ctblinit()
{
    RuntimeStackCheck();
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(::MenuBar::lookup());
    RuntimeSetClassName(ctbl, "MainMenuBar.MainMenuBar");
    ctbl->allocate = &allocateInstance<MainMenuBar>;
    RuntimeReplaceMethod<&MainMenuBar::Constructor>(ctbl, MenuItem::kConstructor);
    [[maybe_unused]] std::size_t first
        = RuntimeNewVtable(ctbl, { method<&MainMenuBar::Untitled0>(), method<&MainMenuBar::Untitled1>() });
    VORPEL_ASSERT(first == kUntitled0.index, "MenuBar's operations moved");
    RuntimeRegisterOperation(ctbl, "Untitled0", "", "", publicScope());
    RuntimeRegisterOperation(ctbl, "Untitled1", "", "", publicScope());
    RuntimeRegisterOperation(ctbl, "Constructor", "", "", publicScope());
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* MainMenuBar::lookup()
{
    return classLookup<MainMenuBar>();
}

// Builds the menus only: the default construction of a menu item is not for the bar itself.
void MainMenuBar::Constructor(MainMenuBar* bar)
{
    RefPtr<MainMenuBar> protect(bar);
    RuntimeStackCheck();
    callMethod(bar, kUntitled0);
    callMethod(bar, kUntitled1);
}

void MainMenuBar::Untitled0(MainMenuBar* bar)
{
    RefPtr<MainMenuBar> protect(bar);
    RuntimeStackCheck();
    build(bar, kFile);
}

void MainMenuBar::Untitled1(MainMenuBar* bar)
{
    RefPtr<MainMenuBar> protect(bar);
    RuntimeStackCheck();
    build(bar, kEdit);
}

RefPtr<MainMenuBar> instance()
{
    if (!implicitInstance_) {
        Ref<MainMenuBar> created = newObject<MainMenuBar>();
        callMethod(created.ptr(), MenuItem::kConstructor);
        // Stored only once complete: a constructor that raises leaves no half-built bar behind.
        implicitInstance_ = created.ptr();
    }
    return implicitInstance_;
}

void implicitInstance_exit_()
{
    RefPtr<MainMenuBar> taken = std::move(implicitInstance_);
    implicitInstance_ = nullptr;
}

} // namespace MainMenuBar
