#pragma once
// The desktop as the game meets it on a real screen.

#include "ui/platform.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <memory>

class WavePlayer;

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
    void saveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value) override;
    QString programDir() override;
    quint32 tickCount() override;
    double rnd() override;
    void endProgram() override;

    // Loads the three sounds, so that the first bet is heard at once.
    void preloadSounds();

private:
    QElapsedTimer m_clock;
    QRandomGenerator m_random;
    std::unique_ptr<WavePlayer> m_sounds;
};
