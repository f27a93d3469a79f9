#include "ranking_play.h"

#include "helpers.h"
#include "ranking/inigw.h"
#include "ranking/name_entry_rules.h"
#include "ranking/ranking_file.h"
#include "ui/vb_controls.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"

#include <QCoreApplication>
#include <QTest>

QByteArray standardRanking()
{
    return rankingBytes({{"AAA", "500"}, {"BBB", "400"}, {"CCC", "300"}, {"DDD", "200"}, {"EEE", "100"}});
}

void writeStandardRanking(const FakePlatform &fake)
{
    putFile(fake.dataIni(), standardRanking());
}

void rankingGame(Table &t, const QString &score)
{
    t->ランキングモード_Click();
    t->Label1->setText(score);
    t.runCountdown(60);
}

QString rankValue(const QString &path, int rank, const char *key)
{
    return GetIni(rankSectionName(rank), QString::fromLatin1(key), QString(), path);
}

QString rankRow(const QString &path, int rank)
{
    return rankValue(path, rank, "name") + QLatin1Char(':') + rankValue(path, rank, "score");
}

QString rankRows(const QString &path)
{
    QStringList rows;
    for (int k = 1; k <= 5; ++k)
        rows << rankRow(path, k);
    return rows.join(QLatin1Char(' '));
}

QList<int> nameKeys(const QString &name)
{
    using namespace NameEntry;
    QList<int> keys;
    int row = 0, col = 0;
    for (QChar c : name) {
        const int index = c.unicode() - 'A';
        const int r = index / Columns, k = index % Columns;
        for (; row < r; ++row)
            keys << VkDown;
        for (; row > r; --row)
            keys << VkUp;
        for (; col < k; ++col)
            keys << VkRight;
        for (; col > k; --col)
            keys << VkLeft;
        keys << VkReturn;
    }
    keys << VkReturn;
    return keys;
}

void typeName(nameinput *entry, const QString &name)
{
    if (entry->Label1[0]->backColor() != NameEntry::CursorColour)
        entry->Form_KeyDown(NameEntry::VkReturn); // no cursor yet: Return puts it on "A"
    const QList<int> keys = nameKeys(name);
    for (qsizetype i = 0; i + 1 < keys.size(); ++i)
        entry->Form_KeyDown(keys[i]);
    QCOMPARE(entry->Label1[NameEntry::EndCell]->backColor(), NameEntry::CursorColour);
    entry->Form_KeyDown(keys.last());
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

void deleteRankingWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<nameinput *>(w) || qobject_cast<Score *>(w))
            delete w;
    }
}

void finishRankingWindows()
{
    for (nameinput *entry : openWindows<nameinput>())
        entry->close();
    for (Score *score : openWindows<Score>())
        score->close();
    flushDeletes();
}
