// Field-by-field comparison of device slots, shared by the tests of files, link, engine and
// simulator.
#pragma once

class CTonraDoc;

namespace testsupport {

// Expects every transmitted parameter, mute and channel name of the two device slots equal.
void ExpectSameParams(const CTonraDoc& a, int deviceA, const CTonraDoc& b, int deviceB);

} // namespace testsupport
