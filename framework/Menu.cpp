#include "framework/Menu.h"

bool CMenu::CreatePopupMenu() {
    items_.clear();
    return true;
}

bool CMenu::AppendMenu(UINT flags, UINT id, const std::string& text) {
    items_.push_back({flags, id, (flags & MF_SEPARATOR) != 0 ? std::string() : text});
    return true;
}

UINT CMenu::TrackPopupMenu(UINT, int x, int y, CWnd*) const {
    return items_.empty() ? 0 : UiService().PopupMenu(items_, CPoint(x, y));
}
