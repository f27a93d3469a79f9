// The yardstick of the benchmarks: a bare Qt 6 program with the game's
// style and window size, a menu bar and one label, and nothing else.
//
// It is built twice, as the game is: tivoran-bench-baseline is the plain
// program, measured from outside side by side with the game itself
// (memory, CPU while idle); tivoran-bench-baseline-timed has the start-up
// report of idle_report.h armed, as tivoran-bench-game has, and is timed
// against that.

#ifdef BASELINE_REPORTS_IDLE
#include "idle_report.h"
#endif

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef BASELINE_REPORTS_IDLE
    exitWhenShownAndIdle();
#endif
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("baseline"));
    window.menuBar()->addMenu(QStringLiteral("モード"))->addAction(QStringLiteral("ノーマルモード"));
    auto *label = new QLabel(QStringLiteral("コイン 100"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    // The game table's client area: 488 x 479 pixels below the menu bar.
    window.setFixedSize(488, 479 + window.menuBar()->sizeHint().height());
    window.show();
    return app.exec();
}
