// The scales of the parameters: what physical value an index stands for, the text shown for
// it, and the conversion of a typed number back into an index. Every page uses these, so a
// value reads the same on the device panel, the signal page, the EQ editor and the data sheet.
#pragma once

#include "model/ModelTypes.h"

#include <array>
#include <string>
#include <string_view>

namespace model {

// ---- Ranges ----

// Upper bound of every parameter kind whose bound does not depend on the model; 0 for the
// meter (unbounded), the channel name and the model-dependent kinds 4 and 10.
constexpr std::array<int, kParamKindCount> kParamUpperBound = {
    0,     // 0 meter level
    1,     // 1 mute
    220,   // 2 gain
    1,     // 3 polarity
    0,     // 4 delay: MaxParamValue
    2,     // 5 EQ type
    180,   // 6 EQ gain
    19980, // 7 EQ frequency
    248,   // 8 EQ width
    0,     // 9 channel name
    0,     // 10 input source level: MaxParamValue
    3,     // 11 crossover type
    19980, // 12 crossover frequency
    7,     // 13 crossover slope
    80,    // 14 limiter threshold
    106,   // 15 limiter attack
    4,     // 16 limiter release
    190,   // 17 amplifier gain
    14,    // 18 speaker impedance
};

// Delay bound: the "RLT" models hold 21600 samples, the others 2400.
constexpr int kMaxDelayLong = 21600;
constexpr int kMaxDelayShort = 2400;
// Input source level bound: the "NQVE" family mixes at 161 levels, the others route on/off.
constexpr int kMaxSourceLevelMixing = 161;
constexpr int kMaxSourceLevelRouting = 1;
// The widest parametric band; a shelf stores its slope as 0 or 1.
constexpr int kMaxWidth = 248;
constexpr int kMaxShelfSlopeFlag = 1;

// Model families (ModelFamily); only the "NQVE" family changes behaviour.
constexpr int kFamilyZe = 0;
constexpr int kFamilyKva = 1;
constexpr int kFamilyRlt = 2;
constexpr int kFamilyNqve = 4;

// ---- Index zero points and steps ----
constexpr int kGainZeroIndex = 160;     // 0 dB
constexpr int kEqGainZeroIndex = 120;   // 0 dB
constexpr int kThresholdZeroIndex = 40; // 0 dBu
constexpr double kStepsPerDb = 4;       // gains move in 0.25 dB steps
constexpr double kThresholdStepsPerDb = 2;
constexpr int kFrequencyOffsetHz = 20;
constexpr int kSlopeStepDb = 6;
constexpr int kWidthOffset = 2; // width index v is (v + 2) / 100 octaves
constexpr double kWidthPerOctave = 100;
constexpr int kShortAttackCount = 7;  // attack indexes 0..6 are tenths of a millisecond
constexpr int kShortAttackOffset = 3; // 0.3 ms at index 0
constexpr double kAttackTenths = 10;
constexpr int kLongAttackOffset = 6; // index 7 is 1 ms
constexpr int kAmpGainOffset = 10;   // voltage gain 10 at index 0
constexpr int kImpedanceOffset = 2;  // 2 ohms at index 0

// ---- Derived quantities ----
constexpr int kSamplesPerMs = 48;
constexpr int kSampleRate = 48000;
constexpr double kSoundSpeedFactor = 400.4; // c^2 per kelvin, in m^2/s^2
constexpr double kCelsiusToKelvin = 273.15;
constexpr int kMinTemperature = 0;
constexpr int kMaxTemperature = 50;
constexpr double kCentimetresPerMetre = 100;
constexpr double kCentimetresPerInch = 2.54;
constexpr double kInchesPerFoot = 12;
constexpr double kReferenceLevel = 0.6; // squared volts at 0 dBu

// ---- Texts ----

// Crossover types as the pages list them (index 0..4); FormatParam says "None" for type 0.
constexpr std::array<std::string_view, 5> kXoverTypeNames = {"--", "BUT", "LR", "BES", "FIR"};

// Unit words shown after values.
constexpr std::string_view kUnitDb = "dB";
constexpr std::string_view kUnitDbu = "dBu";
constexpr std::string_view kUnitHz = "Hz";
constexpr std::string_view kUnitMs = "ms";
constexpr std::string_view kUnitSamples = "samples";
constexpr std::string_view kUnitMetres = "metres";
constexpr std::string_view kUnitFeet = "feet";
constexpr std::string_view kUnitWatts = "W";
constexpr std::string_view kUnitOhms = "Ohms";
constexpr std::string_view kUnitQ = "Q";
constexpr std::string_view kUnitOctaves = "Oct";

// ---- Physical values of indexes ----
double GainDb(int v);
double EqGainDb(int v);
int FrequencyHz(int v);
double WidthOctaves(int v);
// Q of a parametric band of width index v: 2^(N/2) / (2^N - 1) with N in octaves.
double WidthQ(int v);
// Input source level in dB for a non-zero index; `max` is MaxParamValue(10) of the device.
double SourceLevelDb(int v, int max);
int SlopeDbPerOctave(int v);
double ThresholdDbu(int v);
double AttackMs(int v);
// Release time as a multiple of the attack time.
double ReleaseFactor(int v);
int AmpVoltageGain(int v);
double AmpGainDb(int v);
int ImpedanceOhms(int v);

// Speed of sound in m/s at `celsius`.
double SpeedOfSound(double celsius);
double MetresToFeet(double metres);
double DelayMs(int samples);
double DelayMetres(int samples, double celsius);
double DelayFeet(int samples, double celsius);
// Power in watts that the limiter threshold allows through the amplifier into the speaker.
double CalculatedPower(int threshold, int ampGain, int impedance);

// ---- Display texts (the index already clamped) ----
std::string GainText(int v);
std::string PolarityText(int v);
std::string DelayText(int v);
std::string EqTypeText(int v);
std::string EqGainText(int v);
std::string FrequencyText(int v);
// A shelf shows its slope ("12dB" or "6dB"); a parametric band its width as Q or in octaves.
std::string WidthText(int v, bool shelf, bool asQ);
std::string SourceLevelText(int v, int max);
std::string XoverTypeText(int v);
std::string SlopeText(int v);
std::string ThresholdText(int v);
std::string AttackText(int v);
std::string ReleaseText(int v);
std::string AmpGainText(int v);
std::string ImpedanceText(int v);

// ---- Typed numbers ----

// Digits, at most one meaning of a decimal point ("." or ","), and a "-" only as the first
// character; everything else is skipped, so "-3dB" is -3, "2,5" is 2.5, "1.2.3" is 1.23 and
// " -3" is +3.
double ParseDecimal(std::string_view text);
// A typed frequency in Hz: ParseDecimal, times 1000 when a "k" follows the first digit, so
// "2.5k", "2,5 kHz" and "2500" are all 2500.
double ParseFrequency(std::string_view text);

// trunc(x) as an int, saturated at the ends of the int range; NaN gives 0.
int SaturatingTrunc(double x);

// Typed number -> index. Each truncates toward zero; SetParam then clamps to the kind's range,
// so results outside it (a typed 99999999999, the log of an empty release field) are fine.
int GainIndex(double db);
int DelayIndexFromSamples(double samples);
int DelayIndexFromMs(double ms);
int DelayIndexFromMetres(double metres, double celsius);
int DelayIndexFromFeet(double feet, double celsius);
int EqGainIndex(double db);
int EqFreqIndex(double hz);
int WidthIndexFromOctaves(double octaves);
// The smallest index whose Q, to two decimals, lies below the typed Q; 248 when none does.
int WidthIndexFromQ(double q);
int SourceLevelIndex(double db, int max);
int XoverFreqIndex(double hz);
int SlopeIndex(double dbPerOctave);
int ThresholdIndex(double dbu);
int AttackIndex(double ms);
int ReleaseIndex(double multiple);
int AmpGainIndex(double voltageGain);
int ImpedanceIndex(double ohms);
// Temperature in degrees Celsius, limited to 0..50.
int TemperatureFromTyped(double celsius);

} // namespace model
