#include "desktop/platform.h"

#include "desktop/player_files.h"

#include <QDir>

namespace {
Platform *g_platform = nullptr;
}

Platform &platform()
{
    Q_ASSERT_X(g_platform, "platform()", "no platform installed");
    return *g_platform;
}

void setPlatform(Platform *p)
{
    g_platform = p;
}

QEvent::Type desktopActivatedEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QEvent::Type desktopAltClickEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QString programFile(const QString &fileName)
{
    return QDir(platform().programDir()).filePath(fileName);
}

QString playerFile(const QString &fileName)
{
    return QDir(platform().playerDir()).filePath(fileName);
}

QString rankingFile()
{
    return playerFile(RankingFileName);
}

QString colourFile()
{
    return playerFile(ColourFileName);
}
