// CWndChannelPopup: what the EQ editor and the signal page share. Each is a popup owned by the
// device panel that shows one channel of the current device, keeps its screen position across
// moves and channel switches, passes the presses and releases of its background and its
// controls on to the panel, and tells the panel when its close box closed it. The object stays
// when the window goes, and opens it again.
#pragma once

#include "pages/PageWnd.h"

class CTonraDoc;

class CWndChannelPopup : public CPageWnd {
public:
    // Creates the window owned by `parent` with its top-left corner at screen (1, y) and shows
    // `channel`. The device panel passes its height minus 256 as y.
    bool OpenForChannel(int y, CWnd* parent, CTonraDoc* document, int channel);
    // Shows another channel of the current device.
    virtual void SetChannel(int channel) = 0;
    // Pulls the document into the controls; repaints only what changed.
    virtual void Refresh() = 0;

    int Channel() const { return channel; }
    CPoint PopupPos() const { return popupPos; }

protected:
    // `closedMessage` goes to the parent when the close box closes the window.
    explicit CWndChannelPopup(UINT closedMessage);

    // The control reports, as each page handles them: presses, releases and entered texts come
    // through the page hooks; a changed value is written to the document by ApplyValue, and the
    // end of tracking stops the controls in StopControls, after which the popup refreshes.
    void PressButton(UINT id) override = 0;
    void TextEntered(UINT id) override = 0;
    virtual void ApplyValue(UINT id) = 0;
    virtual void StopControls() = 0;

    void OnMove(int x, int y) override;
    void OnClose() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    // The reports count only while the popup shows a document.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A channel a popup can show: one of the 16 channel slots of a device.
    static bool IsChannel(int channel);

    CTonraDoc* document = nullptr;
    int channel = 0;
    CPoint popupPos;

private:
    void ValueChanged(UINT id) override;
    void EndTracking(UINT id) override;
    void RefreshRequested() override;

    const UINT closedMessage;
};
