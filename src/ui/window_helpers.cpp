#include "ui/window_helpers.h"

#include "ui/vb_controls.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

QMargins frameMarginsOf(const QWidget *window)
{
    const QWindow *handle = window ? window->windowHandle() : nullptr;
    return handle && handle->isVisible() ? handle->frameMargins() : QMargins();
}

void placeCentred(QWidget *window, const QMargins &frame)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // move() places the frame's top-left corner.
    window->move(centredFramePos(screen->availableGeometry(), window->size().grownBy(frame)));
}

// Places a window again once the desktop has put its frame round it, should
// that frame differ from the one it was centred for; then goes away. The
// player's own moves are never undone: only the desktop's first placing
// counts.
class FrameCentring : public QObject {
public:
    FrameCentring(QWidget *window, const QMargins &assumed)
        : QObject(window), m_window(window), m_assumed(assumed)
    {
        window->installEventFilter(this);
        // Centred from its own show event: it is up as soon as that is over.
        if (window->isVisible())
            QMetaObject::invokeMethod(this, &FrameCentring::check, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window) {
            // The desktop's frame is known once the window is up (just
            // after its show event), or once the desktop has framed it: it
            // then moves, paints or activates it. By its activation the
            // frame is there, or there is none.
            switch (event->type()) {
            case QEvent::Show:
                QMetaObject::invokeMethod(this, &FrameCentring::check, Qt::QueuedConnection);
                break;
            case QEvent::Move:
            case QEvent::Paint:
                check();
                break;
            case QEvent::WindowActivate:
                check();
                finish();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void check()
    {
        if (!m_window || m_done)
            return;
        const QMargins actual = frameMarginsOf(m_window);
        if (actual.isNull())
            return;
        if (actual != m_assumed)
            placeCentred(m_window, actual);
        finish();
    }

    void finish()
    {
        if (m_done)
            return;
        m_done = true;
        if (m_window)
            m_window->removeEventFilter(this);
        deleteLater();
    }

    bool m_done = false;
    QPointer<QWidget> m_window;
    QMargins m_assumed;
};

} // namespace

QPoint centredFramePos(const QRect &area, const QSize &frameSize)
{
    return QPoint(area.x() + (area.width() - frameSize.width()) / 2,
                  area.y() + (area.height() - frameSize.height()) / 2);
}

void centreOnScreen(QWidget *window, const QWidget *like)
{
    QMargins frame = frameMarginsOf(window);
    const bool known = !frame.isNull();
    if (!known)
        frame = frameMarginsOf(like);
    placeCentred(window, frame);
    if (!known)
        new FrameCentring(window, frame);
}

void showBlockingOver(QWidget *window, QWidget *opener)
{
    QWidget *table = opener ? opener->window() : nullptr;
    if (table && table->windowHandle()) {
        window->setWindowModality(Qt::WindowModal);
        window->winId(); // the native window, to be made transient for the table
        if (QWindow *handle = window->windowHandle())
            handle->setTransientParent(table->windowHandle());
    }
    window->show();
}

void setFormBackColor(QWidget *window, qint32 ref)
{
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, colorFromRef(ref));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}
