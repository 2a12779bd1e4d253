// The pictures and sounds compiled into the program (assets/dorvane.qrc).
// Every accessor makes sure the resources are registered first, so callers
// need no set-up of their own.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

class QPainter;

namespace dorvane {

inline constexpr int kTextureCount = 5;      // TEXTURE1..TEXTURE5, 200 x 200
inline constexpr int kBuiltinFigures = 4;    // green, blue, grey, red ball, 40 x 40
inline constexpr int kSmallPictures = 16;    // the small-picture list, 16 x 16
inline constexpr int kSmallFigureFirst = 11; // small versions of figures 0..3

// Registers the resources of the static asset library; safe to call often.
void EnsureAssets();

// The resource path of a named resource: ":/TEXTURE1", ":/RMOVE", ...
QString AssetPath(const QString& name);

// TEXTURE + number; a number outside 1..5 gives texture 1.
QImage BuiltinTexture(int number);
// The built-in figures 0..3 (40 x 40 with alpha); anything else is a null image.
QImage BuiltinFigure(int index);
// Entries 0..15 of the small-picture list; anything else is a null image.
QImage SmallPicture(int index);
QImage PersonPicture();                   // side 1's panel icon, 32 x 32
QImage SidePicture(bool againstComputer); // "COMPUTER" or "USER", 72 x 32
// The JPEG logos "LOGO1" (240 x 78) and "LOGO2" (48 x 48), n = 1 or 2.
QImage LogoPicture(int n);
QIcon ProgramIcon(); // every size from 16 to 256
// Decodes the named JPEG resource and draws it with its top-left corner at
// (x, y); a resource that is missing or no JPEG draws nothing.
void DrawResourceJpeg(QPainter& canvas, int x, int y, const QString& name);
// The raw bytes of a resource ("RBEGIN", "LOGO1", ...); empty when missing.
QByteArray ResourceBytes(const QString& name);

} // namespace dorvane
