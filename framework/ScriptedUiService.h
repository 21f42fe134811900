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
        enum class Kind { MessageBox, FileDialog, Dialog };
        Kind kind;
        std::string text;    // message text, file filter, or dialog caption
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

    const std::vector<Shown>& shown() const { return shown_; }
    std::vector<std::string> MessageTexts() const;
    int unscripted() const { return unscripted_; }
    void Clear();

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    int RunModal(CDialog& dialog) override;

private:
    std::vector<Shown> shown_;
    std::deque<int> messageAnswers_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::deque<DialogScript> dialogScripts_;
    int unscripted_ = 0;
};
