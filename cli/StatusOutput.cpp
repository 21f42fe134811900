#include "cli/StatusOutput.h"

#include "framework/Format.h"

#include <cmath>

namespace {

constexpr const char* kClearLine = "\r\033[K"; // back to the line's start and clear it
constexpr std::string_view kInitializing = "Initializing";
constexpr int kPercent = 100;
constexpr double kMsPerSecond = 1000;

bool EndsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The share of a progress text ("Sync Status: 42%"); -1 for any other text.
int PercentOf(const std::string& text) {
    if (!EndsWith(text, "%")) {
        return -1;
    }
    const std::size_t digits = text.find_last_not_of("0123456789", text.size() - 2);
    return digits == std::string::npos || digits + 1 >= text.size() - 1 ? -1
                                                                        : std::stoi(text.substr(digits + 1));
}

} // namespace

CStatusOutput::CStatusOutput(std::FILE* stream, bool terminal) : stream_(stream), terminal_(terminal) {}

void CStatusOutput::Status(const std::string& text) {
    if (EndsWith(text, kInitializing)) {
        transferClock_.start();
    }
    if (!terminal_) {
        std::fprintf(stream_, "%s\n", text.c_str());
        std::fflush(stream_);
        return;
    }
    const int percent = PercentOf(text);
    const bool progress = percent >= 0 || EndsWith(text, kInitializing);
    const std::string shown = percent > 0 && transferClock_.isValid()
                                  ? WithTimeLeft(text, percent, transferClock_.elapsed())
                                  : text;
    std::fprintf(stream_, "%s%s%s", kClearLine, shown.c_str(), progress ? "" : "\n");
    std::fflush(stream_);
    lineOpen_ = progress;
}

void CStatusOutput::Message(const std::string& text) {
    CloseLine();
    std::fprintf(stream_, "%s\n", text.c_str());
    std::fflush(stream_);
}

void CStatusOutput::CloseLine() {
    if (lineOpen_) {
        std::fprintf(stream_, "\n");
        lineOpen_ = false;
    }
}

std::string CStatusOutput::WithTimeLeft(const std::string& text, int percent, long long elapsedMs) {
    if (percent <= 0 || percent >= kPercent) {
        return text;
    }
    const double left = static_cast<double>(elapsedMs) * (kPercent - percent) / percent / kMsPerSecond;
    return text + Format(", %.0f s left", std::ceil(left));
}

int CCliUiService::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    output_.CloseLine();
    return CStderrUiService::MessageBox(text, caption, type);
}
