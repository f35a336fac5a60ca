#pragma once

#include <QRect>
#include <QWidget>
#include <cmath>

namespace torrenta::gui {

inline constexpr double kTwipsPerInch = 1440.0;

// Lengths the program keeps in twips become pixels at the screen's logical
// resolution (96 dots per inch gives 15 twips per pixel).
inline int TwipsToPixels(double twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

inline QRect TwipsRect(const QWidget* widget, int left, int top, int width, int height) {
    const double dpiX = widget->logicalDpiX();
    const double dpiY = widget->logicalDpiY();
    return {TwipsToPixels(left, dpiX), TwipsToPixels(top, dpiY), TwipsToPixels(width, dpiX),
            TwipsToPixels(height, dpiY)};
}

}  // namespace torrenta::gui
