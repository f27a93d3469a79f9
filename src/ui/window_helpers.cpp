#include "ui/window_helpers.h"

#include "ui/vb_controls.h"

#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWidget>

QIcon tivoranIcon()
{
    QIcon icon;
    for (const char *file : {":/icons/tivoran_32.png", ":/icons/tivoran_64.png", ":/icons/tivoran_128.png"})
        if (QFile::exists(QString::fromLatin1(file)))
            icon.addFile(QString::fromLatin1(file));
    return icon;
}

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
