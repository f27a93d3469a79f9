#include "ui/announcer.h"

#include "desktop/platform.h"
#include "reels/reel_speech.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include <utility>

namespace {

// The object a notification appears on: one pixel, drawing nothing, taking
// neither the mouse nor the keyboard.
class Notice final : public QWidget {
public:
    explicit Notice(QWidget *window)
        : QWidget(window)
    {
        setObjectName(QStringLiteral("announcement"));
        setGeometry(0, 0, 1, 1);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        // Hidden by hand, so that showing its window leaves it hidden.
        hide();
    }
};

QAccessibleInterface *noticeInterface(const QString &, QObject *object)
{
    if (auto *notice = dynamic_cast<Notice *>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

// A name entry cell as a player hears it.
QString spokenCell(const QString &caption)
{
    if (caption == QLatin1String("."))
        return QStringLiteral("ピリオド");
    if (caption == QLatin1String("-"))
        return QStringLiteral("ハイフン");
    if (caption == QStringLiteral("戻"))
        return QStringLiteral("戻、1文字戻す");
    if (caption == QStringLiteral("終"))
        return QStringLiteral("終、名前を決定");
    return caption;
}

const QString Blank = QStringLiteral("空欄");

} // namespace

Announcer::Announcer(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void Announcer::bet(int lines, int coinsLeft)
{
    say(QStringLiteral("%1ライン ベット、残り%2枚").arg(lines).arg(coinsLeft));
}

void Announcer::reelStopped(int reel, const std::array<QString, 3> &symbols)
{
    say(QStringList{reels::reelName(reel), symbols[0], symbols[1], symbols[2]}.join(QLatin1Char(' ')));
}

void Announcer::roundEnd(const QList<LineWin> &wins, int total)
{
    QStringList paid;
    for (const LineWin &win : wins)
        paid << QStringLiteral("%1 %2 そろい %3枚").arg(reels::lineName(win.line), win.symbol).arg(win.pay);
    const QString sum = QStringLiteral("合計 %1枚").arg(total);
    say(paid.isEmpty() ? sum : paid.join(QStringLiteral("、")) + QStringLiteral("。") + sum);
}

void Announcer::rankingStart(int coins, int seconds)
{
    say(QStringLiteral("ランキングモード、%1枚、%2秒").arg(coins).arg(seconds));
}

void Announcer::countdown(int secondsLeft)
{
    if (secondsLeft >= 1 && secondsLeft <= 5)
        say(QString::number(secondsLeft));
    else if (secondsLeft >= 10 && secondsLeft <= 50 && secondsLeft % 10 == 0)
        say(QStringLiteral("残り%1秒").arg(secondsLeft));
}

void Announcer::rankingResult(int score, int rank)
{
    if (rank < 0) {
        say(QStringLiteral("終了。スコア %1枚").arg(score));
        return;
    }
    const QString place = rank > 0 ? QStringLiteral("ランキング%1位").arg(rank) : QStringLiteral("ランキング外");
    say(QStringLiteral("終了。スコア %1枚、%2").arg(score).arg(place));
}

void Announcer::cursor(const QString &caption)
{
    say(spokenCell(caption));
}

void Announcer::nameSoFar(const QString &name)
{
    say(QStringLiteral("名前 %1").arg(name.isEmpty() ? QStringLiteral("なし") : name));
}

void Announcer::scoreRows(const QStringList &names, const QStringList &scores)
{
    QStringList rows;
    for (qsizetype i = 0; i < names.size() && i < scores.size(); ++i) {
        QStringList row{QStringLiteral("%1位").arg(i + 1)};
        if (names[i].isEmpty() && scores[i].isEmpty())
            row << Blank;
        else
            row << (names[i].isEmpty() ? Blank : names[i]) << (scores[i].isEmpty() ? Blank : scores[i]);
        rows << row.join(QLatin1Char(' '));
    }
    sayOnceActive(rows.join(QStringLiteral("、")));
}

void Announcer::sayOnceActive(const QString &text)
{
    if (text.isEmpty() || !QAccessible::isActive())
        return;
    m_waiting = text;
    QWidget *window = m_window->window();
    if (platform().activeOnDesktop(window))
        QMetaObject::invokeMethod(this, &Announcer::sayWaiting, Qt::QueuedConnection);
    else
        window->installEventFilter(this);
}

bool Announcer::eventFilter(QObject *watched, QEvent *event)
{
    // Qt may take the window for active before the window manager has made
    // it so, and a screen reader follows the manager: until then the
    // desktop can still move the keyboard elsewhere, and a screen reader
    // drops a text told meanwhile. Whichever of the two comes last lets the
    // text go.
    if ((event->type() == QEvent::WindowActivate || event->type() == desktopActivatedEvent())
        && platform().activeOnDesktop(m_window->window())) {
        watched->removeEventFilter(this);
        // The focus is given once every control has heard of the
        // activation; the text follows it.
        QMetaObject::invokeMethod(this, &Announcer::sayWaiting, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void Announcer::sayWaiting()
{
    say(std::exchange(m_waiting, QString()));
}

void Announcer::say(const QString &text)
{
    if (text.isEmpty() || !QAccessible::isActive())
        return;
    QWidget *&notice = m_notices[m_next];
    m_next = (m_next + 1) % int(m_notices.size());
    if (!notice) {
        static const bool factoryInstalled = [] {
            QAccessible::installFactory(noticeInterface);
            return true;
        }();
        Q_UNUSED(factoryInstalled);
        notice = new Notice(m_window);
    }
    // Hidden again, renamed and shown: the screen reader sees a new
    // notification appear, and reads its text as it appears.
    notice->hide();
    notice->setAccessibleName(text);
    notice->show();
}
