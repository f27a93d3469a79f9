#pragma once
// Alt alone, or F10, puts the keyboard on a window's menu bar and takes it
// off again: the arrow keys then move through the menu titles and items,
// Return chooses and Escape goes back, and the menu captions need no
// mnemonic letters.
//
// Qt's menu bar does this for a lone Alt itself, but only while every key
// reaches the window at once. A screen reader holds each key press and
// release back until it has looked at it, and the shortcut check that opens
// Qt's own handling is not held back with them: a release may come before
// its own press, and the press then toggles the menu bar off again. Here
// Qt's own handling is switched off for the window and the menu bar is
// toggled once, on the Alt release or the F10 press, in the order the keys
// reach the window whether held back or not. These keys go no further. A
// click, a move of the mouse or another key between an Alt's press and
// release makes it no lone Alt.

#include <QObject>
#include <QPointer>

class QMenuBar;
class QWidget;
class QWindow;

class MenuBarKeys : public QObject {
public:
    // Watches the keys of `window`, whose menu bar is `bar`.
    MenuBarKeys(QWidget *window, QMenuBar *bar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Puts the keyboard on the menu bar, or gives it back to the control
    // that had it. While every menu is disabled the keyboard stays where it
    // is.
    void toggle();
    // A click or move of the mouse with Alt held: that Alt is no lone Alt.
    void mouseWithAlt();

    QWidget *m_window;
    QMenuBar *m_bar;
    QPointer<QWindow> m_handle;
    bool m_altAlone = false;       // Alt is down and no other key, click or move came since
    bool m_clickBeforeAlt = false; // a click or move with Alt held came before that Alt's press
    bool m_handing = false;        // toggle() is at work
};
