#include "ui/menu_bar_keys.h"

#include "desktop/platform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMenuBar>
#include <QWidget>
#include <QWindow>

#include <utility>

MenuBarKeys::MenuBarKeys(QWidget *window, QMenuBar *bar)
    : QObject(window)
    , m_window(window)
    , m_bar(bar)
{
    // The window's keys are watched where they reach its platform window,
    // which exists once the window is shown.
    window->installEventFilter(this);
}

bool MenuBarKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == desktopAltClickEvent()) {
        // A click the window manager may have taken for itself; one made
        // while another window has the keyboard is none of this Alt's.
        if (watched == m_window && m_window->isActiveWindow())
            mouseWithAlt();
        return true;
    }
    switch (event->type()) {
    case QEvent::Show:
        if (watched == m_window && !m_handle && m_window->windowHandle()) {
            m_handle = m_window->windowHandle();
            m_handle->installEventFilter(this);
        }
        break;
    case QEvent::ShortcutOverride:
        // The shortcut check of an Alt press is what starts Qt's own
        // handling of a lone Alt; it never sees one here.
        return !m_handing && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        // A click with Alt held makes it no lone Alt, and so does a move of
        // the mouse, as in Qt's own menu bar: a window manager that takes
        // Alt with a click for itself (to raise or move the window) leaves
        // the game only the move. The event tells whether Alt was down as
        // it came: a screen reader may still be holding that Alt's press
        // back, or may not yet have handed on the release of an Alt let go
        // before it.
        if (watched == m_handle && (static_cast<QMouseEvent *>(event)->modifiers() & Qt::AltModifier))
            mouseWithAlt();
        break;
    case QEvent::KeyPress:
        if (watched == m_handle) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Alt) {
                if (!key->isAutoRepeat())
                    m_altAlone = !std::exchange(m_clickBeforeAlt, false);
                break;
            }
            m_altAlone = false;
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
                if (!key->isAutoRepeat())
                    toggle();
                return true;
            }
        }
        break;
    case QEvent::KeyRelease:
        if (watched == m_handle && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Alt) {
            m_clickBeforeAlt = false;
            if (std::exchange(m_altAlone, false)) {
                toggle();
                return true;
            }
        }
        break;
    default:
        break;
    }
    return false;
}

void MenuBarKeys::mouseWithAlt()
{
    // Before the Alt's press has come (held back), it marks that press; after
    // it, it ends the lone Alt.
    m_clickBeforeAlt = !m_altAlone;
    m_altAlone = false;
}

void MenuBarKeys::toggle()
{
    if (!m_bar->hasFocus()) {
        bool anyEnabled = false;
        for (const QAction *title : m_bar->actions())
            anyEnabled = anyEnabled || (title->isEnabled() && title->isVisible());
        if (!anyEnabled)
            return;
    }
    // The focused control is handed a lone Alt, press and release, as a
    // desktop without a screen reader delivers it; the menu bar takes it
    // from there. It remembers the control to give the keyboard back to,
    // highlights the first title, and moves through titles and menus with
    // the arrow keys.
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus && focus->window() == m_window ? focus : m_window;
    m_handing = true;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
    m_handing = false;
}
