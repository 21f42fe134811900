// Which field of the document a parameter reply addresses. A device reports one slot or
// output per reply; the index and sub-index it sends are untrusted, so every address is
// checked against the array it names before it is used.
#pragma once

class CTonraDoc;

namespace devlink {

// The current value and the shadow of one transmitted parameter; both null when there is no
// such field.
struct ReplyTarget {
    int* value = nullptr;
    int* shadow = nullptr;

    explicit operator bool() const { return value != nullptr; }
};

// The field of device slot `device` that a reply with this code, index and sub-index names:
// codes 1..8 address a slot (and a band for 5..8), codes 10..16 an output (and a mix input
// for 10, a filter for 11..13). Null for meter and content-changed replies, unknown codes,
// and an index or sub-index outside its range.
ReplyTarget ReplyField(CTonraDoc& doc, int device, int code, int index, int subIndex);

// The parameter kind (model::ParamKind) a reply code carries; -1 for codes without one.
int ParamKindOfReply(int code);

// The reply code that reports the field a single-value command sets (mute, gain, polarity,
// delay, mix level, crossover and limiter commands); -1 for every other command.
int ReplyCodeOfCommand(int command);

} // namespace devlink
