#pragma once
// Small helpers several suites share: files given as bytes, the ranking
// file, and the windows the game has open.

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>
#include <utility>

// Text written in UTF-8 here, as the game stores it (Shift-JIS).
QByteArray sj(const char *utf8);
// Makes bytes the whole content of a file; fails the test when it cannot.
void putFile(const QString &path, const QByteArray &bytes);
// The header line of rank k, "[k位]" in Shift-JIS with CR LF.
QByteArray rankHeader(int rank);
// A ranking file: one "[k位]" section with name and score per entry, from
// rank 1 on, CR LF line ends.
QByteArray rankingBytes(const QList<std::pair<QByteArray, QByteArray>> &entries);
// Carries out the deletions that closed windows asked for.
void flushDeletes();

// The visible top-level windows of one kind.
template <typename T>
QList<T *> openWindows()
{
    QList<T *> out;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
            out << found;
    return out;
}
