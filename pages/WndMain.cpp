#include "pages/WndMain.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "model/TonraDoc.h"

using namespace controls;

namespace {

// Tiles: 80 x 40 pixels on a 95-pixel pitch, two rows of eight.
constexpr int kTilesPerRow = 8;
constexpr int kTileLeft = 20;
constexpr int kTilePitch = 95;
constexpr int kTileWidth = 80;
constexpr int kTileHeight = 40;
constexpr int kTileRowTops[] = {240, 300};
constexpr ButtonLook kTileLook{.back = kBlack,
                               .text = kLightGrey,
                               .litBack = kBlack,
                               .litText = kWhite,
                               .bitmapId = 167,
                               .litBitmapId = 168};

// The product picture: the top-left (parent width / 2 + 80) x 180 pixels of bitmap 150, placed
// 120 pixels left of the parent's centre.
constexpr int kPictureTop = 20;
constexpr int kPictureHeight = 180;
constexpr int kPictureLeftOfCentre = 120;
constexpr int kPictureWiderThanHalf = 80;

// The group frame around the tiles and its caption, which interrupts the frame's top edge.
constexpr CPoint kFrameOrigin{10, 220};
constexpr int kFrameRightMargin = 25;
constexpr int kFrameHeight = 130;
constexpr COLORREF kFrameColour = RGB(128, 128, 255);
constexpr CPoint kCaptionOrigin{20, 214};
constexpr COLORREF kCaptionColour = kLightGrey;
constexpr const char* kGroupCaption = "Devices in Network";

} // namespace

CRect CWndMain::TileRect(int slot) {
    const int column = slot % kTilesPerRow;
    const int left = kTileLeft + kTilePitch * column;
    const int top = kTileRowTops[slot / kTilesPerRow];
    return {left, top, left + kTileWidth, top + kTileHeight};
}

bool CWndMain::Create(const CRect& rect, CWnd* parent, CTonraDoc* documentIn) {
    document = documentIn;
    if (!parent || !CreateChild(*parent, rect)) {
        return false;
    }
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        if (!tiles[slot].Create(kFirstTileId + slot, TileRect(slot), kTileLook,
                                "Device" + Format(" - %u", slot + 1), this)) {
            return false;
        }
    }
    return true;
}

void CWndMain::RefreshDeviceTiles() {
    for (int slot = 0; slot < model::kDeviceCount; ++slot) {
        tiles[slot].lit = document->deviceOnline[slot] != 0;
        tiles[slot].Invalidate(true);
    }
}

void CWndMain::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CRect parentRect;
    GetParent()->GetWindowRect(&parentRect);
    const int parentWidth = parentRect.Width();

    CFont font;
    CreatePageFont(font);
    dc.SelectObject(&font);
    dc.SelectStockObject(NULL_PEN);
    // The page stands on the view's black ground whatever is behind it.
    dc.FillSolidRect(client, kBlack);
    PaintProductPicture(dc, parentWidth);
    PaintTileFrame(dc, parentWidth);
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}

void CWndMain::PaintProductPicture(CDC& dc, int parentWidth) {
    CBitmap picture; // declared first: the memory context lets go of it before it goes
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    picture.LoadBitmap(kProductBitmapId);
    memory.SelectObject(&picture);
    dc.BitBlt(parentWidth / 2 - kPictureLeftOfCentre, kPictureTop, parentWidth / 2 + kPictureWiderThanHalf,
              kPictureHeight, &memory, 0, 0, SRCCOPY);
}

void CWndMain::PaintTileFrame(CDC& dc, int parentWidth) {
    dc.Draw3dRect(kFrameOrigin.x, kFrameOrigin.y, parentWidth - kFrameRightMargin, kFrameHeight, kFrameColour,
                  kFrameColour);
    dc.SetTextColor(kCaptionColour);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(kBlack);
    dc.TextOut(kCaptionOrigin.x, kCaptionOrigin.y, std::string(" ") + kGroupCaption + " ");
}

void CWndMain::OnLButtonDown(UINT, CPoint) {
    ReportToParent(*this, UM_CTRL_PRESS, 0);
    Default();
}

void CWndMain::OnMouseMove(UINT, CPoint) {
    ReportToParent(*this, UM_CTRL_HOVER, 0);
    Default();
}

void CWndMain::ControlHovered(UINT id) { ReportToParent(*this, UM_CTRL_HOVER, id); }
