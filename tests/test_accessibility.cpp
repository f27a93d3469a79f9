// What a screen reader is given: the values the labels show as their names
// (with their roles as descriptions), the reel area described in words, and
// the name entry's cursor; and that each change is announced.

#include "fake_platform.h"
#include "helpers.h"
#include "ranking_play.h"
#include "ranking/name_entry_rules.h"
#include "ranking/nameinput_window.h"
#include "ranking/score_window.h"
#include "reels/reel_model.h"
#include "reels/reel_speech.h"
#include "table_fixture.h"
#include "ui/ctl_digital.h"

#include <QAccessible>
#include <QPointer>
#include <QtTest>
#include <dlfcn.h>
#include <memory>

using namespace NameEntry;

namespace {

// One announcement as a screen reader would take it: the object, the kind,
// and the object's name and description at that moment.
struct Heard {
    QObject *object;
    QAccessible::Event type;
    QString name;
    QString description;
};
QList<Heard> g_heard;

void recordEvent(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    g_heard.append({event->object(), event->type(), iface ? iface->text(QAccessible::Name) : QString(),
                    iface ? iface->text(QAccessible::Description) : QString()});
}

// Qt hands announcements on only while an assistive technology listens,
// which the desktop's accessibility object says; offscreen nothing listens
// and Qt has no public switch. The switch of Qt's own tests (the platform
// accessibility's setActive) is reached through the library's symbols,
// since its headers are not installed. Offscreen uses the base platform
// integration's accessibility object.
bool listenAsAScreenReader()
{
    using Integration = void *;
    using AccessibilityOf = void *(*)(const void *integration);
    using SetActive = void (*)(void *accessibility, bool on);
    auto *integration = static_cast<Integration *>(dlsym(RTLD_DEFAULT, "_ZN22QGuiApplicationPrivate20platform_integrationE"));
    auto accessibilityOf = reinterpret_cast<AccessibilityOf>(dlsym(RTLD_DEFAULT, "_ZNK20QPlatformIntegration13accessibilityEv"));
    auto setActive = reinterpret_cast<SetActive>(dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    if (!integration || !*integration || !accessibilityOf || !setActive)
        return false;
    void *accessibility = accessibilityOf(*integration);
    if (!accessibility)
        return false;
    QAccessible::installUpdateHandler(recordEvent);
    setActive(accessibility, true);
    return QAccessible::isActive();
}

QString nameOf(QObject *o)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

QString descriptionOf(QObject *o)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Description) : QStringLiteral("<none>");
}

// The names announced for `o` with `type`, in order, since the last clear.
QStringList heardNames(QObject *o, QAccessible::Event type = QAccessible::NameChanged)
{
    QStringList out;
    for (const Heard &h : std::as_const(g_heard))
        if (h.object == o && h.type == type)
            out << h.name;
    return out;
}

QStringList heardDescriptions(QObject *o)
{
    QStringList out;
    for (const Heard &h : std::as_const(g_heard))
        if (h.object == o && h.type == QAccessible::DescriptionChanged)
            out << h.description;
    return out;
}

// The objects reported as focused, in order.
QList<QObject *> heardFocus()
{
    QList<QObject *> out;
    for (const Heard &h : std::as_const(g_heard))
        if (h.type == QAccessible::Focus)
            out << h.object;
    return out;
}

// The rows of the table as the Stop handlers recorded them.
QString recordedRows(const Smashine &w)
{
    return QStringLiteral("上段 %1 %2 %3、中段 %4 %5 %6、下段 %7 %8 %9")
        .arg(w.cellTopA, w.cellTopB, w.cellTopC, w.cellMidA, w.cellMidB, w.cellMidC, w.cellBotA, w.cellBotB,
             w.cellBotC);
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

    // The desktop of the ranking windows' tests; they close before it goes.
    std::unique_ptr<FakePlatform> fp;

    // Opens the name entry as the ranking check does.
    static nameinput *openEntry(bool firstOpen)
    {
        return openNameEntry(nullptr, QStringLiteral("2位"), firstOpen);
    }

    // R L U D for the arrows, x for Return.
    static void press(nameinput *w, const char *keys)
    {
        for (const char *k = keys; *k; ++k) {
            const Qt::Key key = *k == 'R' ? Qt::Key_Right
                                : *k == 'L' ? Qt::Key_Left
                                : *k == 'U' ? Qt::Key_Up
                                : *k == 'D' ? Qt::Key_Down
                                            : Qt::Key_Return;
            QTest::keyClick(w->windowHandle(), key);
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(listenAsAScreenReader());
    }

    void init()
    {
        g_heard.clear();
    }

    void cleanup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<nameinput *>(w) && w->isVisible())
                w->close();
        for (Score *s : openWindows<Score>())
            s->close();
        flushDeletes();
        fp.reset();
    }

    void coinsAndPayAreHeardAsValues()
    {
        Table t;
        g_heard.clear();
        QCOMPARE(nameOf(t->Label1), QStringLiteral("100"));
        QCOMPARE(descriptionOf(t->Label1), QStringLiteral("TOTAL COINS"));
        QCOMPARE(nameOf(t->Label11), QStringLiteral("0"));
        QCOMPARE(descriptionOf(t->Label11), QStringLiteral("PAY COINS"));

        t->Allcoin_Click();
        QCOMPARE(nameOf(t->Label1), QStringLiteral("95"));
        QCOMPARE(heardNames(t->Label1), QStringList{"95"});

        // Three rows of one symbol each: a win on three lines.
        g_heard.clear();
        t.spinAndStop(3, 3, 3);
        QVERIFY(t->spinPay > 0);
        QCOMPARE(nameOf(t->Label11), QString::number(t->spinPay));
        // A win is added to the total before the bet.
        QCOMPARE(nameOf(t->Label1), QString::number(100 + t->spinPay));
        QCOMPARE(nameOf(t->Label1), t->Label1->text());
        // Each win was announced with the total and pay of that moment.
        const QStringList totals = heardNames(t->Label1);
        const QStringList pays = heardNames(t->Label11);
        QCOMPARE(totals.size(), 3);
        QCOMPARE(pays.size(), 3);
        QCOMPARE(totals.last(), t->Label1->text());
        QCOMPARE(pays.last(), t->Label11->text());
        QCOMPARE(descriptionOf(t->Label1), QStringLiteral("TOTAL COINS"));

        // The next bet clears the pay, and that is heard too.
        g_heard.clear();
        t->Reset_Click();
        QCOMPARE(heardNames(t->Label11), QStringList{"0"});
        QCOMPARE(nameOf(t->Label1), QString::number(99 + t->spinPay));
    }

    void emptyValueIsHeardAsBlank()
    {
        Table t;
        g_heard.clear();
        t->Label11->setText(QString());
        QCOMPARE(nameOf(t->Label11), VbLabel::EmptyValueName);
        t->Label11->setText(QString());
        t->Label11->setText(QStringLiteral("7"));
        QCOMPARE(nameOf(t->Label11), QStringLiteral("7"));
        t->Label11->setText(QStringLiteral("8"));
        // Each change heard once, never with a stale name.
        QCOMPARE(heardNames(t->Label11), (QStringList{VbLabel::EmptyValueName, "7", "8"}));
        QCOMPARE(descriptionOf(t->Label11), QStringLiteral("PAY COINS"));
        // Labels that show no value keep plain captions.
        QCOMPARE(nameOf(t->Label9), QStringLiteral("TOTAL COINS"));
        QCOMPARE(nameOf(t->payLabels[0]), QStringLiteral("1000"));
        // The bet bar has no caption and keeps a name of its own.
        QCOMPARE(nameOf(t->Reset), t->Reset->accessibleName());
        QVERIFY(!t->Reset->accessibleName().isEmpty());
    }

    void countdownIsHeardAsItCounts()
    {
        Table t;
        g_heard.clear();
        QCOMPARE(descriptionOf(t->Digital1), QStringLiteral("残り時間"));
        t->ランキングモード_Click();
        QCOMPARE(nameOf(t->Digital1), QStringLiteral("59"));
        t.fake.ticks += 1000;
        t->countdownTimeout();
        QCOMPARE(t->Digital1->text(), QStringLiteral("58"));
        QCOMPARE(nameOf(t->Digital1), QStringLiteral("58"));
        for (int i = 0; i < 50; ++i) {
            t.fake.ticks += 1000;
            t->countdownTimeout();
        }
        // Shown as "08", heard as the count.
        QCOMPARE(t->Digital1->text(), QStringLiteral("8"));
        QCOMPARE(nameOf(t->Digital1), QStringLiteral("8"));
        const QStringList heard = heardNames(t->Digital1);
        QCOMPARE(heard.size(), 52);
        QCOMPARE(heard.first(), QStringLiteral("59"));
        QCOMPARE(heard.last(), QStringLiteral("8"));
        QCOMPARE(descriptionOf(t->Digital1), QStringLiteral("残り時間"));
    }

    void scoreRowsAreHeardAsStored()
    {
        fp = std::make_unique<FakePlatform>();
        putFile(fp->dir + "/data.ini", rankHeader(1) + "name=QLX\r\nscore=0150\r\n" + rankHeader(3)
                                          + "name=AB.\r\n" + rankHeader(4) + "score=-5\r\n");
        QPointer<Score> s = Score::open(nullptr);
        const QStringList names{"QLX", VbLabel::EmptyValueName, "AB.", VbLabel::EmptyValueName,
                                VbLabel::EmptyValueName};
        const QStringList scores{"0150", VbLabel::EmptyValueName, VbLabel::EmptyValueName, "-5",
                                 VbLabel::EmptyValueName};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(nameOf(s->Label2[i]), names[i]);
            QCOMPARE(nameOf(s->Label3[i]), scores[i]);
            QCOMPARE(descriptionOf(s->Label2[i]), QStringLiteral("%1位の名前").arg(i + 1));
            QCOMPARE(descriptionOf(s->Label3[i]), QStringLiteral("%1位のスコア").arg(i + 1));
        }
        QCOMPARE(nameOf(s->Label1[0]), QStringLiteral("Name"));
        s->close();
    }

    void nameSlotsAreHeardAsTyped()
    {
        fp = std::make_unique<FakePlatform>();
        QPointer<nameinput> w = openEntry(true);
        g_heard.clear();
        VbLabel *slots[3] = {w->Label1[FirstSlot], w->Label1[FirstSlot + 1], w->Label1[FirstSlot + 2]};
        for (int s = 0; s < 3; ++s) {
            QCOMPARE(nameOf(slots[s]), VbLabel::EmptyValueName);
            QCOMPARE(descriptionOf(slots[s]), QStringLiteral("名前の%1文字目").arg(s + 1));
        }
        press(w, "xRx"); // "A", then "B"
        QCOMPARE(nameOf(slots[0]), QStringLiteral("A"));
        QCOMPARE(nameOf(slots[1]), QStringLiteral("B"));
        QCOMPARE(nameOf(slots[2]), VbLabel::EmptyValueName);
        QCOMPARE(heardNames(slots[1]), QStringList{"B"});
        // Back on "戻" empties slot 2 again.
        press(w, "DDRRRRRRRRRRx");
        QCOMPARE(w->Label1[BackCell]->backColor(), CursorColour);
        QCOMPARE(nameOf(slots[1]), VbLabel::EmptyValueName);
        QCOMPARE(heardNames(slots[1]), (QStringList{"B", VbLabel::EmptyValueName}));
        QCOMPARE(nameOf(slots[0]), QStringLiteral("A"));
    }

    void reelWordsNameRowsAndBets_data()
    {
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QList<bool>>("running");
        QTest::addColumn<QList<bool>>("lines");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("start-up") << QList<int>{0, 0, 0} << QList<bool>{false, false, false}
                                  << QList<bool>{false, false, false, false, false}
                                  << "上段 りんご りんご りんご、中段 時計 時計 時計、下段 ちょう ちょう ちょう。ベットなし";
        QTest::newRow("mixed, two lines bet")
            << QList<int>{4, 1, 6} << QList<bool>{false, false, false} << QList<bool>{false, false, true, true, false}
            << "上段 地球 テレビ 時計、中段 家 りんご ちょう、下段 電話 時計 地球。ベット: 中段、上段";
        // Lamps light middle, top, bottom, then Line1 and Line2.
        QTest::newRow("spinning, all bet")
            << QList<int>{4, 1, 6} << QList<bool>{true, true, true} << QList<bool>{true, true, true, true, true}
            << "回転中。ベット: 中段、上段、下段、右上がり斜め、右下がり斜め";
        QTest::newRow("left and right stopped")
            << QList<int>{4, 1, 6} << QList<bool>{false, true, false} << QList<bool>{false, true, false, false, false}
            << "回転中（停止: 左、右）。ベット: 右下がり斜め";
    }

    void reelWordsNameRowsAndBets()
    {
        QFETCH(QList<int>, steps);
        QFETCH(QList<bool>, running);
        QFETCH(QList<bool>, lines);
        QFETCH(QString, spoken);
        QCOMPARE(reels::spokenReels({steps[0], steps[1], steps[2]}, {running[0], running[1], running[2]},
                                    {lines[0], lines[1], lines[2], lines[3], lines[4]}),
                 spoken);
    }

    void reelAreaDescribesTheRound()
    {
        Table t; // this run shows spare pictures for "地球" and "ちょう"
        QCOMPARE(t->Image1[4]->picture(), int(reels::PicSpareClr));
        QCOMPARE(nameOf(t->surface), QStringLiteral("Tivoran"));
        const QString startRows = reels::spokenReels({0, 0, 0}, {false, false, false}, {});
        QCOMPARE(descriptionOf(t->surface), startRows);

        t->Reset_Click();
        t->Reset_Click();
        QCOMPARE(descriptionOf(t->surface), startRows.section(QStringLiteral("。"), 0, 0)
                                                + QStringLiteral("。ベット: 中段、上段"));
        t->Reset_Click();
        QVERIFY(descriptionOf(t->surface).endsWith(QStringLiteral("。ベット: 中段、上段、下段")));

        t->Start_Click();
        QCOMPARE(descriptionOf(t->surface), QStringLiteral("回転中。ベット: 中段、上段、下段"));
        t.tickTo(0, 5);
        t.tickTo(1, 5);
        t.tickTo(2, 5);
        QCOMPARE(descriptionOf(t->surface), QStringLiteral("回転中。ベット: 中段、上段、下段"));
        t->StopA_Click();
        QCOMPARE(descriptionOf(t->surface), QStringLiteral("回転中（停止: 左）。ベット: 中段、上段、下段"));
        t->StopB_Click();
        t->StopC_Click();

        // A win on the three rows: "地球" in the middle, named as the pay
        // table names it although a spare picture shows it.
        QVERIFY(t->spinPay > 0);
        QCOMPARE(t->cellMidB, reels::symbolName(4));
        const QString after = descriptionOf(t->surface);
        QCOMPARE(after, recordedRows(*t.w) + QStringLiteral("。ベットなし"));
        QVERIFY(after.contains(QStringLiteral("中段 地球 地球 地球")));
        // Each change was announced as it happened.
        const QStringList heard = heardDescriptions(t->surface);
        QVERIFY(heard.size() >= 6);
        QCOMPARE(heard.last(), after);
        QVERIFY(heard.contains(QStringLiteral("回転中（停止: 左、中）。ベット: 中段、上段、下段")));
    }

    void nameEntryCursorIsFollowed()
    {
        fp = std::make_unique<FakePlatform>();
        QPointer<nameinput> w = openEntry(true);
        QCOMPARE(w->accessibleDescription(), QStringLiteral("選択中: A"));
        QCOMPARE(descriptionOf(w->Label1[0]), QStringLiteral("選択中"));
        QCOMPARE(descriptionOf(w->Label1[EndCell]), QStringLiteral("名前を決定"));
        g_heard.clear();

        press(w, "R");
        QCOMPARE(heardFocus(), QList<QObject *>{w->Label1[1]});
        QCOMPARE(nameOf(w->Label1[1]), QStringLiteral("B"));
        QCOMPARE(descriptionOf(w->Label1[1]), QStringLiteral("選択中"));
        QCOMPARE(descriptionOf(w->Label1[0]), QString());
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: B"));

        // A key that moves nothing tells nothing.
        press(w, "U");
        QCOMPARE(heardFocus().size(), 1);

        press(w, "DDRRRRRRRRRR"); // to "戻"
        QCOMPARE(heardFocus().size(), 13);
        QCOMPARE(heardFocus().last(), w->Label1[BackCell]);
        QCOMPARE(descriptionOf(w->Label1[BackCell]), QStringLiteral("1文字戻す、選択中"));
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: 戻"));

        // The third character moves the cursor to "終".
        g_heard.clear();
        press(w, "Lxxx");
        QCOMPARE(w->Label1[EndCell]->backColor(), CursorColour);
        QCOMPARE(heardFocus().last(), w->Label1[EndCell]);
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: 終"));
        QCOMPARE(descriptionOf(w->Label1[36]), QString());
    }

    void nameEntryWithNoneOrTwoCursors()
    {
        fp = std::make_unique<FakePlatform>();
        QPointer<nameinput> w = openEntry(false);
        g_heard.clear();
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: なし"));
        press(w, "RD");
        QVERIFY(heardFocus().isEmpty());
        press(w, "x"); // puts the cursor on "A"
        QCOMPARE(heardFocus(), QList<QObject *>{w->Label1[0]});
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: A"));

        // A second cursor cell: the one that moves is told, and both are
        // listed.
        w->Label1[5]->setBackColor(CursorColour);
        g_heard.clear();
        press(w, "R");
        QCOMPARE(heardFocus(), QList<QObject *>{w->Label1[1]});
        QCOMPARE(descriptionOf(w), QStringLiteral("選択中: B、F"));
        QCOMPARE(descriptionOf(w->Label1[5]), QStringLiteral("選択中"));
        QCOMPARE(descriptionOf(w->Label1[0]), QString());
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
