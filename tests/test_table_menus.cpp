// The table's own menus: coin save and load, colours and their settings
// file across runs, help and version.

#include "helpers.h"
#include "table_fixture.h"
#include "settings/slot_ini.h"
#include "windows/version_window.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {
const QString SaveDone = QStringLiteral("  SAVE終了");
const QString LoadDone = QStringLiteral("  LOAD終了");
const QString NoData = QStringLiteral("  SAVEデータがありません");
const QString SaveFailed = QStringLiteral("  SAVEできませんでした");
} // namespace

class TestTableMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void saveAndLoadCoins();
    void saveThatCannotBeStored();
    void storedTextsThatAreNoCoinTotal_data();
    void storedTextsThatAreNoCoinTotal();
    void loadTouchesOnlyTheTotal();
    void colourDialogs();
    void coloursSavedOnEveryClosingPath();
    void coloursRestoredAtStartup_data();
    void coloursRestoredAtStartup();
    void unwritableSettingsStillEnd();
    void helpAndVersion();
};

void TestTableMenus::saveAndLoadCoins()
{
    Table t;
    t->Label1->setText(QStringLiteral("321"));
    t->COINSAVE_Click();
    QCOMPARE(t.fake.settings.value(QStringLiteral("Tivoran/Coin/Coin")), QStringLiteral("321"));
    QCOMPARE(t.fake.messages.last().text, SaveDone);
    QCOMPARE(t.fake.messages.last().title, QStringLiteral("Tivoran"));
    t->Label1->setText(QStringLiteral("5"));
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("321"));
    QCOMPARE(t.fake.messages.last().text, LoadDone);
    // The stored value stays: a second load gives it again.
    t->Label1->setText(QStringLiteral("6"));
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("321"));

    // The cap value round-trips.
    t->Label1->setText(QStringLiteral("32767"));
    t->COINSAVE_Click();
    t->Label1->setText(QStringLiteral("1"));
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("32767"));

    // Saving 0 is saving nothing.
    t->Label1->setText(QStringLiteral("0"));
    t->COINSAVE_Click();
    t->Label1->setText(QStringLiteral("44"));
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("44"));
    QCOMPARE(t.fake.messages.last().text, NoData);

    // A fresh user has nothing stored.
    Table fresh;
    fresh->COINLOAD_Click();
    QCOMPARE(fresh.fake.messages.size(), 1);
    QCOMPARE(fresh.fake.messages.last().text, NoData);
    QCOMPARE(fresh->Label1->text(), QStringLiteral("100"));
}

void TestTableMenus::saveThatCannotBeStored()
{
    Table t;
    t->Label1->setText(QStringLiteral("250"));
    t->COINSAVE_Click();
    QCOMPARE(t.fake.messages.last().text, SaveDone);

    // The store refuses the next save: the player is told so, once, and
    // the value stored before stays.
    t.fake.settingsStoreFails = true;
    t->Label1->setText(QStringLiteral("777"));
    t->COINSAVE_Click();
    QCOMPARE(t.fake.messages.size(), 2);
    QCOMPARE(t.fake.messages.last().text, SaveFailed);
    QCOMPARE(t.fake.messages.last().title, QStringLiteral("Tivoran"));
    QCOMPARE(t.fake.settings.value(QStringLiteral("Tivoran/Coin/Coin")), QStringLiteral("250"));
    QCOMPARE(t->Label1->text(), QStringLiteral("777"));

    // Loading works as before and gives what the store holds.
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("250"));
    QCOMPARE(t.fake.messages.last().text, LoadDone);

    // Once the store takes values again, SAVE says so.
    t.fake.settingsStoreFails = false;
    t->Label1->setText(QStringLiteral("260"));
    t->COINSAVE_Click();
    QCOMPARE(t.fake.messages.last().text, SaveDone);
    QCOMPARE(t.fake.settings.value(QStringLiteral("Tivoran/Coin/Coin")), QStringLiteral("260"));

    // Nothing stored at all and a failing save: still no saved data.
    Table fresh;
    fresh.fake.settingsStoreFails = true;
    fresh->COINSAVE_Click();
    QCOMPARE(fresh.fake.messages.last().text, SaveFailed);
    fresh->Label1->setText(QStringLiteral("12"));
    fresh->COINLOAD_Click();
    QCOMPARE(fresh.fake.messages.last().text, NoData);
    QCOMPARE(fresh->Label1->text(), QStringLiteral("12"));
}

void TestTableMenus::storedTextsThatAreNoCoinTotal_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    // The conversion has its own table; these show the menu uses it.
    QTest::newRow("too many") << "40000" << "100";
    QTest::newRow("negative") << "-5" << "100";
    QTest::newRow("half to even down") << "12.5" << "12";
    QTest::newRow("half to even up") << "13.5" << "14";
}

void TestTableMenus::storedTextsThatAreNoCoinTotal()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Table t;
    t.fake.settings.insert(QStringLiteral("Tivoran/Coin/Coin"), stored);
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), shown);
    QCOMPARE(t.fake.messages.last().text, shown == QLatin1String("100") ? NoData : LoadDone);
}

void TestTableMenus::loadTouchesOnlyTheTotal()
{
    Table t;
    t.fake.settings.insert(QStringLiteral("Tivoran/Coin/Coin"), QStringLiteral("900"));
    t->Reset_Click();
    t->Reset_Click();
    t->COINLOAD_Click();
    QCOMPARE(t->Label1->text(), QStringLiteral("900"));
    QCOMPARE(t->coinBase, qint16(99));
    QCOMPARE(t.betState(), QStringLiteral("RRwww|00110"));
    QVERIFY(t->Start->isEnabled() && t->Reset->isEnabled() && !t->Allcoin->isEnabled());
    // A losing spin keeps the loaded total; a win pays on the old base.
    t.spinAndStop(0, 1, 3);
    QCOMPARE(t->Label1->text(), QStringLiteral("900"));

    // Coins loaded after the bets ran dry cannot be bet until a round ends.
    Table dry;
    dry.fake.settings.insert(QStringLiteral("Tivoran/Coin/Coin"), QStringLiteral("50"));
    dry->Label1->setText(QStringLiteral("0"));
    dry->Reset_Click();
    dry->COINLOAD_Click();
    QCOMPARE(dry->Label1->text(), QStringLiteral("50"));
    QVERIFY(!dry->Reset->isEnabled() && !dry->Allcoin->isEnabled());
}

void TestTableMenus::colourDialogs()
{
    Table t;
    t.fake.colourAnswers = {rgbRef(10, 20, 30), std::nullopt, rgbRef(255, 0, 0), rgbRef(1, 2, 3)};
    t->テーブルの色_Click();
    QCOMPARE(t->Shape2->fillColor(), rgbRef(10, 20, 30));
    t->外枠の色_Click(); // cancelled
    QCOMPARE(t->Shape1->fillColor(), rgbRef(0, 0, 128));
    t->外枠の色_Click();
    QCOMPARE(t->Shape1->fillColor(), 255);
    t->線の色_Click();
    for (DrawnLine *line : {t->Line1, t->Line2, t->Line3, t->Line4, t->Line5})
        QCOMPARE(line->borderColor(), rgbRef(1, 2, 3)); // hidden ones too
    QCOMPARE(t.fake.colourDialogs, 4);
    QVERIFY(!QFile::exists(t.fake.slotIni())); // nothing written until closing
}

void TestTableMenus::coloursSavedOnEveryClosingPath()
{
    for (int path = 0; path < 3; ++path) {
        Table t;
        if (path == 0) {
            t->ENDS_Click();
            QCOMPARE(fileBytes(t.fake.slotIni()), formatSlotIni(TableColours{}));
        } else {
            t.fake.colourAnswers = {rgbRef(255, 0, 0), rgbRef(0, 255, 0)};
            t->外枠の色_Click();
            t->線の色_Click();
            if (path == 1)
                t->AppliEND_Click();
            else
                t->close();
            QCOMPARE(fileBytes(t.fake.slotIni()), formatSlotIni(TableColours{16761024, 255, 65280}));
        }
        QCOMPARE(t.fake.endCount, 1);
    }
}

void TestTableMenus::coloursRestoredAtStartup_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint32>("table");
    QTest::addColumn<qint32>("frame");
    QTest::addColumn<qint32>("line");
    // The reading of hand-written files has its own table; these show
    // start-up applies what it reads to the table it has.
    QTest::newRow("as saved") << formatSlotIni(TableColours{1, 255, 3}) << 1 << 255 << 3;
    QTest::newRow("negative is a system colour") << QByteArray("a,-2147483633\r\nb,5\r\nc,6\r\n")
                                                 << qint32(0x8000000F) << 5 << 6;
    QTest::newRow("fewer lines") << QByteArray("a,11\r\n") << 11 << TableColours{}.frame << TableColours{}.line;
}

void TestTableMenus::coloursRestoredAtStartup()
{
    QFETCH(QByteArray, file);
    QFETCH(qint32, table);
    QFETCH(qint32, frame);
    QFETCH(qint32, line);
    FakePlatform fake;
    putFile(fake.slotIni(), file);
    fake.randomValues.push_back(0.0);
    Smashine w;
    QCOMPARE(w.Shape2->fillColor(), table);
    QCOMPARE(w.Shape1->fillColor(), frame);
    for (DrawnLine *l : {w.Line1, w.Line2, w.Line3, w.Line4, w.Line5})
        QCOMPARE(l->borderColor(), line);
}

void TestTableMenus::unwritableSettingsStillEnd()
{
    Table t;
    // A directory standing where the settings file should go.
    QVERIFY(QDir(t.fake.dir).mkdir(QStringLiteral("slot.ini")));
    t->ENDS_Click();
    QCOMPARE(t.fake.endCount, 1);
    QVERIFY(t.fake.messages.isEmpty());
}

void TestTableMenus::helpAndVersion()
{
    Table t;
    putFile(QDir(t.fake.dir).filePath(QStringLiteral("readme.txt")), "help");
    t->Quillexから_Click();
    QCOMPARE(t.fake.openedFiles, QStringList{QDir(t.fake.dir).filePath(QStringLiteral("readme.txt"))});
    t->バージョン情報_Click();
    t->バージョン情報_Click();
    QCOMPARE(openWindows<version>().size(), 1);
    QVERIFY(t->isEnabled()); // the game goes on beside it
    delete version::instance();
}

QTEST_MAIN(TestTableMenus)
#include "test_table_menus.moc"
