#include "windows/version_window.h"

#include "desktop/game_name.h"
#include "desktop/platform.h"
#include "ui/artwork.h"
#include "ui/pictures.h"
#include "ui/vb_controls.h"
#include "ui/window_helpers.h"

#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QUrl>

namespace {

QPointer<version> s_window;

// The hand shown over the address line, its hotspot on the finger tip.
QCursor handCursor()
{
    const QPixmap hand(QStringLiteral(":/icons/hand_%1.png").arg(HandCursorSizes.front()));
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    return QCursor(hand, HandCursorHotspotX * hand.width() / HandCursorGrid,
                   HandCursorHotspotY * hand.height() / HandCursorGrid);
}

} // namespace

version::version(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("version"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(GameName);
    setFixedSize(px(4680), px(2205));
    setFormBackColor(this, systemColourRef(SysButtonFace));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(240, 600, 480, 480));
    Image1->setPixmap(programIcon().pixmap(Image1->size(), devicePixelRatioF()));
    Image1->setAccessibleName(GameName + QStringLiteral(" のアイコン"));

    Label1 = new VbLabel(QStringLiteral("Label1"), twipsRect(840, 480, 3615, 375),
                         GameName + QStringLiteral(" ver ") + QStringLiteral(TIVORAN_VERSION), this);
    Label1->setFont(gameFont(QStringLiteral("ＭＳ Ｐゴシック"), 11.25, true));

    Label2 = new VbLabel(QStringLiteral("Label2"), twipsRect(840, 960, 3375, 255), QStringLiteral("Quillex"), this);
    Label2->setFont(gameFont(QStringLiteral("Times New Roman"), 12, true));

    Label3 = new VbLabel(QStringLiteral("Label3"), twipsRect(960, 1320, 3135, 255),
                         QString::fromLatin1(HomePageAddress), this);
    Label3->setFont(gameFont(QStringLiteral("ＭＳ Ｐゴシック"), 9.75, true));
    Label3->setForeColor(rgbRef(0, 0, 255));
    Label3->setCursor(handCursor());
    // Plain text: the address is opened by the click handler, not by Qt.
    Label3->setTextFormat(Qt::PlainText);
    Label3->setTextInteractionFlags(Qt::NoTextInteraction);
    Label3->installEventFilter(this);

    for (VbLabel *l : {Label1, Label2, Label3})
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Command1 = new VbButton(QStringLiteral("Command1"), twipsRect(1800, 1680, 1215, 375), QStringLiteral("Back"), this);
    Command1->setStandardLook();
    // Return and Enter press it while it has the focus.
    Command1->setAutoDefault(true);
    connect(Command1, &QPushButton::clicked, this, &version::Command1_Click);

    setTabOrder(Label1, Label2);
    setTabOrder(Label2, Label3);
    setTabOrder(Label3, Command1);

    centreOnScreen(this);
}

version::~version()
{
    if (s_window == this)
        s_window = nullptr;
}

void version::open(const QWidget *table)
{
    if (!s_window) {
        s_window = new version;
        centreOnScreen(s_window, table);
    } else
        s_window->raise();
    s_window->show();
    s_window->activateWindow();
}

version *version::instance()
{
    return s_window.data();
}

void version::Label3_Click()
{
    // A browser that does not open is no concern of the game.
    platform().openUrl(QUrl(QString::fromLatin1(HomePageAddress)));
}

void version::Command1_Click()
{
    close();
}

bool version::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label3) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_label3Pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const bool click = m_label3Pressed && mouse->button() == Qt::LeftButton
                               && Label3->rect().contains(mouse->position().toPoint());
            m_label3Pressed = false;
            if (click)
                Label3_Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}
