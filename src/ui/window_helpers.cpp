#include "ui/window_helpers.h"

#include "ui/vb_controls.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void setFormBackColor(QWidget *window, qint32 ref)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, colorFromRef(ref));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
