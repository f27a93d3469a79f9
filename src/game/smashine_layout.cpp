// The game table's controls: places, sizes, captions, fonts and colours.

#include "game/smashine.h"

#include "desktop/game_name.h"
#include "ranking/ranking_game.h"
#include "reels/reel_model.h"
#include "settings/slot_ini.h"
#include "ui/ctl_digital.h"
#include "ui/pictures.h"
#include "ui/window_helpers.h"

#include <QLayout>

namespace {
constexpr int ClientWidth = 7320;
constexpr int ClientHeight = 7185;
constexpr qint32 White = rgbRef(255, 255, 255);
constexpr qint32 Black = rgbRef(0, 0, 0);
// The colours a player can change start as slot.ini's defaults.
constexpr TableColours StartColours{};
} // namespace

void Smashine::buildLayout()
{
    buildWindow();
    // Drawn elements, back to front; then the widgets above them.
    buildBackground();
    buildReels();
    buildLamps();
    buildPayTable();
    buildPayLines();
    buildSpares();
    buildCounters();
    buildButtons();

    Timer1 = new VbTimer(QStringLiteral("Timer1"), this);
    Timer2 = new VbTimer(QStringLiteral("Timer2"), this);
    Timer3 = new VbTimer(QStringLiteral("Timer3"), this);

    buildMenus();
    // Fixed size: the table plus the menu bar.
    layout()->activate();
}

void Smashine::buildWindow()
{
    setObjectName(QStringLiteral("Smashine"));
    setWindowTitle(GameName + QStringLiteral("             "));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    surface = new DrawingSurface(this);
    surface->setObjectName(QStringLiteral("table"));
    surface->setAccessibleName(GameName);
    surface->setFixedSize(px(ClientWidth), px(ClientHeight));
    setFormBackColor(surface, systemColourRef(SysActiveBorder));
    setCentralWidget(surface);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

// The frame, the table and the panels behind the reels.
void Smashine::buildBackground()
{
    Shape4 = surface->add<DrawnShape>(QStringLiteral("Shape4"), DrawnShape::Rectangle,
                                      twipsRect(5040, 360, 2175, 4335), rgbRef(192, 255, 192),
                                      rgbRef(128, 128, 255), 5);
    Shape1 = surface->add<DrawnShape>(QStringLiteral("Shape1"), DrawnShape::Rectangle,
                                      twipsRect(240, 480, 4695, 6375), StartColours.frame,
                                      systemColourRef(SysWindowText), 1);
    Shape2 = surface->add<DrawnShape>(QStringLiteral("Shape2"), DrawnShape::RoundedRectangle,
                                      twipsRect(360, 600, 4455, 6135), StartColours.table,
                                      systemColourRef(SysInactiveCaption), 1);
    const qint32 panel = rgbRef(224, 224, 224);
    LineA = surface->add<DrawnShape>(QStringLiteral("LineA"), DrawnShape::Rectangle,
                                     twipsRect(960, 1320, 975, 2655), panel, Black, 1);
    LineB = surface->add<DrawnShape>(QStringLiteral("LineB"), DrawnShape::Rectangle,
                                     twipsRect(2040, 1320, 975, 2655), panel, Black, 1);
    LineC = surface->add<DrawnShape>(QStringLiteral("LineC"), DrawnShape::Rectangle,
                                     twipsRect(3120, 1320, 975, 2655), panel, Black, 1);
}

// The nine reel cells, seven stacked pictures each.
void Smashine::buildReels()
{
    const struct {
        CellArray *array;
        const char *name;
        int left;
        int top;
    } cells[] = {
        {&Image1, "Image1", 1080, 1440}, {&Image2, "Image2", 2160, 1440}, {&Image3, "Image3", 3240, 1440},
        {&Image4, "Image4", 1080, 2280}, {&Image5, "Image5", 2160, 2280}, {&Image6, "Image6", 3240, 2280},
        {&Image7, "Image7", 1080, 3120}, {&Image8, "Image8", 2160, 3120}, {&Image9, "Image9", 3240, 3120},
    };
    for (const auto &c : cells) {
        for (int k = 0; k < 7; ++k) {
            (*c.array)[k] = surface->add<DrawnImage>(
                QStringLiteral("%1(%2)").arg(QLatin1String(c.name)).arg(k),
                twipsRect(c.left, c.top, 720, 720), false);
        }
    }
    for (int k = 0; k < 7; ++k)
        Image1[k]->setPicture(reels::PicApple + k);
}

// The bet lamps. (The coin total comes next in the drawing order; as a
// label it is a widget, made with the counters.)
void Smashine::buildLamps()
{
    const int lampTops[5] = {2520, 1680, 3360, 960, 4080};
    for (int i = 0; i < 5; ++i) {
        Shape3[i] = surface->add<DrawnShape>(QStringLiteral("Shape3(%1)").arg(i), DrawnShape::Circle,
                                             twipsRect(4320, lampTops[i], 255, 255), White,
                                             systemColourRef(SysActiveBorder), 1);
    }
}

// The pay table, top to bottom: each row a picture and its pay, the pays
// those of the game's pay table.
void Smashine::buildPayTable()
{
    const struct {
        DrawnImage **image;
        const char *imageName;
        int labelIndex; // 2..8
        int imageTop;
        int labelTop;
    } payRows[] = {
        {&Image10, "Image10", 2, 480, 600}, {&Image11, "Image11", 3, 1080, 1200},
        {&Image12, "Image12", 4, 1680, 1800}, {&Image13, "Image13", 5, 2280, 2400},
        {&Image14, "Image14", 6, 2880, 3000}, {&Image16, "Image16", 8, 3480, 3600},
        {&Image15, "Image15", 7, 4080, 4200},
    };
    static_assert(std::size(payRows) == reels::PayTable.size());
    for (size_t i = 0; i < std::size(payRows); ++i) {
        const auto &row = payRows[i];
        *row.image = surface->add<DrawnImage>(QString::fromLatin1(row.imageName),
                                              twipsRect(5280, row.imageTop, 420, 420), true);
        payImages[i] = *row.image;
        auto *label = new VbLabel(QStringLiteral("Label%1").arg(row.labelIndex),
                                  twipsRect(5880, row.labelTop, 735, 375),
                                  QString::number(reels::PayTable[i].pay), surface);
        label->setFont(gameFont(QStringLiteral("Times New Roman"), 12, true));
        label->setBackColor(rgbRef(255, 255, 192));
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        payLabels[row.labelIndex - 2] = label;
    }
}

// The five pay lines over the reels, hidden until bet.
void Smashine::buildPayLines()
{
    Line2 = surface->add<DrawnLine>(QStringLiteral("Line2"), twipsPoint(960, 1320), twipsPoint(4080, 3960),
                                    StartColours.line, 2);
    Line1 = surface->add<DrawnLine>(QStringLiteral("Line1"), twipsPoint(4080, 1320), twipsPoint(960, 3960),
                                    StartColours.line, 2);
    Line3 = surface->add<DrawnLine>(QStringLiteral("Line3"), twipsPoint(4080, 1800), twipsPoint(960, 1800),
                                    StartColours.line, 2);
    Line4 = surface->add<DrawnLine>(QStringLiteral("Line4"), twipsPoint(4080, 2640), twipsPoint(960, 2640),
                                    StartColours.line, 2);
    Line5 = surface->add<DrawnLine>(QStringLiteral("Line5"), twipsPoint(4080, 3480), twipsPoint(960, 3480),
                                    StartColours.line, 2);
    for (DrawnLine *line : {Line1, Line2, Line3, Line4, Line5})
        line->setVisible(false);
}

// The four spare pictures, never shown.
void Smashine::buildSpares()
{
    const struct {
        DrawnImage **image;
        const char *name;
        int top;
        int picture;
    } spares[] = {
        {&Image17, "Image17", 0, reels::PicSpareClr},
        {&Image18, "Image18", 600, reels::PicSpareBook},
        {&Image19, "Image19", 1440, reels::PicSpareBall},
        {&Image20, "Image20", 2280, reels::PicSpareScrewdriver},
    };
    for (const auto &s : spares) {
        *s.image = surface->add<DrawnImage>(QString::fromLatin1(s.name), twipsRect(6600, s.top, 720, 720), false);
        (*s.image)->setPicture(s.picture);
        (*s.image)->setVisible(false);
    }
}

// The coin total and the pay, with their headings, and the countdown.
void Smashine::buildCounters()
{
    const qint32 face = systemColourRef(SysButtonFace);
    Label9 = new VbLabel(QStringLiteral("Label9"), twipsRect(5160, 4920, 2055, 375),
                         QStringLiteral("TOTAL COINS"), surface);
    Label9->setFont(gameFont(QStringLiteral("Times New Roman"), 14.25, false));
    Label9->setAlignment(Qt::AlignCenter);
    Label9->setBackColor(face);
    Label1 = new VbLabel(QStringLiteral("Label1"), twipsRect(5160, 5280, 2055, 375),
                         QString::number(StartCoins), surface);
    Label1->setFont(gameFont(QStringLiteral("Times New Roman"), 17.25, true));
    Label1->setForeColor(White);
    Label1->setBackColor(Black);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1->setSingleBorder(true);
    Label1->setValueRole(QStringLiteral("TOTAL COINS"));
    Label10 = new VbLabel(QStringLiteral("Label10"), twipsRect(5160, 5760, 2055, 375),
                          QStringLiteral("PAY COINS"), surface);
    Label10->setFont(gameFont(QStringLiteral("Times New Roman"), 14.25, false));
    Label10->setAlignment(Qt::AlignCenter);
    Label10->setBackColor(face);
    Label11 = new VbLabel(QStringLiteral("Label11"), twipsRect(5160, 6120, 2055, 375), QStringLiteral("0"),
                          surface);
    Label11->setFont(gameFont(QStringLiteral("Times New Roman"), 15.75, true));
    Label11->setForeColor(White);
    Label11->setBackColor(Black);
    Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label11->setSingleBorder(true);
    Label11->setValueRole(QStringLiteral("PAY COINS"));
    for (VbLabel *l : {Label1, Label9, Label10, Label11})
        l->setFocusPolicy(Qt::NoFocus);

    Digital1 = new CtlDigital(surface);
    Digital1->setObjectName(QStringLiteral("Digital1"));
    Digital1->setGeometry(twipsRect(1500, 670, 2025, 600));
    Digital1->setText(QString::number(RankingCountdownStart));
    Digital1->setZero(true);
    Digital1->setAccessibleDescription(QStringLiteral("残り時間"));
    Digital1->hide();
}

// The buttons, created in tab order.
void Smashine::buildButtons()
{
    const QFont stopFont = gameFont(QStringLiteral("Arial"), 15.75, true);
    Allcoin = new VbButton(QStringLiteral("Allcoin"), twipsRect(2040, 4920, 1095, 375),
                           QStringLiteral("ALL COINS"), surface);
    Allcoin->setFont(gameFont(QStringLiteral("Times New Roman"), 9, true));
    Allcoin->setBackColor(rgbRef(255, 192, 255));
    StopA = new VbButton(QStringLiteral("StopA"), twipsRect(1080, 4200, 855, 615), QStringLiteral("Stop"), surface);
    StopB = new VbButton(QStringLiteral("StopB"), twipsRect(2160, 4200, 855, 615), QStringLiteral("Stop"), surface);
    Start = new VbButton(QStringLiteral("Start"), twipsRect(1560, 5400, 1935, 735), QStringLiteral("START"), surface);
    Start->setFont(gameFont(QStringLiteral("Times New Roman"), 15.75, false));
    Start->setBackColor(rgbRef(192, 192, 255));
    Reset = new VbButton(QStringLiteral("Reset"), twipsRect(4200, 4920, 375, 855), QString(), surface);
    Reset->setBackColor(Black);
    Reset->setAccessibleName(QStringLiteral("1枚ベット"));
    Reset->setToolTip(QStringLiteral("1枚ベット"));
    ENDS = new VbButton(QStringLiteral("ENDS"), twipsRect(5160, 6600, 2055, 375), QStringLiteral("END"), surface);
    ENDS->setFont(gameFont(QStringLiteral("Times New Roman"), 14.25, true));
    ENDS->setStandardLook();
    StopC = new VbButton(QStringLiteral("StopC"), twipsRect(3240, 4200, 855, 615), QStringLiteral("Stop"), surface);
    for (VbButton *b : {StopA, StopB, StopC}) {
        b->setFont(stopFont);
        b->setBackColor(rgbRef(255, 128, 128));
    }
    StopA->setAccessibleName(QStringLiteral("Stop A"));
    StopB->setAccessibleName(QStringLiteral("Stop B"));
    StopC->setAccessibleName(QStringLiteral("Stop C"));
    for (VbButton *b : {Allcoin, StopA, StopB, Start, Reset, ENDS, StopC})
        b->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(Allcoin, StopA);
    setTabOrder(StopA, StopB);
    setTabOrder(StopB, Start);
    setTabOrder(Start, Reset);
    setTabOrder(Reset, ENDS);
    setTabOrder(ENDS, StopC);
    Start->setEnabled(false);
    StopA->setEnabled(false);
    StopB->setEnabled(false);
    StopC->setEnabled(false);
    ENDS->setEnabled(false);
}
