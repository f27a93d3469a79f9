#include "game/smashine.h"
#include "ui/idle_report.h"
#include "ui/qt_platform.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(QStringLiteral("Tivoran"));
    QApplication::setApplicationVersion(QStringLiteral(TIVORAN_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform desktop;
    setPlatform(&desktop);

    Smashine table;
    table.show();
    // The sounds load a quarter of a second after the table is up, so the
    // window comes first; no player bets sooner (a bet before that would
    // load them then).
    QTimer::singleShot(250, &table, [&desktop] { desktop.preloadSounds(); });
    exitWhenShownAndIdle(&table); // benchmarks only; see bench/
    const int rc = app.exec();
    setPlatform(nullptr);
    return rc;
}
