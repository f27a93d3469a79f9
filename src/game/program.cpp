#include "game/program.h"

#include "desktop/game_name.h"
#include "desktop/player_files.h"
#include "game/qt_platform.h"
#include "game/smashine.h"
#include "ui/qt_texts.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

void reportMissingTextCodec(Platform &desktop, QWidget *table)
{
    if (desktop.ansiTextAvailable())
        return;
    std::fputs(qPrintable(QStringLiteral("tivoran: this Qt has no Shift_JIS text converter; the ranking (%1) and the\n"
                                         "table colours (%2) will not be saved.\n")
                              .arg(RankingFileName, ColourFileName)),
               stderr);
    desktop.messageBox(table, QStringLiteral("  文字コード Shift_JIS が使えないため、ランキングと色の設定は保存されません"),
                       GameName);
}

StartedGame::StartedGame(QApplication &app)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(GameName);
    QApplication::setApplicationVersion(QStringLiteral(TIVORAN_VERSION));
    // Desktops match the window to its launcher entry by this name.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setQuitOnLastWindowClosed(false);
    // The dialogs' buttons and the colour dialog in Japanese, like the game.
    installQtJapanese(app);

    m_desktop = std::make_unique<QtPlatform>();
    setPlatform(m_desktop.get());

    m_table = std::make_unique<Smashine>();
    m_table->show();
    reportMissingTextCodec(*m_desktop, m_table.get());
    // The sounds load a quarter of a second after the table is up, so the
    // window comes first; no player bets sooner (a bet before that would
    // load them then).
    QTimer::singleShot(250, m_table.get(), [desktop = m_desktop.get()] { desktop->preloadSounds(); });
}

StartedGame::~StartedGame()
{
    // The table goes while the platform it was made on is still the game's.
    m_table.reset();
    setPlatform(nullptr);
}

int runGame(QApplication &app)
{
    StartedGame game(app);
    return app.exec();
}
