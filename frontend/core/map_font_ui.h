#pragma once

#include <QFont>
#include <QStringList>

namespace skyloom {

// The sheet-name font: "ＭＳ Ｐゴシック" where it exists, else the nearest
// proportional Japanese Gothic face, at 8.25 points.
QFont mapFont();

} // namespace skyloom
