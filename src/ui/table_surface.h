#pragma once
// The drawn elements of a window (shapes, panels, lines and pictures) are
// lightweight objects painted back to front by one widget; buttons, labels
// and the counter are real widgets above it. Each element keeps the state
// the game reads back: colours, visibility and its current picture.

#include <QPointF>
#include <QRect>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QPainter;
class DrawingSurface;

class DrawnElement {
public:
    DrawnElement(DrawingSurface *owner, QString name);
    virtual ~DrawnElement() = default;
    DrawnElement(const DrawnElement &) = delete;
    DrawnElement &operator=(const DrawnElement &) = delete;

    const QString &name() const { return m_name; }
    bool isVisible() const { return m_visible; }
    void setVisible(bool on);
    virtual QRect bounds() const = 0;
    virtual void paint(QPainter &p) const = 0;

protected:
    void changed();

private:
    DrawingSurface *m_owner;
    QString m_name;
    bool m_visible = true;
};

// A filled rectangle, rounded rectangle or circle with a border.
class DrawnShape : public DrawnElement {
public:
    enum Kind { Rectangle, RoundedRectangle, Circle };
    DrawnShape(DrawingSurface *owner, QString name, Kind kind, QRect rect, qint32 fill,
               qint32 border, int borderWidth);

    qint32 fillColor() const { return m_fill; }
    void setFillColor(qint32 ref);
    qint32 borderColor() const { return m_border; }
    void setBorderColor(qint32 ref);
    QRect rect() const { return m_rect; }
    Kind kind() const { return m_kind; }
    int borderWidth() const { return m_borderWidth; }

    QRect bounds() const override { return m_rect; }
    void paint(QPainter &p) const override;

private:
    Kind m_kind;
    QRect m_rect;
    qint32 m_fill;
    qint32 m_border;
    int m_borderWidth;
};

// A straight line between two points given in pixels.
class DrawnLine : public DrawnElement {
public:
    DrawnLine(DrawingSurface *owner, QString name, QPointF from, QPointF to, qint32 color, int width);

    qint32 borderColor() const { return m_color; }
    void setBorderColor(qint32 ref);
    QPointF from() const { return m_from; }
    QPointF to() const { return m_to; }
    int borderWidth() const { return m_width; }

    QRect bounds() const override;
    void paint(QPainter &p) const override;

private:
    QPointF m_from;
    QPointF m_to;
    qint32 m_color;
    int m_width;
};

// A picture cell: shows one of the game's pictures (or none).
class DrawnImage : public DrawnElement {
public:
    DrawnImage(DrawingSurface *owner, QString name, QRect rect, bool stretch);

    int picture() const { return m_picture; }
    void setPicture(int picture);
    QRect rect() const { return m_rect; }

    QRect bounds() const override { return m_rect; }
    void paint(QPainter &p) const override;

private:
    QRect m_rect;
    bool m_stretch;
    int m_picture = -1;
};

// Paints its elements in the order they were added: back to front.
class DrawingSurface : public QWidget {
    Q_OBJECT
public:
    explicit DrawingSurface(QWidget *parent = nullptr);

    template <typename T, typename... Args>
    T *add(Args &&...args)
    {
        auto element = std::make_unique<T>(this, std::forward<Args>(args)...);
        T *raw = element.get();
        m_elements.push_back(std::move(element));
        update(raw->bounds());
        return raw;
    }

    const std::vector<std::unique_ptr<DrawnElement>> &elements() const { return m_elements; }
    void elementChanged(const DrawnElement &e);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::unique_ptr<DrawnElement>> m_elements;
};
