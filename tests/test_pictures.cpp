// The embedded pictures: the seven reel symbols, the four spare pictures,
// the window icon and the pointing-hand cursor.

#include "helpers.h"
#include "reels/reel_model.h"
#include "ui/pictures.h"

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

const char *const kSymbols[] = {"apple", "television", "telephone", "house", "globe", "butterfly", "clock"};
const char *const kSpares[] = {"spare_clr", "spare_book", "spare_ball", "spare_screwdriver"};

QString picturePath(const char *name)
{
    return QStringLiteral(":/pictures/%1.png").arg(QLatin1String(name));
}

QString readyMadePath(const char *name, int size)
{
    return QStringLiteral(":/pictures/%1_%2.png").arg(QLatin1String(name)).arg(size);
}

QImage argb(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

// The picture as a reel cell shows it: 48 x 48 over the grey of the reel
// window.
QImage asShown(const QString &path)
{
    QImage cell(48, 48, QImage::Format_ARGB32);
    cell.fill(QColor(224, 224, 224));
    QPainter p(&cell);
    p.drawImage(0, 0, QImage(path).scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    p.end();
    return cell;
}

// An image of any size over the grey of the reel window, as the player
// sees it (the colour of a clear pixel means nothing).
QImage overGrey(const QImage &img)
{
    QImage shown(img.size(), QImage::Format_ARGB32);
    shown.fill(QColor(224, 224, 224));
    QImage plain = img;
    plain.setDevicePixelRatio(1.0);
    QPainter p(&shown);
    p.drawImage(0, 0, plain);
    p.end();
    return shown;
}

// Share of pixels whose colours differ clearly (sum of channel differences
// above 60 out of 765).
double differingShare(const QImage &a, const QImage &b)
{
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                          + std::abs(qBlue(p) - qBlue(q));
            if (d > 60)
                ++differing;
        }
    return double(differing) / (a.width() * a.height());
}

// The picture with `count` of its visible pixels, spread over it, changed
// by `by` steps in one channel (0 alpha, 1 red, 2 green, 3 blue), away from
// the end of the range.
QImage nudged(const QImage &img, int count, int channel, int by)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    QList<QPoint> visible;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(out.pixel(x, y)) >= 128)
                visible << QPoint(x, y);
    for (int i = 0; i < count && !visible.isEmpty(); ++i) {
        const QPoint at = visible[qsizetype(i) * visible.size() / count];
        const QRgb p = out.pixel(at);
        int c[4] = {qAlpha(p), qRed(p), qGreen(p), qBlue(p)};
        c[channel] += c[channel] + by <= 255 ? by : -by;
        out.setPixel(at, qRgba(c[1], c[2], c[3], c[0]));
    }
    return out;
}

// The picture premultiplied and made straight again rounding down, where
// Qt rounds to the nearest: what another processor's instructions may give.
QImage straightenedRoundingDown(const QImage &img)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = qPremultiply(out.pixel(x, y));
            const int a = qAlpha(p);
            if (a == 0 || a == 255)
                continue;
            out.setPixel(x, y, qRgba(qRed(p) * 255 / a, qGreen(p) * 255 / a, qBlue(p) * 255 / a, a));
        }
    return out;
}

// The picture with every clear pixel given a colour.
QImage clearPixelsColoured(const QImage &img)
{
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qAlpha(out.pixel(x, y)) == 0)
                out.setPixel(x, y, qRgba(255, 0, 255, 0));
    return out;
}

}  // namespace

class TestPictures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyPictureLoadsAtItsSize_data();
    void everyPictureLoadsAtItsSize();
    void symbolsAndSparesAreDistinct();
    void pictureComparisonForgivesRoundingOnly_data();
    void pictureComparisonForgivesRoundingOnly();
    void picturesAreShownFromTheRightDrawing();
    void programIconGivesEachSizeFromItsOwnDrawing();
    void smallArtIsPixelCrisp_data();
    void smallArtIsPixelCrisp();
    void handCursorIsBlackAndWhiteWithItsTipAtTheHotspot();
};

void TestPictures::everyPictureLoadsAtItsSize_data()
{
    // clear: a picture standing on a transparent ground (not the icon).
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("clear");
    for (const char *name : kSymbols)
        QTest::newRow(name) << picturePath(name) << 96 << true;
    for (const char *name : kSpares)
        QTest::newRow(name) << picturePath(name) << 96 << true;
    // The sizes the table shows at 100 %, ready made.
    for (int size : {28, 48}) {
        for (const char *name : kSymbols)
            QTest::addRow("%s %d", name, size) << readyMadePath(name, size) << size << true;
        for (const char *name : kSpares)
            QTest::addRow("%s %d", name, size) << readyMadePath(name, size) << size << true;
    }
    for (int size : {16, 32, 64, 128})
        QTest::addRow("icon %d", size) << QStringLiteral(":/icons/tivoran_%1.png").arg(size) << size << false;
    for (int size : {32, 64})
        QTest::addRow("hand %d", size) << QStringLiteral(":/icons/hand_%1.png").arg(size) << size << true;
}

void TestPictures::everyPictureLoadsAtItsSize()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QFETCH(bool, clear);
    const QImage loaded(path);
    QVERIFY2(!loaded.isNull(), qPrintable(path + " does not load"));
    QCOMPARE(loaded.size(), QSize(size, size));
    QVERIFY(loaded.hasAlphaChannel());
    if (!clear)
        return;
    const QImage img = argb(path);
    const int last = img.width() - 1;
    for (QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QCOMPARE(qAlpha(img.pixel(corner)), 0);
    // And there is a picture on it: a good part of the square is covered.
    int opaque = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            opaque += qAlpha(img.pixel(x, y)) >= 128;
    const double share = double(opaque) / (img.width() * img.height());
    QVERIFY2(share > 0.1, qPrintable(QStringLiteral("only %1 of the square covered").arg(share)));
}

void TestPictures::symbolsAndSparesAreDistinct()
{
    // A spare picture stands in for a symbol, so all eleven must differ
    // from each other as the player sees them.
    QStringList names;
    for (const char *name : kSymbols)
        names << QLatin1String(name);
    for (const char *name : kSpares)
        names << QLatin1String(name);
    QList<QImage> shown;
    for (const QString &name : names)
        shown << asShown(picturePath(qPrintable(name)));
    for (int i = 0; i < shown.size(); ++i)
        for (int j = i + 1; j < shown.size(); ++j) {
            const double share = differingShare(shown[i], shown[j]);
            QVERIFY2(share > 0.25, qPrintable(QStringLiteral("%1 and %2 differ in only %3 of the pixels")
                                                  .arg(names[i], names[j])
                                                  .arg(share)));
        }
}

void TestPictures::pictureComparisonForgivesRoundingOnly_data()
{
    // The comparison the checks below rely on: a picture read back through
    // Qt's conversions on any processor passes, a wrong one does not.
    QTest::addColumn<QImage>("actual");
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<bool>("alike");
    const QImage apple = argb(readyMadePath("apple", 48));
    const QImage butterfly = argb(readyMadePath("butterfly", 28));
    QVERIFY(!apple.isNull() && !butterfly.isNull());
    // The rounded copies really are off somewhere.
    QVERIFY(straightenedRoundingDown(apple) != apple);
    QVERIFY(nudged(butterfly, 8, 1, 1) != butterfly);
    QVERIFY(clearPixelsColoured(butterfly) != butterfly);
    QTest::newRow("as drawn") << apple << apple << true;
    QTest::newRow("through a pixmap") << QPixmap::fromImage(butterfly).toImage() << butterfly << true;
    QTest::newRow("red one step off in eight pixels") << nudged(butterfly, 8, 1, 1) << butterfly << true;
    QTest::newRow("blue one step off in a hundred") << nudged(apple, 100, 3, 1) << apple << true;
    QTest::newRow("straightened rounding down") << straightenedRoundingDown(apple) << apple << true;
    QTest::newRow("clear pixels of another colour") << clearPixelsColoured(butterfly) << butterfly << true;
    QTest::newRow("green two steps off in one pixel") << nudged(apple, 1, 2, 2) << apple << false;
    QTest::newRow("alpha two steps off in one pixel") << nudged(butterfly, 1, 0, 2) << butterfly << false;
    QTest::newRow("another symbol") << argb(readyMadePath("globe", 48)) << apple << false;
    QTest::newRow("a spare for a symbol") << argb(readyMadePath("spare_ball", 48)) << apple << false;
    QTest::newRow("another size") << argb(readyMadePath("apple", 28)) << apple << false;
    QTest::newRow("the master scaled fast")
        << QImage(picturePath("apple")).scaled(48, 48, Qt::IgnoreAspectRatio, Qt::FastTransformation) << apple
        << false;
    QTest::newRow("nothing") << QImage() << apple << false;
}

void TestPictures::pictureComparisonForgivesRoundingOnly()
{
    QFETCH(QImage, actual);
    QFETCH(QImage, expected);
    QFETCH(bool, alike);
    const QString mismatch = pictureMismatch(actual, expected);
    QVERIFY2(mismatch.isEmpty() == alike, qPrintable(alike ? mismatch : QStringLiteral("no difference found")));
}

// A reel cell (48 px) and a pay-table picture (28 px) at 100 % come from the
// ready-made drawings, which look like their masters scaled down; at 200 %
// and at any other size the master is scaled.
void TestPictures::picturesAreShownFromTheRightDrawing()
{
    QList<const char *> names(std::begin(kSymbols), std::end(kSymbols));
    names += QList<const char *>(std::begin(kSpares), std::end(kSpares));
    QCOMPARE(names.size(), int(reels::PictureCount));

    for (int picture = 0; picture < names.size(); ++picture) {
        const QString master = picturePath(names[picture]);
        for (int size : {28, 48}) {
            const QImage ready = argb(readyMadePath(names[picture], size));
            // Scaled as the table scales: with the colours premultiplied.
            const QImage premultiplied = QImage(master).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage scaledDown = premultiplied
                                          .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                          .convertToFormat(QImage::Format_ARGB32);
            QVERIFY2(differingShare(overGrey(ready), overGrey(scaledDown)) < 0.005,
                     qPrintable(QStringLiteral("%1 at %2 px strays from its master").arg(names[picture]).arg(size)));

            const QPixmap shown = scaledPicture(picture, QSize(size, size), 1.0);
            QCOMPARE(shown.size(), QSize(size, size));
            QCOMPARE(shown.devicePixelRatio(), 1.0);
            // Read back from the pixmap, the colours have been premultiplied
            // and made straight again, which may round a step differently.
            const QImage shownImage = shown.toImage();
            COMPARE_PICTURES(shownImage, ready);
            // And no other picture would pass for it.
            for (int other = 0; other < names.size(); ++other) {
                if (other != picture)
                    QVERIFY2(!pictureMismatch(shownImage, argb(readyMadePath(names[other], size))).isEmpty(),
                             qPrintable(QStringLiteral("%1 passes for %2 at %3 px")
                                            .arg(names[other], names[picture])
                                            .arg(size)));
            }

            const QPixmap sharp = scaledPicture(picture, QSize(size, size), 2.0);
            QCOMPARE(sharp.size(), QSize(2 * size, 2 * size));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            const QImage fromMaster = premultiplied.scaled(2 * size, 2 * size, Qt::IgnoreAspectRatio,
                                                            Qt::SmoothTransformation);
            QVERIFY(differingShare(overGrey(sharp.toImage()), overGrey(fromMaster)) < 0.005);
        }
        // A size with no drawing of its own, at 150 %.
        QCOMPARE(scaledPicture(picture, QSize(40, 30), 1.5).size(), QSize(60, 45));
    }
    QVERIFY(scaledPicture(reels::PictureCount, QSize(48, 48), 1.0).isNull());
    QVERIFY(scaledPicture(-1, QSize(48, 48), 1.0).isNull());
}

void TestPictures::programIconGivesEachSizeFromItsOwnDrawing()
{
    const QIcon icon = programIcon();
    QCOMPARE(icon.availableSizes(),
             (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(128, 128)}));
    for (int size : {16, 32, 64, 128}) {
        const QImage drawing = argb(QStringLiteral(":/icons/tivoran_%1.png").arg(size));
        COMPARE_PICTURES(icon.pixmap(QSize(size, size), 1.0).toImage(), drawing);
        if (size >= 32) {
            // The same drawing serves half the size at 200 %.
            const QPixmap sharp = icon.pixmap(QSize(size / 2, size / 2), 2.0);
            QCOMPARE(sharp.size(), QSize(size, size));
            QCOMPARE(sharp.devicePixelRatio(), 2.0);
            COMPARE_PICTURES(sharp.toImage(), drawing);
        }
    }
    // Between drawings the next larger one is scaled down; beyond the
    // largest nothing is blown up.
    QCOMPARE(icon.pixmap(QSize(24, 24), 1.0).size(), QSize(24, 24));
    QCOMPARE(icon.actualSize(QSize(24, 24)), QSize(24, 24));
    QCOMPARE(icon.pixmap(QSize(256, 256), 1.0).size(), QSize(128, 128));
    QCOMPARE(icon.actualSize(QSize(256, 256)), QSize(128, 128));
    QVERIFY(!icon.pixmap(QSize(32, 32), 1.0, QIcon::Disabled).isNull());
}

void TestPictures::smallArtIsPixelCrisp_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("icon 16") << QStringLiteral(":/icons/tivoran_16.png");
    QTest::newRow("hand 32") << QStringLiteral(":/icons/hand_32.png");
}

void TestPictures::smallArtIsPixelCrisp()
{
    // Every pixel is either fully there or fully clear: no soft edges that
    // would smear at the size these are shown.
    QFETCH(QString, path);
    const QImage img = argb(path);
    QVERIFY(!img.isNull());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int a = qAlpha(img.pixel(x, y));
            QVERIFY2(a == 0 || a == 255, qPrintable(QStringLiteral("alpha %1 at %2,%3").arg(a).arg(x).arg(y)));
        }
}

void TestPictures::handCursorIsBlackAndWhiteWithItsTipAtTheHotspot()
{
    // The hotspot documented in resources/ATTRIBUTION.md, in 32 px units.
    const QPoint hotspot(12, 1);

    const QImage hand = argb(QStringLiteral(":/icons/hand_32.png"));
    QVERIFY(!hand.isNull());
    int black = 0, white = 0;
    for (int y = 0; y < hand.height(); ++y)
        for (int x = 0; x < hand.width(); ++x) {
            const QRgb p = hand.pixel(x, y);
            if (qAlpha(p) == 0)
                continue;
            const bool isBlack = qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 0;
            const bool isWhite = qRed(p) == 255 && qGreen(p) == 255 && qBlue(p) == 255;
            QVERIFY2(isBlack || isWhite, qPrintable(QStringLiteral("colour at %1,%2").arg(x).arg(y)));
            black += isBlack;
            white += isWhite;
        }
    QVERIFY(black > 50);
    QVERIFY(white > black);  // a white hand drawn in black outline

    // The fingertip is the topmost part of the picture and sits on the hotspot.
    QCOMPARE(hand.pixel(hotspot), qRgba(0, 0, 0, 255));
    for (int y = 0; y < hotspot.y(); ++y)
        for (int x = 0; x < hand.width(); ++x)
            QCOMPARE(qAlpha(hand.pixel(x, y)), 0);

    // The large cursor has its tip at the same place, twice as far out.
    const QImage large = argb(QStringLiteral(":/icons/hand_64.png"));
    const QRgb tip = large.pixel(hotspot * 2);
    QVERIFY(qAlpha(tip) > 128 && qRed(tip) < 64);
    for (int y = 0; y < hotspot.y() * 2; ++y)
        for (int x = 0; x < large.width(); ++x)
            QVERIFY(qAlpha(large.pixel(x, y)) < 64);
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
