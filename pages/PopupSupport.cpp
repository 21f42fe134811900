#include "pages/PopupSupport.h"

#include "controls/ControlHelpers.h"
#include "framework/Dc.h"
#include "framework/Format.h"
#include "framework/Wnd.h"
#include "model/TonraDoc.h"

namespace pages {

std::string ChannelPopupTitle(const CTonraDoc& document, int channel, const std::string& page) {
    const int inputs = document.GetInputCount();
    const bool input = channel < inputs;
    const int number = input ? channel : channel - inputs;
    const std::string name = document.GetParamText(model::kChannelName, channel);
    return std::string(input ? "In" : "Out") + Format(" %c: %s - ", '1' + number, name.c_str()) + page;
}

CSize WindowSize(const CWnd& window) {
    CRect rect;
    window.GetWindowRect(&rect);
    return rect.Size();
}

void ShowPopupAt(CWnd& window, CPoint position, CSize size) {
    window.MoveWindow(position.x, position.y, size.cx, size.cy);
    window.ShowWindow(SW_SHOW);
}

void DrawLabel(CDC& dc, const std::string& text, const CRect& rect) {
    CFont font;
    controls::SelectFittingPageFont(dc, font, text, rect.Width());
    dc.SetBkColor(controls::kLightGrey);
    dc.DrawText(text, rect, DT_CENTER);
    dc.SelectObject(static_cast<const CFont*>(nullptr));
}

} // namespace pages
