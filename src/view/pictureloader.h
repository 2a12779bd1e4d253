// The field and background pictures: a picture file the player chose, or
// the built-in texture when the file is missing, damaged or not of the
// accepted kind. Failure never shows a message; the caller learns from
// FromFile whether to take the path and the check marks over.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace dorvane {

struct TLoadedPicture {
    QImage Image;
    bool FromFile = false; // false: Image is the built-in texture
};

// The background is stretched over this area; photos are decoded no
// smaller than this.
inline constexpr QSize kBackgroundCover{445, 445};

// Field picture: only a Windows bitmap (BMP) file is accepted.
TLoadedPicture LoadFieldPicture(const QString& path, int builtinTexture);
// Background: any picture format Qt reads; JPEG through libjpeg-turbo with
// scale-on-decode.
TLoadedPicture LoadBackgroundPicture(const QString& path, int builtinTexture);

// The readers behind them: a null image on any failure.
QImage ReadBitmapFile(const QString& path);
QImage ReadPictureFile(const QString& path, QSize cover);
QImage ReadBitmapBytes(const QByteArray& bytes);
QImage ReadPictureBytes(const QByteArray& bytes, QSize cover);

} // namespace dorvane
