#include "ui/vb_controls.h"

#include <QFontDatabase>
#include <QHash>
#include <QPainter>
#include <QPalette>
#include <QStyle>

namespace {
// The classic desktop theme's system colours, by index.
constexpr QRgb kSystemColours[] = {
    qRgb(212, 208, 200), // 0 scroll bar
    qRgb(58, 110, 165),  // 1 desktop
    qRgb(10, 36, 106),   // 2 active caption
    qRgb(128, 128, 128), // 3 inactive caption
    qRgb(212, 208, 200), // 4 menu
    qRgb(255, 255, 255), // 5 window
    qRgb(0, 0, 0),       // 6 window frame
    qRgb(0, 0, 0),       // 7 menu text
    qRgb(0, 0, 0),       // 8 window text
    qRgb(255, 255, 255), // 9 caption text
    qRgb(212, 208, 200), // 10 active border
    qRgb(212, 208, 200), // 11 inactive border
    qRgb(128, 128, 128), // 12 application workspace
    qRgb(10, 36, 106),   // 13 highlight
    qRgb(255, 255, 255), // 14 highlight text
    qRgb(212, 208, 200), // 15 button face
    qRgb(128, 128, 128), // 16 button shadow
    qRgb(128, 128, 128), // 17 grey text
    qRgb(0, 0, 0),       // 18 button text
    qRgb(212, 208, 200), // 19 inactive caption text
    qRgb(255, 255, 255), // 20 button highlight
    qRgb(64, 64, 64),    // 21 3D dark shadow
    qRgb(212, 208, 200), // 22 3D light
    qRgb(0, 0, 0),       // 23 tooltip text
    qRgb(255, 255, 225), // 24 tooltip background
    qRgb(181, 181, 181), // 25
    qRgb(0, 0, 128),     // 26 hot light
    qRgb(166, 202, 240), // 27 gradient active caption
    qRgb(192, 192, 192), // 28 gradient inactive caption
    qRgb(49, 106, 197),  // 29 menu highlight
    qRgb(236, 233, 216), // 30 menu bar
};
} // namespace

QColor colorFromRef(qint32 ref)
{
    const quint32 v = quint32(ref);
    if (v & 0x80000000u) {
        const quint32 index = v & 0xFFFFu;
        if (index < std::size(kSystemColours))
            return QColor(kSystemColours[index]);
        return QColor(Qt::black);
    }
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

qint32 refFromColor(const QColor &c)
{
    return rgbRef(c.red(), c.green(), c.blue());
}

QFont gameFont(const QString &face, double points, bool bold)
{
    static const QHash<QString, QStringList> standIns = {
        {QStringLiteral("Times New Roman"), {QStringLiteral("Liberation Serif"), QStringLiteral("serif")}},
        {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("sans-serif")}},
        {QStringLiteral("ＭＳ Ｐゴシック"),
         {QStringLiteral("MS PGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")}},
        {QStringLiteral("ＭＳ ゴシック"),
         {QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans Mono CJK JP"),
          QStringLiteral("Noto Sans CJK JP"), QStringLiteral("monospace")}},
    };
    // Which of the face and its stand-ins is installed is looked up once
    // per face, in the list of installed families: a font naming only faces
    // that exist is found at once, where every missing face in the list
    // costs a font-matching pass for each size and weight the table uses.
    static QHash<QString, QStringList> resolved;
    auto it = resolved.find(face);
    if (it == resolved.end()) {
        static const QStringList installed = QFontDatabase::families();
        QStringList candidates{face};
        candidates += standIns.value(face);
        QStringList families;
        for (const QString &family : std::as_const(candidates)) {
            if (installed.contains(family, Qt::CaseInsensitive)) {
                families.append(family);
                break;
            }
        }
        if (families.isEmpty())
            families = candidates; // nothing installed: leave it to font matching
        // Japanese text always finds a Japanese face.
        families += QStringLiteral("Noto Sans CJK JP");
        it = resolved.insert(face, families);
    }
    QFont f;
    f.setFamilies(*it);
    f.setPointSizeF(points);
    f.setWeight(bold ? QFont::Bold : QFont::Normal);
    return f;
}

VbLabel::VbLabel(const QString &name, const QRect &geometry, const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setObjectName(name);
    setGeometry(geometry);
    applyColours();
}

void VbLabel::setBackColor(qint32 ref)
{
    m_back = ref;
    applyColours();
}

void VbLabel::setForeColor(qint32 ref)
{
    m_fore = ref;
    applyColours();
}

void VbLabel::setSingleBorder(bool on)
{
    // Qt's own plain frame takes the text colour; this one is drawn here.
    m_border = on;
    setContentsMargins(on ? QMargins(1, 1, 1, 1) : QMargins());
    update();
}

void VbLabel::setCaptionOffset(int dy)
{
    m_captionOffset = dy;
    update();
}

void VbLabel::paintEvent(QPaintEvent *event)
{
    if (m_captionOffset == 0) {
        QLabel::paintEvent(event);
    } else {
        QPainter p(this);
        style()->drawItemText(&p, contentsRect().translated(0, m_captionOffset),
                              int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(), isEnabled(),
                              text(), foregroundRole());
    }
    if (m_border) {
        QPainter p(this);
        p.setPen(QPen(colorFromRef(systemColourRef(SysWindowFrame)), 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

const QString VbLabel::EmptyValueName = QStringLiteral("空欄");

void VbLabel::setValueRole(const QString &role)
{
    m_value = true;
    setAccessibleDescription(role);
    const QString name = text().isEmpty() ? EmptyValueName : QString();
    if (accessibleName() != name)
        setAccessibleName(name);
}

void VbLabel::setText(const QString &text)
{
    if (!m_value) {
        QLabel::setText(text);
        return;
    }
    // A label without a name of its own is heard by its caption, and Qt
    // announces every caption change; an empty caption is heard as
    // "空欄". The name is switched only once it is right for the new
    // caption, so that no announcement carries a stale one (and setting a
    // name announces it even when it stays the same).
    if (text.isEmpty()) {
        if (accessibleName() != EmptyValueName)
            setAccessibleName(EmptyValueName);
        QLabel::setText(text);
    } else {
        QLabel::setText(text);
        if (!accessibleName().isEmpty())
            setAccessibleName(QString());
    }
}

void VbLabel::applyColours()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colorFromRef(m_back));
    pal.setColor(QPalette::WindowText, colorFromRef(m_fore));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, colorFromRef(m_fore));
    setPalette(pal);
    setAutoFillBackground(true);
}

VbButton::VbButton(const QString &name, const QRect &geometry, const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setObjectName(name);
    setGeometry(geometry);
    setBackColor(m_back);
}

void VbButton::setBackColor(qint32 ref)
{
    m_back = ref;
    applyLook();
}

void VbButton::setStandardLook()
{
    m_standard = true;
    applyLook();
}

void VbButton::applyLook()
{
    if (m_standard) {
        setStyleSheet(QString());
        return;
    }
    const QColor c = colorFromRef(m_back);
    const QColor text = c.lightness() < 96 ? QColor(Qt::white) : QColor(Qt::black);
    setStyleSheet(QStringLiteral(
        "QPushButton { background-color: %1; color: %2; border: 1px solid #404040;"
        " border-radius: 0px; padding: 0px; }"
        "QPushButton:pressed { border: 2px inset #404040; }"
        "QPushButton:focus { border: 2px solid #000000; }"
        "QPushButton:disabled { color: %3; }")
        .arg(c.name(), text.name(), c.lightness() < 96 ? QStringLiteral("#808080") : QStringLiteral("#7f7f7f")));
}

VbTimer::VbTimer(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &VbTimer::tick);
}

void VbTimer::setEnabled(bool on)
{
    const bool restart = on && !m_enabled;
    m_enabled = on;
    if (restart)
        m_timer.stop();
    update();
}

void VbTimer::setInterval(int ms)
{
    m_interval = ms;
    m_timer.stop();
    update();
}

void VbTimer::update()
{
    if (m_enabled && m_interval > 0) {
        if (!m_timer.isActive()) {
            m_timer.setInterval(m_interval);
            m_timer.start();
        }
    } else {
        m_timer.stop();
    }
}
