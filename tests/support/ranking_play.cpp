#include "ranking_play.h"

#include "helpers.h"
#include "ranking/nameinput_window.h"
#include "ranking/score_window.h"
#include "settings/ansi.h"

#include "ui/vb_controls.h"

#include <QCoreApplication>
#include <QTest>

QByteArray standardRanking()
{
    QByteArray b;
    const char *names[] = {"AAA", "BBB", "CCC", "DDD", "EEE"};
    for (int k = 1; k <= 5; ++k)
        b += toAnsi(QStringLiteral("[%1位]\r\nname=%2\r\nscore=%3\r\n").arg(k).arg(QLatin1String(names[k - 1])).arg(600 - 100 * k));
    return b;
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
