// Saves a PNG of each of the game's windows, rendered offscreen, so the
// game can be looked at without a display:
//   tivoran-screenshots OUTPUT_DIR [SCALE]
// SCALE is the screen scale factor (1 or 2; default 1).

#include "game/program.h"
#include "game/smashine.h"
#include "ranking/name_entry_rules.h"
#include "ui/ctl_digital.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"
#include "windows/version_window.h"

#include <QApplication>
#include <QDir>
#include <QWidget>

namespace {
void save(QWidget *w, const QString &dir, const QString &name, int scale)
{
    w->show();
    QApplication::processEvents();
    const QPixmap shot = w->grab();
    const QString file = QDir(dir).filePath(QStringLiteral("%1@%2x.png").arg(name).arg(scale));
    shot.save(file);
    std::printf("%s %dx%d\n", qPrintable(file), shot.width(), shot.height());
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [SCALE]\n", argv[0]);
        return 2;
    }
    const int scale = argc > 2 ? std::atoi(argv[2]) : 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    QApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(dir);

    {
        // The game as it starts, its style, names and desktop included.
        StartedGame game(app);
        Smashine &table = game.table();
        save(&table, dir, QStringLiteral("Smashine"), scale);
        // A round in play: all five lines bet, reels turned a little.
        table.Allcoin_Click();
        table.Start_Click();
        for (int i = 0; i < 3; ++i)
            table.Timer1_Timer();
        for (int i = 0; i < 4; ++i)
            table.Timer2_Timer();
        for (int i = 0; i < 5; ++i)
            table.Timer3_Timer();
        table.Digital1->setText(QStringLiteral("42"));
        table.Digital1->show();
        save(&table, dir, QStringLiteral("Smashine-playing"), scale);
        table.Timer1->setEnabled(false);
        table.Timer2->setEnabled(false);
        table.Timer3->setEnabled(false);

        // The ranking windows read data.ini beside the program.
        Score *score = Score::open(&table);
        save(score, dir, QStringLiteral("Score"), scale);
        delete score;
        nameinput *entry = nameinput::open(&table, QStringLiteral("2位"), true);
        entry->Form_KeyDown(NameEntry::VkReturn); // "A" in the first slot
        entry->Form_KeyDown(NameEntry::VkRight);
        save(entry, dir, QStringLiteral("nameinput"), scale);
        delete entry;
        version::open(&table);
        save(version::instance(), dir, QStringLiteral("version"), scale);
        delete version::instance();
    }
    return 0;
}
