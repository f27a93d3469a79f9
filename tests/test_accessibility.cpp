// What a screen reader is given: the values the labels show as their names
// (with their roles as descriptions), the reel area described in words, and
// the name entry's cursor; that each change is announced; what the game
// tells unasked, in order, through a round, a ranking game, the name entry
// and the score window; and the menu bar reached by Alt and F10, also while
// a screen reader holds the keys back.

#include "fake_platform.h"
#include "helpers.h"
#include "ranking_play.h"
#include "ranking/name_entry_rules.h"
#include "windows/nameinput_window.h"
#include "ranking/rank_check.h"
#include "windows/score_window.h"
#include "reels/reel_model.h"
#include "reels/reel_speech.h"
#include "table_fixture.h"
#include "ui/ctl_digital.h"

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QtTest>
#include <dlfcn.h>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

using namespace NameEntry;

namespace {

// One announcement as a screen reader would take it: the object, the kind,
// and the object's name, description and role at that moment, and its
// window.
struct Heard {
    QObject *object;
    QAccessible::Event type;
    QString name;
    QString description;
    QAccessible::Role role;
    QObject *window;
};
QList<Heard> g_heard;

void recordEvent(QAccessibleEvent *event)
{
    QAccessibleInterface *iface = event->accessibleInterface();
    auto *widget = qobject_cast<QWidget *>(event->object());
    g_heard.append({event->object(), event->type(), iface ? iface->text(QAccessible::Name) : QString(),
                    iface ? iface->text(QAccessible::Description) : QString(),
                    iface ? iface->role() : QAccessible::NoRole, widget ? widget->window() : nullptr});
}

using SetActive = void (*)(void *accessibility, bool on);
void *g_accessibility = nullptr;
SetActive g_setActive = nullptr;

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
    g_setActive = reinterpret_cast<SetActive>(dlsym(RTLD_DEFAULT, "_ZN22QPlatformAccessibility9setActiveEb"));
    if (!integration || !*integration || !accessibilityOf || !g_setActive)
        return false;
    g_accessibility = accessibilityOf(*integration);
    if (!g_accessibility)
        return false;
    QAccessible::installUpdateHandler(recordEvent);
    g_setActive(g_accessibility, true);
    return QAccessible::isActive();
}

// While it lives, no screen reader listens.
struct NobodyListens {
    NobodyListens() { g_setActive(g_accessibility, false); }
    ~NobodyListens() { g_setActive(g_accessibility, true); }
};

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

// What the game told unasked since the last clear, in order: the texts of
// the notifications that appeared, in `window` or in any window.
QStringList heardAnnouncements(QObject *window = nullptr)
{
    QStringList out;
    for (const Heard &h : std::as_const(g_heard))
        if (h.type == QAccessible::ObjectShow && h.role == QAccessible::Notification && (!window || h.window == window))
            out << h.name;
    return out;
}

// Holds back every key press and release the desktop delivers, and hands
// them on later in order, as the accessibility bridge does while a screen
// reader looks at each key first. The shortcut check of a key press is not
// held back.
class KeysHeldBack : public QObject {
public:
    KeysHeldBack() { qApp->installEventFilter(this); }
    ~KeysHeldBack() override { handOn(); }
    void handOn()
    {
        for (auto &[target, key] : std::exchange(m_held, {})) {
            if (target)
                QCoreApplication::postEvent(target, key.release());
        }
        QCoreApplication::sendPostedEvents();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!event->spontaneous() || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
            return false;
        const auto *k = static_cast<QKeyEvent *>(event);
        m_held.emplace_back(watched, std::make_unique<QKeyEvent>(k->type(), k->key(), k->modifiers(), k->nativeScanCode(),
                                                                 k->nativeVirtualKey(), k->nativeModifiers(), k->text(),
                                                                 k->isAutoRepeat(), k->count()));
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QKeyEvent>>> m_held;
};

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

    // A round that wins on the three rows and one that loses: each bet, each
    // reel as it stops (top to bottom), then each winning line with its pay
    // and the new total, or the total alone.
    void roundsAreToldAsTheyHappen()
    {
        Table t;
        t.show();
        g_heard.clear();
        t->Reset_Click();
        t->Reset_Click();
        t->Reset_Click();
        t.spinAndStop(6, 6, 6);
        QCOMPARE(heardAnnouncements(),
                 (QStringList{"1ライン ベット、残り99枚", "2ライン ベット、残り98枚", "3ライン ベット、残り97枚",
                              "左 時計 ちょう 地球", "中 時計 ちょう 地球", "右 時計 ちょう 地球",
                              "上段 時計 そろい 400枚、中段 ちょう そろい 200枚、下段 地球 そろい 1000枚。合計 1698枚"}));
        QCOMPARE(t->Label1->text(), QStringLiteral("1698"));

        g_heard.clear();
        t->Allcoin_Click();
        t.spinAndStop(0, 2, 4);
        QCOMPARE(heardAnnouncements(), (QStringList{"5ライン ベット、残り1693枚", "左 りんご 時計 ちょう",
                                                    "中 電話 テレビ りんご", "右 地球 家 電話", "合計 1693枚"}));

        // A space with no reel spinning stops nothing and tells nothing.
        g_heard.clear();
        t->Form_KeyPress(' ');
        QCOMPARE(heardAnnouncements(), QStringList());
    }

    // The notifications are drawn nowhere, take no input and keep the
    // keyboard's way through the table; without a screen reader there are
    // none at all.
    void announcementsChangeNothingOnScreen()
    {
        {
            NobodyListens quiet;
            Table t;
            t.show();
            t->Allcoin_Click();
            t.spinAndStop(1, 2, 3);
            QVERIFY(t->findChildren<QWidget *>(QStringLiteral("announcement")).isEmpty());
        }
        Table t;
        t.show();
        t->Allcoin_Click();
        t.spinAndStop(1, 2, 3);
        const QList<QWidget *> notices = t->findChildren<QWidget *>(QStringLiteral("announcement"));
        QVERIFY(!notices.isEmpty());
        const QImage shown = t->grab().toImage();
        for (QWidget *n : notices) {
            QVERIFY(n->isVisible());
            QCOMPARE(n->size(), QSize(1, 1));
            QCOMPARE(n->focusPolicy(), Qt::NoFocus);
            QVERIFY(n->testAttribute(Qt::WA_TransparentForMouseEvents));
            n->hide();
        }
        COMPARE_PICTURES(t->grab().toImage(), shown);
        QList<QWidget *> order{t->Allcoin, t->StopA, t->StopB, t->Start, t->Reset, t->ENDS, t->StopC};
        for (qsizetype i = 0; i + 1 < order.size(); ++i)
            QCOMPARE(order[i]->nextInFocusChain(), order[i + 1]);
    }

    // A ranking game on the test clock: the start, the tens from 50 down,
    // each of the last five seconds, and at 0 the score and its rank; a
    // second game whose score enters no rank.
    void rankingGameIsToldOnTheClock()
    {
        RankingWindowsCloser closer;
        Table t;
        putFile(t.fake.dir + "/data.ini", standardRanking());
        t.show();
        g_heard.clear();
        t->ランキングモード_Click();
        QCOMPARE(heardAnnouncements(), QStringList{"ランキングモード、100枚、59秒"});
        t->Label1->setText(QStringLiteral("450"));
        for (int i = 0; i < 60 && t->countdownRunning(); ++i) {
            t.fake.ticks += 1000;
            t->countdownTimeout();
        }
        QCOMPARE(heardAnnouncements(t.w.get()),
                 (QStringList{"ランキングモード、100枚、59秒", "残り50秒", "残り40秒", "残り30秒", "残り20秒",
                              "残り10秒", "5", "4", "3", "2", "1", "終了。スコア 450枚、ランキング2位"}));
        finishRankingWindows();

        g_heard.clear();
        rankingGame(t, QStringLiteral("50"));
        QCOMPARE(heardAnnouncements(t.w.get()).last(), QStringLiteral("終了。スコア 50枚、ランキング外"));
        QCOMPARE(heardAnnouncements(t.w.get()).size(), 12);
        QVERIFY(openWindows<nameinput>().isEmpty());

        // A score that places but cannot be recorded names no rank: the
        // message that follows says what happened.
        g_heard.clear();
        t.fake.failWrites(WriteFault::AtCommit);
        rankingGame(t, QStringLiteral("460"));
        QCOMPARE(heardAnnouncements(t.w.get()).last(), QStringLiteral("終了。スコア 460枚"));
        QCOMPARE(t.fake.messages.size(), 1);
        QCOMPARE(t.fake.messages[0].text, rankingNotStoredText());
    }

    // The name entry tells the cell the cursor moves to and, after each
    // Return, the name so far; the score window, as it opens, its five rows.
    void nameEntryAndScoreWindowAreTold()
    {
        fp = std::make_unique<FakePlatform>();
        putFile(fp->dir + "/data.ini", rankHeader(1) + "name=QLX\r\nscore=0150\r\n" + rankHeader(3)
                                           + "name=AB.\r\n" + rankHeader(4) + "score=-5\r\n");
        QPointer<nameinput> w = openEntry(true);
        g_heard.clear();
        press(w, "RxLxx");
        QCOMPARE(heardAnnouncements(),
                 (QStringList{"B", "名前 B", "A", "名前 BA", "名前 BAA", "終、名前を決定"}));
        g_heard.clear();
        press(w, "LxLL");
        QCOMPARE(heardAnnouncements(), (QStringList{"戻、1文字戻す", "名前 BA", "ハイフン", "ピリオド"}));
        // A key that moves nothing tells nothing.
        g_heard.clear();
        press(w, "D");
        QCOMPARE(heardAnnouncements(), QStringList());

        // "終" stores the name; the score window reads out its rows.
        QObject *entry = w;
        press(w, "RRRx");
        QCOMPARE(heardAnnouncements(entry), (QStringList{"ハイフン", "戻、1文字戻す", "終、名前を決定"}));
        const QList<Score *> scores = openWindows<Score>();
        QCOMPARE(scores.size(), 1);
        QVERIFY(QTest::qWaitForWindowActive(scores.first(), kPatienceMs));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(heardAnnouncements(scores.first()),
                 QStringList{"1位 QLX 0150、2位 BA 空欄、3位 AB. 空欄、4位 空欄 -5、5位 空欄"});
        scores.first()->close();

        // At a later opening no cell has the cursor: the first Return puts
        // it on "A" and types nothing.
        w = openEntry(false);
        g_heard.clear();
        press(w, "Rx");
        QCOMPARE(heardAnnouncements(), (QStringList{"名前 なし", "A"}));
    }

    // Opened from the menu, the score window tells its rows once it is
    // active and its focused button has been told: the table being disabled
    // and the window being built send a burst of changes, and Orca drops a
    // notification that comes amid it, or before the window manager has made
    // the window active, which may be after Qt has.
    void scoreWindowIsToldOnceActive()
    {
        Table t;
        putFile(t.fake.dir + "/data.ini", standardRanking());
        t.show();
        g_heard.clear();
        t->スコアランキング_Click();
        QPointer<Score> score = openWindows<Score>().value(0);
        QVERIFY(score);
        QVERIFY(heardAnnouncements().isEmpty());
        // The desktop makes it the active window.
        t.fake.windowManagerBehind = true;
        QApplication::setActiveWindow(score);
        QCoreApplication::sendPostedEvents();
        QVERIFY(heardAnnouncements().isEmpty());
        t.fake.windowManagerBehind = false;
        QEvent chosen(desktopActivatedEvent());
        QCoreApplication::sendEvent(score, &chosen);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(heardAnnouncements(), QStringList{"1位 AAA 500、2位 BBB 400、3位 CCC 300、4位 DDD 200、5位 EEE 100"});
        qsizetype focused = -1, told = -1;
        for (qsizetype i = 0; i < g_heard.size(); ++i) {
            if (g_heard[i].type == QAccessible::Focus && g_heard[i].object == score->Command1)
                focused = i;
            if (g_heard[i].type == QAccessible::ObjectShow && g_heard[i].role == QAccessible::Notification)
                told = i;
        }
        QVERIFY(focused >= 0);
        QVERIFY(told > focused);
        score->close();
        flushDeletes();
    }

    // Alt alone and F10 put the keyboard on the menu bar and take it off
    // again; the arrows, Return and Escape work the menus; none of these
    // keys reaches the table, which would start the round bet here.
    void menuBarByAltAndF10_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("F10") << int(Qt::Key_F10);
        QTest::newRow("Alt") << int(Qt::Key_Alt);
    }

    void menuBarByAltAndF10()
    {
        QFETCH(int, key);
        Table t;
        t.show();
        t->Reset_Click();
        t->Reset->setFocus();
        const QString buttons = t.buttons();
        QWindow *window = t->windowHandle();
        QMenuBar *bar = t->menuBar();

        QTest::keyClick(window, Qt::Key(key));
        QVERIFY(bar->hasFocus());
        QCOMPARE(bar->activeAction(), t->データ->menuAction());
        QVERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(window, Qt::Key_Right);
        QCOMPARE(bar->activeAction(), t->モード->menuAction());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(QApplication::activePopupWidget(), t->モード);
        QTest::keyClick(t->モード->windowHandle(), Qt::Key_Escape);
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(bar->hasFocus());
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), t->Reset);

        // The same key takes the keyboard off again.
        QTest::keyClick(window, Qt::Key(key));
        QVERIFY(bar->hasFocus());
        QTest::keyClick(window, Qt::Key(key));
        QCOMPARE(QApplication::focusWidget(), t->Reset);

        QVERIFY(!t->reelRunningA);
        QCOMPARE(t.buttons(), buttons);
        QCOMPARE(t.fake.sounds, QList<int>{1});
    }

    // A screen reader holds each key back until it has looked at it, and
    // may hand on a lone Alt's release before its press: Alt still reaches
    // the menu bar once, and the next keys go to it. F10 and the menus'
    // keys arrive late alike.
    void menuBarWhileKeysAreHeldBack()
    {
        Table t;
        t.show();
        QWindow *window = t->windowHandle();
        QMenuBar *bar = t->menuBar();
        KeysHeldBack reader;
        QTest::keyPress(window, Qt::Key_Alt);
        QTest::keyRelease(window, Qt::Key_Alt);
        reader.handOn();
        QVERIFY(bar->hasFocus());
        QTest::keyClick(window, Qt::Key_Down);
        reader.handOn();
        QCOMPARE(QApplication::activePopupWidget(), t->データ);
        QTest::keyClick(t->データ->windowHandle(), Qt::Key_Escape);
        reader.handOn();
        QTest::keyClick(window, Qt::Key_Escape);
        reader.handOn();
        QCOMPARE(QApplication::focusWidget(), t->Allcoin);

        QTest::keyClick(window, Qt::Key_F10);
        reader.handOn();
        QVERIFY(bar->hasFocus());
        QTest::keyClick(window, Qt::Key_F10);
        reader.handOn();
        QCOMPARE(QApplication::focusWidget(), t->Allcoin);
    }

    // Alt held for another key, a click or a move is no lone Alt, also when a
    // screen reader hands the Alt on after the click; while a ranking game
    // has disabled every menu the keys stay with the table.
    void menuBarKeysLeftAlone()
    {
        Table t;
        t.show();
        QWindow *window = t->windowHandle();
        QTest::keyPress(window, Qt::Key_Alt);
        QTest::keyClick(window, Qt::Key_Down, Qt::AltModifier);
        QTest::keyRelease(window, Qt::Key_Alt);
        QVERIFY(!t->menuBar()->hasFocus());
        // Each time a little further, so that the move is one.
        QPoint onStopA = t->StopA->mapTo(t.w.get(), QPoint(5, 5));
        // The last of them a click the window manager took for itself.
        for (QTest::MouseAction mouse : {QTest::MouseClick, QTest::MouseMove, QTest::MousePress})
        for (bool heldBack : {false, true}) {
            std::optional<KeysHeldBack> reader;
            if (heldBack)
                reader.emplace();
            QTest::keyPress(window, Qt::Key_Alt);
            QEvent desktopClick(desktopAltClickEvent());
            if (mouse == QTest::MousePress)
                QCoreApplication::sendEvent(t.w.get(), &desktopClick);
            else
                QTest::mouseEvent(mouse, window, mouse == QTest::MouseMove ? Qt::NoButton : Qt::LeftButton,
                                  Qt::AltModifier, onStopA += QPoint(1, 0));
            QTest::keyRelease(window, Qt::Key_Alt);
            reader.reset();
            QVERIFY(!t->menuBar()->hasFocus());
        }
        t->Allcoin->setFocus();

        t->ランキングモード_Click();
        for (Qt::Key key : {Qt::Key_F10, Qt::Key_Alt})
            QTest::keyClick(window, key);
        QCOMPARE(QApplication::focusWidget(), t->Allcoin);
        QTest::keyClick(window, Qt::Key_Space);
        QCOMPARE(t->Label1->text(), QStringLiteral("95"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
