#pragma once
// The name entry: after a ranking game that earned a place, the player
// spells a name of up to three characters on a grid with the arrow keys and
// Return. The cells' colours and captions are the whole state of the entry:
// the cursor is the cell painted in the cursor colour, the slot being filled
// the one painted in the current-slot colour.

#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>

#include "ranking/rank_check.h"

class Announcer;
class VbLabel;
class VbTimer;
class QCloseEvent;
class QPaintEvent;

class nameinput : public QWidget {
    Q_OBJECT
public:
    // table: the game table, disabled while the entry and then the score
    // window are open. rankSection: the section of the ranking file ("1位"
    // .. "5位") where the ranking check stored the score; empty when there
    // is none, and then no name is written. firstOpen: the first opening in
    // this run of the game, which starts with the cursor on "A". made: the
    // entry the ranking check made, which gets the name wherever another
    // copy of the game has moved it meanwhile; without it (rank 0) the name
    // goes to rankSection.
    explicit nameinput(QWidget *table = nullptr, const QString &rankSection = QString(),
                       bool firstOpen = false, const RankEntry &made = RankEntry());
    ~nameinput() override;

    // Creates, loads, shows and activates a new name entry over the disabled
    // game table, which takes no input until the score window that follows
    // it closes. It deletes itself when closed.
    static nameinput *open(QWidget *table, const QString &rankSection, bool firstOpen,
                           const RankEntry &made = RankEntry());

    // Controls. Label1(0..38) the grid, Label1(39..41) the name slots.
    std::array<VbLabel *, 42> Label1{};
    VbLabel *Label2 = nullptr; // " Input for your name..."
    VbLabel *Label3 = nullptr; // "カーソルキーで移動"
    VbLabel *Label4 = nullptr; // "リターンキーで決定"
    VbTimer *Timer1 = nullptr; // blink of underline 1
    VbTimer *Timer2 = nullptr;
    VbTimer *Timer3 = nullptr;

    // The underlines Line1(0..2) under the three slots.
    bool lineVisible(int index) const { return m_lineVisible.at(index); }
    void setLineVisible(int index, bool visible);
    static QLineF lineGeometry(int index);

    bool Slot1Done = false;
    bool Slot2Done = false;
    bool Slot3Done = false;

    void Form_Load();
    void Form_KeyDown(int keyCode);
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The cell painted in the cursor colour, or -1.
    int cursorCell() const;
    // The slot (0..2) painted in the current-slot colour, or -1.
    int currentSlot() const;
    void pressReturn();
    // Slot 0..2's flag (Slot1Done..Slot3Done) and its blink timer.
    void setSlotDone(int slot, bool done);
    VbTimer *blinkTimer(int slot) const;
    // The name spelt so far: the slots' captions, left to right.
    QString typedName() const;
    // "終": stores the name, stops the blinking and opens the score window
    // once the name is in.
    void storeName();
    void blink(int index, bool slotDone, VbTimer *timer);
    // Tells screen readers where the cursor is: the cursor cells' and the
    // window's descriptions say so, and a cell newly painted as the cursor
    // is reported as focused.
    void tellCursor();

    std::array<bool, 3> m_lineVisible{};
    bool m_stored = false;
    QPointer<QWidget> m_table;
    QString m_rankSection;
    RankEntry m_made;
    bool m_firstOpen = false;
    QList<int> m_toldCursors{-1}; // the cursor cells screen readers know of
    Announcer *m_announcer = nullptr;
};
