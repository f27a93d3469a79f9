// The game table at rest: what start-up leaves behind and where everything is.

#include "table_fixture.h"
#include "reels/reel_model.h"
#include "ui/ctl_digital.h"
#include "ui/vb_controls.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

using namespace reels;

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void idleTable();
    void stripPicturesForEachChoice_data();
    void stripPicturesForEachChoice();
    void cellsShowStepTable();
    void geometry();
    void fonts();
    void drawingOrder();
    void menus();
    void tabOrder();
};

void TestStartup::idleTable()
{
    Table t;
    Smashine *w = t.w.get();
    QCOMPARE(w->Label1->text(), QStringLiteral("100"));
    QCOMPARE(w->Label11->text(), QStringLiteral("0"));
    QCOMPARE(t.buttons(), QStringLiteral("1100000")); // only the bets
    QCOMPARE(t.betState(), QStringLiteral("wwwww|00000"));
    QVERIFY(w->Digital1->isHidden());
    QCOMPARE(w->Digital1->text(), QStringLiteral("60"));
    QVERIFY(w->Digital1->zero());
    QCOMPARE(w->reelStepA, qint16(1));
    QCOMPARE(w->reelStepB, qint16(1));
    QCOMPARE(w->reelStepC, qint16(1));
    QVERIFY(!w->reelRunningA && !w->reelRunningB && !w->reelRunningC);
    for (VbTimer *timer : {w->Timer1, w->Timer2, w->Timer3}) {
        QVERIFY(!timer->isEnabled());
        QCOMPARE(timer->interval(), 0);
        QVERIFY(!timer->isTicking());
    }
    QCOMPARE(w->coinBase, qint16(0));
    QCOMPARE(w->spinPay, qint16(0));
    QCOMPARE(w->timeLeft, 0);
    QVERIFY(!w->rankingMode);
    QVERIFY(w->cellTopA.isEmpty() && w->cellBotC.isEmpty());
    QVERIFY(w->NameEntryFirstOpen);
    QVERIFY(w->RankSection.isEmpty());
    QVERIFY(!w->countdownRunning());
    for (auto *spare : {w->Image17, w->Image18, w->Image19, w->Image20})
        QVERIFY(!spare->isVisible());
}

void TestStartup::stripPicturesForEachChoice_data()
{
    QTest::addColumn<double>("random");
    QTest::addColumn<QList<int>>("strip");
    const int apple = PicApple, tv = PicTelevision, phone = PicTelephone, house = PicHouse,
              clock = PicClock, fly = PicButterfly;
    QTest::newRow("r=1") << 0.0 << QList<int>{apple, tv, phone, house, PicSpareClr, PicSpareBook, clock};
    QTest::newRow("r=1 top") << 0.2499999 << QList<int>{apple, tv, phone, house, PicSpareClr, PicSpareBook, clock};
    QTest::newRow("r=2") << 0.25 << QList<int>{apple, PicSpareScrewdriver, phone, house, PicSpareBook, fly, clock};
    QTest::newRow("r=3") << 0.5 << QList<int>{apple, tv, PicSpareScrewdriver, house, PicSpareBall, fly, clock};
    QTest::newRow("r=4") << 0.75 << QList<int>{apple, tv, phone, PicSpareClr, PicSpareScrewdriver, fly, clock};
    QTest::newRow("r=4 top") << 0.9999999 << QList<int>{apple, tv, phone, PicSpareClr, PicSpareScrewdriver, fly, clock};
}

void TestStartup::stripPicturesForEachChoice()
{
    QFETCH(double, random);
    QFETCH(QList<int>, strip);
    Table t(random);
    Smashine *w = t.w.get();
    const Smashine::CellArray *rows[3][3] = {{&w->Image1, &w->Image2, &w->Image3},
                                             {&w->Image4, &w->Image5, &w->Image6},
                                             {&w->Image7, &w->Image8, &w->Image9}};
    for (int row = 0; row < 3; ++row) {
        for (int reel = 0; reel < 3; ++reel) {
            for (int k = 0; k < 7; ++k) {
                const int expected = strip[((k - row) % 7 + 7) % 7];
                QVERIFY2((*rows[row][reel])[k]->picture() == expected,
                         qPrintable(QStringLiteral("row %1 reel %2 element %3").arg(row).arg(reel).arg(k)));
            }
        }
    }
    // The pay table shows the pictures in use, top to bottom 1000 .. 50.
    const DrawnImage *pay[] = {w->Image10, w->Image11, w->Image12, w->Image13, w->Image14, w->Image16, w->Image15};
    const int payPositions[] = {4, 3, 2, 6, 5, 1, 0};
    const char *captions[] = {"1000", "800", "600", "400", "200", "100", "50"};
    const VbLabel *labels[] = {w->payLabels[0], w->payLabels[1], w->payLabels[2], w->payLabels[3],
                               w->payLabels[4], w->payLabels[6], w->payLabels[5]};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(pay[i]->picture(), strip[payPositions[i]]);
        QCOMPARE(labels[i]->text(), QString::fromLatin1(captions[i]));
        QVERIFY(pay[i]->rect().top() < labels[i]->geometry().center().y());
        QVERIFY(labels[i]->geometry().center().y() < pay[i]->rect().bottom());
        QCOMPARE(symbolPay(symbolName(payPositions[i])), QString::fromLatin1(captions[i]).toInt());
    }
    // The spares keep their own pictures.
    QCOMPARE(w->Image17->picture(), int(PicSpareClr));
    QCOMPARE(w->Image20->picture(), int(PicSpareScrewdriver));
}

void TestStartup::cellsShowStepTable()
{
    // Step k shows k, k - 1, k - 2 from top to bottom.
    const char *table[7][3] = {
        {"りんご", "時計", "ちょう"}, {"テレビ", "りんご", "時計"}, {"電話", "テレビ", "りんご"},
        {"家", "電話", "テレビ"},     {"地球", "家", "電話"},       {"ちょう", "地球", "家"},
        {"時計", "ちょう", "地球"}};
    for (int step = 0; step < 7; ++step) {
        for (int row = 0; row < 3; ++row)
            QCOMPARE(symbolName(positionShown(step, row)), QString::fromUtf8(table[step][row]));
    }
    QCOMPARE(symbolName(7), symbolName(0));
    QCOMPARE(symbolName(-1), QStringLiteral("時計"));
}

void TestStartup::geometry()
{
    Table t;
    Smashine *w = t.w.get();
    QCOMPARE(w->centralWidget()->size(), QSize(488, 479));
    QCOMPARE(w->windowTitle(), QStringLiteral("Tivoran             "));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    // Cells 720 twips square, rows 840 twips apart; row lines through their centres.
    QCOMPARE(w->Image5[3]->rect(), QRect(144, 152, 48, 48));
    QCOMPARE(w->Image9[0]->rect(), QRect(216, 208, 48, 48));
    QCOMPARE(w->Line4->from(), QPointF(272, 176));
    QCOMPARE(w->Line4->to(), QPointF(64, 176));
    QCOMPARE(w->Line4->from().y(), w->Image4[0]->rect().top() + 24.0);
    QCOMPARE(w->Line1->from(), QPointF(272, 88));
    QCOMPARE(w->Line1->to(), QPointF(64, 264));
    QCOMPARE(w->LineB->rect(), QRect(136, 88, 65, 177));
    QCOMPARE(w->Shape3[0]->rect(), QRect(288, 168, 17, 17));
    QCOMPARE(w->Shape3[3]->rect().top(), 64);
    QCOMPARE(w->Shape2->kind(), DrawnShape::RoundedRectangle);
    QCOMPARE(w->Shape3[0]->kind(), DrawnShape::Circle);
    QCOMPARE(w->Allcoin->geometry(), QRect(136, 328, 73, 25));
    QCOMPARE(w->Reset->geometry(), QRect(280, 328, 25, 57));
    QCOMPARE(w->StopC->geometry(), QRect(216, 280, 57, 41));
    QCOMPARE(w->Label1->geometry(), QRect(344, 352, 137, 25));
    QCOMPARE(w->Digital1->geometry(), QRect(100, 44, 135, 40));
    QCOMPARE(w->Image17->rect(), QRect(440, 0, 48, 48));
    QCOMPARE(w->Shape1->fillColor(), rgbRef(0, 0, 128));
    QCOMPARE(w->Shape2->fillColor(), 16761024);
    QCOMPARE(w->Line3->borderColor(), 16761024);
    QVERIFY(w->Reset->text().isEmpty());
    QVERIFY(!w->Reset->accessibleName().isEmpty());
}

// Each font of the table names the face it asks for, or the first of its
// stand-ins that is installed, then the Japanese face; and that face is the
// one the text is drawn in, at the size and weight given.
void TestStartup::fonts()
{
    const QStringList installed = QFontDatabase::families();
    const auto expectFace = [&](const QWidget *widget, const QStringList &candidates, double points, bool bold) {
        const QFont f = widget->font();
        const QString name = widget->objectName();
        QString face;
        for (const QString &candidate : candidates) {
            if (installed.contains(candidate, Qt::CaseInsensitive)) {
                face = candidate;
                break;
            }
        }
        QVERIFY2(!face.isEmpty(), qPrintable(name + ": no face installed for " + candidates.join(u',')));
        QCOMPARE(f.families(), (QStringList{face, QStringLiteral("Noto Sans CJK JP")}));
        QCOMPARE(QFontInfo(f).family(), face);
        QCOMPARE(f.pointSizeF(), points);
        QCOMPARE(f.bold(), bold);
    };
    const QStringList serif{QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")};
    const QStringList sans{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};

    Table t;
    expectFace(t->Label1, serif, 17.25, true);
    expectFace(t->Label11, serif, 15.75, true);
    expectFace(t->Start, serif, 15.75, false);
    expectFace(t->Allcoin, serif, 9, true);
    expectFace(t->StopA, sans, 15.75, true);
    expectFace(t->StopC, sans, 15.75, true);

    // A face with no stand-in installed is left to font matching, with the
    // Japanese face still behind it.
    QCOMPARE(gameFont(QStringLiteral("No Such Face Tivoran"), 12, false).families(),
             (QStringList{QStringLiteral("No Such Face Tivoran"), QStringLiteral("Noto Sans CJK JP")}));
}

void TestStartup::drawingOrder()
{
    Table t;
    QStringList order;
    for (const auto &e : t->surface->elements())
        order << e->name();
    auto at = [&](const char *name) { return order.indexOf(QString::fromLatin1(name)); };
    const char *backToFront[] = {"Shape4", "Shape1", "Shape2", "LineA", "LineB", "LineC", "Image1(0)", "Image9(6)",
                                 "Shape3(0)", "Shape3(4)", "Image10", "Image15", "Line2", "Line1", "Line3",
                                 "Line4", "Line5", "Image17", "Image20"};
    for (size_t i = 1; i < std::size(backToFront); ++i) {
        QVERIFY2(at(backToFront[i - 1]) >= 0 && at(backToFront[i - 1]) < at(backToFront[i]),
                 backToFront[i]);
    }
    QCOMPARE(order.size(), 6 + 63 + 5 + 7 + 5 + 4);
}

void TestStartup::menus()
{
    Table t;
    Smashine *w = t.w.get();
    QStringList titles;
    for (QAction *a : w->menuBar()->actions())
        titles << a->text();
    QCOMPARE(titles, (QStringList{"データ", "モード", "カスタマイズ", "ヘルプ"}));
    QStringList data;
    for (QAction *a : w->データ->actions())
        data << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(data, (QStringList{"SAVE", "LOAD", "スコアランキング", "-", "END"}));
    QCOMPARE(w->COINSAVE->objectName(), QStringLiteral("COINSAVE"));
    QCOMPARE(w->Quillexから->text(), QStringLiteral("ヘルプ"));
    QVERIFY(w->ノーマルモード->isChecked());
    QVERIFY(!w->ランキングモード->isChecked());
    QCOMPARE(w->カスタマイズ->actions().size(), 3);
    QCOMPARE(w->ヘルプ->actions().at(1)->text(), QStringLiteral("バージョン情報"));
}

void TestStartup::tabOrder()
{
    Table t;
    Smashine *w = t.w.get();
    QList<QWidget *> expected{w->Allcoin, w->StopA, w->StopB, w->Start, w->Reset, w->ENDS, w->StopC};
    for (qsizetype i = 0; i + 1 < expected.size(); ++i)
        QCOMPARE(expected[i]->nextInFocusChain(), expected[i + 1]);
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
