// The yardstick of the benchmarks: a bare Qt 6 program with the game's
// style and window size, a menu bar and one label, and nothing else. It
// reports "shown and idle" the same way the game does.

#include "ui/idle_report.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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
    exitWhenShownAndIdle(&window);
    return app.exec();
}
