#include "assets.h"

#include "jpegdecoder.h"

#include <QFile>
#include <QPainter>

#include <mutex>

// Q_INIT_RESOURCE must be used outside any namespace.
static void RegisterDorvaneResources() {
    Q_INIT_RESOURCE(dorvane);
}

namespace dorvane {

void EnsureAssets() {
    static std::once_flag once;
    std::call_once(once, RegisterDorvaneResources);
}

QString AssetPath(const QString& name) {
    return QStringLiteral(":/") + name;
}

namespace {

QImage Load(const QString& name) {
    EnsureAssets();
    return QImage(AssetPath(name));
}

} // namespace

QImage BuiltinTexture(int number) {
    if (number < 1 || number > kTextureCount) number = 1;
    return Load(QStringLiteral("TEXTURE%1").arg(number));
}

QImage BuiltinFigure(int index) {
    if (index < 0 || index >= kBuiltinFigures) return {};
    return Load(QStringLiteral("FIGURE%1").arg(index));
}

QImage SmallPicture(int index) {
    if (index < 0 || index >= kSmallPictures) return {};
    return Load(QStringLiteral("SMALL%1").arg(index));
}

QImage PersonPicture() {
    return Load(QStringLiteral("PERSON"));
}

QImage SidePicture(bool againstComputer) {
    return Load(againstComputer ? QStringLiteral("COMPUTER") : QStringLiteral("USER"));
}

namespace {

QImage ResourceJpeg(const QString& name) {
    const QByteArray bytes = ResourceBytes(name);
    return DecodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      std::size_t(bytes.size()), QSize());
}

} // namespace

QImage LogoPicture(int n) {
    return ResourceJpeg(QStringLiteral("LOGO%1").arg(n == 2 ? 2 : 1));
}

void DrawResourceJpeg(QPainter& canvas, int x, int y, const QString& name) {
    const QImage picture = ResourceJpeg(name);
    if (!picture.isNull()) canvas.drawImage(x, y, picture);
}

QIcon ProgramIcon() {
    EnsureAssets();
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(AssetPath(QStringLiteral("ICON%1").arg(size)), QSize(size, size));
    return icon;
}

QByteArray ResourceBytes(const QString& name) {
    EnsureAssets();
    QFile file(AssetPath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

} // namespace dorvane
