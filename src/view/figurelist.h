// The figure list: the 40 x 40 pictures of discs and move markers (the four
// built-in balls, then the pictures the player added), each with its
// 16 x 16 version for the menus and the hint window's miniature.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorvane {

class TFigureList {
public:
    static constexpr int kFigureSize = 40;
    static constexpr int kSmallSize = 16;

    TFigureList(); // the four built-in balls

    int FigureCount() const { return int(figures_.size()); }
    // Figure k and its small version; an index outside the list gives a null image.
    QImage Figure(int k) const;
    QImage SmallFigure(int k) const;
    // The position of figure k's small version in the small-picture list:
    // 11..14 for the built-in balls, 16 onwards for the added pictures.
    static int SmallPictureIndex(int k);

    // Adds the picture in `path`, stretched to both sizes; the colour left in
    // the bottom-left corner (the stretched picture covers one pixel less
    // each way, so that is the blank canvas) becomes transparent. A file
    // that is missing or not a picture adds nothing and gives false.
    bool AddPicture(const QString& path);
    // The stored "SPath" list at start: entries of 3 characters or fewer
    // and files that cannot be read are skipped.
    void AddStoredPictures(const QStringList& paths);
    // Paths of the added pictures, in list order (figure 4 first).
    const QStringList& Paths() const { return paths_; }

    // Saves every figure as "Dorvane" + k + ".bmp" (40 x 40) in `folder`;
    // false when a file could not be written. A name that is another user's
    // link is not written through.
    bool Export(const QString& folder) const;
    // The names Export would replace in `folder` (links included).
    QStringList ExistingExports(const QString& folder) const;

private:
    std::vector<QImage> figures_;
    std::vector<QImage> smalls_;
    QStringList paths_;
};

} // namespace dorvane
