#pragma once
// The desktop as the game meets it on a real screen.

#include "audio/sound_player.h"
#include "desktop/platform.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRandomGenerator>
#include <memory>

class QThread;
class X11WindowManager;

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void messageBox(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<qint32> chooseColor(QWidget *parent) override;
    bool openFile(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    int playWave(int id) override;
    QString getSetting(const QString &app, const QString &section, const QString &key,
                       const QString &defaultValue) override;
    bool saveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value) override;
    QString programDir() override;
    QString playerDir() override;
    bool writeFile(const QString &path, const QByteArray &bytes) override;
    bool ansiTextAvailable() override;
    quint32 tickCount() override;
    double rnd() override;
    void endProgram() override;
    bool activeOnDesktop(const QWidget *window) override;

    // Starts loading the sound module on a thread of its own; the player
    // and its three sounds follow on the game's thread when it is in.
    // Tried once; without the module the game is silent. A sound asked for
    // while the module is loading plays as soon as the player is there (a
    // later one replaces it), and the call still returns at once.
    void preloadSounds();
    // True once the sound player is there and has read the three sounds.
    bool soundsReady() const;

private:
    QElapsedTimer m_clock;
    std::unique_ptr<X11WindowManager> m_windowManager; // on an X11 desktop
    QString m_playerDir; // chosen at the first use
    QRandomGenerator m_random;

    void soundModuleLoaded();

    // The player once it is there; the loader while the module is read.
    std::unique_ptr<SoundPlayer> m_sounds;
    QThread *m_soundLoader = nullptr;
    bool m_soundsTried = false;
    CreateSoundPlayerFn m_createSounds = nullptr; // set by the loader before it ends
    int m_pendingSound = 0;
    QObject m_soundContext; // where the loader's end is handled
};
