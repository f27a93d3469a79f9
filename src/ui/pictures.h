#pragma once
// The game's pictures, drawn at twice their display size so that they
// stay sharp on high-resolution screens.

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The master picture of a reels::Picture; a null pixmap for NoPicture.
QPixmap masterPicture(int picture);
// The picture scaled to a logical size for a device pixel ratio; cached.
QPixmap scaledPicture(int picture, QSize logicalSize, qreal devicePixelRatio);
// The program icon in all its sizes.
QIcon programIcon();
