// One descriptor per parameter kind: its name on the command line, its unit and range, which
// index it takes, how a stored index is shown, how a number typed into a page's field is read
// and how a value typed with its unit word on the command line is read. The document's
// FormatParam, the pages' fields and veltrix-cli's set all go through it, so a value is shown
// and read back one way everywhere. The scales themselves are in model/ParamScales.h.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

class CTonraDoc;

namespace model {

// What the index of GetParam and SetParam selects for a parameter.
enum class IndexKind { None, Band, MixInput, Filter };

// Where a value lives, for the kinds whose showing or reading depends on it: the delay and mix
// ranges on the device's model, a band's width on its type and on the band's Q display.
struct ParamPlace {
    const CTonraDoc& doc;
    int channel = 0;
    int index = 0;   // the band, mix input or crossover filter
    int device = -1; // -1: currentDevice
};

// Text typed into a page's field. A delay has fields in several units: `unit` names the
// field's (kUnitSamples, kUnitMs, kUnitMetres or kUnitFeet), `celsius` the temperature that
// turns a distance into a delay.
struct PageField {
    std::string_view text;
    std::string_view unit = {};
    double celsius = 0;
};

struct ParamDescriptor;
using ShowFn = std::string (*)(int v, const ParamPlace& at);
using FieldFn = std::optional<int> (*)(const PageField& field, const ParamPlace& at);
using TypedFn = std::optional<int> (*)(const ParamDescriptor& self, std::string_view text,
                                       const ParamPlace& at);

struct ParamDescriptor {
    int kind;
    std::string_view name; // as veltrix-cli set takes it: "level", "eq-gain", ...; empty: kind number only
    std::string_view unit; // the unit word shown after the value; empty where the text says it all
    IndexKind index;
    bool outputOnly;
    std::string_view values;    // the values and units the command line takes, for its help
    std::string_view range;     // for the help and the refusal; empty where it depends on the model
    std::string_view unitWords; // the unit words a command-line number may carry, lower case
    ShowFn show;                // nullptr: meters and buttons draw their state themselves
    FieldFn readField;          // nullptr: no page has a field for it
    TypedFn readTyped;          // nullptr: the command line does not read it as a value

    // The display text of index `v`, already clamped by GetParam; empty where there is none.
    std::string Show(int v, const ParamPlace& at) const;
    // A page field's text read leniently (units and stray characters skipped, "-3dB" is -3);
    // nothing where the field takes no value there (a shelf's width) or the kind has no field.
    // The index may lie outside the range: SetParam clamps it.
    std::optional<int> ReadField(const PageField& field, const ParamPlace& at) const;
    // A command-line value: a number with one of the kind's unit words, or one of its words
    // ("on", "LR", "6dB"); nothing when the text is no value of the kind. Not range-checked.
    std::optional<int> ReadTyped(std::string_view text, const ParamPlace& at) const;
    // The highest index the place holds (a shelf's width only 1).
    int UpperBound(const ParamPlace& at) const;
    // The range as the command line names it, the model's own for delay and mix.
    std::string RangeText(const ParamPlace& at) const;
};

// The descriptor of `kind`; for a kind outside 0..18 one that shows and reads nothing.
const ParamDescriptor& DescriptorOf(int kind);
// The descriptor with command-line name `name` (case ignored); nullptr when none has it.
const ParamDescriptor* DescriptorNamed(std::string_view name);
// Every descriptor, in kind order.
std::span<const ParamDescriptor> ParamDescriptors();

// Reads `field` as the pages do and writes the value with SetParam, so linked channels follow;
// writes nothing where the field takes no value.
void SetParamFromField(CTonraDoc& doc, int kind, const PageField& field, int channel, int index = 0);

// Command-line words are read without regard to case.
std::string LowerCase(std::string_view text);

} // namespace model
