#include "model/DeviceText.h"

#include "model/TonraDoc.h"

#include <algorithm>

namespace model {

namespace {

constexpr char kBlank = ' ';
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';
constexpr char kFirstSign = '-'; // the signs follow the blank, the letters and the digits

// UTF-8: a lead byte tells the length of its sequence, and every further byte is 10xxxxxx.
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationBits = 0x80;
constexpr unsigned char kLeadOfTwo = 0xC2; // 0xC0 and 0xC1 would only spell ASCII again
constexpr unsigned char kLeadOfThree = 0xE0;
constexpr unsigned char kLeadOfFour = 0xF0;
constexpr unsigned char kPastLeads = 0xF5;

std::size_t SequenceLength(unsigned char lead) {
    if (lead < kLeadOfTwo || lead >= kPastLeads) {
        return 1;
    }
    return lead < kLeadOfThree ? 2 : lead < kLeadOfFour ? 3 : 4;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & kContinuationMask) == kContinuationBits;
}

} // namespace

std::size_t CharacterBytes(std::string_view text, std::size_t at) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[at]));
    if (length == 1 || at + length > text.size()) {
        return 1;
    }
    const auto rest = text.substr(at + 1, length - 1);
    return std::all_of(rest.begin(), rest.end(), IsContinuation) ? length : 1;
}

std::string KeepToDeviceChars(std::string_view text, int width) {
    std::string kept;
    for (std::size_t at = 0; at < text.size() && static_cast<int>(kept.size()) < width;
         at += CharacterBytes(text, at)) {
        const bool single = CharacterBytes(text, at) == 1;
        const bool known = single && CTonraDoc::NameCharTable.find(text[at]) != std::string_view::npos;
        kept += known ? text[at] : kBlank;
    }
    return kept;
}

std::string PasswordProblem(std::string_view password) {
    if (KeepToDeviceChars(password, static_cast<int>(password.size())) != password) {
        return "A password can hold only letters, digits, blanks and these characters: " +
               std::string(CTonraDoc::NameCharTable.substr(CTonraDoc::NameCharTable.find(kFirstSign))) +
               "\nThe password was not changed.";
    }
    if (password.ends_with(kBlank)) {
        return "A password cannot end with a blank: the device does not keep it.\nThe password was not "
               "changed.";
    }
    return {};
}

std::string KeepToPrintable(std::string_view text, int width) {
    std::string kept(text.substr(0, static_cast<std::size_t>(std::max(width, 0))));
    std::replace_if(
        kept.begin(), kept.end(), [](char c) { return c < kFirstPrintable || c > kLastPrintable; }, kBlank);
    return kept;
}

} // namespace model
