#pragma once
// The desktop's own texts in the game's language: Qt's Japanese translation
// of its dialogs (the colour dialog, the message-box buttons), and the
// colour dialog as the game opens it.

#include <QtGlobal>
#include <optional>

class QColorDialog;
class QCoreApplication;

// Installs Qt's Japanese translation for app, when the desktop has it. True
// when it was loaded; without it the dialogs speak English.
bool installQtJapanese(QCoreApplication &app);

// Runs dialog with no colour chosen beforehand: it starts on black, so OK
// without a choice gives black. The colour as a colour reference, or nothing
// when the player cancels.
std::optional<qint32> runColourDialog(QColorDialog &dialog);
