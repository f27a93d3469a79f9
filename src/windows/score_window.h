#pragma once
// The score window: the top five of the ranking file, names and scores as
// stored. It blocks the game table while it is open (its opener disables the
// table, and the window is modal over it) and gives the table back when it
// unloads, however it is closed.

#include <QPointer>
#include <QWidget>
#include <array>

#include "ranking/ranking_file.h"

class Announcer;
class VbLabel;
class VbButton;
class QCloseEvent;
class QPaintEvent;

class Score : public QWidget {
    Q_OBJECT
public:
    // table: the game table it blocks and enables again when it unloads.
    explicit Score(QWidget *table = nullptr);

    // Creates, loads and shows a new score window over the disabled game
    // table, which takes no input until it closes. It deletes itself when
    // closed.
    static Score *open(QWidget *table);

    // Controls.
    std::array<VbLabel *, 2> Label1{}; // "Name", "Score"
    std::array<VbLabel *, RankCount> Label2{}; // names of ranks 1..5
    std::array<VbLabel *, RankCount> Label3{}; // scores of ranks 1..5
    VbButton *Command1 = nullptr;      // "Back"

    // The blue panel behind the rows.
    static QRect shape1Rect();

    void Form_Load();
    void Command1_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();

    QPointer<QWidget> m_table;
    Announcer *m_announcer = nullptr;
};
