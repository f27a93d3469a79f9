#include "ui/qt_platform.h"

#include "audio/wave_player.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>
#include <QDateTime>

QtPlatform::QtPlatform()
    // The random source is seeded from the clock.
    : m_random(quint32(QDateTime::currentMSecsSinceEpoch() ^ quint64(QDateTime::currentMSecsSinceEpoch() >> 32)))
{
    m_clock.start();
}

QtPlatform::~QtPlatform() = default;

void QtPlatform::messageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<qint32> QtPlatform::chooseColor(QWidget *parent)
{
    const QColor c = QColorDialog::getColor(Qt::white, parent);
    if (!c.isValid())
        return std::nullopt;
    return qint32(c.red() | (c.green() << 8) | (c.blue() << 16));
}

bool QtPlatform::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

void QtPlatform::preloadSounds()
{
    // Loaded once and kept for the life of the program.
    if (!m_sounds)
        m_sounds = std::make_unique<WavePlayer>();
}

int QtPlatform::playWave(int id)
{
    preloadSounds();
    return m_sounds->play(id);
}

QString QtPlatform::getSetting(const QString &app, const QString &section, const QString &key,
                               const QString &defaultValue)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return s.value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void QtPlatform::saveSetting(const QString &app, const QString &section, const QString &key,
                             const QString &value)
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, app, app);
    s.setValue(section + QLatin1Char('/') + key, value);
    s.sync();
}

QString QtPlatform::programDir()
{
    return QCoreApplication::applicationDirPath();
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
