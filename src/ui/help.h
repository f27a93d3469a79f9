#pragma once
// The help item: readme.txt beside the program, or in the installed data
// folder, handed to the desktop's viewer.

// Opens readme.txt with the desktop's viewer, once; does nothing when the
// file is not there.
void openHelpFile();
