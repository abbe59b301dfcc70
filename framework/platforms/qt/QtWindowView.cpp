#include "QtWindowView.h"

#include "QtKeyText.h"
#include "QtLabelView.h"
#include "QtMenuBuilder.h"
#include "QtProgressBarView.h"
#include "QtText.h"
#include "library/Application.h"
#include "library/FrameworkState.h"
#include "library/Label.h"
#include "library/MenuBar.h"
#include "library/PlatformEvents.h"
#include "library/ProgressBar.h"
#include "library/Window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QResizeEvent>
#include <QScreen>

#include <algorithm>

namespace {
int clampSize(std::int32_t size)
{
    return std::clamp<std::int32_t>(size, 0, QWIDGETSIZE_MAX);
}

// Left to the style, a lone Alt tap (or Escape out of an open menu) puts the menu bar into keyboard
// navigation: nothing on screen says so, yet the bar takes every key that follows and the window hears
// none of them. The bar is for the mouse and the items' shortcuts only.
class NoKeyboardNavigationStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returned) const override
    {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};
} // namespace

// The window's content area: the coordinate space of the controls and of MouseDown.
class QtWindowView::Content final : public QWidget {
public:
    explicit Content(QtWindowView& view)
        : QWidget(&view)
        , m_view(view)
    {
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    bool event(QEvent* event) override
    {
        // Tab and Backtab are keys for the window, not focus moves.
        if (event->type() == QEvent::KeyPress) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
        return QWidget::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        std::optional<std::string> text = QtKeyText(event->key(), event->modifiers(), event->text());
        Window* window = m_view.window();
        if (!text || !window) {
            event->ignore();
            return;
        }
        event->accept();
        RuntimeDeliverKeyDown(*window, *text);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        event->accept();
        setFocus(Qt::MouseFocusReason);
        if (Window* window = m_view.window()) {
            QPoint at = event->position().toPoint();
            RuntimeDeliverMouseDown(*window, at.x(), at.y());
        }
    }

    void resizeEvent(QResizeEvent*) override { m_view.reportContentSize(); }

private:
    QtWindowView& m_view;
};

QtWindowView::QtWindowView(Window& window)
    : m_window(&window)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_content = new Content(*this);
    setCentralWidget(m_content);
    setFocusProxy(m_content);
    createControlViews();
}

QtWindowView::~QtWindowView() = default;

void QtWindowView::createControlViews()
{
    Window* window = m_window.get();
    if (!window)
        return;
    for (const Window::NamedControl& entry : window->controls()) {
        Object& object = entry.control.get();
        QWidget* view = nullptr;
        if (object.isA(Label::lookup())) {
            auto* label = new QtLabelView(m_content);
            label->syncAll(static_cast<Label&>(object));
            view = label;
        } else if (object.isA(ProgressBar::lookup())) {
            auto* bar = new QtProgressBarView(m_content);
            bar->syncAll(static_cast<ProgressBar&>(object));
            view = bar;
        } else {
            continue;
        }
        auto& control = static_cast<RectControl&>(object);
        view->setObjectName(QtFromUtf8(entry.name.get()));
        view->setGeometry(
            control.frame().left, control.frame().top, control.frame().width, control.frame().height);
        view->setEnabled(control.enabled());
        view->setVisible(control.visible());
        m_controls[&control] = view;
    }
}

void QtWindowView::present()
{
    Window* window = m_window.get();
    if (!window)
        return;
    applyTitle();
    applyBackground();
    applyFlags();
    rebuildMenuBar();
    applySizeLimits(window->fullScreen());
    if (window->fullScreen()) {
        // Without a window manager the full-screen state does nothing: take the screen ourselves.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
    } else {
        resize(clampSize(window->width()), clampSize(window->height()) + menuBarHeight());
    }
    // Lay out before showing, so that the controls already stand at their final places when it maps.
    if (QLayout* own = layout())
        own->activate();
    reportContentSize();
    m_content->setFocus(Qt::OtherFocusReason);
    if (window->visible())
        showInState();
}

void QtWindowView::showInState()
{
    Window* window = m_window.get();
    if (!window)
        return;
    if (window->fullScreen()) {
        if (QScreen* screen = QGuiApplication::primaryScreen(); screen && !isFullScreen())
            setGeometry(screen->geometry());
        showFullScreen();
    } else if (isFullScreen()) {
        showNormal();
        resize(clampSize(window->width()), clampSize(window->height()) + menuBarHeight());
    } else {
        show();
    }
    raise();
    activateWindow();
}

void QtWindowView::sync(WindowAspect aspect)
{
    Window* window = m_window.get();
    if (!window)
        return;
    switch (aspect) {
    case WindowAspect::Title:
        applyTitle();
        break;
    case WindowAspect::Size:
        applySizeLimits(window->fullScreen());
        if (!window->fullScreen())
            resize(clampSize(window->width()), clampSize(window->height()) + menuBarHeight());
        break;
    case WindowAspect::Flags: {
        applyBackground();
        bool wasVisible = isVisible();
        bool stateChanged = window->fullScreen() != isFullScreen();
        Qt::WindowFlags before = windowFlags();
        applyFlags();
        applyMenuBarVisibility();
        applySizeLimits(window->fullScreen());
        // New flags hide a shown window; a full-screen change needs a new show as well.
        if (wasVisible && window->visible() && (stateChanged || windowFlags() != before))
            showInState();
        break;
    }
    case WindowAspect::MenuBar:
        rebuildMenuBar();
        break;
    case WindowAspect::Visibility:
        if (window->visible())
            showInState();
        else
            hide();
        break;
    }
}

void QtWindowView::syncControl(RectControl& control, ControlAspect aspect)
{
    auto found = m_controls.find(&control);
    if (found == m_controls.end())
        return;
    QWidget* view = found->second;
    switch (aspect) {
    case ControlAspect::Geometry:
        view->setGeometry(
            control.frame().left, control.frame().top, control.frame().width, control.frame().height);
        return;
    case ControlAspect::Visibility:
        view->setVisible(control.visible());
        return;
    case ControlAspect::Enabled:
        view->setEnabled(control.enabled());
        return;
    default:
        break;
    }
    if (auto* label = dynamic_cast<QtLabelView*>(view))
        label->sync(static_cast<Label&>(control), aspect);
    else if (auto* bar = dynamic_cast<QtProgressBarView*>(view))
        bar->sync(static_cast<ProgressBar&>(control), aspect);
}

void QtWindowView::detach()
{
    m_window = nullptr;
    m_controls.clear();
}

QWidget* QtWindowView::content() const
{
    return m_content;
}

void QtWindowView::reportContentSize()
{
    Window* window = m_window.get();
    QSize size = m_content->size();
    if (!window || size == m_reported || size.isEmpty())
        return;
    m_reported = size;
    RuntimeDeliverResize(*window, size.width(), size.height());
}

void QtWindowView::closeEvent(QCloseEvent* event)
{
    // The library decides: it closes the window, and our view with it, or keeps it open.
    event->ignore();
    if (Window* window = m_window.get())
        RuntimeDeliverCloseRequest(*window);
}

void QtWindowView::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    Window* window = m_window.get();
    auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if (!window || !window->fullScreen() || !(change->oldState() & Qt::WindowFullScreen)
        || (windowState() & (Qt::WindowFullScreen | Qt::WindowMinimized)))
        return;
    // The window manager took the window out of full screen. It would give it back the screen's size it
    // had before, its title bar above the top edge and no limits: make it a window of its own size
    // instead, in the middle of the screen.
    applySizeLimits(false);
    if (windowState() & Qt::WindowMaximized)
        return;
    QRect place(0, 0, clampSize(window->width()), clampSize(window->height()) + menuBarHeight());
    if (QScreen* shown = screen())
        place.moveCenter(shown->availableGeometry().center());
    setGeometry(place);
}

void QtWindowView::applyTitle()
{
    if (Window* window = m_window.get())
        setWindowTitle(QtFromUtf8(window->title()));
}

void QtWindowView::applyBackground()
{
    Window* window = m_window.get();
    if (!window)
        return;
    if (window->hasBackColor()) {
        QPalette palette = m_content->palette();
        palette.setColor(QPalette::Window,
            QColor(window->backColor().red, window->backColor().green, window->backColor().blue));
        m_content->setPalette(palette);
        m_content->setAutoFillBackground(true);
    } else {
        m_content->setPalette(QPalette());
        m_content->setAutoFillBackground(false);
    }
}

void QtWindowView::applyFlags()
{
    Window* window = m_window.get();
    if (!window)
        return;
    Qt::WindowFlags flags
        = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    if (window->closeButton())
        flags |= Qt::WindowCloseButtonHint;
    if (window->minimizeButton())
        flags |= Qt::WindowMinimizeButtonHint;
    if (window->maximizeButton() && window->resizeable())
        flags |= Qt::WindowMaximizeButtonHint;
    if (flags != windowFlags())
        setWindowFlags(flags);
}

void QtWindowView::applySizeLimits(bool fullScreen)
{
    Window* window = m_window.get();
    if (!window)
        return;
    // A full-screen window takes the screen whatever its limits say.
    if (fullScreen) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        return;
    }
    int bar = menuBarHeight();
    if (!window->resizeable()) {
        setFixedSize(clampSize(window->width()), clampSize(window->height()) + bar);
        return;
    }
    setMinimumSize(clampSize(window->minWidth()), clampSize(window->minHeight()) + bar);
    setMaximumSize(
        clampSize(window->maxWidth()), std::min(QWIDGETSIZE_MAX, clampSize(window->maxHeight()) + bar));
}

void QtWindowView::rebuildMenuBar()
{
    Window* window = m_window.get();
    if (!window)
        return;
    for (QAction* action : std::as_const(m_shortcutActions))
        removeAction(action);
    m_shortcutActions.clear();
    // A window without a menu bar of its own shows the application's.
    MenuItem* root = window->menuBar();
    if (!root && framework().application())
        root = framework().application()->menuBar.get();
    // A fresh bar each time: the old one, and any menu still open on it, goes once its events are done.
    auto* bar = new QMenuBar(this);
    bar->setNativeMenuBar(false);
    auto* style = new NoKeyboardNavigationStyle;
    style->setParent(bar);
    bar->setStyle(style);
    if (root)
        m_shortcutActions = QtMenuBuilder::build(*bar, *root);
    setMenuBar(bar);
    // The shortcuts also work while the bar is hidden.
    addActions(m_shortcutActions);
    applyMenuBarVisibility();
}

void QtWindowView::applyMenuBarVisibility()
{
    Window* window = m_window.get();
    QMenuBar* bar = menuBar();
    if (!window || !bar)
        return;
    bool shown = window->menuBarVisible() && !bar->actions().isEmpty();
    bar->setVisible(shown);
}

int QtWindowView::menuBarHeight() const
{
    Window* window = m_window.get();
    QMenuBar* bar = qobject_cast<QMenuBar*>(menuWidget());
    if (!window || !bar || !window->menuBarVisible() || bar->actions().isEmpty())
        return 0;
    return bar->heightForWidth(std::max(1, clampSize(window->width())));
}
