#include "game/qt_platform.h"

#include "desktop/atomic_file.h"
#include "desktop/diagnostics.h"
#include "desktop/player_files.h"
#include "settings/ansi.h"
#include "ui/qt_texts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <QDateTime>

#include <utility>

QtPlatform::QtPlatform()
    // The random source is seeded from the clock.
    : m_random(quint32(QDateTime::currentMSecsSinceEpoch() ^ quint64(QDateTime::currentMSecsSinceEpoch() >> 32)))
{
    m_clock.start();
}

QtPlatform::~QtPlatform()
{
    if (m_soundLoader) {
        m_soundLoader->wait();
        delete m_soundLoader;
    }
}

void QtPlatform::messageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<qint32> QtPlatform::chooseColor(QWidget *parent)
{
    QColorDialog dialog(parent);
    return runColourDialog(dialog);
}

bool QtPlatform::openFile(const QString &path)
{
    const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        qCWarning(lcFiles).noquote() << "the desktop did not open" << path;
    return opened;
}

bool QtPlatform::openUrl(const QUrl &url)
{
    const bool opened = QDesktopServices::openUrl(url);
    if (!opened)
        qCWarning(lcFiles).noquote() << "the desktop did not open" << url.toString();
    return opened;
}

void QtPlatform::preloadSounds()
{
    if (m_soundsTried)
        return;
    m_soundsTried = true;
    // Reading the sound system's libraries takes a few milliseconds; the
    // game's thread goes on meanwhile.
    const QString dir = programDir();
    m_soundLoader = QThread::create([this, dir] { m_createSounds = loadGameSoundModule(dir); });
    QObject::connect(m_soundLoader, &QThread::finished, &m_soundContext, [this] { soundModuleLoaded(); },
                     Qt::QueuedConnection);
    m_soundLoader->start(QThread::LowPriority);
}

void QtPlatform::soundModuleLoaded()
{
    m_soundLoader->wait();
    delete m_soundLoader;
    m_soundLoader = nullptr;
    // Loaded once and kept for the life of the program.
    m_sounds.reset(m_createSounds ? m_createSounds() : nullptr);
    const int pending = std::exchange(m_pendingSound, 0);
    if (m_sounds && pending)
        m_sounds->play(pending);
}

bool QtPlatform::soundsReady() const
{
    return m_sounds && !m_sounds->isLoading();
}

int QtPlatform::playWave(int id)
{
    if (id < 1 || id > SoundPlayer::kSoundCount)
        return 0;
    preloadSounds();
    if (m_sounds)
        return m_sounds->play(id);
    if (!m_soundLoader)
        return 0;  // no sound module
    m_pendingSound = id;
    return 1;
}

QString QtPlatform::getSetting(const QString &app, const QString &section, const QString &key,
                               const QString &defaultValue)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

bool QtPlatform::saveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &value)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    const QString name = section + QLatin1Char('/') + key;
    const QVariant before = s.value(name);
    s.setValue(name, value);
    // sync() writes the store's file (through a temporary file renamed into
    // place) and reports in status() whether that worked: a folder that
    // cannot be made or written, a full disk.
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    qCWarning(lcFiles).noquote() << "cannot store" << name << "in" << s.fileName();
    // Not stored. QSettings keeps the value in memory for every later
    // reader in this program, so a load would find a value that the store
    // does not hold: put back what it held.
    if (before.isValid())
        s.setValue(name, before);
    else
        s.remove(name);
    return false;
}

QString QtPlatform::programDir()
{
    return QCoreApplication::applicationDirPath();
}

QString QtPlatform::playerDir()
{
    if (m_playerDir.isEmpty()) {
        const QString program = programDir();
        m_playerDir = choosePlayerDir(program,
                                      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                      shippedDataDirs(program));
    }
    return m_playerDir;
}

bool QtPlatform::writeFile(const QString &path, const QByteArray &bytes)
{
    return writeFileAtomically(path, bytes);
}

bool QtPlatform::ansiTextAvailable()
{
    return ansiCodecAvailable();
}

quint32 QtPlatform::tickCount()
{
    return quint32(m_clock.elapsed());
}

double QtPlatform::rnd()
{
    return m_random.generateDouble();
}

void QtPlatform::endProgram()
{
    // Every window goes at once; no close handler runs again.
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}
