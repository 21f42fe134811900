// CStatusLine: what the status box of the device page shows. Mostly the engine's own status
// text, but an operation's last word ("Sync Status: Finished OK", "Upload Status: Failed")
// stays long enough to be read before the idle link's "Link Status: OK" replaces it; a link
// that is down or a device that is offline says so even when no engine writes the line; and
// changes that are still going out are counted ("Sending 11 changes...").
#pragma once

#include <chrono>
#include <string>
#include <string_view>

class CStatusLine {
public:
    using Clock = std::chrono::steady_clock;
    // How long an operation's last word stays at least.
    static constexpr std::chrono::milliseconds kHoldTime{3000};

    // What is known about the shown device's link when the line is drawn.
    struct LinkState {
        std::string statusText; // what its engine wrote last
        bool offline = false;   // no connection was opened for it
        bool linkDown = false;  // it stopped answering
        int unsentChanges = 0;  // changes not yet handed to the device
    };

    // The engine wrote `text` at `now`.
    void Observe(const std::string& text, Clock::time_point now);
    // What the operator just did ("Undo: Out 2 Level +2.50 -> -1.00"): shown before anything
    // else for the hold time.
    void Announce(std::string text, Clock::time_point now);
    // The page changed: nothing is held any more.
    void Reset() {
        held_.clear();
        announced_.clear();
    }
    std::string Shown(const LinkState& link, Clock::time_point now) const;

    // "Sending 11 changes..."
    static std::string SendingText(int count);
    // "1 change", "11 changes".
    static std::string ChangesText(int count);
    // The last word of an operation: it finished or failed.
    static bool IsEndText(std::string_view text);

private:
    bool Holding(Clock::time_point now) const { return !held_.empty() && now - heldSince_ < kHoldTime; }
    // The held text ended an Upload or a Download and `text` is the progress of the Sync that
    // follows it.
    bool FollowingSyncRuns(std::string_view text) const;

    std::string held_;
    Clock::time_point heldSince_{};
    std::string announced_;
    Clock::time_point announcedSince_{};
};
