#pragma once
// Helpers shared by the game's secondary windows.

#include <QtGlobal>

class QPoint;
class QRect;
class QSize;

class QWidget;

// Places a top-level window in the middle of its screen, its frame
// included. A window not yet shown has no frame yet: it is placed as if its
// frame were as wide as that of the shown window `like` (the game table), and
// placed again, once only, when its own frame turns out different.
void centreOnScreen(QWidget *window, const QWidget *like = nullptr);

// Where the top-left corner of a frame of frameSize goes to centre it in area.
QPoint centredFramePos(const QRect &area, const QSize &frameSize);

// Shows window over opener's window and keeps the player out of the opener's
// window until it is closed: modal over it, and transient for it, so that the
// desktop keeps it above the opener. Without an opener it is shown plainly.
void showBlockingOver(QWidget *window, QWidget *opener);
// Fills a window's background with a colour reference.
void setFormBackColor(QWidget *window, qint32 ref);
