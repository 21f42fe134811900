// CWndSheet: the read-only table "Current Data Values": one column per channel of the current
// device (inputs, then outputs), one row per parameter, each cell the parameter's display text.
// Its content is the data sheet that veltrix-cli dump prints, so the two never disagree. It
// paints straight from the document and takes no input.
#pragma once

#include "framework/Wnd.h"

class CTonraDoc;

namespace pages {

// The window size (frame included) of a sheet for these channel counts.
CSize SheetWindowSize(int channelCount, int inputCount);
// Text cells: the header is row 0, the first parameter row is row 1; column 0 is the first
// channel.
CRect SheetCellRect(int row, int column);
CRect SheetLabelRect(int row);

} // namespace pages

class CWndSheet : public CWnd {
public:
    static constexpr const char* kCaption = "Current Data Values";

    // Creates the window at the top-left of the screen, owned by `parent`, sized for the current
    // device's channel counts.
    bool Create(CWnd* parent, CTonraDoc* document);

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    // The rows below the header and the columns the window is sized for.
    bool SizedForCurrentDevice() const;
    void FitCurrentDevice();

    CWnd* parent = nullptr;
    CTonraDoc* document = nullptr;
    int totalRowCount = 0; // header included
    int columnCount = 0;
};
