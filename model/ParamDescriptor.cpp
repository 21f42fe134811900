#include "model/ParamDescriptor.h"

#include "framework/Format.h"
#include "model/ParamScales.h"
#include "model/TonraDoc.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace model {

namespace {

// ---- Where a value lives ----

bool IsShelf(const ParamPlace& at) {
    return at.doc.GetParam(kEqType, at.channel, at.index, at.device) != kEqParametric;
}

// The band's width is shown, and typed, as a Q rather than in octaves.
bool ShowsQ(const ParamPlace& at) {
    const int d = at.doc.ResolveDevice(at.device);
    return d >= 0 && at.index >= 0 && at.index < kBandCount && at.doc.qDisplay[d][at.index] != 0;
}

int SourceLevelMax(const ParamPlace& at) { return at.doc.MaxParamValue(kMixLevel, at.device); }

// ---- Showing ----

template <std::string (*Text)(int)> std::string Shown(int v, const ParamPlace&) { return Text(v); }

std::string ShowWidth(int v, const ParamPlace& at) { return WidthText(v, IsShelf(at), ShowsQ(at)); }
std::string ShowSourceLevel(int v, const ParamPlace& at) { return SourceLevelText(v, SourceLevelMax(at)); }
std::string ShelfSlopeText(int v) { return WidthText(v, true, false); }

// ---- Page fields: every character that is not part of the number is skipped ----

// A page shows some values with a note in brackets ("10 (20.0 dB)", "4X (3.6ms)"); the note is
// not part of the value, so that the shown text, applied again, keeps the value.
double FieldValue(const PageField& field) {
    return ParseDecimal(field.text.substr(0, field.text.find('(')));
}

template <int (*Index)(double)> std::optional<int> FieldNumber(const PageField& field, const ParamPlace&) {
    return Index(FieldValue(field));
}

template <int (*Index)(double)> std::optional<int> FieldFrequency(const PageField& field, const ParamPlace&) {
    return Index(ParseFrequency(field.text));
}

std::optional<int> FieldDelay(const PageField& field, const ParamPlace&) {
    const double x = ParseDecimal(field.text);
    if (field.unit == kUnitMs) {
        return DelayIndexFromMs(x);
    }
    if (field.unit == kUnitMetres) {
        return DelayIndexFromMetres(x, field.celsius);
    }
    if (field.unit == kUnitFeet) {
        return DelayIndexFromFeet(x, field.celsius);
    }
    return DelayIndexFromSamples(x);
}

// A shelf's slope is chosen with its buttons; its width field takes nothing.
std::optional<int> FieldWidth(const PageField& field, const ParamPlace& at) {
    if (IsShelf(at)) {
        return std::nullopt;
    }
    const double typed = ParseDecimal(field.text);
    return ShowsQ(at) ? WidthIndexFromQ(typed) : WidthIndexFromOctaves(typed);
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "Off", as the field shows a switched-off input, keeps it off.
std::optional<int> FieldSourceLevel(const PageField& field, const ParamPlace& at) {
    if (LowerCase(Trimmed(field.text)) == "off") {
        return 0;
    }
    return SourceLevelIndex(FieldValue(field), SourceLevelMax(at));
}

// ---- Command-line values: a number and one of the kind's unit words, or a word ----

// A number in the pages' form followed by an optional unit word: "+2.5", "-10dB", "10 ms",
// "2,5k"; the decimal point is "." or ",".
struct TypedNumber {
    double value = 0;
    std::string unit; // lower case
    std::string text; // number and unit, without blanks around them
};

std::optional<TypedNumber> ReadTypedNumber(std::string_view text) {
    static const QRegularExpression kForm(R"(^\s*([+-]?(?:\d+[.,]?\d*|[.,]\d+))\s*([A-Za-z/]*)\s*$)");
    const QString typed = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QRegularExpressionMatch match = kForm.match(typed);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    return TypedNumber{ParseDecimal(match.captured(1).toStdString()),
                       LowerCase(match.captured(2).toStdString()), typed.trimmed().toStdString()};
}

// Whether `word` is one of the blank-separated `words`.
bool HasWord(std::string_view words, std::string_view word) {
    while (!words.empty()) {
        const std::size_t end = std::min(words.find(' '), words.size());
        if (words.substr(0, end) == word) {
            return true;
        }
        words.remove_prefix(std::min(end + 1, words.size()));
    }
    return false;
}

// A number that carries no unit word or one of `unitWords`.
std::optional<TypedNumber> ReadNumberIn(std::string_view text, std::string_view unitWords) {
    std::optional<TypedNumber> typed = ReadTypedNumber(text);
    if (typed && !typed->unit.empty() && !HasWord(unitWords, typed->unit)) {
        return std::nullopt;
    }
    return typed;
}

bool OneOf(const std::string& word, std::initializer_list<std::string_view> words) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The position of `text` among the display texts of indexes 0..count-1 (case ignored).
std::optional<int> NamedChoice(std::string_view text, int count, std::string (*textOf)(int)) {
    const std::string typed = LowerCase(text);
    for (int v = 0; v < count; ++v) {
        if (LowerCase(textOf(v)) == typed) {
            return v;
        }
    }
    return std::nullopt;
}

template <int (*Index)(double)>
std::optional<int> TypedNumberIn(const ParamDescriptor& self, std::string_view text, const ParamPlace&) {
    const std::optional<TypedNumber> typed = ReadNumberIn(text, self.unitWords);
    return typed ? std::optional(Index(typed->value)) : std::nullopt;
}

// The pages' reading of a typed frequency, "k" included.
template <int (*Index)(double)>
std::optional<int> TypedFrequency(const ParamDescriptor& self, std::string_view text, const ParamPlace&) {
    const std::optional<TypedNumber> typed = ReadNumberIn(text, self.unitWords);
    return typed ? std::optional(Index(ParseFrequency(typed->text))) : std::nullopt;
}

std::optional<int> TypedDelay(const ParamDescriptor& self, std::string_view text, const ParamPlace&) {
    const std::optional<TypedNumber> typed = ReadNumberIn(text, self.unitWords);
    if (!typed) {
        return std::nullopt;
    }
    return typed->unit == kUnitMs ? DelayIndexFromMs(typed->value) : DelayIndexFromSamples(typed->value);
}

std::optional<int> TypedWidth(const ParamDescriptor& self, std::string_view text, const ParamPlace& at) {
    if (IsShelf(at)) {
        return NamedChoice(text, kMaxShelfSlopeFlag + 1, ShelfSlopeText);
    }
    const std::optional<TypedNumber> typed = ReadNumberIn(text, self.unitWords);
    if (!typed) {
        return std::nullopt;
    }
    return typed->unit == "q" ? WidthIndexFromQ(typed->value) : WidthIndexFromOctaves(typed->value);
}

std::optional<int> TypedSourceLevel(const ParamDescriptor& self, std::string_view text,
                                    const ParamPlace& at) {
    if (LowerCase(text) == "off") {
        return 0;
    }
    const std::optional<TypedNumber> typed = ReadNumberIn(text, self.unitWords);
    if (!typed) {
        return std::nullopt;
    }
    // An index of 0 would switch the input off: a level below the lowest is out of range.
    const int v = SourceLevelIndex(typed->value, SourceLevelMax(at));
    return v == 0 ? -1 : v;
}

std::optional<int> TypedMute(const ParamDescriptor&, std::string_view text, const ParamPlace&) {
    const std::string word = LowerCase(text);
    return OneOf(word, {"on", "1"})    ? std::optional(1)
           : OneOf(word, {"off", "0"}) ? std::optional(0)
                                       : std::nullopt;
}

std::optional<int> TypedPolarity(const ParamDescriptor&, std::string_view text, const ParamPlace&) {
    const std::string word = LowerCase(text);
    return OneOf(word, {"+", "normal", "0"})     ? std::optional(0)
           : OneOf(word, {"-", "inverted", "1"}) ? std::optional(1)
                                                 : std::nullopt;
}

std::optional<int> TypedEqType(const ParamDescriptor&, std::string_view text, const ParamPlace&) {
    return NamedChoice(text, kEqHighShelf + 1, EqTypeText);
}

// "None" as the sheet shows it, or "--" as the signal page lists it.
std::optional<int> TypedXoverType(const ParamDescriptor&, std::string_view text, const ParamPlace&) {
    if (LowerCase(text) == kXoverTypeNames[0]) {
        return 0;
    }
    return NamedChoice(text, kParamUpperBound[kXoverType] + 1, XoverTypeText);
}

constexpr std::string_view kNoText;
constexpr auto kNone = IndexKind::None;

// kind, name, unit, index, outputs only, values, range, unit words, show, page field, command line
constexpr std::array<ParamDescriptor, kParamKindCount> kDescriptors = {{
    {kMeterLevel, kNoText, kNoText, kNone, false, kNoText, kNoText, kNoText, nullptr, nullptr, nullptr},
    {kMute, "mute", kNoText, kNone, false, "on or off", kNoText, kNoText, nullptr, nullptr, TypedMute},
    {kGain, "level", kUnitDb, kNone, false, "dB, for example +2.5 or -10dB", "-40.00 to +15.00 dB", "db",
     Shown<GainText>, FieldNumber<GainIndex>, TypedNumberIn<GainIndex>},
    {kPolarity, "polarity", kNoText, kNone, false, "+ (normal) or - (inverted)", kNoText, kNoText,
     Shown<PolarityText>, nullptr, TypedPolarity},
    {kDelay, "delay", kUnitSamples, kNone, false, "samples at 48 kHz, or ms: 480 or 10ms", kNoText,
     "samples ms", Shown<DelayText>, FieldDelay, TypedDelay},
    {kEqType, "eq-type", kNoText, IndexKind::Band, false, "Param, Lo-Shf or Hi-Shf", kNoText, kNoText,
     Shown<EqTypeText>, nullptr, TypedEqType},
    {kEqGain, "eq-gain", kUnitDb, IndexKind::Band, false, "dB", "-30.00 to +15.00 dB", "db",
     Shown<EqGainText>, FieldNumber<EqGainIndex>, TypedNumberIn<EqGainIndex>},
    {kEqFreq, "eq-freq", kUnitHz, IndexKind::Band, false, "Hz, for example 1000 or 2.5k", "20 to 20000 Hz",
     "hz k khz", Shown<FrequencyText>, FieldFrequency<EqFreqIndex>, TypedFrequency<EqFreqIndex>},
    {kEqWidth, "eq-width", kUnitOctaves, IndexKind::Band, false,
     "octaves (0.33) or a Q (4.36Q); a shelf takes 6dB or 12dB", "0.02 to 2.50 octaves", "oct q", ShowWidth,
     FieldWidth, TypedWidth},
    {kChannelName, "name", kNoText, kNone, false, "up to 6 characters of the device's character set", kNoText,
     kNoText, nullptr, nullptr, nullptr},
    {kMixLevel, "mix", kUnitDb, IndexKind::MixInput, true, "dB or off; on a routing device 0 (on) or off",
     kNoText, "db", ShowSourceLevel, FieldSourceLevel, TypedSourceLevel},
    {kXoverType, "xover-type", kNoText, IndexKind::Filter, true, "None, BUT, LR or BES", kNoText, kNoText,
     Shown<XoverTypeText>, nullptr, TypedXoverType},
    {kXoverFreq, "xover-freq", kUnitHz, IndexKind::Filter, true, "Hz", "20 to 20000 Hz", "hz k khz",
     Shown<FrequencyText>, FieldFrequency<XoverFreqIndex>, TypedFrequency<XoverFreqIndex>},
    {kXoverSlope, "xover-slope", kUnitDb, IndexKind::Filter, true, "dB/octave, a multiple of 6",
     "6 to 48 dB/octave", "db db/oct", Shown<SlopeText>, FieldNumber<SlopeIndex>, TypedNumberIn<SlopeIndex>},
    {kLimThreshold, "threshold", kUnitDbu, kNone, true, "dBu", "-20.0 to +20.0 dBu", "dbu",
     Shown<ThresholdText>, FieldNumber<ThresholdIndex>, TypedNumberIn<ThresholdIndex>},
    {kLimAttack, "attack", kUnitMs, kNone, true, "ms", "0.3 to 100 ms", "ms", Shown<AttackText>,
     FieldNumber<AttackIndex>, TypedNumberIn<AttackIndex>},
    {kLimRelease, "release", kNoText, kNone, true, "times the attack: 2X, 4X, 8X, 16X or 32X", kNoText, "x",
     Shown<ReleaseText>, FieldNumber<ReleaseIndex>, TypedNumberIn<ReleaseIndex>},
    {kAmpGain, kNoText, kNoText, kNone, true, kNoText, kNoText, kNoText, Shown<AmpGainText>,
     FieldNumber<AmpGainIndex>, nullptr},
    {kSpeakerImpedance, kNoText, kNoText, kNone, true, kNoText, kNoText, kNoText, Shown<ImpedanceText>,
     FieldNumber<ImpedanceIndex>, nullptr},
}};

constexpr bool InKindOrder() {
    for (std::size_t kind = 0; kind < kDescriptors.size(); ++kind) {
        if (kDescriptors[kind].kind != static_cast<int>(kind)) {
            return false;
        }
    }
    return true;
}
static_assert(InKindOrder(), "the descriptor of kind k is entry k");

// Shows and reads nothing.
constexpr ParamDescriptor kNoParam = {-1,      kNoText, kNoText, kNone,   false,  kNoText,
                                      kNoText, kNoText, nullptr, nullptr, nullptr};

std::string DelayRangeText(const ParamPlace& at) {
    const int max = at.doc.MaxParamValue(kDelay, at.device);
    return Format("0 to %d samples (%g ms) on this model", max, DelayMs(max));
}

std::string SourceLevelRangeText(const ParamPlace& at) {
    const int max = SourceLevelMax(at);
    return max > kMaxSourceLevelRouting ? "off, or " + SourceLevelText(1, max) + " to " +
                                              SourceLevelText(max, max) + " dB on this model"
                                        : std::string("off or 0 (on) on this model");
}

} // namespace

std::string ParamDescriptor::Show(int v, const ParamPlace& at) const {
    return show ? show(v, at) : std::string();
}

std::optional<int> ParamDescriptor::ReadField(const PageField& field, const ParamPlace& at) const {
    return readField ? readField(field, at) : std::nullopt;
}

std::optional<int> ParamDescriptor::ReadTyped(std::string_view text, const ParamPlace& at) const {
    return readTyped ? readTyped(*this, text, at) : std::nullopt;
}

int ParamDescriptor::UpperBound(const ParamPlace& at) const {
    if (kind == kDelay || kind == kMixLevel) {
        return at.doc.MaxParamValue(kind, at.device);
    }
    if (kind == kEqWidth && IsShelf(at)) {
        return kMaxShelfSlopeFlag;
    }
    return kind < 0 ? 0 : kParamUpperBound[static_cast<std::size_t>(kind)];
}

std::string ParamDescriptor::RangeText(const ParamPlace& at) const {
    if (!range.empty()) {
        return std::string(range);
    }
    switch (kind) {
    case kDelay:
        return DelayRangeText(at);
    case kMixLevel:
        return SourceLevelRangeText(at);
    default:
        return std::string(values);
    }
}

const ParamDescriptor& DescriptorOf(int kind) {
    return kind >= 0 && kind < kParamKindCount ? kDescriptors[static_cast<std::size_t>(kind)] : kNoParam;
}

const ParamDescriptor* DescriptorNamed(std::string_view name) {
    const std::string lower = LowerCase(name);
    const auto found = std::find_if(kDescriptors.begin(), kDescriptors.end(), [&](const ParamDescriptor& p) {
        return !p.name.empty() && p.name == lower;
    });
    return found == kDescriptors.end() ? nullptr : &*found;
}

std::span<const ParamDescriptor> ParamDescriptors() { return kDescriptors; }

void SetParamFromField(CTonraDoc& doc, int kind, const PageField& field, int channel, int index) {
    if (const std::optional<int> v = DescriptorOf(kind).ReadField(field, {doc, channel, index})) {
        doc.SetParam(kind, *v, channel, index);
    }
}

std::string LowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

} // namespace model
