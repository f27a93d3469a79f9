// The game table's menus, built and handled: coin save and load, the score
// window, the modes' ranking check, the colours, help and version.

#include "game/smashine.h"

#include "desktop/platform.h"
#include "ranking/rank_check.h"
#include "settings/slot_ini.h"
#include "settings/stored_number.h"
#include "ui/announcer.h"
#include "ui/help.h"
#include "ui/menu_bar_keys.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"
#include "windows/version_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
const QString AppName = QStringLiteral("Tivoran");
const QString CoinSection = QStringLiteral("Coin");
const QString CoinKey = QStringLiteral("Coin");
} // namespace

// ------------------------------------------------------------ the menu bar

void Smashine::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    auto item = [](QMenu *menu, QAction *&action, const QString &name) {
        action = menu->addAction(name);
        action->setObjectName(name);
    };
    データ = bar->addMenu(QStringLiteral("データ"));
    データ->setObjectName(QStringLiteral("データ"));
    item(データ, COINSAVE, QStringLiteral("SAVE"));
    COINSAVE->setObjectName(QStringLiteral("COINSAVE"));
    item(データ, COINLOAD, QStringLiteral("LOAD"));
    COINLOAD->setObjectName(QStringLiteral("COINLOAD"));
    item(データ, スコアランキング, QStringLiteral("スコアランキング"));
    ハイフン = データ->addSeparator();
    ハイフン->setObjectName(QStringLiteral("ハイフン"));
    item(データ, AppliEND, QStringLiteral("END"));
    AppliEND->setObjectName(QStringLiteral("AppliEND"));

    モード = bar->addMenu(QStringLiteral("モード"));
    モード->setObjectName(QStringLiteral("モード"));
    item(モード, ノーマルモード, QStringLiteral("ノーマルモード"));
    item(モード, ランキングモード, QStringLiteral("ランキングモード"));
    ノーマルモード->setCheckable(true);
    ノーマルモード->setChecked(true);
    ランキングモード->setCheckable(true);

    カスタマイズ = bar->addMenu(QStringLiteral("カスタマイズ"));
    カスタマイズ->setObjectName(QStringLiteral("カスタマイズ"));
    item(カスタマイズ, テーブルの色, QStringLiteral("テーブルの色"));
    item(カスタマイズ, 外枠の色, QStringLiteral("外枠の色"));
    item(カスタマイズ, 線の色, QStringLiteral("線の色"));

    ヘルプ = bar->addMenu(QStringLiteral("ヘルプ"));
    ヘルプ->setObjectName(QStringLiteral("ヘルプ"));
    item(ヘルプ, Quillexから, QStringLiteral("ヘルプ"));
    Quillexから->setObjectName(QStringLiteral("Quillexから"));
    item(ヘルプ, バージョン情報, QStringLiteral("バージョン情報"));

    // Alt alone and F10 put the keyboard on the menu bar, screen reader or not.
    new MenuBarKeys(this, bar);
}

// ---------------------------------------------------------- coin save/load

void Smashine::COINSAVE_Click()
{
    const bool stored = platform().saveSetting(AppName, CoinSection, CoinKey, Label1->text());
    platform().messageBox(this, stored ? QStringLiteral("  SAVE終了") : QStringLiteral("  SAVEできませんでした"),
                          AppName);
}

void Smashine::COINLOAD_Click()
{
    const std::optional<qint16> v =
        storedInteger(platform().getSetting(AppName, CoinSection, CoinKey, QStringLiteral("0")),
                      NumberReading::WholeText);
    // Nothing stored, 0, a text that is no coin total, or a negative total
    // (which no play can save) all count as no saved data.
    if (!v || *v <= 0) {
        platform().messageBox(this, QStringLiteral("  SAVEデータがありません"), AppName);
        return;
    }
    Label1->setText(QString::number(*v));
    platform().messageBox(this, QStringLiteral("  LOAD終了"), AppName);
}

// ------------------------------------------------------------ ranking

void Smashine::スコアランキング_Click()
{
    setEnabled(false);
    Score::open(this);
}

void Smashine::CheckRank()
{
    const bool interrupted = reelRunningA || reelRunningB || reelRunningC;
    Reset->setEnabled(true);
    Allcoin->setEnabled(true);
    ENDS->setEnabled(true);
    Timer1->setInterval(0);
    reelRunningA = false;
    Timer2->setInterval(0);
    reelRunningB = false;
    Timer3->setInterval(0);
    reelRunningC = false;
    // A spin the end of the game interrupted pays nothing: it can neither be
    // started nor stopped into a payout, and the player's next action clears
    // its bet. Between rounds nothing is lost: a bet lit but not spun stays
    // lit with START as it was, to be spun and paid as any other, and the
    // Stop buttons keep their state.
    if (interrupted) {
        Start->setEnabled(false);
        setStopsEnabled(false);
        m_betVoid = true;
    }

    // The lower entries move down and the score is stored in one
    // replacement of the file: a write that fails or a crash leaves the old
    // ranking whole, never an entry's score beside another's name. The file
    // is locked only for that; the name is written by the name entry later.
    // Should another copy of the game be changing the ranking just then,
    // the table stays drawn but takes no input until the result is in.
    if (!enterRankScoreWhenFree(rankingFile(), Label1->text(), this,
                                [this](const RankEntry &entry) { rankChecked(entry); }))
        setEnabled(false);
}

void Smashine::rankChecked(const RankEntry &entry)
{
    m_announcer->rankingResult(coinTotal(), entry.stored || entry.rank == 0 ? entry.rank : -1);
    if (entry.stored) {
        RankSection = rankSectionName(entry.rank);
        setEnabled(false);
        nameinput::open(this, RankSection, NameEntryFirstOpen, entry);
        NameEntryFirstOpen = false;
        return;
    }
    setEnabled(true);
    // A result that earned a place but could not be put in the ranking (a
    // file that cannot be read or written, a lock never given up) asks for
    // no name that would go nowhere: the player is told instead.
    if (entry.rank != 0)
        platform().messageBox(this, rankingNotStoredText(), AppName);
}

// ------------------------------------------------------------ colours

void Smashine::テーブルの色_Click()
{
    if (const std::optional<qint32> c = platform().chooseColor(this))
        Shape2->setFillColor(*c);
}

void Smashine::外枠の色_Click()
{
    if (const std::optional<qint32> c = platform().chooseColor(this))
        Shape1->setFillColor(*c);
}

void Smashine::線の色_Click()
{
    if (const std::optional<qint32> c = platform().chooseColor(this))
        setLineColour(*c);
}

void Smashine::setLineColour(qint32 ref)
{
    for (DrawnLine *line : {Line1, Line2, Line3, Line4, Line5})
        line->setBorderColor(ref);
}

void Smashine::loadColours()
{
    TableColours c{Shape2->fillColor(), Shape1->fillColor(), Line1->borderColor()};
    if (!loadSlotIni(colourFile(), c))
        return;
    Shape2->setFillColor(c.table);
    Shape1->setFillColor(c.frame);
    setLineColour(c.line);
}

void Smashine::saveColours()
{
    // A settings file that cannot be written never keeps the game from ending.
    saveSlotIni(colourFile(),
                TableColours{Shape2->fillColor(), Shape1->fillColor(), Line1->borderColor()});
}

// --------------------------------------------------------- help, version

void Smashine::Quillexから_Click()
{
    openHelpFile();
}

void Smashine::バージョン情報_Click()
{
    version::open(this);
}
