#pragma once
// Program-wide values shared between the game table and the ranking windows.

#include <QString>

class QWidget;

// Section of the ranking file ("1位".."5位") whose name the name entry fills
// in; set by the ranking check, empty at program start.
extern QString RankSection;
// True until the name entry has been opened once in this run.
extern bool NameEntryFirstOpen;

// The game table, for the windows that block it while they are open.
QWidget *mainForm();
void setMainForm(QWidget *w);
