#include "framework/Dc.h"

#include "framework/Text.h"
#include "framework/Wnd.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QStringList>
#include <QWidget>

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

COLORREF FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

constexpr int kDefaultFontPixels = 13;

CBrush StockBrush(int stockObject) {
    switch (stockObject) {
    case LTGRAY_BRUSH:
        return CBrush(RGB(192, 192, 192));
    case GRAY_BRUSH:
        return CBrush(RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return CBrush(RGB(64, 64, 64));
    case BLACK_BRUSH:
        return CBrush(RGB(0, 0, 0));
    case NULL_BRUSH:
        return CBrush::Hollow();
    default:
        return CBrush(RGB(255, 255, 255));
    }
}

CPen StockPen(int stockObject) {
    switch (stockObject) {
    case WHITE_PEN:
        return CPen(PS_SOLID, 1, RGB(255, 255, 255));
    case NULL_PEN:
        return CPen(PS_NULL, 1, RGB(0, 0, 0));
    default:
        return CPen(PS_SOLID, 1, RGB(0, 0, 0));
    }
}

// One line broken between words so that each fits `width`; a word wider than `width` keeps a
// line of its own. The blank at each break is dropped.
QStringList BreakWords(const QString& line, const QFontMetrics& metrics, int width) {
    QStringList broken;
    QString current;
    bool started = false;
    for (const QString& word : line.split(' ')) {
        const QString candidate = started ? current + ' ' + word : word;
        if (started && !word.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            broken.append(current);
            current = word;
        } else {
            current = candidate;
        }
        started = true;
    }
    broken.append(current);
    return broken;
}

// The lines DrawText draws: one with DT_SINGLELINE, else one per line break ("\r\n" or
// "\n"), each broken between words with DT_WORDBREAK.
QStringList TextLines(QString text, UINT format, const QFontMetrics& metrics, int width) {
    text.remove('\r');
    if (format & DT_SINGLELINE) {
        return {text.remove('\n')};
    }
    QStringList lines;
    for (const QString& line : text.split('\n')) {
        lines += (format & DT_WORDBREAK) ? BreakWords(line, metrics, width) : QStringList{line};
    }
    return lines;
}

} // namespace

CDC::CDC(QPaintDevice* device) {
    if (device) {
        Begin(device);
    }
}

CDC::~CDC() { End(); }

void CDC::Begin(QPaintDevice* device) {
    painter_ = std::make_unique<QPainter>(device);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
}

void CDC::End() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
}

bool CDC::CreateCompatibleDC(CDC*) {
    End();
    bitmap_ = nullptr;
    return true;
}

const CPen* CDC::SelectObject(const CPen* pen) {
    const CPen* previous = selectedPen_;
    selectedPen_ = pen;
    pen_ = pen ? *pen : StockPen(BLACK_PEN);
    return previous;
}

const CBrush* CDC::SelectObject(const CBrush* brush) {
    const CBrush* previous = selectedBrush_;
    selectedBrush_ = brush;
    brush_ = brush ? *brush : StockBrush(WHITE_BRUSH);
    return previous;
}

const CFont* CDC::SelectObject(const CFont* font) {
    const CFont* previous = selectedFont_;
    selectedFont_ = font;
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    CBitmap* previous = bitmap_;
    End();
    bitmap_ = bitmap;
    if (bitmap_ && !bitmap_->IsNull()) {
        Begin(&bitmap_->Image());
    }
    return previous;
}

void CDC::SelectStockObject(int stockObject) {
    if (stockObject >= WHITE_PEN) {
        selectedPen_ = nullptr;
        pen_ = StockPen(stockObject);
    } else {
        selectedBrush_ = nullptr;
        brush_ = StockBrush(stockObject);
    }
}

COLORREF CDC::SetTextColor(COLORREF colour) { return std::exchange(textColour_, colour); }

COLORREF CDC::SetBkColor(COLORREF colour) { return std::exchange(bkColour_, colour); }

int CDC::SetBkMode(int mode) { return std::exchange(bkMode_, mode); }

QFont CDC::CurrentFont() const {
    QFont font = selectedFont_ ? selectedFont_->Font() : QFont("MS Sans Serif");
    if (!selectedFont_) {
        font.setPixelSize(kDefaultFontPixels);
        font.setBold(true);
    }
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

void CDC::FillPixels(int x, int y, int cx, int cy, COLORREF colour) {
    if (!painter_) {
        return;
    }
    // Negative extents count back from (x, y), as on the original platform.
    if (cx < 0) {
        x += cx;
        cx = -cx;
    }
    if (cy < 0) {
        y += cy;
        cy = -cy;
    }
    if (cx > 0 && cy > 0) {
        painter_->fillRect(x, y, cx, cy, ToQColor(colour));
    }
}

void CDC::FillRect(const CRect& rect, const CBrush* brush) {
    if (brush && !brush->IsHollow()) {
        FillPixels(rect.left, rect.top, rect.Width(), rect.Height(), brush->Colour());
    }
}

void CDC::FillSolidRect(const CRect& rect, COLORREF colour) {
    FillSolidRect(rect.left, rect.top, rect.Width(), rect.Height(), colour);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
    bkColour_ = colour;
    FillPixels(x, y, cx, cy, colour);
}

void CDC::Rectangle(const CRect& rect) {
    if (pen_.IsNull()) {
        if (!brush_.IsHollow()) {
            FillPixels(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1, brush_.Colour());
        }
        return;
    }
    if (!brush_.IsHollow()) {
        FillPixels(rect.left, rect.top, rect.Width(), rect.Height(), brush_.Colour());
    }
    const int w = pen_.Width();
    const COLORREF c = pen_.Colour();
    FillPixels(rect.left, rect.top, rect.Width(), w, c);
    FillPixels(rect.left, rect.bottom - w, rect.Width(), w, c);
    FillPixels(rect.left, rect.top, w, rect.Height(), c);
    FillPixels(rect.right - w, rect.top, w, rect.Height(), c);
}

void CDC::Ellipse(const CRect& rect) {
    if (!painter_) {
        return;
    }
    painter_->setPen(pen_.IsNull() ? QPen(Qt::NoPen) : LinePen());
    painter_->setBrush(brush_.IsHollow() ? QBrush(Qt::NoBrush) : QBrush(ToQColor(brush_.Colour())));
    painter_->drawEllipse(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
}

CPoint CDC::MoveTo(int x, int y) { return std::exchange(position_, CPoint(x, y)); }

QPen CDC::LinePen() const {
    QPen pen(ToQColor(pen_.Colour()));
    pen.setWidth(pen_.Width() > 1 ? pen_.Width() : 0);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (pen_.Style() == PS_DOT) {
        pen.setStyle(Qt::DotLine);
    } else if (pen_.Style() == PS_DASH) {
        pen.setStyle(Qt::DashLine);
    }
    return pen;
}

void CDC::DrawLinePixels(CPoint from, CPoint to) {
    if (!painter_ || pen_.IsNull() || from == to) {
        return;
    }
    const bool solidThin = pen_.Style() == PS_SOLID && pen_.Width() == 1;
    if (solidThin && from.y == to.y) {
        const int left = from.x < to.x ? from.x : to.x + 1;
        FillPixels(left, from.y, std::abs(to.x - from.x), 1, pen_.Colour());
    } else if (solidThin && from.x == to.x) {
        const int top = from.y < to.y ? from.y : to.y + 1;
        FillPixels(from.x, top, 1, std::abs(to.y - from.y), pen_.Colour());
    } else {
        painter_->setPen(LinePen());
        painter_->drawLine(from.x, from.y, to.x, to.y);
    }
}

void CDC::LineTo(int x, int y) {
    DrawLinePixels(position_, CPoint(x, y));
    position_ = CPoint(x, y);
}

void CDC::Polyline(const CPoint* points, int count) {
    if (!painter_ || pen_.IsNull() || count < 2) {
        return;
    }
    // One path: a dashed or dotted pattern runs on round the points instead of starting again
    // at each one (a curve of short lines would look solid), and a long curve costs one call.
    QPolygon polygon(count);
    for (int i = 0; i < count; ++i) {
        polygon.setPoint(i, points[i].x, points[i].y);
    }
    painter_->setPen(LinePen());
    painter_->drawPolyline(polygon);
}

void CDC::SetPixel(int x, int y, COLORREF colour) { FillPixels(x, y, 1, 1, colour); }

COLORREF CDC::GetPixel(int x, int y) const {
    if (bitmap_ && !bitmap_->IsNull() && bitmap_->Image().valid(x, y)) {
        return FromQColor(bitmap_->Image().pixelColor(x, y));
    }
    return 0;
}

void CDC::Draw3dRect(const CRect& rect, COLORREF topLeft, COLORREF bottomRight) {
    Draw3dRect(rect.left, rect.top, rect.Width(), rect.Height(), topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::DrawEdge(const CRect& rect, UINT edge, UINT borders) {
    struct Ring {
        UINT raised;
        UINT sunken;
        COLORREF raisedTopLeft, raisedBottomRight, sunkenTopLeft, sunkenBottomRight;
    };
    const Ring rings[2] = {
        {BDR_RAISEDOUTER, BDR_SUNKENOUTER, kColour3dLight, kColour3dDarkShadow, kColour3dShadow,
         kColour3dHighlight},
        {BDR_RAISEDINNER, BDR_SUNKENINNER, kColour3dHighlight, kColour3dShadow, kColour3dDarkShadow,
         kColour3dLight},
    };
    CRect r = rect;
    for (const Ring& ring : rings) {
        if (edge & (ring.raised | ring.sunken)) {
            const bool raised = (edge & ring.raised) != 0;
            const COLORREF tl = raised ? ring.raisedTopLeft : ring.sunkenTopLeft;
            const COLORREF br = raised ? ring.raisedBottomRight : ring.sunkenBottomRight;
            if (borders & BF_TOP) {
                FillPixels(r.left, r.top, r.Width() - 1, 1, tl);
            }
            if (borders & BF_LEFT) {
                FillPixels(r.left, r.top, 1, r.Height() - 1, tl);
            }
            if (borders & BF_RIGHT) {
                FillPixels(r.right - 1, r.top, 1, r.Height(), br);
            }
            if (borders & BF_BOTTOM) {
                FillPixels(r.left, r.bottom - 1, r.Width(), 1, br);
            }
        }
        r.DeflateRect(1, 1);
    }
}

CSize CDC::GetTextExtent(const std::string& text) const {
    const QFontMetrics metrics(CurrentFont());
    return {metrics.horizontalAdvance(ToDisplayString(text)), metrics.height()};
}

int CDC::DrawText(const std::string& text, const CRect& rect, UINT format) {
    if (!painter_) {
        return 0;
    }
    const QFont font = CurrentFont();
    const QFontMetrics metrics(font);
    const QStringList lines = TextLines(ToDisplayString(text), format, metrics, rect.Width());
    const int lineHeight = metrics.height();
    int top = rect.top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            top = rect.top + (rect.Height() - lineHeight) / 2;
        } else if (format & DT_BOTTOM) {
            top = rect.bottom - lineHeight;
        }
    }
    painter_->save();
    if (!(format & DT_NOCLIP)) {
        painter_->setClipRect(rect.left, rect.top, rect.Width(), rect.Height());
    }
    painter_->setFont(font);
    painter_->setPen(ToQColor(textColour_));
    for (int i = 0; i < lines.size(); ++i) {
        const int width = metrics.horizontalAdvance(lines[i]);
        int left = rect.left;
        if (format & DT_CENTER) {
            left = rect.left + (rect.Width() - width) / 2;
        } else if (format & DT_RIGHT) {
            left = rect.right - width;
        }
        const int y = top + i * lineHeight;
        if (bkMode_ == OPAQUE) {
            painter_->fillRect(left, y, width, lineHeight, ToQColor(bkColour_));
        }
        painter_->drawText(left, y + metrics.ascent(), lines[i]);
    }
    painter_->restore();
    return lineHeight * static_cast<int>(lines.size());
}

void CDC::TextOut(int x, int y, const std::string& text) {
    if (!painter_) {
        return;
    }
    const QFont font = CurrentFont();
    const QFontMetrics metrics(font);
    const QString line = ToDisplayString(text);
    if (bkMode_ == OPAQUE) {
        painter_->fillRect(x, y, metrics.horizontalAdvance(line), metrics.height(), ToQColor(bkColour_));
    }
    painter_->setFont(font);
    painter_->setPen(ToQColor(textColour_));
    painter_->drawText(x, y + metrics.ascent(), line);
}

bool CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD) {
    if (!painter_ || !source || !source->bitmap_ || source->bitmap_->IsNull()) {
        return false;
    }
    painter_->drawImage(QRect(x, y, width, height), source->bitmap_->Image(),
                        QRect(sourceX, sourceY, width, height));
    return true;
}

CPaintDC::CPaintDC(CWnd* window) : CDC(window ? window->GetWidget() : nullptr) {
    const QWidget* widget = window ? window->GetWidget() : nullptr;
    if (!widget) {
        return;
    }
    const auto* hook = dynamic_cast<const WndWidgetHook*>(widget);
    const QEvent* event = hook ? hook->CurrentEvent() : nullptr;
    const QRect area = event && event->type() == QEvent::Paint
                           ? static_cast<const QPaintEvent*>(event)->rect()
                           : widget->rect();
    paintRect_ = CRect(area.left(), area.top(), area.right() + 1, area.bottom() + 1);
}

QImage GrabWindow(CWnd& window) {
    QWidget* widget = window.GetWidget();
    return widget ? widget->grab().toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}
