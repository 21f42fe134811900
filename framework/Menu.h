// CMenu: a popup menu, built entry by entry and shown at a point on the screen through the UI
// service (so tests answer it from a script). It is the shape of the original platform's menu
// for the one use the program has: a context menu whose choice the caller acts on at once.
#pragma once

#include "framework/UiService.h"

#include <string>
#include <vector>

class CWnd;

// Flags of TrackPopupMenu. The framework always returns the chosen command id, as the
// original platform does with TPM_RETURNCMD; there is no command message.
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_RETURNCMD = 0x0100;

class CMenu {
public:
    // Starts an empty popup menu (a menu built before is dropped).
    bool CreatePopupMenu();
    // Adds an entry: MF_STRING with `id` and `text`, or MF_SEPARATOR.
    bool AppendMenu(UINT flags, UINT id = 0, const std::string& text = {});
    // Shows the menu at screen point (x, y) and returns the chosen command id, or 0 when the
    // menu was dismissed or holds no entry.
    UINT TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) const;

    const std::vector<MenuItem>& Items() const { return items_; }

private:
    std::vector<MenuItem> items_;
};
