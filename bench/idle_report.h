#pragma once
// Start-up timing for the measuring programs in bench/ (never part of the
// game itself): once armed, the program prints
// "shown-and-idle <monotonic ns>" on standard output and quits as soon as
// its first top-level window has been painted and the event queue has run
// dry after that.

// Arms the report; call it once, after the QApplication has been made and
// before its event loop runs.
void exitWhenShownAndIdle();
