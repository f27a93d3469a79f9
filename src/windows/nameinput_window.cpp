#include "windows/nameinput_window.h"

#include "desktop/platform.h"
#include "ranking/name_entry_rules.h"
#include "ui/announcer.h"
#include "ui/vb_controls.h"
#include "ui/window_helpers.h"
#include "windows/score_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

using namespace NameEntry;

namespace {

// What a grid cell is for, as a screen reader says it after the cell's
// caption; empty for a character.
QString cellRole(int cell)
{
    if (cell == BackCell)
        return QStringLiteral("1文字戻す");
    if (cell == EndCell)
        return QStringLiteral("名前を決定");
    return QString();
}

// A caption at the top of its cell that would run past the cell's bottom (a
// Japanese face with a taller line than the one the layout was made for) is
// raised just enough to show whole, a pixel clear of the edge.
void keepCaptionWhole(VbLabel *cell)
{
    const QFontMetrics metrics(cell->font());
    const QRect ink = metrics.tightBoundingRect(cell->text());
    const int overflow = metrics.ascent() + ink.bottom() - (cell->height() - 2);
    const int headroom = metrics.ascent() + ink.top() - 1;
    const int raise = std::min(overflow, headroom);
    if (raise > 0)
        cell->setCaptionOffset(-raise);
}

} // namespace

nameinput::nameinput(QWidget *table, const QString &rankSection, bool firstOpen, const RankEntry &made)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_table(table)
    , m_rankSection(rankSection)
    , m_made(made)
    , m_firstOpen(firstOpen)
{
    setObjectName(QStringLiteral("nameinput"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Form1"));
    // The window has no icon of its own; an empty picture keeps the
    // application's icon off its title bar.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));
    setFixedSize(px(11250), px(5460));
    setFormBackColor(this, rgbRef(192, 192, 255));
    // The window, never one of its controls, holds the keyboard focus.
    setFocusPolicy(Qt::StrongFocus);

    const QFont cellFont = gameFont(QStringLiteral("Times New Roman"), 20.25, true);
    for (int i = 0; i < GridCells; ++i) {
        const int left = 240 + 840 * (i % Columns);
        const int top = 2880 + 840 * (i / Columns);
        auto *cell = new VbLabel(QStringLiteral("Label1_%1").arg(i), twipsRect(left, top, 615, 615), gridCaption(i), this);
        cell->setFont(cellFont);
        Label1[i] = cell;
    }
    Label1[BackCell]->setFont(gameFont(QStringLiteral("ＭＳ ゴシック"), 26.25, true));
    Label1[EndCell]->setFont(gameFont(QStringLiteral("ＭＳ ゴシック"), 27.75, true));
    for (int s = 0; s < SlotCount; ++s) {
        auto *slot = new VbLabel(QStringLiteral("Label1_%1").arg(FirstSlot + s),
                                 twipsRect(4560 + 840 * s, 480, 615, 615), QString(), this);
        slot->setFont(cellFont);
        slot->setValueRole(QStringLiteral("名前の%1文字目").arg(s + 1));
        Label1[FirstSlot + s] = slot;
    }
    // Captions sit at the top of their cells, centred across them.
    for (VbLabel *l : Label1) {
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setBackColor(NormalColour);
        l->setFocusPolicy(Qt::NoFocus);
    }
    Label1[FirstSlot]->setBackColor(CurrentSlotColour);
    keepCaptionWhole(Label1[BackCell]);
    keepCaptionWhole(Label1[EndCell]);

    Label2 = new VbLabel(QStringLiteral("Label2"), twipsRect(3360, 1800, 4455, 495),
                         QStringLiteral(" Input for your name..."), this);
    Label2->setFont(gameFont(QStringLiteral("Times New Roman"), 12, true));
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3 = new VbLabel(QStringLiteral("Label3"), twipsRect(8640, 1200, 1935, 255),
                         QStringLiteral("カーソルキーで移動"), this);
    Label4 = new VbLabel(QStringLiteral("Label4"), twipsRect(8640, 1680, 1935, 255),
                         QStringLiteral("リターンキーで決定"), this);
    for (VbLabel *l : {Label3, Label4})
        l->setFont(gameFont(QStringLiteral("ＭＳ Ｐゴシック"), 9, false));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (VbLabel *l : {Label2, Label3, Label4}) {
        l->setBackColor(rgbRef(192, 192, 255));
        l->setFocusPolicy(Qt::NoFocus);
    }

    Timer1 = new VbTimer(QStringLiteral("Timer1"), this);
    Timer2 = new VbTimer(QStringLiteral("Timer2"), this);
    Timer3 = new VbTimer(QStringLiteral("Timer3"), this);
    for (VbTimer *t : {Timer1, Timer2, Timer3}) {
        t->setInterval(0);
        t->setEnabled(true);
    }
    connect(Timer1, &VbTimer::tick, this, &nameinput::Timer1_Timer);
    connect(Timer2, &VbTimer::tick, this, &nameinput::Timer2_Timer);
    connect(Timer3, &VbTimer::tick, this, &nameinput::Timer3_Timer);

    m_lineVisible = {true, false, false};
    m_announcer = new Announcer(this);

    // Keys reach the entry whatever has the focus, before the control does.
    qApp->installEventFilter(this);

    centreOnScreen(this, table);
    Form_Load();
}

nameinput::~nameinput()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

nameinput *nameinput::open(QWidget *table, const QString &rankSection, bool firstOpen, const RankEntry &made)
{
    auto *window = new nameinput(table, rankSection, firstOpen, made);
    showBlockingOver(window, table);
    window->activateWindow();
    window->setFocus(Qt::ActiveWindowFocusReason);
    return window;
}

QLineF nameinput::lineGeometry(int index)
{
    const int x1 = 4560 + 840 * index;
    return QLineF(twipsPoint(x1, 1320), twipsPoint(x1 + 600, 1320));
}

void nameinput::setLineVisible(int index, bool visible)
{
    if (m_lineVisible.at(index) == visible)
        return;
    m_lineVisible[index] = visible;
    update();
}

void nameinput::Form_Load()
{
    for (int s = 0; s < SlotCount; ++s) {
        Label1[FirstSlot + s]->setText(QString());
        Label1[FirstSlot + s]->setBackColor(s == 0 ? CurrentSlotColour : NormalColour);
    }
    for (int i = 0; i < GridCells; ++i)
        Label1[i]->setBackColor(NormalColour);
    Slot1Done = false;
    Slot2Done = false;
    Slot3Done = false;
    Timer1->setInterval(BlinkInterval);
    Timer2->setInterval(0);
    Timer3->setInterval(0);
    setLineVisible(0, true);
    setLineVisible(1, false);
    setLineVisible(2, false);

    if (m_firstOpen)
        Label1[0]->setBackColor(CursorColour);
    tellCursor();
}

int nameinput::cursorCell() const
{
    for (int i = 0; i < GridCells; ++i)
        if (Label1[i]->backColor() == CursorColour)
            return i;
    return -1;
}

int nameinput::currentSlot() const
{
    for (int s = 0; s < SlotCount; ++s)
        if (Label1[FirstSlot + s]->backColor() == CurrentSlotColour)
            return s;
    return -1;
}

void nameinput::Form_KeyDown(int keyCode)
{
    switch (keyCode) {
    case VkLeft:
    case VkUp:
    case VkRight:
    case VkDown: {
        const int from = cursorCell();
        const int to = from < 0 ? from : moveCursor(from, keyCode);
        if (to != from) {
            Label1[to]->setBackColor(CursorColour);
            Label1[from]->setBackColor(NormalColour);
        }
        break;
    }
    case VkReturn:
        pressReturn();
        if (!m_stored)
            m_announcer->nameSoFar(typedName());
        break;
    default:
        return;
    }
    if (!m_stored)
        tellCursor();
}

void nameinput::pressReturn()
{
    const int cursor = cursorCell();
    if (cursor == EndCell) {
        storeName();
        close();
        return;
    }
    if (cursor < 0) {
        Label1[0]->setBackColor(CursorColour);
        return;
    }

    // "戻" with nothing typed yet, or a character with all three slots
    // filled, matches no rule: the Return does nothing, so there is never a
    // second cursor.
    const std::optional<ReturnRule> rule = returnRule(cursor == BackCell, currentSlot());
    if (!rule)
        return;
    if (rule->onBack)
        Label1[FirstSlot + rule->next]->setText(QString());
    else
        Label1[FirstSlot + rule->current]->setText(Label1[cursor]->text());
    if (rule->next >= 0)
        Label1[FirstSlot + rule->next]->setBackColor(CurrentSlotColour);
    if (rule->current >= 0) {
        Label1[FirstSlot + rule->current]->setBackColor(NormalColour);
        setSlotDone(rule->current, true);
    }
    if (rule->next >= 0) {
        setSlotDone(rule->next, false);
        blinkTimer(rule->next)->setInterval(BlinkInterval);
    } else {
        Label1[cursor]->setBackColor(NormalColour);
        Label1[EndCell]->setBackColor(CursorColour);
    }
}

void nameinput::setSlotDone(int slot, bool done)
{
    (slot == 0 ? Slot1Done : slot == 1 ? Slot2Done : Slot3Done) = done;
}

VbTimer *nameinput::blinkTimer(int slot) const
{
    return slot == 0 ? Timer1 : slot == 1 ? Timer2 : Timer3;
}

void nameinput::tellCursor()
{
    QList<int> cursors;
    QStringList captions;
    for (int i = 0; i < GridCells; ++i) {
        if (Label1[i]->backColor() == CursorColour) {
            cursors << i;
            captions << Label1[i]->text();
        }
    }
    if (cursors == m_toldCursors)
        return;
    int focus = cursors.isEmpty() ? -1 : cursors.first();
    for (int i : cursors) {
        if (!m_toldCursors.contains(i)) {
            focus = i; // the cell just painted
            break;
        }
    }
    for (int i = 0; i < GridCells; ++i) {
        const QString role = cellRole(i);
        const QString mark = cursors.contains(i) ? QStringLiteral("選択中") : QString();
        const QString description = role.isEmpty() || mark.isEmpty() ? role + mark : role + QStringLiteral("、") + mark;
        if (Label1[i]->accessibleDescription() != description)
            Label1[i]->setAccessibleDescription(description);
    }
    setAccessibleDescription(QStringLiteral("選択中: %1")
                                 .arg(captions.isEmpty() ? QStringLiteral("なし") : captions.join(QStringLiteral("、"))));
    m_toldCursors = cursors;
    // The window keeps the keyboard focus; the cursor cell is what a screen
    // reader should follow, so it is reported as focused once shown.
    if (focus >= 0 && isVisible()) {
        QAccessibleEvent event(Label1[focus], QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
        m_announcer->cursor(Label1[focus]->text());
    }
}

QString nameinput::typedName() const
{
    return Label1[FirstSlot]->text() + Label1[FirstSlot + 1]->text() + Label1[FirstSlot + 2]->text();
}

void nameinput::storeName()
{
    if (m_stored)
        return;
    m_stored = true;
    const QString name = typedName();
    Timer1->setInterval(0);
    Timer2->setInterval(0);
    Timer3->setInterval(0);
    // The score window follows once the name is in: it shows the ranking
    // with it. A name that could not be stored is told over it, with this
    // window already gone from the screen. The wait, should another copy of
    // the game be changing the ranking, belongs to the table: this window
    // closes meanwhile.
    hide();
    QPointer<QWidget> table = m_table;
    QObject *owner = m_table ? static_cast<QObject *>(m_table) : QCoreApplication::instance();
    writeRankNameWhenFree(rankingFile(), m_made, m_rankSection, name, owner, [table](NameOutcome outcome) {
        Score *score = Score::open(table);
        const QString told = nameOutcomeText(outcome);
        if (!told.isEmpty())
            platform().messageBox(score, told, QStringLiteral("Tivoran"));
    });
}

void nameinput::blink(int index, bool slotDone, VbTimer *timer)
{
    setLineVisible(index, !lineVisible(index));
    if (slotDone) {
        setLineVisible(index, false);
        timer->setInterval(0);
    }
}

void nameinput::Timer1_Timer()
{
    blink(0, Slot1Done, Timer1);
}

void nameinput::Timer2_Timer()
{
    blink(1, Slot2Done, Timer2);
}

void nameinput::Timer3_Timer()
{
    blink(2, Slot3Done, Timer3);
}

bool nameinput::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && !m_stored) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() == this) {
            const int keyCode = virtualKeyFromQt(static_cast<QKeyEvent *>(event)->key());
            Form_KeyDown(keyCode);
            // The entry's own keys go no further; others reach the focused
            // control as usual.
            return keyCode == VkReturn || (keyCode >= VkLeft && keyCode <= VkDown);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void nameinput::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(colorFromRef(rgbRef(0, 0, 255)), 5);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    for (int i = 0; i < SlotCount; ++i)
        if (m_lineVisible[i])
            p.drawLine(lineGeometry(i));
}

void nameinput::closeEvent(QCloseEvent *event)
{
    // Closed through the window frame instead of "終": store the name typed
    // so far and open the score window, which gives the game table back.
    storeName();
    event->accept();
}
