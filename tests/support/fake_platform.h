#pragma once
// A Platform for the tests: records what the game asked of the desktop and
// answers from values the test sets, so nothing blocks and nothing sounds.

#include "ui/platform.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <utility>

class FakePlatform : public Platform {
public:
    struct Message {
        QString text;
        QString title;
    };

    FakePlatform();
    ~FakePlatform() override;

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

    // What happened.
    QList<Message> messages;
    QList<int> sounds;
    QStringList openedFiles;
    QList<QUrl> openedUrls;
    int colourDialogs = 0;
    int endCount = 0;

    // What the desktop answers.
    std::deque<std::optional<qint32>> colourAnswers; // empty: cancel
    bool openSucceeds = true;
    std::deque<double> randomValues;                 // empty: 0.0
    quint32 ticks = 0;                               // advance by hand
    QMap<QString, QString> settings;                 // "app/section/key"
    QString dir;                                     // program directory

private:
    QTemporaryDir m_tempDir;
};
