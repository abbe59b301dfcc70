#pragma once

#include "runtime/Object.h"
#include "runtime/String.h"

#include <cstdint>
#include <vector>

// An item of a menu tree: a menu bar, a menu or a command. A Text of "-" makes it a separator.
class MenuItem : public Object {
public:
    // Written only through the setters and the tree operations; a change that shows tells the windows
    // showing the tree.
    String& name() const { return m_name.get(); }
    String& text() const { return m_text.get(); }
    String& keyboardShortcut() const { return m_keyboardShortcut.get(); }
    bool autoEnable() const { return m_autoEnable; }
    bool enabled() const { return m_enabled; }
    // The item this one is appended to, which owns it; nil at the top of a tree.
    MenuItem* parent() const { return m_parent; }
    const std::vector<Ref<MenuItem>>& children() const { return m_children; }

    // Operations, in method-table order.
    static constexpr Slot<void()> kConstructor { 0 };
    static constexpr Slot<void(MenuItem*)> kConstructorCopy { 1 };
    static constexpr Slot<void(String*, Object*)> kConstructorText { 2 };
    static constexpr Slot<void(MenuItem*)> kAppend { 3 };
    static constexpr Slot<RefPtr<MenuItem>(String*)> kChild { 4 };
    static constexpr Slot<RefPtr<MenuItem>(String*)> kLookup { 5 };
    static constexpr std::size_t kMethodCount = 6;

    static void Constructor(MenuItem*);
    static void ConstructorCopy(MenuItem*, MenuItem* other);
    static void ConstructorText(MenuItem*, String* text, Object* tag);
    static void Append(MenuItem*, MenuItem* item);
    static RefPtr<MenuItem> Child(MenuItem*, String* name);
    static RefPtr<MenuItem> Lookup_(MenuItem*, String* name);

    static constexpr EventSlot<bool()> kAction { 0 };
    static constexpr EventSlot<void()> kEnableMenu { 1 };

    bool isSeparator() const { return m_text->bytes() == "-"; }

    struct Name {
        static void Set(MenuItem*, std::int32_t, String*);
    };
    struct Text {
        static void Set(MenuItem*, std::int32_t, String*);
    };
    struct KeyboardShortcut {
        static void Set(MenuItem*, std::int32_t, String*);
    };
    struct AutoEnable {
        static void Set(MenuItem*, std::int32_t, bool);
    };

    static ClassTable* ctbl;
    static void ctblinit();
    static ClassTable* lookup();

#ifdef VORPEL_TEST_HOOKS
    // What the tests look at: the menu bar's initialiser and the framework's default construction ran.
    bool isMenuBar = false;
    bool defaultConstructed = false;
#endif

private:
    friend void MenuItemInitializer(MenuItem*);
    friend void MenuItemFinalizer(MenuItem*);
    friend void RuntimeMenuItemNameSetter(MenuItem*, std::int32_t, String*);
    friend void RuntimeMenuItemTextSetter(MenuItem*, std::int32_t, String*);
    friend void RuntimeMenuItemCommandKeySetter(MenuItem*, std::int32_t, String*);
    friend void RuntimeMenuItemAutoEnableSetter(MenuItem*, std::int32_t, bool);
    friend void RuntimeMenuItemAppend(MenuItem* parent, MenuItem* item);

    Ref<String> m_name = String::create("");
    Ref<String> m_text = String::create("");
    Ref<String> m_keyboardShortcut = String::create("");
    bool m_autoEnable = true;
    bool m_enabled = true;
    MenuItem* m_parent = nullptr;
    std::vector<Ref<MenuItem>> m_children;
};

void MenuItemInitializer(MenuItem*);
void MenuItemFinalizer(MenuItem*);
void RuntimeMenuItemDefaultConstructor(MenuItem*);
void RuntimeMenuItemNameSetter(MenuItem*, std::int32_t, String*);
void RuntimeMenuItemTextSetter(MenuItem*, std::int32_t, String*);
void RuntimeMenuItemCommandKeySetter(MenuItem*, std::int32_t, String*);
void RuntimeMenuItemAutoEnableSetter(MenuItem*, std::int32_t, bool);
void RuntimeMenuItemAppend(MenuItem* parent, MenuItem* item);
RefPtr<MenuItem> RuntimeMenuItemChild(MenuItem*, String* name);
RefPtr<MenuItem> RuntimeMenuItemLookup(MenuItem*, String* name);

// Tells the platform that a menu tree changed, so windows showing it rebuild their menus.
void RuntimeMenuTreeChanged(MenuItem&);
