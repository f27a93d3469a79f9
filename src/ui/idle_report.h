#pragma once
// Start-up timing for the benchmarks in bench/: with the environment
// variable TIVORAN_BENCH_EXIT_WHEN_IDLE set, the program prints
// "shown-and-idle <monotonic ns>" on standard output and quits as soon as
// its window has been painted for the first time and the event queue has
// run dry. Without the variable nothing at all happens.

class QWidget;

// Arms the report for window when the variable is set; returns whether it did.
bool exitWhenShownAndIdle(QWidget *window);
