#pragma once
// Everything the game asks of the desktop goes through Platform: message
// boxes, the colour dialog, opening files and web pages, the sounds, the
// per-user settings store, the clock, the random source and the program
// directory. The game uses QtPlatform; the tests install a double so that
// nothing blocks on a modal dialog or needs a sound card.

#include <QByteArray>
#include <QEvent>
#include <QString>
#include <QUrl>
#include <QtGlobal>
#include <optional>

class QWidget;

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message with one OK button.
    virtual void messageBox(QWidget *parent, const QString &text, const QString &title) = 0;
    // The colour dialog; a colour reference (red + 256*green + 65536*blue),
    // or nothing when the player cancels.
    virtual std::optional<qint32> chooseColor(QWidget *parent) = 0;
    // Hands a local file to the desktop's viewer. False when that failed.
    virtual bool openFile(const QString &path) = 0;
    // Hands a web address to the desktop's browser. False when that failed.
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts sound 1, 2 or 3 and returns at once; a new sound replaces one
    // still playing. Non-zero when playback started.
    virtual int playWave(int id) = 0;
    // The per-user settings store. A save is true when the value is stored
    // (on the disk where the store is a file); false when it could not be,
    // and the store then still holds what it held before.
    virtual QString getSetting(const QString &app, const QString &section, const QString &key,
                               const QString &defaultValue) = 0;
    virtual bool saveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &value) = 0;
    // The directory holding the program, without a trailing separator.
    virtual QString programDir() = 0;
    // The directory holding the player's files, slot.ini and data.ini:
    // the program directory of a portable copy, or the player's data folder
    // of an installed game. Without a trailing separator.
    virtual QString playerDir() = 0;
    // Replaces the whole content of the file at path safely (see
    // writeFileAtomically). True when the new content is in place; false,
    // with the old file (or no file) as it was and nothing left behind, when
    // it could not be written.
    virtual bool writeFile(const QString &path, const QByteArray &bytes) = 0;
    // Whether the game's text files can be written in their code page,
    // Shift-JIS (see ansiCodecAvailable). Without it the game writes
    // neither slot.ini nor data.ini.
    virtual bool ansiTextAvailable() = 0;
    // Milliseconds on a monotonic clock as an unsigned 32-bit count that
    // wraps around; use the difference of two readings, never the value.
    virtual quint32 tickCount() = 0;
    // A uniform random value in [0, 1).
    virtual double rnd() = 0;
    // Ends the program at once: every window closes, no further handler runs.
    virtual void endProgram() = 0;
    // Whether the desktop has made window the active one, whose keys the
    // player's keys go to: it has the keyboard and, where a window manager
    // chooses the active window, the manager names it. The game's windows
    // are sent a desktopActivatedEvent() whenever the manager's choice
    // changes.
    virtual bool activeOnDesktop(const QWidget *window) = 0;
};

// The type of the event the game's windows are sent when the window
// manager has chosen another active window.
QEvent::Type desktopActivatedEvent();
// The type of the event the game's windows are sent when a mouse button is
// pressed with Alt held anywhere on the desktop, also where the window
// manager takes the click for itself (Alt and a click raise or move a
// window) and the game never sees it.
QEvent::Type desktopAltClickEvent();

// The platform in force. QtPlatform installs itself in main(); tests install
// their double.
Platform &platform();
void setPlatform(Platform *p);

// Path of a file of the program: the program directory and the file name.
QString programFile(const QString &fileName);
// Path of one of the player's files: the player directory and the file name.
QString playerFile(const QString &fileName);
// The player's ranking file and colour file, their paths built anew at every
// call.
QString rankingFile();
QString colourFile();
