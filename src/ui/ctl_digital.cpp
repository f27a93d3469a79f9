#include "ui/ctl_digital.h"

#include <QPalette>

CtlDigital::CtlDigital(QWidget *parent)
    : QLCDNumber(2, parent)
{
    setSegmentStyle(QLCDNumber::Filled);
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setLineWidth(2);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::WindowText, QColor(255, 48, 32));
    pal.setColor(QPalette::Light, QColor(255, 96, 80));
    pal.setColor(QPalette::Dark, QColor(128, 16, 8));
    setPalette(pal);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
}

void CtlDigital::setText(const QString &text)
{
    m_text = text;
    refresh();
    // Screen readers hear the count as written (never the padded "05"),
    // and hear it change: setting the name announces it.
    if (accessibleName() != text)
        setAccessibleName(text);
}

void CtlDigital::setZero(bool on)
{
    m_zero = on;
    refresh();
}

void CtlDigital::refresh()
{
    QString shown = m_text;
    if (m_zero && shown.size() == 1)
        shown.prepend(QLatin1Char('0'));
    if (shown.size() > digitCount())
        setDigitCount(int(shown.size()));
    display(shown);
}
