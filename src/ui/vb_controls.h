#pragma once
// Small building blocks shared by the game's windows: positions in twips,
// colour references (including the desktop's system colours), fonts with
// sensible stand-ins, and labels, buttons and timers that keep their state
// the way the game reads it back.

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QRect>
#include <QTimer>

#include "settings/colour_ref.h"

// 15 twips are one logical pixel.
constexpr int twipsPerPixel = 15;
constexpr int px(int twips) { return twips / twipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}
inline QPointF twipsPoint(int x, int y)
{
    return QPointF(double(x) / twipsPerPixel, double(y) / twipsPerPixel);
}

// Colour references (settings/colour_ref.h) as Qt colours and back.
QColor colorFromRef(qint32 ref);
qint32 refFromColor(const QColor &c);

// A font by face and size in points; faces missing on this desktop fall back
// to metric-compatible or Japanese stand-ins.
QFont gameFont(const QString &face, double points, bool bold);

// A label with a background and text colour held as colour references.
class VbLabel : public QLabel {
    Q_OBJECT
public:
    VbLabel(const QString &name, const QRect &geometry, const QString &caption, QWidget *parent);

    qint32 backColor() const { return m_back; }
    void setBackColor(qint32 ref);
    qint32 foreColor() const { return m_fore; }
    void setForeColor(qint32 ref);
    // A single border line in the desktop's window-frame colour round the
    // label, whatever colour its text has.
    void setSingleBorder(bool on);
    // Moves the caption down (up, for a negative dy) from where its
    // alignment puts it, in pixels; the background stays where it is.
    void setCaptionOffset(int dy);

    // A label that shows a value (a coin count, a score, a typed letter):
    // screen readers hear the caption itself as the label's name and `role`
    // as its description; while the caption is empty they hear
    // EmptyValueName. Every caption change is announced.
    void setValueRole(const QString &role);
    static const QString EmptyValueName;
    // Sets the caption; hides QLabel::setText so that a value label keeps
    // its spoken name in step with what it shows.
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void applyColours();
    bool m_value = false;
    qint32 m_back = systemColourRef(SysButtonFace);
    qint32 m_fore = systemColourRef(SysWindowText);
    bool m_border = false;
    int m_captionOffset = 0;
};

// A push button filled with its own background colour (the graphical
// style), or one with the desktop's standard push-button look.
class VbButton : public QPushButton {
    Q_OBJECT
public:
    VbButton(const QString &name, const QRect &geometry, const QString &caption, QWidget *parent);
    qint32 backColor() const { return m_back; }
    void setBackColor(qint32 ref);
    // The standard look, drawn by the desktop's style.
    void setStandardLook();

private:
    void applyLook();
    qint32 m_back = systemColourRef(SysButtonFace);
    bool m_standard = false;
};

// A window timer: it ticks only while it is enabled and its interval is
// above 0. Setting the interval, or enabling it, starts the period anew.
class VbTimer : public QObject {
    Q_OBJECT
public:
    explicit VbTimer(const QString &name, QObject *parent);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool on);
    int interval() const { return m_interval; }
    void setInterval(int ms);
    // True while ticks are being delivered.
    bool isTicking() const { return m_timer.isActive(); }

Q_SIGNALS:
    void tick();

private:
    void update();
    QTimer m_timer;
    bool m_enabled = false;
    int m_interval = 0;
};
