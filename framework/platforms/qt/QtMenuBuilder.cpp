#include "QtMenuBuilder.h"

#include "QtShortcut.h"
#include "QtText.h"
#include "library/MenuItem.h"
#include "library/PlatformEvents.h"
#include "runtime/WeakPtr.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
// Shown exactly as written: an ampersand is no mnemonic mark here.
QString displayText(const MenuItem& item)
{
    return QtFromUtf8(item.text()).replace(u'&', QStringLiteral("&&"));
}

bool isEnabled(const MenuItem& item)
{
    return item.autoEnable() && item.enabled();
}
} // namespace

QList<QAction*> QtMenuBuilder::build(QMenuBar& bar, MenuItem& root)
{
    QList<QAction*> shortcuts;
    for (const Ref<MenuItem>& child : root.children()) {
        MenuItem& item = child.get();
        if (item.isSeparator()) {
            bar.addSeparator();
            continue;
        }
        QMenu* menu = bar.addMenu(displayText(item));
        menu->menuAction()->setEnabled(isEnabled(item));
        fill(*menu, item, shortcuts);
    }
    return shortcuts;
}

void QtMenuBuilder::fill(QMenu& menu, MenuItem& parent, QList<QAction*>& shortcuts)
{
    for (const Ref<MenuItem>& child : parent.children()) {
        MenuItem& item = child.get();
        if (item.isSeparator()) {
            menu.addSeparator();
        } else if (!item.children().empty()) {
            QMenu* submenu = menu.addMenu(displayText(item));
            submenu->menuAction()->setEnabled(isEnabled(item));
            fill(*submenu, item, shortcuts);
        } else {
            menu.addAction(makeAction(menu, item, shortcuts));
        }
    }
}

QAction* QtMenuBuilder::makeAction(QWidget& owner, MenuItem& item, QList<QAction*>& shortcuts)
{
    auto* action = new QAction(displayText(item), &owner);
    action->setEnabled(isEnabled(item));
    action->setMenuRole(QAction::NoRole);
    QKeySequence shortcut = QtShortcut(item.keyboardShortcut().bytes());
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        shortcuts.append(action);
    }
    // The library owns the tree; a view holds none of it, so a closed window's view, which goes only
    // later, keeps no item alive past shut-down. An item chosen from a menu still open after its tree
    // was replaced and freed is chosen no more.
    QObject::connect(action, &QAction::triggered, action, [item = WeakPtr<MenuItem>(&item)] {
        if (MenuItem* chosen = item.get())
            RuntimeDeliverMenuChoice(*chosen);
    });
    return action;
}
