// The EQ editor's filter commands: a channel's bands saved as REW or Equalizer APO filter
// text, and such text placed in the channel's bands once the operator has read the report.
// Files and questions go through the UI service.
#pragma once

#include "model/EqFilterText.h"

class CTonraDoc;

namespace pages {

// Asks for a filter file, places its filters and shows the report with OK and Cancel; only OK
// writes the bands into the channel of the current device. True when the document changed.
bool ImportEqFilters(CTonraDoc& doc, int channel);

// Asks where to save and writes the channel's bands as filter text in `format`; a file that
// cannot be written is shown, not lost.
void ExportEqFilters(const CTonraDoc& doc, int channel, model::FilterTextFormat format);

} // namespace pages
