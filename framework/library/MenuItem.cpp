#include "MenuItem.h"

#include "FrameworkState.h"
#include "MenuBar.h"
#include "Platform.h"
#include "PropertySetters.h"
#include "Window.h"
#include "runtime/CallTrace.h"
#include "runtime/MainThread.h"

ClassTable* MenuItem::ctbl = nullptr;

namespace {
RefPtr<MenuItem> lookupBelow(MenuItem& item, std::string_view name)
{
    for (const Ref<MenuItem>& child : item.children()) {
        if (child->name().bytes() == name)
            return RefPtr<MenuItem>(child.ptr());
        if (RefPtr<MenuItem> found = lookupBelow(child.get(), name))
            return found;
    }
    return nullptr;
}

MenuItem& rootOf(MenuItem& item)
{
    MenuItem* root = &item;
    while (root->parent())
        root = root->parent();
    return *root;
}
} // namespace

void MenuItem::ctblinit()
{
    if (ctbl)
        return;
    ctbl = RuntimeNewClass(Object::lookup());
    RuntimeSetClassName(ctbl, "MenuItem");
    ctbl->allocate = &allocateInstance<MenuItem>;
    ctbl->initializer = hook<&MenuItemInitializer>();
    ctbl->finalizer = hook<&MenuItemFinalizer>();
    RuntimeNewVtable(ctbl,
        { method<&MenuItem::Constructor>(), method<&MenuItem::ConstructorCopy>(),
            method<&MenuItem::ConstructorText>(), method<&MenuItem::Append>(), method<&MenuItem::Child>(),
            method<&MenuItem::Lookup_>() });
    auto pub = [] { return RuntimeAllocateAttributeTable({ { "__Scope", "Public" } }); };
    RuntimeRegisterOperation(ctbl, "Constructor", "", "", pub());
    RuntimeRegisterOperation(ctbl, "Constructor", "MenuItem", "", pub());
    RuntimeRegisterOperation(ctbl, "Constructor", "s,Variant", "", pub());
    RuntimeRegisterOperation(ctbl, "Append", "MenuItem", "", pub());
    RuntimeRegisterOperation(ctbl, "Child", "s", "MenuItem", pub());
    RuntimeRegisterOperation(ctbl, "_Lookup", "s", "MenuItem", pub());
    RuntimeDeclareEvents(ctbl, { "Action", "EnableMenu" });
    RuntimeSetClassAttribute(ctbl, "__Scope", "Public");
}

ClassTable* MenuItem::lookup()
{
    return classLookup<MenuItem>();
}

void MenuItemInitializer(MenuItem* item)
{
    UITrap_();
    item->m_autoEnable = true;
    item->m_enabled = true;
}

void MenuItemFinalizer(MenuItem* item)
{
    // The children go whatever thread is current; the trap only reports the misuse afterwards.
    for (const Ref<MenuItem>& child : item->m_children)
        child->m_parent = nullptr;
    item->m_children.clear();
    UITrap_();
}

void RuntimeMenuItemDefaultConstructor(MenuItem* item)
{
    if (!item)
        RaiseNilObjectException();
#ifdef VORPEL_TEST_HOOKS
    item->defaultConstructed = true;
#endif
}

void MenuItem::Constructor(MenuItem* item)
{
    RefPtr<MenuItem> protect(item);
    UITrap_();
    RuntimeMenuItemDefaultConstructor(item);
}

void MenuItem::ConstructorCopy(MenuItem* item, MenuItem* other)
{
    RefPtr<MenuItem> protect(item);
    RefPtr<MenuItem> protectOther(other);
    UITrap_();
    RuntimeMenuItemDefaultConstructor(item);
    if (!other)
        RaiseNilObjectException();
    item->m_name = other->m_name;
    item->m_text = other->m_text;
    item->m_keyboardShortcut = other->m_keyboardShortcut;
    item->m_autoEnable = other->m_autoEnable;
}

void MenuItem::ConstructorText(MenuItem* item, String* text, Object*)
{
    RefPtr<MenuItem> protect(item);
    RefPtr<String> protectText(text);
    UITrap_();
    RuntimeMenuItemDefaultConstructor(item);
    RuntimeMenuItemTextSetter(item, 0, text);
}

void RuntimeMenuTreeChanged(MenuItem& item)
{
    Platform* platform = framework().platformIfChosen();
    if (!platform)
        return;
    MenuItem& root = rootOf(item);
    for (const Ref<Window>& window : framework().windows()) {
        if (window->isOpen() && static_cast<MenuItem*>(window->menuBar()) == &root)
            platform->windowChanged(window.get(), WindowAspect::MenuBar);
    }
}

namespace {
// A shown property changed: the windows that show the tree rebuild their menus.
void treeChanged(MenuItem* item)
{
    RuntimeMenuTreeChanged(*item);
}
} // namespace

void RuntimeMenuItemNameSetter(MenuItem* item, std::int32_t, String* name)
{
    if (!item)
        RaiseNilObjectException();
    property::store<&MenuItem::m_name>(item, name);
}

void RuntimeMenuItemTextSetter(MenuItem* item, std::int32_t, String* text)
{
    if (!item)
        RaiseNilObjectException();
    property::store<&MenuItem::m_text, &treeChanged>(item, text);
}

void RuntimeMenuItemCommandKeySetter(MenuItem* item, std::int32_t, String* shortcut)
{
    if (!item)
        RaiseNilObjectException();
    property::store<&MenuItem::m_keyboardShortcut, &treeChanged>(item, shortcut);
}

void RuntimeMenuItemAutoEnableSetter(MenuItem* item, std::int32_t, bool value)
{
    if (!item)
        RaiseNilObjectException();
    property::store<&MenuItem::m_autoEnable, &treeChanged>(item, value);
}

void RuntimeMenuItemAppend(MenuItem* parent, MenuItem* item)
{
    if (!parent || !item)
        RaiseNilObjectException();
    if (item->m_parent || item == parent) {
        RuntimeRaise(InvalidArgumentException::lookup(), "a menu item can be appended to one menu only");
    }
    for (MenuItem* up = parent; up; up = up->m_parent) {
        if (up == item)
            RuntimeRaise(InvalidArgumentException::lookup(), "a menu item cannot be appended below itself");
    }
    parent->m_children.emplace_back(*item);
    item->m_parent = parent;
    RuntimeMenuTreeChanged(*parent);
}

RefPtr<MenuItem> RuntimeMenuItemChild(MenuItem* item, String* name)
{
    if (!item)
        RaiseNilObjectException();
    if (!name)
        return nullptr;
    for (const Ref<MenuItem>& child : item->children()) {
        if (child->name().bytes() == name->bytes())
            return RefPtr<MenuItem>(child.ptr());
    }
    return nullptr;
}

RefPtr<MenuItem> RuntimeMenuItemLookup(MenuItem* item, String* name)
{
    if (!item)
        RaiseNilObjectException();
    if (!name)
        return nullptr;
    return lookupBelow(*item, name->bytes());
}

void MenuItem::Append(MenuItem* parent, MenuItem* item)
{
    RefPtr<MenuItem> protect(parent);
    RefPtr<MenuItem> protectItem(item);
    UITrap_();
    RuntimeMenuItemAppend(parent, item);
}

RefPtr<MenuItem> MenuItem::Child(MenuItem* item, String* name)
{
    UITrap_();
    return RuntimeMenuItemChild(item, name);
}

RefPtr<MenuItem> MenuItem::Lookup_(MenuItem* item, String* name)
{
    UITrap_();
    return RuntimeMenuItemLookup(item, name);
}

void MenuItem::Name::Set(MenuItem* item, std::int32_t index, String* value)
{
    TracedCall trace("MenuItem.Name.Set", { item, index, value });
    UITrap_();
    RuntimeMenuItemNameSetter(item, index, value);
}

void MenuItem::Text::Set(MenuItem* item, std::int32_t index, String* value)
{
    TracedCall trace("MenuItem.Text.Set", { item, index, value });
    UITrap_();
    RuntimeMenuItemTextSetter(item, index, value);
}

void MenuItem::KeyboardShortcut::Set(MenuItem* item, std::int32_t index, String* value)
{
    TracedCall trace("MenuItem.KeyboardShortcut.Set", { item, index, value });
    UITrap_();
    RuntimeMenuItemCommandKeySetter(item, index, value);
}

void MenuItem::AutoEnable::Set(MenuItem* item, std::int32_t index, bool value)
{
    TracedCall trace("MenuItem.AutoEnable.Set", { item, index, value });
    UITrap_();
    RuntimeMenuItemAutoEnableSetter(item, index, value);
}
