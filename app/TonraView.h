// CTonraView: the only view of the main window; it fills the frame's client area and hosts
// every page. Until the pages exist it shows a black client area and repaints when the
// document asks it to refresh.
#pragma once

#include "framework/Wnd.h"

class CTonraDoc;

class CTonraView : public CWnd {
public:
    explicit CTonraView(CTonraDoc& document) : document_(document) {}
    ~CTonraView() override;

    CTonraDoc& GetDocument() const { return document_; }

protected:
    // Registers with the document, which asks this view to refresh.
    int OnCreate() override;
    void OnPaint() override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    CTonraDoc& document_;
};
