#include "figurelist.h"

#include "assets.h"
#include "pictureloader.h"

#include "core/file_name.h"
#include "core/regular_file.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSaveFile>

namespace dorvane {

namespace {

// The picture is stretched over (0, 0)-(size - 1, size - 1) of a white
// canvas; every pixel of the corner colour then turns transparent, which
// also clears the picture's own white background - the way players prepare
// such pictures.
QImage Stretched(const QImage& picture, int size) {
    QImage canvas(size, size, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect(0, 0, size - 1, size - 1), picture);
    }
    const QRgb transparent = canvas.pixel(0, size - 1);
    for (int y = 0; y < size; ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = 0; x < size; ++x)
            if (line[x] == transparent) line[x] = qRgba(0, 0, 0, 0);
    }
    return canvas;
}

} // namespace

TFigureList::TFigureList() {
    for (int k = 0; k < kBuiltinFigures; ++k) {
        figures_.push_back(BuiltinFigure(k));
        smalls_.push_back(SmallPicture(SmallPictureIndex(k)));
    }
}

QImage TFigureList::Figure(int k) const {
    return k >= 0 && k < FigureCount() ? figures_[std::size_t(k)] : QImage();
}

QImage TFigureList::SmallFigure(int k) const {
    return k >= 0 && k < FigureCount() ? smalls_[std::size_t(k)] : QImage();
}

int TFigureList::SmallPictureIndex(int k) {
    return k < kBuiltinFigures ? kSmallFigureFirst + k : kSmallPictures + (k - kBuiltinFigures);
}

bool TFigureList::AddPicture(const QString& path) {
    const QImage picture = ReadPictureFile(path, QSize(kFigureSize, kFigureSize));
    if (picture.isNull()) return false;
    figures_.push_back(Stretched(picture, kFigureSize));
    smalls_.push_back(Stretched(picture, kSmallSize));
    paths_.append(path);
    return true;
}

void TFigureList::AddStoredPictures(const QStringList& paths) {
    for (const QString& path : paths)
        if (path.size() > 3) AddPicture(path);
}

namespace {

QString ExportName(int k) {
    return QStringLiteral("Dorvane%1.bmp").arg(k);
}

} // namespace

QStringList TFigureList::ExistingExports(const QString& folder) const {
    const QDir dir(folder);
    QStringList names;
    for (int k = 0; k < FigureCount(); ++k) {
        const QFileInfo entry(dir.filePath(ExportName(k)));
        if (entry.exists() || entry.isSymLink()) names << ExportName(k);
    }
    return names;
}

bool TFigureList::Export(const QString& folder) const {
    const QDir dir(folder);
    bool ok = true;
    for (int k = 0; k < FigureCount(); ++k) {
        // Bitmaps carry no transparency: the clear parts become white, which
        // "Добавить рисунок" turns transparent again.
        QImage flat(kFigureSize, kFigureSize, QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter p(&flat);
            p.drawImage(0, 0, figures_[std::size_t(k)]);
        }
        const QString path = dir.filePath(ExportName(k));
        if (!MaySaveThrough(NativeFileName(path))) {
            ok = false;
            continue;
        }
        QSaveFile file(path);
        ok = file.open(QIODevice::WriteOnly) && flat.save(&file, "BMP") && file.commit() && ok;
    }
    return ok;
}

} // namespace dorvane
