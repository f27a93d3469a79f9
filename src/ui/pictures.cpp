#include "ui/pictures.h"

#include "reels/reel_model.h"

#include <QHash>
#include <QPixmapCache>
#include <array>

namespace {
constexpr std::array<const char *, reels::PictureCount> kPictureFiles{
    ":/pictures/apple.png",     ":/pictures/television.png", ":/pictures/telephone.png",
    ":/pictures/house.png",     ":/pictures/globe.png",      ":/pictures/butterfly.png",
    ":/pictures/clock.png",     ":/pictures/spare_clr.png",  ":/pictures/spare_book.png",
    ":/pictures/spare_ball.png", ":/pictures/spare_screwdriver.png"};
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
    const QString key = QStringLiteral("tivoran-pic-%1-%2x%3-%4")
                            .arg(picture)
                            .arg(logicalSize.width())
                            .arg(logicalSize.height())
                            .arg(devicePixelRatio);
    QPixmap result;
    if (QPixmapCache::find(key, &result))
        return result;
    const QPixmap master = masterPicture(picture);
    if (master.isNull())
        return {};
    const QSize device = (QSizeF(logicalSize) * devicePixelRatio).toSize();
    result = master.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    result.setDevicePixelRatio(devicePixelRatio);
    QPixmapCache::insert(key, result);
    return result;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 64, 128})
        icon.addFile(QStringLiteral(":/icons/tivoran_%1.png").arg(size), QSize(size, size));
    return icon;
}
