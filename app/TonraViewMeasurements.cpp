// The view's measurement commands: a measurement of an output loaded from a file for the plot,
// or cleared.
#include "app/TonraView.h"

void CTonraView::OnMeasurement(UINT, int) {}
