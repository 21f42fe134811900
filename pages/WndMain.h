// CWndMain: the network page, the start page of the main view. It shows the product picture
// and one tile per device slot, lit while the device's connection is open. It only draws and
// forwards: what a click on a tile means is the view's business.
#pragma once

#include "controls/ModButton.h"
#include "model/ModelTypes.h"
#include "pages/PageWnd.h"

#include <array>

class CTonraDoc;

// CWndMain is the network page (the home page), not the main window: that is CMainFrame.
class CWndMain : public CPageWnd {
public:
    static constexpr UINT kFirstTileId = 200;
    static constexpr UINT kProductBitmapId = 150;

    // The rectangle of tile `slot` (0..15) in page coordinates: two rows of eight.
    static CRect TileRect(int slot);

    bool Create(const CRect& rect, CWnd* parent, CTonraDoc* document);
    // Lights each tile by the document's deviceOnline and repaints it.
    void RefreshDeviceTiles();
    const CModButton& Tile(int slot) const { return tiles[slot]; }

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    // Tile reports go on to the view with the tile's id: presses and releases as every page
    // passes them on, the hover as well.
    void ControlHovered(UINT id) override;

private:
    void PaintProductPicture(CDC& dc, int parentWidth);
    void PaintTileFrame(CDC& dc, int parentWidth);

    CTonraDoc* document = nullptr;
    std::array<CModButton, model::kDeviceCount> tiles;
};
