#include "helpers.h"

#include "settings/ansi.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <cstdlib>

QByteArray sj(const char *utf8)
{
    return toAnsi(QString::fromUtf8(utf8));
}

void putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entriesOf(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

QByteArray rankHeader(int rank)
{
    return "[" + QByteArray::number(rank) + "\x88\xCA]\r\n";
}

QByteArray rankingBytes(const QList<std::pair<QByteArray, QByteArray>> &entries)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < entries.size(); ++i)
        bytes += rankHeader(int(i) + 1) + "name=" + entries[i].first + "\r\nscore=" + entries[i].second + "\r\n";
    return bytes;
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void pressKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void pressKeys(QWidget *window, const char *keys)
{
    for (const char *k = keys; *k; ++k) {
        Qt::Key key = Qt::Key_unknown;
        Qt::KeyboardModifiers mods = Qt::NoModifier;
        switch (*k) {
        case 'R': key = Qt::Key_Right; break;
        case 'L': key = Qt::Key_Left; break;
        case 'U': key = Qt::Key_Up; break;
        case 'D': key = Qt::Key_Down; break;
        case 'x': key = Qt::Key_Return; break;
        case 'e': key = Qt::Key_Enter; mods = Qt::KeypadModifier; break;
        case '%': key = Qt::Key_Percent; break;
        default: QFAIL("unknown key in sequence");
        }
        pressKey(window, key, mods);
    }
}

QString pictureMismatch(const QImage &actual, const QImage &expected, int steps)
{
    if (actual.isNull() || expected.isNull())
        return QStringLiteral("no picture to compare (actual null: %1, expected null: %2)")
            .arg(actual.isNull())
            .arg(expected.isNull());
    if (actual.size() != expected.size())
        return QStringLiteral("%1 x %2 pixels where %3 x %4 were expected")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    int beyond = 0;
    int largest = 0;
    QPoint worst;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = e.pixel(x, y);
            if (qAlpha(p) == 0 && qAlpha(q) == 0)
                continue;
            const int step = std::max({std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                                       std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            if (step <= steps)
                continue;
            ++beyond;
            if (step > largest) {
                largest = step;
                worst = QPoint(x, y);
            }
        }
    }
    if (beyond == 0)
        return {};
    return QStringLiteral("%1 of %2 pixels differ by more than %3 step(s), by up to %4; "
                          "at %5,%6 #%7 where #%8 was expected")
        .arg(beyond)
        .arg(qint64(a.width()) * a.height())
        .arg(steps)
        .arg(largest)
        .arg(worst.x())
        .arg(worst.y())
        .arg(a.pixel(worst), 8, 16, QLatin1Char('0'))
        .arg(e.pixel(worst), 8, 16, QLatin1Char('0'));
}

QRect inkRect(QWidget *widget, const QColor &background)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal scale = image.devicePixelRatio();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (std::abs(c.red() - background.red()) > 64 || std::abs(c.green() - background.green()) > 64
                || std::abs(c.blue() - background.blue()) > 64)
                ink |= QRect(int(x / scale), int(y / scale), 1, 1);
        }
    }
    return ink;
}
