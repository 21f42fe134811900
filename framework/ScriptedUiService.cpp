#include "framework/ScriptedUiService.h"

#include "framework/Dialog.h"

#include <algorithm>

std::vector<std::string> CScriptedUiService::MessageTexts() const {
    std::vector<std::string> texts;
    for (const Shown& item : shown_) {
        if (item.kind == Shown::Kind::MessageBox) {
            texts.push_back(item.text);
        }
    }
    return texts;
}

void CScriptedUiService::Clear() {
    shown_.clear();
    messageAnswers_.clear();
    fileAnswers_.clear();
    dialogScripts_.clear();
    menuAnswers_.clear();
    lastMenu_.clear();
    unscripted_ = 0;
}

int CScriptedUiService::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    shown_.push_back({Shown::Kind::MessageBox, text, caption, type});
    if (!messageAnswers_.empty()) {
        const int answer = messageAnswers_.front();
        messageAnswers_.pop_front();
        return answer;
    }
    ++unscripted_;
    const UINT buttons = type & MB_BUTTONMASK;
    return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}

std::optional<std::string> CScriptedUiService::FileDialog(const FileDialogRequest& request) {
    shown_.push_back({Shown::Kind::FileDialog, request.filter, request.title, 0});
    if (fileAnswers_.empty()) {
        ++unscripted_;
        return std::nullopt;
    }
    std::optional<std::string> answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

int CScriptedUiService::RunModal(CDialog& dialog) {
    shown_.push_back({Shown::Kind::Dialog, dialog.Caption(), {}, 0});
    if (!dialog.CreateDialogWindow(nullptr)) {
        return IDCANCEL;
    }
    if (!dialogScripts_.empty()) {
        DialogScript script = std::move(dialogScripts_.front());
        dialogScripts_.pop_front();
        script(dialog);
    } else {
        ++unscripted_;
    }
    const int result = dialog.IsEnded() ? dialog.Result() : IDCANCEL;
    dialog.DestroyDialogWindow();
    return result;
}

UINT CScriptedUiService::PopupMenu(const std::vector<MenuItem>& items, CPoint) {
    std::string captions;
    for (const MenuItem& item : items) {
        captions += (item.flags & MF_SEPARATOR) != 0 ? "-" : item.text;
        captions += '\n';
    }
    shown_.push_back({Shown::Kind::Menu, captions, {}, 0});
    lastMenu_ = items;
    if (menuAnswers_.empty()) {
        ++unscripted_;
        return 0;
    }
    const UINT answer = menuAnswers_.front();
    menuAnswers_.pop_front();
    const bool offered = std::any_of(items.begin(), items.end(), [answer](const MenuItem& item) {
        return item.id == answer && (item.flags & (MF_SEPARATOR | MF_GRAYED)) == 0;
    });
    return offered ? answer : 0;
}
