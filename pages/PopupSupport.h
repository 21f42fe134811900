// What the channel popups of the device panel share: their title, their size and how they come
// up at their position.
#pragma once

#include "framework/Types.h"

#include <string>

class CDC;
class CTonraDoc;
class CWnd;

namespace pages {

// "In 1: KICK - EQ", "Out 3: FILL - Signal": the channel's side and number, its name, the page.
std::string ChannelPopupTitle(const CTonraDoc& document, int channel, const std::string& page);

// Width and height of the window rectangle, caption and border included: what the popups'
// layouts are written against.
CSize WindowSize(const CWnd& window);

// Places a popup with its top-left corner at `position` (screen), `size` including the frame,
// and shows it above its owner.
void ShowPopupAt(CWnd& window, CPoint position, CSize size);

// Draws a page's label centred in `rect` on the light grey face, in the page font; a label the
// substitute face draws wider than `rect` is drawn smaller until it fits, so that it is never
// cut.
void DrawLabel(CDC& dc, const std::string& text, const CRect& rect);

} // namespace pages
