#include "windows/score_window.h"

#include "desktop/game_name.h"
#include "desktop/platform.h"
#include "ranking/inigw.h"
#include "ranking/ranking_file.h"
#include "ui/announcer.h"
#include "ui/pictures.h"
#include "ui/vb_controls.h"
#include "ui/window_helpers.h"

#include <QCloseEvent>
#include <QPainter>

namespace {

const QString kCaption = QStringLiteral("               ") + GameName + QStringLiteral("  ランキング");

// A stored name or score as shown: the text as stored, less the control
// characters a damaged or hand-edited file can hold (they would show as
// boxes or move the text about).
QString shownAsStored(QString text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text;
}

QStringList captions(const std::array<VbLabel *, RankCount> &labels)
{
    QStringList out;
    for (const VbLabel *l : labels)
        out << l->text();
    return out;
}

} // namespace

Score::Score(QWidget *table)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_table(table)
{
    setObjectName(QStringLiteral("Score"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kCaption);
    setWindowIcon(programIcon());
    setFixedSize(px(4755), px(6300));
    setFormBackColor(this, systemColourRef(SysButtonFace));

    const QFont heading = gameFont(QStringLiteral("Times New Roman"), 18, true);
    const QFont row = gameFont(QStringLiteral("Times New Roman"), 20.25, true);
    const qint32 nameBack = rgbRef(255, 255, 192);
    const qint32 scoreBack = rgbRef(192, 255, 192);

    Label1[0] = new VbLabel(QStringLiteral("Label1_0"), twipsRect(600, 480, 975, 495), QStringLiteral("Name"), this);
    Label1[1] = new VbLabel(QStringLiteral("Label1_1"), twipsRect(2520, 480, 1095, 495), QStringLiteral("Score"), this);
    Label1[0]->setBackColor(nameBack);
    Label1[1]->setBackColor(scoreBack);
    // Captions sit at the top of their labels, centred across them (the
    // scores left-aligned).
    for (VbLabel *l : Label1) {
        l->setFont(heading);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    for (int i = 0; i < RankCount; ++i) {
        const int top = 1320 + 840 * i;
        Label2[i] = new VbLabel(QStringLiteral("Label2_%1").arg(i), twipsRect(600, top, 1095, 495),
                                QStringLiteral("---"), this);
        Label2[i]->setFont(row);
        Label2[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        Label2[i]->setTextFormat(Qt::PlainText); // a stored "<b>" is shown, not obeyed
        Label2[i]->setBackColor(nameBack);
        Label2[i]->setValueRole(QStringLiteral("%1位の名前").arg(i + 1));
    }

    Command1 = new VbButton(QStringLiteral("Command1"), twipsRect(1200, 5640, 2055, 495), QStringLiteral("Back"), this);
    Command1->setFont(gameFont(QStringLiteral("ＭＳ Ｐゴシック"), 9.75, false));
    Command1->setStandardLook();
    // Return and Enter press it while it has the focus.
    Command1->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &Score::Command1_Click);

    for (int i = 0; i < RankCount; ++i) {
        const int top = 1320 + 840 * i;
        Label3[i] = new VbLabel(QStringLiteral("Label3_%1").arg(i), twipsRect(2520, top, 1575, 495),
                                QStringLiteral("1000"), this);
        Label3[i]->setFont(row);
        Label3[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label3[i]->setTextFormat(Qt::PlainText);
        Label3[i]->setBackColor(scoreBack);
        Label3[i]->setValueRole(QStringLiteral("%1位のスコア").arg(i + 1));
    }

    // Tab order by tab index: Label1(0..1), Label2(0..4), Command1, Label3(0..4).
    QList<QWidget *> order{Label1[0], Label1[1]};
    for (VbLabel *l : Label2)
        order << l;
    order << Command1;
    for (VbLabel *l : Label3)
        order << l;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    centreOnScreen(this, table);
    m_announcer = new Announcer(this);
    Form_Load();
}

Score *Score::open(QWidget *table)
{
    auto *window = new Score(table);
    showBlockingOver(window, table);
    window->activateWindow();
    window->m_announcer->scoreRows(captions(window->Label2), captions(window->Label3));
    return window;
}

QRect Score::shape1Rect()
{
    return twipsRect(480, 1080, 3735, 4335);
}

void Score::Form_Load()
{
    // The file is read once, as it is at this opening; all five scores are
    // shown first, then all five names.
    const IniSnapshot ranking(rankingFile());
    for (int i = 0; i < RankCount; ++i)
        Label3[i]->setText(shownAsStored(ranking.value(rankSectionName(i + 1), RankScoreKey)));
    for (int i = 0; i < RankCount; ++i)
        Label2[i]->setText(shownAsStored(ranking.value(rankSectionName(i + 1), RankNameKey)));
}

void Score::Command1_Click()
{
    close();
}

void Score::Form_Unload()
{
    if (m_table)
        m_table->setEnabled(true);
}

void Score::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QRect r = shape1Rect();
    p.fillRect(r, colorFromRef(rgbRef(128, 128, 255)));
    p.setPen(QPen(colorFromRef(rgbRef(192, 255, 255)), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void Score::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}
