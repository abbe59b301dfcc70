#pragma once

#include "library/Platform.h"
#include "runtime/WeakPtr.h"

#include <QList>
#include <QMainWindow>

#include <unordered_map>

class QAction;
class Window;

// The top-level Qt window of a library Window: its menu bar and a content area holding one view per
// Label and ProgressBar, placed at the controls' frames. Presses, keys, resizes and the close button
// go back to the class library; the view itself decides nothing, save the size and place of a window that
// the window manager takes out of full screen.
class QtWindowView final : public QMainWindow {
public:
    explicit QtWindowView(Window&);
    ~QtWindowView() override;

    // Shows the window once, in its final state: full screen or at its size, never first at another.
    void present();
    void sync(WindowAspect);
    void syncControl(RectControl&, ControlAspect);
    // From now on nothing more is delivered for the window.
    void detach();

    Window* window() const { return m_window.get(); }
    QWidget* content() const;
    // The widget that shows a control, nil when none. For tests and measurements; inline, so that the
    // program, which never asks, carries none of it.
    QWidget* controlWidget(const RectControl& control) const
    {
        auto found = m_controls.find(&control);
        return found == m_controls.end() ? nullptr : found->second;
    }

    // The content's size changed: the library lays the controls out for it.
    void reportContentSize();

protected:
    void closeEvent(QCloseEvent*) override;
    void changeEvent(QEvent*) override;

private:
    class Content;

    void createControlViews();
    void applyTitle();
    void applyBackground();
    void applyFlags();
    void applySizeLimits(bool fullScreen);
    void rebuildMenuBar();
    void applyMenuBarVisibility();
    void showInState();
    int menuBarHeight() const;

    WeakPtr<Window> m_window;
    Content* m_content = nullptr;
    std::unordered_map<const RectControl*, QWidget*> m_controls;
    QList<QAction*> m_shortcutActions;
    QSize m_reported;
};
