#pragma once
// The seven-segment counter of the ranking game. Its `text` reads back
// exactly what was written, and is what screen readers hear as its name.

#include <QLCDNumber>

class CtlDigital : public QLCDNumber {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool zero READ zero WRITE setZero)
public:
    explicit CtlDigital(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);
    // With `zero` set, a one-digit value is shown with a leading zero.
    bool zero() const { return m_zero; }
    void setZero(bool on);

private:
    void refresh();
    QString m_text;
    bool m_zero = true;
};
