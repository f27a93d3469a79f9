#include "fake_platform.h"

#include "settings/ansi.h"

#include <QSaveFile>
#include <QWidget>

qint64 FailingWriteSteps::write(QSaveFile &file, const QByteArray &bytes)
{
    switch (m_stage) {
    case WriteFault::BeforeWrite:
        break;
    case WriteFault::PartialWrite:
        // Half of the bytes reach the disk, then it fails.
        FileWriteSteps::write(file, bytes.left(bytes.size() / 2));
        break;
    case WriteFault::AtSync:
    case WriteFault::AtCommit:
        return FileWriteSteps::write(file, bytes);
    }
    return -1;
}

bool FailingWriteSteps::sync(QSaveFile &file)
{
    if (m_stage == WriteFault::AtSync)
        return false;
    return FileWriteSteps::sync(file);
}

bool FailingWriteSteps::commit(QSaveFile &file)
{
    // A rename that fails: the writer's commit then only removes the
    // temporary file.
    if (m_stage == WriteFault::AtCommit)
        file.cancelWriting();
    return FileWriteSteps::commit(file);
}

FakePlatform::FakePlatform()
{
    dir = m_tempDir.path();
    setPlatform(this);
}

FakePlatform::~FakePlatform()
{
    setPlatform(nullptr);
}

void FakePlatform::messageBox(QWidget *, const QString &text, const QString &title)
{
    messages.append({text, title});
}

std::optional<qint32> FakePlatform::chooseColor(QWidget *)
{
    ++colourDialogs;
    if (colourAnswers.empty())
        return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

bool FakePlatform::openFile(const QString &path)
{
    openedFiles.append(path);
    return openSucceeds;
}

bool FakePlatform::openUrl(const QUrl &url)
{
    openedUrls.append(url);
    return openSucceeds;
}

int FakePlatform::playWave(int id)
{
    sounds.append(id);
    return (id >= 1 && id <= 3) ? 1 : 0;
}

QString FakePlatform::getSetting(const QString &app, const QString &section, const QString &key,
                                 const QString &defaultValue)
{
    return settings.value(app + '/' + section + '/' + key, defaultValue);
}

bool FakePlatform::saveSetting(const QString &app, const QString &section, const QString &key,
                               const QString &value)
{
    if (settingsStoreFails)
        return false;
    settings.insert(app + '/' + section + '/' + key, value);
    return true;
}

QString FakePlatform::programDir()
{
    return dir;
}

QString FakePlatform::playerDir()
{
    return playerFilesDir.isEmpty() ? dir : playerFilesDir;
}

bool FakePlatform::writeFile(const QString &path, const QByteArray &bytes)
{
    if (failingWrites <= 0)
        return writeFileAtomically(path, bytes);
    --failingWrites;
    FailingWriteSteps steps(writeFault);
    return writeFileAtomically(path, bytes, &steps);
}

bool FakePlatform::ansiTextAvailable()
{
    return !ansiCodecMissing && ansiCodecAvailable();
}

quint32 FakePlatform::tickCount()
{
    return ticks;
}

double FakePlatform::rnd()
{
    if (randomValues.empty())
        return 0.0;
    double v = randomValues.front();
    randomValues.pop_front();
    return v;
}

void FakePlatform::endProgram()
{
    ++endCount;
}

bool FakePlatform::activeOnDesktop(const QWidget *window)
{
    return window->isActiveWindow() && !windowManagerBehind;
}
