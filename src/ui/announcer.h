#pragma once
// What the game tells a screen reader without being asked: each bet, each
// reel as it stops, the end of a round, the ranking game's start, countdown
// and result, the name entry's cursor and name, and the score window's rows;
// in Japanese, briefly, once each and in order.
//
// Each text is handed over as a notification: a hidden 1 × 1 accessible
// object of a window, with the notification role, takes the text as its name
// and is shown, and a screen reader speaks a notification that appears.
// Nothing is drawn and nothing takes input. While no screen reader listens
// nothing at all is done.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class QWidget;

class Announcer : public QObject {
public:
    // A pay line that paid in a round: its number (1..5 for Line1..Line5),
    // the symbol standing three times on it, and its pay.
    struct LineWin {
        int line = 0;
        QString symbol;
        int pay = 0;
    };

    // Announces in `window`, which owns the announcer.
    explicit Announcer(QWidget *window);

    // A bet: the lines now bet and the coins left.
    void bet(int lines, int coinsLeft);
    // Reel 0, 1 or 2 (left, middle, right) has stopped on these symbols,
    // top to bottom.
    void reelStopped(int reel, const std::array<QString, 3> &symbols);
    // The end of a round: each winning line with its pay, then the total.
    void roundEnd(const QList<LineWin> &wins, int total);
    // A ranking game starts with these coins and seconds.
    void rankingStart(int coins, int seconds);
    // The countdown shows `secondsLeft`: told at 50, 40, 30, 20 and 10
    // seconds and at each of the last five.
    void countdown(int secondsLeft);
    // The score of a finished ranking game and the rank it earned, 0 for
    // none, negative when it earned one that could not be recorded (the
    // message that follows says so).
    void rankingResult(int score, int rank);
    // The name entry's cursor now stands on the cell with this caption.
    void cursor(const QString &caption);
    // The name typed so far.
    void nameSoFar(const QString &name);
    // The ranking rows as the score window shows them, best first; told
    // once the window is active.
    void scoreRows(const QStringList &names, const QStringList &scores);

    // Hands a text to the screen reader.
    void say(const QString &text);
    // Hands a text to the screen reader once the window is active on the
    // desktop (see Platform::activeOnDesktop) and its focused control has
    // been told: a window that opens sends a burst of changes as it is
    // built, shown and focused, and Orca drops a notification that comes
    // amid such a burst, or before the window manager has made the window
    // active.
    void sayOnceActive(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sayWaiting();

    QWidget *m_window;
    // A few notification objects taken in turn: a screen reader reads a
    // notification's text some time after it appeared, by when the next one
    // may have come.
    std::array<QWidget *, 3> m_notices{};
    int m_next = 0;
    QString m_waiting; // for sayOnceActive()
};
