#include "ui/idle_report.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace {
class IdleReporter : public QObject {
public:
    explicit IdleReporter(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        qApp->installEventFilter(this);
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &IdleReporter::idle);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == m_window)
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

    QWidget *m_window;
    bool m_painted = false;
    bool m_done = false;
};
} // namespace

bool exitWhenShownAndIdle(QWidget *window)
{
    if (!qEnvironmentVariableIsSet("TIVORAN_BENCH_EXIT_WHEN_IDLE"))
        return false;
    new IdleReporter(window);
    return true;
}
