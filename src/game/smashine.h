#pragma once
// The game table: the main window and the controller of the whole game.
// Its controls hold much of the game's state (the coin total and pay as
// label captions, the bet lamps as fill colours, the pay lines as
// visibility, which actions are allowed as the buttons' enabled state);
// its variables hold the rest.

#include <QMainWindow>
#include <QString>
#include <array>

#include "ui/table_surface.h"
#include "ui/vb_controls.h"

class Announcer;
class QAction;
class QMenu;
class CtlDigital;
class QTimer;
struct RankEntry;

class Smashine : public QMainWindow {
    Q_OBJECT
public:
    explicit Smashine(QWidget *parent = nullptr);
    ~Smashine() override;

    // --- Controls -------------------------------------------------------
    DrawingSurface *surface = nullptr;
    DrawnShape *Shape1 = nullptr; // outer frame
    DrawnShape *Shape2 = nullptr; // table
    DrawnShape *Shape4 = nullptr; // pay-table panel
    std::array<DrawnShape *, 5> Shape3{}; // bet lamps
    DrawnShape *LineA = nullptr;  // panels behind the reels
    DrawnShape *LineB = nullptr;
    DrawnShape *LineC = nullptr;
    // Reel cells: Image1..Image3 top row, Image4..Image6 middle, Image7..Image9
    // bottom, for reels A, B, C; seven stacked elements each.
    using CellArray = std::array<DrawnImage *, 7>;
    CellArray Image1{}, Image2{}, Image3{}, Image4{}, Image5{}, Image6{}, Image7{}, Image8{}, Image9{};
    // Pay table pictures and spare pictures.
    DrawnImage *Image10 = nullptr, *Image11 = nullptr, *Image12 = nullptr, *Image13 = nullptr,
               *Image14 = nullptr, *Image15 = nullptr, *Image16 = nullptr;
    DrawnImage *Image17 = nullptr, *Image18 = nullptr, *Image19 = nullptr, *Image20 = nullptr;
    DrawnLine *Line1 = nullptr, *Line2 = nullptr, *Line3 = nullptr, *Line4 = nullptr, *Line5 = nullptr;

    VbLabel *Label1 = nullptr;  // coin total
    VbLabel *Label11 = nullptr; // pay of the last spin
    VbLabel *Label9 = nullptr, *Label10 = nullptr;
    std::array<VbLabel *, 7> payLabels{}; // Label2..Label8
    // The pay table's pictures top to bottom: Image10..Image14, Image16,
    // Image15, one per row of reels::PayTable.
    std::array<DrawnImage *, 7> payImages{};
    CtlDigital *Digital1 = nullptr;

    VbButton *Allcoin = nullptr, *StopA = nullptr, *StopB = nullptr, *Start = nullptr,
             *Reset = nullptr, *ENDS = nullptr, *StopC = nullptr;
    VbTimer *Timer1 = nullptr, *Timer2 = nullptr, *Timer3 = nullptr;

    QMenu *データ = nullptr, *モード = nullptr, *カスタマイズ = nullptr, *ヘルプ = nullptr;
    QAction *COINSAVE = nullptr, *COINLOAD = nullptr, *スコアランキング = nullptr,
            *ハイフン = nullptr, *AppliEND = nullptr, *ノーマルモード = nullptr,
            *ランキングモード = nullptr, *テーブルの色 = nullptr, *外枠の色 = nullptr,
            *線の色 = nullptr, *Quillexから = nullptr, *バージョン情報 = nullptr;

    // --- Game state -----------------------------------------------------
    qint16 coinBase = 0;
    qint32 timeLeft = 0;
    bool rankingMode = false;
    qint16 reelStepA = 0, reelStepB = 0, reelStepC = 0;
    bool reelRunningA = false, reelRunningB = false, reelRunningC = false;
    QString cellTopA, cellMidA, cellBotA, cellTopB, cellMidB, cellBotB, cellTopC, cellMidC, cellBotC;
    qint16 spinPay = 0;
    // Section of the ranking file ("1位".."5位") of the rank just earned,
    // whose name the name entry fills in; empty at start.
    QString RankSection;
    // True until the name entry has been opened once in this run.
    bool NameEntryFirstOpen = true;

    // The coin total the table starts with.
    static constexpr int StartCoins = 100;
    // The largest coin total the table keeps; wins beyond it are not added.
    static constexpr int CoinCap = 32767;

    // --- Handlers -------------------------------------------------------
    void Form_Load();
    void Form_KeyPress(int keyAscii);
    void Reset_Click();
    void Allcoin_Click();
    void Start_Click();
    void StopA_Click();
    void StopB_Click();
    void StopC_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void CheckLines();
    void ENDS_Click();
    void AppliEND_Click();
    void COINSAVE_Click();
    void COINLOAD_Click();
    void スコアランキング_Click();
    void ノーマルモード_Click();
    void ランキングモード_Click();
    void テーブルの色_Click();
    void 外枠の色_Click();
    void 線の色_Click();
    void Quillexから_Click();
    void バージョン情報_Click();
    void CheckRank();

    // The ranking countdown: starts the first second; each later second is
    // run by countdownTimeout() once a full second has passed on the clock.
    void timeloop();
    void countdownTimeout();
    bool countdownRunning() const;
    // Milliseconds until the countdown wants to look at the clock again.
    int countdownRemainingMs() const;

    // The coin total as a number, parsed from Label1.
    int coinTotal() const;
    // The step a reel (0 A, 1 B, 2 C) shows: its visible element, or -1.
    int displayedStep(int reel) const;

    // Colour load and save of the table settings file.
    void loadColours();
    void saveColours();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The table's controls, area by area, in the drawing order.
    void buildLayout();
    void buildWindow();
    void buildBackground();
    void buildReels();
    void buildLamps();
    void buildPayTable();
    void buildPayLines();
    void buildSpares();
    void buildCounters();
    void buildButtons();
    void setStopsEnabled(bool on);
    // The bet of a spin that the end of a ranking game stopped pays
    // nothing: the player's next action clears it, as the end of a round
    // does.
    void clearVoidBet();
    // The ranking check's end, once the result is in the ranking file or
    // could not be put there.
    void rankChecked(const RankEntry &entry);
    void takeBet(int coins);
    int linesBet() const;
    void lightLamp(int i);
    void buildMenus();
    std::array<const CellArray *, 3> reelArrays(int reel) const;
    void tickReel(int reel, VbTimer *timer, qint16 &step);
    void stopReel(int reel);
    void endOfSpinIfAllStand(int reel);
    void closeProgram();
    void countdownSecond();
    void setTopMenusEnabled(bool on);
    void setLineColour(qint32 ref);
    void moveFocusOnTwice();

    bool m_closing = false;
    bool m_betVoid = false;
    bool m_centred = false;
    QTimer *m_countdown = nullptr;
    quint32 m_secondStart = 0;
    Announcer *m_announcer = nullptr;
};
