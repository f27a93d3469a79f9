#pragma once
// Small helpers several suites share: files given as bytes, the ranking
// file, the windows the game has open, pictures compared as the player sees
// them, and how long to wait for what runs outside the test's control.

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <utility>

// The longest a test waits for what does not run on the test's own clock:
// the desktop showing or activating a window, Qt's threads reading the
// sounds, a real timer's first tick. Each wait ends as soon as what it waits
// for has happened, so this costs nothing on a good day; it is long so that
// a slow machine, a sanitizer build or a busy CI runner still gets there,
// and only a real hang takes this long.
inline constexpr int kPatienceMs = 60'000;

// Text written in UTF-8 here, as the game stores it (Shift-JIS).
QByteArray sj(const char *utf8);
// Makes bytes the whole content of a file; fails the test when it cannot.
void putFile(const QString &path, const QByteArray &bytes);
// The whole content of a file; empty when it cannot be read.
QByteArray fileBytes(const QString &path);
// Every entry of dir, hidden ones included (leftover temporary files show),
// by name.
QStringList entriesOf(const QString &dir);
// The header line of rank k, "[k位]" in Shift-JIS with CR LF.
QByteArray rankHeader(int rank);
// A ranking file: one "[k位]" section with name and score per entry, from
// rank 1 on, CR LF line ends.
QByteArray rankingBytes(const QList<std::pair<QByteArray, QByteArray>> &entries);
// Carries out the deletions that closed windows asked for.
void flushDeletes();

// A real key press, delivered to window as the desktop delivers it.
void pressKey(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Key presses on window, one for each letter of keys: R L U D for the
// arrows, x for Return, e for Enter on the keypad, % for a key that is no
// arrow.
void pressKeys(QWidget *window, const char *keys);

// Empty when `actual` shows the same picture as `expected`: the same size,
// and every channel of every pixel (in straight ARGB) within `steps` of the
// expected one; pixels clear in both count as alike whatever colour they
// carry. Otherwise says what differs, for the failure message.
//
// One step is what Qt's conversions between straight and premultiplied
// colours leave: they use whatever instructions the processor offers, and
// those round differently from one processor to the next (a picture loaded
// into a QPixmap and read back can come out one step off in a few pixels).
// A wrong picture differs by far more.
QString pictureMismatch(const QImage &actual, const QImage &expected, int steps = 1);

// Fails the test unless the two pictures match as pictureMismatch() says,
// within one step.
#define COMPARE_PICTURES(actual, expected)                                  \
    do {                                                                   \
        const QString mismatch_ = pictureMismatch((actual), (expected));    \
        QVERIFY2(mismatch_.isEmpty(), qPrintable(mismatch_));              \
    } while (false)

// Where a widget as drawn shows its text: the smallest rectangle holding
// every pixel that differs from `background` by more than a quarter of the
// way to full contrast in some channel (anti-aliased edges count only where
// they are dark enough). Empty when nothing is drawn on the background.
QRect inkRect(QWidget *widget, const QColor &background);

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
