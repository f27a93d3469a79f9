#include "ranking_play.h"

#include "helpers.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"

#include "ui/vb_controls.h"

#include <QCoreApplication>
#include <QTest>

QByteArray standardRanking()
{
    return rankingBytes({{"AAA", "500"}, {"BBB", "400"}, {"CCC", "300"}, {"DDD", "200"}, {"EEE", "100"}});
}

void rankingGame(Table &t, const QString &score)
{
    t->ランキングモード_Click();
    t->Label1->setText(score);
    for (int i = 0; i < 60 && t->countdownRunning(); ++i) {
        t.fake.ticks += 1000;
        t->countdownTimeout();
    }
}

nameinput *openNameEntry(QWidget *table, const QString &rankSection, bool firstOpen)
{
    nameinput *w = nameinput::open(table, rankSection, firstOpen);
    for (VbTimer *timer : {w->Timer1, w->Timer2, w->Timer3})
        timer->blockSignals(true);
    if (!QTest::qWaitForWindowExposed(w, kPatienceMs))
        qWarning("name entry not exposed");
    return w;
}

void finishRankingWindows()
{
    if (nameinput *entry = openWindows<nameinput>().value(0))
        entry->close();
    if (Score *score = openWindows<Score>().value(0))
        score->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
