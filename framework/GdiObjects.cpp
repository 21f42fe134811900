#include "framework/GdiObjects.h"

#include <QFontMetrics>
#include <QString>

#include <unordered_map>

namespace {

// A cell height is ascent plus descent; find the pixel size that gives it.
int PixelSizeForCellHeight(QFont font, int cellHeight) {
    constexpr int kProbePixels = 100;
    font.setPixelSize(kProbePixels);
    const QFontMetrics metrics(font);
    const int probeCell = std::max(1, metrics.ascent() + metrics.descent());
    return std::max(1, cellHeight * kProbePixels / probeCell);
}

QString BitmapResourcePath(UINT id) { return QString(":/bitmaps/%1.png").arg(id); }

// Resources never change while the program runs, so each is decoded once: pages load their
// bitmaps at every paint, and decoding the product picture alone takes some milliseconds. The
// images are shared copy-on-write, so a caller that draws into its bitmap gets its own copy.
const QImage& DecodedResourceBitmap(UINT id) {
    static std::unordered_map<UINT, QImage> decoded;
    const auto found = decoded.find(id);
    if (found != decoded.end()) {
        return found->second;
    }
    QImage image = QImage(BitmapResourcePath(id)).convertToFormat(QImage::Format_RGB32);
    return decoded.emplace(id, std::move(image)).first->second;
}

// "MS Sans Serif" has a regular and a bold face only; the platform's font mapper takes the
// nearer of the two for any weight asked, so a weight of 100 still draws the regular face.
constexpr const char* kSansSerifFace = "MS Sans Serif";
constexpr int kBoldFromWeight = 550;

int NearestSansSerifWeight(int weight) { return weight >= kBoldFromWeight ? FW_BOLD : FW_NORMAL; }

} // namespace

bool CPen::CreatePen(int style, int width, COLORREF colour) {
    style_ = style;
    width_ = std::max(1, width);
    colour_ = colour;
    return true;
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    colour_ = colour;
    hollow_ = false;
    return true;
}

CBrush CBrush::Hollow() {
    CBrush brush;
    brush.hollow_ = true;
    return brush;
}

bool CFont::CreateFont(int height, int, int, int, int weight, BYTE italic, BYTE underline, BYTE strikeOut,
                       BYTE, BYTE, BYTE, BYTE, BYTE, const char* faceName) {
    const QString face = QString::fromLatin1(faceName ? faceName : kSansSerifFace);
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (height < 0) {
        font.setPixelSize(-height);
    } else if (height > 0) {
        font.setPixelSize(PixelSizeForCellHeight(font, height));
    }
    int qtWeight = weight <= 0 ? FW_NORMAL : std::clamp(weight, 100, 900);
    if (face == QLatin1String(kSansSerifFace)) {
        qtWeight = NearestSansSerifWeight(qtWeight);
    }
    font.setWeight(static_cast<QFont::Weight>(qtWeight));
    font.setItalic(italic != 0);
    font.setUnderline(underline != 0);
    font.setStrikeOut(strikeOut != 0);
    font_ = font;
    return true;
}

bool CBitmap::LoadBitmap(UINT id) {
    image_ = DecodedResourceBitmap(id);
    return !image_.isNull();
}

bool CBitmap::CreateBitmap(int width, int height) {
    image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image_.fill(Qt::black);
    return true;
}

void InstallFontSubstitutes() {
    // One installed face everywhere (fonts-dejavu-core), so text looks and measures the same on every
    // machine.
    QFont::insertSubstitution("MS Sans Serif", "DejaVu Sans");
}
