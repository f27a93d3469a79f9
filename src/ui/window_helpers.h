#pragma once
// Helpers shared by the game's secondary windows.

#include <QtGlobal>

class QWidget;

// Places a top-level window's client area in the middle of its screen.
void centreOnScreen(QWidget *window);
// Fills a window's background with a colour reference.
void setFormBackColor(QWidget *window, qint32 ref);
