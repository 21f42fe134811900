// What the GUI tests share for reading windows: the names of the reports a page receives, the
// colour of a pixel and the number of pixels of a colour in an area of a grabbed window.
#pragma once

#include "framework/Types.h"

#include <QColor>
#include <QImage>

#include <string>

namespace testsupport {

// "press", "hover", ... for a report message; "message N" for others.
inline std::string ReportName(UINT message) {
    switch (message) {
    case UM_CTRL_HOVER:
        return "hover";
    case UM_CTRL_PRESS:
        return "press";
    case UM_CTRL_DBLCLK:
        return "dblclk";
    case UM_CTRL_RELEASE:
        return "release";
    case UM_END_TRACKING:
        return "end";
    case UM_VALUE_CHANGED:
        return "value";
    case UM_TEXT_ENTERED:
        return "entered";
    case UM_REFRESH:
        return "refresh";
    default:
        return "message " + std::to_string(message);
    }
}

inline COLORREF At(const QImage& image, int x, int y) {
    const QColor c = image.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

inline int CountColour(const QImage& image, const CRect& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            count += At(image, x, y) == colour;
        }
    }
    return count;
}

} // namespace testsupport
