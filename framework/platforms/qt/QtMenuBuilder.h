#pragma once

#include <QList>

class MenuItem;
class QAction;
class QMenu;
class QMenuBar;
class QWidget;

// Builds the menus of a menu tree: the root's children are the menus of the bar, in order, and their
// children its items; an item with children of its own opens a submenu. A Text of "-" is a separator,
// a KeyboardShortcut becomes the action's shortcut (see QtShortcut.h) and an item is enabled while it
// is AutoEnable. Choosing an item delivers it to the class library.
class QtMenuBuilder {
public:
    // Fills bar from root and returns the actions that carry a shortcut, so that the window can keep
    // them working while its menu bar is hidden.
    static QList<QAction*> build(QMenuBar& bar, MenuItem& root);

private:
    static void fill(QMenu& menu, MenuItem& parent, QList<QAction*>& shortcuts);
    static QAction* makeAction(QWidget& owner, MenuItem& item, QList<QAction*>& shortcuts);
};
