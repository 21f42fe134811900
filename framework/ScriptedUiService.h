// A UI service that answers from a script and records everything shown: for tests and for
// any run without a person at the screen.
#pragma once

#include "framework/UiService.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class CScriptedUiService : public CUiService {
public:
    struct Shown {
        enum class Kind { MessageBox, FileDialog, Dialog, Menu };
        Kind kind;
        std::string text;    // message text, file filter, dialog caption, or a menu's captions (one a line)
        std::string caption; // message box caption or file dialog title
        UINT type = 0;       // message box type
    };
    // What a script does with a dialog: set its controls and click its buttons.
    using DialogScript = std::function<void(CDialog&)>;

    // Queue answers, used in order. Without a queued answer a message box answers OK (or
    // Yes), a file dialog is cancelled and a dialog is cancelled after its initialisation;
    // such uses are counted in unscripted.
    void AnswerMessageBox(int answer) { messageAnswers_.push_back(answer); }
    void AnswerFileDialog(std::optional<std::string> path) { fileAnswers_.push_back(std::move(path)); }
    void AnswerDialog(DialogScript script) { dialogScripts_.push_back(std::move(script)); }
    // A popup menu answers with the queued command id when the menu holds it as an enabled
    // entry, and is dismissed (0) otherwise; an unscripted menu is dismissed.
    void AnswerMenu(UINT id) { menuAnswers_.push_back(id); }
    // The entries of the popup menu shown last (empty when none was shown).
    const std::vector<MenuItem>& LastMenu() const { return lastMenu_; }

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> MessageTexts() const;
    int unscripted() const { return unscripted_; }
    void Clear();

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    int RunModal(CDialog& dialog) override;
    UINT PopupMenu(const std::vector<MenuItem>& items, CPoint screenPoint) override;

private:
    std::vector<Shown> shown_;
    std::deque<int> messageAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<DialogScript> dialogScripts_;
    std::deque<UINT> menuAnswers_;
    std::vector<MenuItem> lastMenu_;
    int unscripted_ = 0;
};
