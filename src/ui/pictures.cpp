#include "ui/pictures.h"

#include "reels/reel_model.h"
#include "ui/artwork.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <algorithm>
#include <array>

namespace {
constexpr std::array<const char *, reels::PictureCount> kPictureFiles{
#define TIVORAN_PICTURE(name, file) ":/pictures/" #file ".png",
#include "reels/pictures.def"
#undef TIVORAN_PICTURE
};
} // namespace

QPixmap masterPicture(int picture)
{
    static std::array<QPixmap, reels::PictureCount> loaded;
    if (picture < 0 || picture >= reels::PictureCount)
        return {};
    if (loaded[picture].isNull())
        loaded[picture].load(QString::fromLatin1(kPictureFiles[picture]));
    return loaded[picture];
}

QPixmap scaledPicture(int picture, QSize logicalSize, qreal devicePixelRatio)
{
    if (picture < 0 || picture >= reels::PictureCount)
        return {};
    const QString key = QStringLiteral("tivoran-pic-%1-%2x%3-%4")
                            .arg(picture)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(devicePixelRatio);
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    const QSize device = (QSizeF(logicalSize) * devicePixelRatio).toSize();
    if (device.width() == device.height()
        && std::find(ReadyMadePictureSizes.begin(), ReadyMadePictureSizes.end(), device.width())
               != ReadyMadePictureSizes.end()) {
        result.load(QString::fromLatin1(kPictureFiles[picture])
                        .replace(QLatin1String(".png"), QStringLiteral("_%1.png").arg(device.width())));
    }
    if (result.isNull()) {
        const QPixmap master = masterPicture(picture);
        if (master.isNull())
            return {};
        result = master.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    result.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

namespace {

// The program icon, drawn separately for each of its sizes. A size is read
// only when the desktop first asks for it, so a window that never shows its
// icon never decodes one.
class ProgramIconEngine : public QIconEngine {
public:
    QIconEngine *clone() const override { return new ProgramIconEngine(*this); }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int size : WindowIconSizes)
            sizes.append(QSize(size, size));
        return sizes;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = shownSide(size);
        return QSize(side, side);
    }

    // size is in device pixels; QIcon sets the pixel ratio of the result.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        const int side = shownSide(size);
        if (side <= 0)
            return {};
        QPixmap pix = drawn(drawnSize(side));
        if (pix.width() != side)
            pix = pix.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (mode == QIcon::Disabled)
            pix = QIcon(pix).pixmap(pix.size(), QIcon::Disabled);
        return pix;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal scale = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap((QSizeF(rect.size()) * scale).toSize(), mode, state));
    }

private:
    // The side of the square shown for a wanted size: never larger than
    // wanted, never larger than the largest drawing.
    static int shownSide(const QSize &wanted)
    {
        return std::min({wanted.width(), wanted.height(), WindowIconSizes.back()});
    }

    // The smallest drawing at least as large as side.
    static int drawnSize(int side)
    {
        for (int size : WindowIconSizes) {
            if (size >= side)
                return size;
        }
        return WindowIconSizes.back();
    }

    static QPixmap drawn(int size)
    {
        static QHash<int, QPixmap> loaded;
        auto it = loaded.find(size);
        if (it == loaded.end())
            it = loaded.insert(size, QPixmap(QStringLiteral(":/icons/tivoran_%1.png").arg(size)));
        return *it;
    }
};

} // namespace

QIcon programIcon()
{
    return QIcon(new ProgramIconEngine);
}
