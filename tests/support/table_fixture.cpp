#include "table_fixture.h"

#include "helpers.h"

#include <QTest>

void tickReelTo(Smashine &table, int reel, int step)
{
    for (int guard = 0; guard < 7 && table.displayedStep(reel) != step; ++guard) {
        if (reel == 0)
            table.Timer1_Timer();
        else if (reel == 1)
            table.Timer2_Timer();
        else
            table.Timer3_Timer();
    }
}

void spinAndStop(Smashine &table, int a, int b, int c)
{
    table.Start_Click();
    tickReelTo(table, 0, a);
    tickReelTo(table, 1, b);
    tickReelTo(table, 2, c);
    table.StopA_Click();
    table.StopB_Click();
    table.StopC_Click();
}

void runCountdown(Smashine &table, FakePlatform &fake, int seconds)
{
    for (int i = 0; i < seconds && table.countdownRunning(); ++i) {
        fake.ticks += 1000;
        table.countdownTimeout();
    }
}

void Table::tickTo(int reel, int step) const
{
    tickReelTo(*w, reel, step);
}

void Table::spinAndStop(int a, int b, int c) const
{
    ::spinAndStop(*w, a, b, c);
}

QString Table::betState() const
{
    QString s;
    for (DrawnShape *lamp : w->Shape3)
        s += lamp->fillColor() == 255 ? QLatin1Char('R') : (lamp->fillColor() == 0xFFFFFF ? QLatin1Char('w') : QLatin1Char('?'));
    s += QLatin1Char('|');
    for (DrawnLine *line : {w->Line1, w->Line2, w->Line3, w->Line4, w->Line5})
        s += line->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

QString Table::buttons() const
{
    QString s;
    for (QWidget *b : std::initializer_list<QWidget *>{w->Reset, w->Allcoin, w->Start, w->StopA, w->StopB,
                                                     w->StopC, w->ENDS})
        s += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

void Table::show() const
{
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get(), kPatienceMs));
}
