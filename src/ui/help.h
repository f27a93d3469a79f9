#pragma once
// The help item: readme.txt beside the program, handed to the desktop's
// viewer.

// Opens readme.txt with the desktop's viewer, once; does nothing when the
// file is not there.
void openHelpFile();
