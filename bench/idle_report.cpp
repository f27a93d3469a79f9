#include "idle_report.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
// Watches every event of the application for the first paint of a widget in
// a visible top-level window; that window is the one waited for. The report
// comes the first time the event loop is about to sleep after it.
class IdleReporter : public QObject {
public:
    IdleReporter()
        : QObject(QCoreApplication::instance())
    {
        QCoreApplication::instance()->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &IdleReporter::idle);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_painted && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window()->isVisible())
            m_painted = true;
        return false;
    }

private:
    void idle()
    {
        if (!m_painted || m_done)
            return;
        m_done = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("shown-and-idle %lld\n", (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    bool m_painted = false;
    bool m_done = false;
};
} // namespace

void exitWhenShownAndIdle()
{
    if (!QCoreApplication::instance() || !QAbstractEventDispatcher::instance()) {
        std::fputs("exitWhenShownAndIdle: no application yet\n", stderr);
        std::abort();
    }
    new IdleReporter;
}
