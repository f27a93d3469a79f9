#include "helpers.h"

#include "settings/ansi.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTest>

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
