#include "model/ParamScales.h"

#include "framework/Format.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace model {

namespace {

constexpr double kOctaveBase = 2;
constexpr double kDecibelsPerDecade = 20; // voltage ratios
constexpr double kPowerDecibelsPerDecade = 10;
constexpr int kShelfSteepSlopeDb = 12;
constexpr int kShelfGentleSlopeDb = 6;
constexpr double kPowerReferenceDb = 20; // threshold index 0 is -20 dBu
constexpr double kPowerDivisor = 4;      // peak to sine power
constexpr double kHundredths = 100;      // Q compared to two decimals
constexpr double kKilo = 1000;           // "k" after a typed frequency
// A typed width times 100 is read to a millionth before it is truncated: 0.29 x 100 is
// 28.999999999999996 in binary, and the 0.29 the page shows must read back as itself.
constexpr double kWidthResolution = 1e6;

// "+" before a positive value, as the gain displays show it.
std::string SignedFixed(double value, bool positive, bool oneDecimal) {
    if (oneDecimal) {
        return positive ? Format("+%.1f", value) : Format("%.1f", value);
    }
    return positive ? Format("+%2.2f", value) : Format("%2.2f", value);
}

unsigned AsUnsigned(int v) { return static_cast<unsigned>(v); }

// The feet of one metre.
double FeetPerMetre() { return kCentimetresPerMetre / kCentimetresPerInch / kInchesPerFoot; }

} // namespace

// ---- Physical values ----

double GainDb(int v) { return (v - kGainZeroIndex) / kStepsPerDb; }
double EqGainDb(int v) { return (v - kEqGainZeroIndex) / kStepsPerDb; }
int FrequencyHz(int v) { return v + kFrequencyOffsetHz; }
double WidthOctaves(int v) { return (v + kWidthOffset) / kWidthPerOctave; }

double WidthQ(int v) {
    const double octaves = WidthOctaves(v);
    return std::pow(kOctaveBase, octaves / 2) / (std::pow(kOctaveBase, octaves) - 1);
}

double SourceLevelDb(int v, int max) { return (v - max) / kStepsPerDb; }
int SlopeDbPerOctave(int v) { return kSlopeStepDb * v + kSlopeStepDb; }
double ThresholdDbu(int v) { return (v - kThresholdZeroIndex) / kThresholdStepsPerDb; }

double AttackMs(int v) {
    return v < kShortAttackCount ? (v + kShortAttackOffset) / kAttackTenths : v - kLongAttackOffset;
}

double ReleaseFactor(int v) { return std::pow(kOctaveBase, v + 1); }
int AmpVoltageGain(int v) { return v + kAmpGainOffset; }
double AmpGainDb(int v) { return kDecibelsPerDecade * std::log10(AmpVoltageGain(v)); }
int ImpedanceOhms(int v) { return v + kImpedanceOffset; }

double SpeedOfSound(double celsius) { return std::sqrt(kSoundSpeedFactor * (celsius + kCelsiusToKelvin)); }
double MetresToFeet(double metres) { return metres * FeetPerMetre(); }
double DelayMs(int samples) { return static_cast<double>(samples) / kSamplesPerMs; }
double DelayMetres(int samples, double celsius) { return samples * SpeedOfSound(celsius) / kSampleRate; }
double DelayFeet(int samples, double celsius) { return MetresToFeet(DelayMetres(samples, celsius)); }

double CalculatedPower(int threshold, int ampGain, int impedance) {
    const double voltageGain = AmpVoltageGain(ampGain);
    return kReferenceLevel * std::pow(10.0, (threshold / 2.0 - kPowerReferenceDb) / kPowerDecibelsPerDecade) *
           voltageGain * voltageGain / ImpedanceOhms(impedance) / kPowerDivisor;
}

// ---- Display texts ----

std::string GainText(int v) { return SignedFixed(GainDb(v), v > kGainZeroIndex, false); }
std::string PolarityText(int v) { return v != 0 ? "-" : "+"; }
std::string DelayText(int v) { return Format("%u", AsUnsigned(v)); }

std::string EqTypeText(int v) {
    switch (v) {
    case kEqParametric:
        return "Param";
    case kEqLowShelf:
        return "Lo-Shf";
    default:
        return "Hi-Shf";
    }
}

std::string EqGainText(int v) { return SignedFixed(EqGainDb(v), v > kEqGainZeroIndex, false); }
std::string FrequencyText(int v) { return Format("%u", AsUnsigned(FrequencyHz(v))); }

std::string WidthText(int v, bool shelf, bool asQ) {
    if (shelf) {
        return Format("%d", v != 0 ? kShelfSteepSlopeDb : kShelfGentleSlopeDb) + std::string(kUnitDb);
    }
    return Format("%2.2f", asQ ? WidthQ(v) : WidthOctaves(v));
}

std::string SourceLevelText(int v, int max) {
    return v == 0 ? "Off" : Format("%2.2f", SourceLevelDb(v, max));
}

std::string XoverTypeText(int v) {
    // Type 0 reads "None" here; the pages' own list shows "--".
    constexpr std::array<const char*, 4> kNames = {"None", "BUT", "LR", "BES"};
    return kNames[static_cast<std::size_t>(std::clamp(v, 0, static_cast<int>(kNames.size()) - 1))];
}

std::string SlopeText(int v) { return Format("%u", AsUnsigned(SlopeDbPerOctave(v))); }
std::string ThresholdText(int v) { return SignedFixed(ThresholdDbu(v), v > kThresholdZeroIndex, true); }

std::string AttackText(int v) {
    return v < kShortAttackCount ? Format("%.1f", AttackMs(v))
                                 : Format("%u", AsUnsigned(v - kLongAttackOffset));
}

std::string ReleaseText(int v) { return Format("%.0fX", ReleaseFactor(v)); }
std::string AmpGainText(int v) { return Format("%u (%.1f dB)", AsUnsigned(AmpVoltageGain(v)), AmpGainDb(v)); }
std::string ImpedanceText(int v) {
    return Format("%u ", AsUnsigned(ImpedanceOhms(v))) + std::string(kUnitOhms);
}

// ---- Typed numbers ----

double ParseDecimal(std::string_view text) {
    double sum = 0;
    double divisor = 1;
    bool negative = false;
    bool dotSeen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' || c == ',') {
            dotSeen = true;
        } else if (c >= '0' && c <= '9') {
            sum = sum * 10 + (c - '0');
            if (dotSeen) {
                divisor *= 10;
            }
        } else if (c == '-' && i == 0) {
            negative = true;
        }
    }
    return (negative ? -sum : sum) / divisor;
}

double ParseFrequency(std::string_view text) {
    const std::size_t firstDigit = text.find_first_of("0123456789");
    const bool kilo = firstDigit != std::string_view::npos &&
                      text.find_first_of("kK", firstDigit) != std::string_view::npos;
    return ParseDecimal(text) * (kilo ? kKilo : 1);
}

int SaturatingTrunc(double x) {
    if (std::isnan(x)) {
        return 0;
    }
    if (x >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (x <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(x);
}

namespace {
// trunc(x) + offset without leaving the int range.
int TruncPlus(double x, int offset) {
    const long long sum = static_cast<long long>(SaturatingTrunc(x)) + offset;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}
} // namespace

int GainIndex(double db) { return TruncPlus(db * kStepsPerDb, kGainZeroIndex); }
int DelayIndexFromSamples(double samples) { return SaturatingTrunc(samples); }
int DelayIndexFromMs(double ms) { return SaturatingTrunc(ms * kSamplesPerMs); }

int DelayIndexFromMetres(double metres, double celsius) {
    return SaturatingTrunc(metres * kSampleRate / SpeedOfSound(celsius));
}

int DelayIndexFromFeet(double feet, double celsius) {
    return SaturatingTrunc(feet * kSampleRate / SpeedOfSound(celsius) / kCentimetresPerMetre *
                           kCentimetresPerInch * kInchesPerFoot);
}

int EqGainIndex(double db) { return TruncPlus(db * kStepsPerDb, kEqGainZeroIndex); }
int EqFreqIndex(double hz) { return TruncPlus(hz, -kFrequencyOffsetHz); }
int WidthIndexFromOctaves(double octaves) {
    const double hundredths = std::round(octaves * kWidthPerOctave * kWidthResolution) / kWidthResolution;
    return SaturatingTrunc(hundredths - kWidthOffset);
}

int WidthIndexFromQ(double q) {
    const double typed = q * kHundredths;
    for (int v = 0; v < kMaxWidth; ++v) {
        if (SaturatingTrunc(WidthQ(v) * kHundredths) < typed) {
            return v;
        }
    }
    return kMaxWidth;
}

int SourceLevelIndex(double db, int max) { return TruncPlus(db * kStepsPerDb, max); }
int XoverFreqIndex(double hz) { return TruncPlus(hz, -kFrequencyOffsetHz); }
int SlopeIndex(double dbPerOctave) { return SaturatingTrunc(dbPerOctave) / kSlopeStepDb - 1; }
int ThresholdIndex(double dbu) { return SaturatingTrunc(dbu * kThresholdStepsPerDb + kThresholdZeroIndex); }

int AttackIndex(double ms) {
    return ms < 1 ? SaturatingTrunc(ms * kAttackTenths - kShortAttackOffset)
                  : SaturatingTrunc(ms + kLongAttackOffset);
}

int ReleaseIndex(double multiple) {
    return SaturatingTrunc(std::log10(multiple) / std::log10(kOctaveBase) - 1);
}
int AmpGainIndex(double voltageGain) { return SaturatingTrunc(voltageGain - kAmpGainOffset); }
int ImpedanceIndex(double ohms) { return SaturatingTrunc(ohms - kImpedanceOffset); }

int TemperatureFromTyped(double celsius) {
    return std::clamp(SaturatingTrunc(celsius), kMinTemperature, kMaxTemperature);
}

} // namespace model
