// Helpers of the link and simulator tests: documents with a distinct value in every
// transmitted field, and bytes of a data image.
#pragma once

#include <string_view>

class CTonraDoc;

namespace linktest {

// Gives every transmitted parameter, the mutes, names and factory EQ of device slot `device`
// a value that depends on its position and on `seed`, inside its range.
void FillDistinctParams(CTonraDoc& doc, int device, int seed);
// Byte `offset` of a hexadecimal data image.
int ImageByte(std::string_view image, int offset);

} // namespace linktest
