#include "app/StatusLine.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::string_view kLinkOk = "Link Status: OK";
constexpr std::string_view kLinkError = "Link Status: Error";
constexpr std::string_view kLinkOffline = "Link Status: Offline";
constexpr std::string_view kFinished = "Finished";
constexpr std::string_view kFailed = "Failed";
// An Upload or a Download is followed by a Sync of its own: the Sync's progress must not wipe
// out how the transfer ended.
constexpr std::array<std::string_view, 2> kFollowedBySync = {"Upload Status: ", "Download Status: "};
constexpr std::string_view kSyncPrefix = "Sync Status: ";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// Texts that say nothing more than "the link is quiet": anything worth telling replaces them.
bool SaysNothing(const std::string& text) { return text.empty() || text == kLinkOk; }

} // namespace

void CStatusLine::Observe(const std::string& text, Clock::time_point now) {
    if (IsEndText(text) && text != held_) {
        held_ = text;
        heldSince_ = now;
    }
}

void CStatusLine::Announce(std::string text, Clock::time_point now) {
    announced_ = std::move(text);
    announcedSince_ = now;
}

std::string CStatusLine::Shown(const LinkState& link, Clock::time_point now) const {
    if (!announced_.empty() && now - announcedSince_ < kHoldTime) {
        return announced_;
    }
    if (link.offline) {
        return std::string(kLinkOffline);
    }
    const std::string& text = link.statusText;
    const bool quiet = SaysNothing(text) || IsEndText(text);
    if (link.unsentChanges > 0 && !link.linkDown && quiet) {
        return SendingText(link.unsentChanges);
    }
    if (Holding(now) && (SaysNothing(text) || text == held_ || FollowingSyncRuns(text))) {
        return held_;
    }
    if (link.linkDown && quiet) {
        // The engine reports a dropped link once; a page opened later, or the failed Sync
        // that follows, must not hide it.
        return std::string(kLinkError);
    }
    return text;
}

bool CStatusLine::FollowingSyncRuns(std::string_view text) const {
    const bool followedBySync =
        std::any_of(kFollowedBySync.begin(), kFollowedBySync.end(),
                    [&](std::string_view prefix) { return StartsWith(held_, prefix); });
    return followedBySync && StartsWith(text, kSyncPrefix) && !IsEndText(text);
}

std::string CStatusLine::SendingText(int count) { return "Sending " + ChangesText(count) + "..."; }

std::string CStatusLine::ChangesText(int count) {
    return std::to_string(count) + (count == 1 ? " change" : " changes");
}

bool CStatusLine::IsEndText(std::string_view text) {
    return text.find(kFinished) != std::string_view::npos || text.find(kFailed) != std::string_view::npos;
}
