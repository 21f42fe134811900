// CStatusOutput: where veltrix-cli reports what the link does. On a terminal a transfer's
// progress is one line that is rewritten with the percentage and the time left; for a script
// (a pipe or a file) every status text is a line of its own, as the engine writes it. Messages
// close an open progress line first, so nothing is written into the middle of it.
#pragma once

#include "framework/UiService.h"

#include <QElapsedTimer>

#include <cstdio>
#include <string>

class CStatusOutput {
public:
    // Writes to `stream`; `terminal` chooses the updating line.
    CStatusOutput(std::FILE* stream, bool terminal);

    // A status text of the link engine.
    void Status(const std::string& text);
    // A line of its own, for example the reason a command failed.
    void Message(const std::string& text);
    // Ends an open progress line.
    void CloseLine();

    // The progress text with the time left, as the terminal shows it: "Sync Status: 42%, 3 s
    // left". `percent` of the transfer took `elapsedMs` so far.
    static std::string WithTimeLeft(const std::string& text, int percent, long long elapsedMs);

private:
    std::FILE* stream_;
    const bool terminal_;
    bool lineOpen_ = false;
    QElapsedTimer transferClock_;
};

// Message boxes of the engine and the document as lines on the error output, after the
// progress line is closed.
class CCliUiService : public CStderrUiService {
public:
    explicit CCliUiService(CStatusOutput& output) : output_(output) {}
    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;

private:
    CStatusOutput& output_;
};
