#pragma once
// A Platform for the tests: records what the game asked of the desktop and
// answers from values the test sets, so nothing blocks and nothing sounds.

#include "desktop/atomic_file.h"
#include "desktop/platform.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <utility>

// Where a write made to fail stops. Each takes the way out of the safe
// writer that a real failure at that point takes.
enum class WriteFault {
    BeforeWrite,  // the temporary file is created, nothing is written to it
    PartialWrite, // half of the bytes reach the temporary file, then it fails
    AtSync,       // all bytes are written, the disk reports an error on the sync
    AtCommit,     // all bytes are written and flushed, the rename fails
};

// The safe writer's steps on a disk that fails at one stage.
class FailingWriteSteps : public FileWriteSteps {
public:
    explicit FailingWriteSteps(WriteFault stage)
        : m_stage(stage)
    {
    }
    qint64 write(QSaveFile &file, const QByteArray &bytes) override;
    bool sync(QSaveFile &file) override;
    bool commit(QSaveFile &file) override;

private:
    WriteFault m_stage;
};

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
    bool saveSetting(const QString &app, const QString &section, const QString &key,
                     const QString &value) override;
    QString programDir() override;
    QString playerDir() override;
    // The real safe writer; the writes made to fail below go through
    // FailingWriteSteps.
    bool writeFile(const QString &path, const QByteArray &bytes) override;
    bool ansiTextAvailable() override;
    quint32 tickCount() override;
    double rnd() override;
    void endProgram() override;
    // Qt's activation, unless the window manager is still to agree.
    bool activeOnDesktop(const QWidget *window) override;

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
    bool ansiCodecMissing = false;                   // as a Qt without Shift-JIS
    bool windowManagerBehind = false;                // it has not chosen the active window yet
    QMap<QString, QString> settings;                 // "app/section/key"
    bool settingsStoreFails = false;                 // saves store nothing
    QString dir;                                     // program directory
    QString playerFilesDir;                          // empty: the program directory
    int failingWrites = 0;                           // the next this many writes fail
    WriteFault writeFault = WriteFault::BeforeWrite; // ... at this stage

    // The next `count` writes fail at `stage`.
    void failWrites(WriteFault stage, int count = 1)
    {
        writeFault = stage;
        failingWrites = count;
    }

private:
    QTemporaryDir m_tempDir;
};
