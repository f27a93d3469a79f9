#pragma once
// Helpers shared by the game's secondary windows.

#include <QIcon>
#include <QtGlobal>

class QWidget;

// The program icon (32 px, with the 64 and 128 px pictures for high-DPI).
QIcon tivoranIcon();
// Places a top-level window's client area in the middle of its screen.
void centreOnScreen(QWidget *window);
// Fills a window's background with a colour reference.
void setFormBackColor(QWidget *window, qint32 ref);
