// The game table's behaviour: start-up, betting, spinning, stopping and
// paying, the keyboard, the ranking countdown and closing.

#include "game/smashine.h"

#include "audio/playwave.h"
#include "desktop/platform.h"
#include "ranking/ranking_game.h"
#include "reels/pay_lines.h"
#include "reels/reel_model.h"
#include "reels/reel_speech.h"
#include "settings/stored_number.h"
#include "ui/announcer.h"
#include "ui/ctl_digital.h"
#include "ui/window_helpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace {
constexpr int KeySpace = 32; // the character code of the space bar
constexpr qint32 LampOff = 0xFFFFFF; // white
constexpr qint32 LampOn = 255;       // red
constexpr int ReelInterval = 55;
constexpr int CountdownStepMs = 1000; // the countdown steps once a second

// Tells screen readers what the reel area shows: its description follows
// the rows on show, the spinning and the bet lines.
void describeReels(Smashine &t)
{
    const DrawnLine *lines[] = {t.Line1, t.Line2, t.Line3, t.Line4, t.Line5};
    std::array<bool, 5> shown{};
    for (int i = 0; i < 5; ++i)
        shown[i] = lines[i]->isVisible();
    const QString spoken = reels::spokenReels({t.displayedStep(0), t.displayedStep(1), t.displayedStep(2)},
                                              {t.reelRunningA, t.reelRunningB, t.reelRunningC}, shown);
    // Setting a description announces it, changed or not.
    if (t.surface->accessibleDescription() != spoken)
        t.surface->setAccessibleDescription(spoken);
}
} // namespace

Smashine::Smashine(QWidget *parent)
    : QMainWindow(parent)
{
    buildLayout();

    connect(Reset, &QPushButton::clicked, this, &Smashine::Reset_Click);
    connect(Allcoin, &QPushButton::clicked, this, &Smashine::Allcoin_Click);
    connect(Start, &QPushButton::clicked, this, &Smashine::Start_Click);
    connect(StopA, &QPushButton::clicked, this, &Smashine::StopA_Click);
    connect(StopB, &QPushButton::clicked, this, &Smashine::StopB_Click);
    connect(StopC, &QPushButton::clicked, this, &Smashine::StopC_Click);
    connect(ENDS, &QPushButton::clicked, this, &Smashine::ENDS_Click);
    connect(Timer1, &VbTimer::tick, this, &Smashine::Timer1_Timer);
    connect(Timer2, &VbTimer::tick, this, &Smashine::Timer2_Timer);
    connect(Timer3, &VbTimer::tick, this, &Smashine::Timer3_Timer);
    connect(COINSAVE, &QAction::triggered, this, &Smashine::COINSAVE_Click);
    connect(COINLOAD, &QAction::triggered, this, &Smashine::COINLOAD_Click);
    connect(スコアランキング, &QAction::triggered, this, &Smashine::スコアランキング_Click);
    connect(AppliEND, &QAction::triggered, this, &Smashine::AppliEND_Click);
    connect(ノーマルモード, &QAction::triggered, this, &Smashine::ノーマルモード_Click);
    connect(ランキングモード, &QAction::triggered, this, &Smashine::ランキングモード_Click);
    connect(テーブルの色, &QAction::triggered, this, &Smashine::テーブルの色_Click);
    connect(外枠の色, &QAction::triggered, this, &Smashine::外枠の色_Click);
    connect(線の色, &QAction::triggered, this, &Smashine::線の色_Click);
    connect(Quillexから, &QAction::triggered, this, &Smashine::Quillexから_Click);
    connect(バージョン情報, &QAction::triggered, this, &Smashine::バージョン情報_Click);

    m_countdown = new QTimer(this);
    m_countdown->setObjectName(QStringLiteral("countdown"));
    m_countdown->setSingleShot(true);
    m_countdown->setTimerType(Qt::PreciseTimer);
    connect(m_countdown, &QTimer::timeout, this, &Smashine::countdownTimeout);
    m_announcer = new Announcer(surface);

    Form_Load();
}

Smashine::~Smashine() = default;

// ---------------------------------------------------------------- start-up

void Smashine::Form_Load()
{
    rankingMode = false;
    NameEntryFirstOpen = true;
    loadColours();

    // Two symbols take spare pictures for this run.
    const int r = reels::chooseR(platform().rnd());
    const DrawnImage *spareOf[] = {Image17, Image18, Image19, Image20};
    for (const reels::Substitution &s : reels::startSubstitutions(r))
        Image1[s.position]->setPicture(spareOf[s.spare - reels::PicSpareClr]->picture());

    // Every cell array takes its pictures from the strip in the top row of
    // reel A: the top row shows position k, the middle k - 1, the bottom k - 2.
    for (int k = 0; k < 7; ++k) {
        Image2[k]->setPicture(Image1[k]->picture());
        Image3[k]->setPicture(Image1[k]->picture());
    }
    for (int k = 0; k < 7; ++k) {
        for (CellArray *a : {&Image4, &Image5, &Image6})
            (*a)[k]->setPicture(Image1[(k + 6) % 7]->picture());
    }
    for (int k = 0; k < 7; ++k) {
        for (CellArray *a : {&Image7, &Image8, &Image9})
            (*a)[k]->setPicture(Image1[(k + 5) % 7]->picture());
    }

    // Each row of the pay table shows the picture of its symbol.
    for (size_t row = 0; row < reels::PayTable.size(); ++row)
        payImages[row]->setPicture(Image1[reels::PayTable[row].position]->picture());

    for (CellArray *a : {&Image1, &Image2, &Image3, &Image4, &Image5, &Image6, &Image7, &Image8, &Image9}) {
        for (int k = 0; k < 7; ++k)
            (*a)[k]->setVisible(k == 0);
    }

    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    Timer3->setEnabled(false);
    reelStepA = reelStepB = reelStepC = 1;
    reelRunningA = reelRunningB = reelRunningC = false;
    Start->setEnabled(false);
    StopA->setEnabled(false);
    StopB->setEnabled(false);
    StopC->setEnabled(false);
    describeReels(*this);
}

void Smashine::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_centred) {
        // Keys reach the table before the focused control does.
        if (QWindow *handle = windowHandle())
            handle->installEventFilter(this);
        m_centred = true;
        centreOnScreen(this);
        Allcoin->setFocus(Qt::OtherFocusReason);
    }
}

// ------------------------------------------------------------------ betting

int Smashine::coinTotal() const
{
    return coinTotalFromText(Label1->text()).value_or(0);
}

void Smashine::setStopsEnabled(bool on)
{
    StopA->setEnabled(on);
    StopB->setEnabled(on);
    StopC->setEnabled(on);
}

// Takes the coins of one bet action. coinBase keeps the total from before
// this action, not from before the round: a win is added to coinBase, so the
// coins of the latest action (one click, or ALL COINS' five) come back with
// a win, while those of earlier clicks in the same round stay taken. With
// 100 coins, three clicks show 97 and a win of 100 gives 98 + 100 = 198.
void Smashine::takeBet(int coins)
{
    PlayWave(SoundBetAccepted);
    Label11->setText(QStringLiteral("0"));
    coinBase = qint16(coinTotal());
    Label1->setText(QString::number(coinBase - coins));
}

int Smashine::linesBet() const
{
    return int(std::count_if(Shape3.begin(), Shape3.end(),
                             [](const DrawnShape *lamp) { return lamp->fillColor() == LampOn; }));
}

void Smashine::lightLamp(int i)
{
    DrawnLine *lines[] = {Line1, Line2, Line3, Line4, Line5};
    Shape3[i]->setFillColor(LampOn);
    lines[reels::LampLine[i] - 1]->setVisible(true);
}

void Smashine::clearVoidBet()
{
    if (!m_betVoid)
        return;
    m_betVoid = false;
    for (DrawnShape *lamp : Shape3)
        lamp->setFillColor(LampOff);
    for (DrawnLine *line : {Line1, Line2, Line3, Line4, Line5})
        line->setVisible(false);
    setStopsEnabled(false);
    describeReels(*this);
}

void Smashine::Reset_Click()
{
    clearVoidBet();
    if (coinTotal() == 0) {
        Reset->setEnabled(false);
        Allcoin->setEnabled(false);
        setStopsEnabled(false);
        return;
    }
    Start->setEnabled(true);
    Allcoin->setEnabled(false);
    setStopsEnabled(false);
    takeBet(1);
    for (int i = 0; i < 5; ++i) {
        if (Shape3[i]->fillColor() == LampOff) {
            lightLamp(i);
            if (i == 4)
                Reset->setEnabled(false);
            break;
        }
    }
    describeReels(*this);
    m_announcer->bet(linesBet(), coinTotal());
}

void Smashine::Allcoin_Click()
{
    clearVoidBet();
    if (coinTotal() <= 4)
        return;
    Start->setEnabled(true);
    setStopsEnabled(false);
    takeBet(5);
    for (int i = 0; i < 5; ++i)
        lightLamp(i);
    Allcoin->setEnabled(false);
    Reset->setEnabled(false);
    describeReels(*this);
    m_announcer->bet(linesBet(), coinTotal());
}

// ----------------------------------------------------------------- spinning

void Smashine::Start_Click()
{
    clearVoidBet();
    Timer1->setEnabled(true);
    Timer2->setEnabled(true);
    Timer3->setEnabled(true);
    setStopsEnabled(true);
    if (!reelRunningA) {
        Timer1->setInterval(ReelInterval);
        Timer2->setInterval(ReelInterval);
        Timer3->setInterval(ReelInterval);
        reelRunningA = reelRunningB = reelRunningC = true;
    }
    Start->setEnabled(false);
    Reset->setEnabled(false);
    describeReels(*this);
}

std::array<const Smashine::CellArray *, 3> Smashine::reelArrays(int reel) const
{
    // Top, middle and bottom cell of reel A, B or C.
    switch (reel) {
    case 0: return {&Image1, &Image4, &Image7};
    case 1: return {&Image2, &Image5, &Image8};
    default: return {&Image3, &Image6, &Image9};
    }
}

void Smashine::tickReel(int reel, VbTimer *timer, qint16 &step)
{
    // A tick already queued when the reel was stopped takes no step.
    if (timer->interval() <= 0 || !timer->isEnabled())
        return;
    const int k = step;
    if (k < 0 || k > 6)
        return;
    for (const CellArray *a : reelArrays(reel)) {
        for (int i = 0; i < 7; ++i)
            (*a)[i]->setVisible(i == k);
    }
    step = qint16(k == 6 ? 0 : k + 1);
}

void Smashine::Timer1_Timer()
{
    tickReel(0, Timer1, reelStepA);
}

void Smashine::Timer2_Timer()
{
    tickReel(1, Timer2, reelStepB);
}

void Smashine::Timer3_Timer()
{
    tickReel(2, Timer3, reelStepC);
}

int Smashine::displayedStep(int reel) const
{
    const CellArray &top = *reelArrays(reel)[0];
    for (int k = 0; k < 7; ++k) {
        if (top[k]->isVisible())
            return k;
    }
    return -1;
}

// ------------------------------------------------------ stopping and payout

void Smashine::stopReel(int reel)
{
    clearVoidBet();
    PlayWave(SoundReelStopped);
    bool &running = reel == 0 ? reelRunningA : (reel == 1 ? reelRunningB : reelRunningC);
    if (running) {
        VbTimer *timer = reel == 0 ? Timer1 : (reel == 1 ? Timer2 : Timer3);
        const auto arrays = reelArrays(reel);
        QString *const texts[3] = {reel == 0 ? &cellTopA : reel == 1 ? &cellTopB : &cellTopC,
                                   reel == 0 ? &cellMidA : reel == 1 ? &cellMidB : &cellMidC,
                                   reel == 0 ? &cellBotA : reel == 1 ? &cellBotB : &cellBotC};
        timer->setInterval(0);
        running = false;
        for (int row = 0; row < 3; ++row) {
            for (int k = 0; k < 7; ++k) {
                if ((*arrays[row])[k]->isVisible()) {
                    *texts[row] = reels::symbolName(reels::positionShown(k, row));
                    break;
                }
            }
        }
        m_announcer->reelStopped(reel, {*texts[0], *texts[1], *texts[2]});
    }
    endOfSpinIfAllStand(reel);
    describeReels(*this);
}

void Smashine::endOfSpinIfAllStand(int reel)
{
    const bool othersStand = reel == 0   ? (!reelRunningB && !reelRunningC)
                             : reel == 1 ? (!reelRunningA && !reelRunningC)
                                         : (!reelRunningA && !reelRunningB);
    if (!othersStand)
        return;
    Reset->setEnabled(true);
    Allcoin->setEnabled(true);
    ENDS->setEnabled(true);
    CheckLines();
    for (DrawnShape *lamp : Shape3)
        lamp->setFillColor(LampOff);
    for (DrawnLine *line : {Line1, Line2, Line3, Line4, Line5})
        line->setVisible(false);
    if (reel == 2)
        moveFocusOnTwice();
}

void Smashine::StopA_Click()
{
    stopReel(0);
}

void Smashine::StopB_Click()
{
    stopReel(1);
}

void Smashine::StopC_Click()
{
    stopReel(2);
}

void Smashine::moveFocusOnTwice()
{
    // As two Tab presses would: handled once this handler has returned.
    QMetaObject::invokeMethod(
        this,
        [this] {
            focusNextPrevChild(true);
            focusNextPrevChild(true);
        },
        Qt::QueuedConnection);
}

void Smashine::CheckLines()
{
    spinPay = 0;
    const QString *cells[9] = {&cellTopA, &cellTopB, &cellTopC, &cellMidA, &cellMidB,
                               &cellMidC, &cellBotA, &cellBotB, &cellBotC};
    const DrawnLine *lines[] = {Line1, Line2, Line3, Line4, Line5};
    QList<Announcer::LineWin> wins;
    for (const reels::PayLine &line : reels::PayLines) {
        if (!lines[line.line - 1]->isVisible())
            continue;
        const int pay = reels::linePay(*cells[line.cells[0]], *cells[line.cells[1]], *cells[line.cells[2]]);
        if (pay == 0)
            continue;
        PlayWave(SoundWinningLine);
        // The coin total stops at the cap; the pay shows what the spin won.
        coinBase = qint16(std::min(CoinCap, int(coinBase) + pay));
        spinPay = qint16(std::min(CoinCap, int(spinPay) + pay));
        Label1->setText(QString::number(coinBase));
        Label11->setText(QString::number(spinPay));
        wins.append({line.line, *cells[line.cells[0]], pay});
    }
    m_announcer->roundEnd(wins, coinTotal());
}

// ----------------------------------------------------------------- keyboard

bool Smashine::eventFilter(QObject *watched, QEvent *event)
{
    if (menuBar()->hasFocus()) // the menus' keys are not the table's
        return QMainWindow::eventFilter(watched, event);
    // Every key press reaches the window once, before it is handed on to
    // the focused control; the table sees it there.
    if (event->type() == QEvent::KeyPress && watched == windowHandle() && isEnabled()) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab && !key->text().isEmpty()) {
            // The key then goes on to the focused control, as usual. Should
            // the handler move the focus (a button it disables gives it
            // up, even when the end of the round enables it again), the
            // key goes to nobody: the control that has the focus now did
            // not have it when the key went down, and the one that had it
            // would never see the key come up again, and so would stay
            // pressed in.
            const QPointer<QWidget> target = QApplication::focusWidget();
            Form_KeyPress(key->text().at(0).unicode());
            if (target != QApplication::focusWidget())
                return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Smashine::Form_KeyPress(int keyAscii)
{
    clearVoidBet();
    if (Allcoin->isEnabled())
        Start->setEnabled(false);
    setStopsEnabled(false);
    ENDS->setEnabled(false);
    Reset->setEnabled(false);
    if (keyAscii == KeySpace) {
        // One press stops one reel, left to right, when only the keyboard
        // stops them: the tests run C, B, A, each on the flags as the one
        // before left them, so a press that finds A spinning stops A alone
        // (B's and C's tests came first and found A still running). Tested
        // A first, the same press would go on to stop B and then C. With B
        // already stopped by its button, the press stops C and then A.
        if (!reelRunningB && reelRunningC)
            StopC_Click();
        if (!reelRunningA && reelRunningB)
            StopB_Click();
        if (reelRunningA)
            StopA_Click();
    }
    if (Start->isEnabled())
        Start->click();
}

// ------------------------------------------------------------ ranking game

void Smashine::ノーマルモード_Click()
{
    ノーマルモード->setChecked(true);
    ランキングモード->setChecked(false);
    Digital1->hide();
}

void Smashine::ランキングモード_Click()
{
    ノーマルモード->setChecked(false);
    ランキングモード->setChecked(true);
    setTopMenusEnabled(false);
    Digital1->show();
    rankingMode = true;
    Label1->setText(QString::number(RankingGameCoins));
    // A round still open (a bet lit, reels spinning) pays onto the ranking
    // game's coins, never onto the coins from before it.
    coinBase = RankingGameCoins;
    timeLeft = RankingCountdownStart;
    timeloop();
}

void Smashine::setTopMenusEnabled(bool on)
{
    for (QMenu *menu : {データ, モード, カスタマイズ, ヘルプ}) {
        menu->setEnabled(on);
        menu->menuAction()->setEnabled(on);
    }
}

void Smashine::timeloop()
{
    countdownSecond();
    m_announcer->rankingStart(coinTotal(), timeLeft);
}

void Smashine::countdownSecond()
{
    m_secondStart = platform().tickCount();
    timeLeft = timeLeft - 1;
    Digital1->setText(QString::number(timeLeft));
    m_announcer->countdown(timeLeft);
    if (Digital1->text() == QLatin1String("0")) {
        m_countdown->stop();
        setTopMenusEnabled(true);
        CheckRank();
        describeReels(*this);
        return;
    }
    m_countdown->start(CountdownStepMs);
}

void Smashine::countdownTimeout()
{
    // The wait is measured on the clock, not trusted to the timer: a timer
    // that fires early waits out the rest; the count wraps harmlessly.
    const quint32 elapsed = platform().tickCount() - m_secondStart;
    if (elapsed < CountdownStepMs) {
        m_countdown->start(int(CountdownStepMs - elapsed));
        return;
    }
    countdownSecond();
}

bool Smashine::countdownRunning() const
{
    return m_countdown->isActive();
}

int Smashine::countdownRemainingMs() const
{
    return m_countdown->isActive() ? m_countdown->remainingTime() : -1;
}

// ------------------------------------------------------------------ closing

void Smashine::closeProgram()
{
    if (m_closing)
        return;
    m_closing = true;
    m_countdown->stop();
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    Timer3->setEnabled(false);
    saveColours();
    platform().endProgram();
}

void Smashine::ENDS_Click()
{
    closeProgram();
}

void Smashine::AppliEND_Click()
{
    closeProgram();
}

void Smashine::closeEvent(QCloseEvent *event)
{
    // While the name entry or the score window blocks the table, a close
    // request would lose the ranking entry being made: it is ignored.
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    closeProgram();
    event->accept();
}
