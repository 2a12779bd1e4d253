// The colours the scheme editor offers: the sixteen standard colours, four
// extended ones and the desktop's own colours of the moment (the palette's
// roles), each with its Russian name.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

#include <vector>

namespace dorvane {

struct TNamedColor {
    QString name;
    QColor color;
};

std::vector<TNamedColor> SchemeColorList(const QPalette& palette);

// The entry of the list with this colour (the first, when several share
// it); -1 when none has it.
int FindSchemeColor(const std::vector<TNamedColor>& list, const QColor& color);

} // namespace dorvane
