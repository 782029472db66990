#pragma once

#include <QPainterPath>
#include <QString>

// Flat icons on a 16 x 16 design grid, ready to fill. Unknown
// names give an empty path.
QPainterPath SkinIcon(const QString& strIcon);
