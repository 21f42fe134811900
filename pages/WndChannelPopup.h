// CWndChannelPopup: what the EQ editor and the signal page share. Each is a popup owned by the
// device panel that shows one channel of the current device, keeps its screen position across
// moves and channel switches, passes the presses and releases of its background and its
// controls on to the panel, and tells the panel when its close box closed it. The object stays
// when the window goes, and opens it again.
#pragma once

#include "framework/Wnd.h"

class CTonraDoc;

class CWndChannelPopup : public CWnd {
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

    // The control reports (wParam = control id), as each page handles them.
    virtual void PressButton(UINT id) = 0;
    virtual void ValueChanged(UINT id) = 0;
    virtual void TextEntered(UINT id) = 0;
    // A control was released, before the release goes on to the parent.
    virtual void ControlReleased() {}
    // Ends every drag and auto-repeat of the page's controls.
    virtual void EndTracking() = 0;

    void OnMove(int x, int y) override;
    void OnClose() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A channel a popup can show: one of the 16 channel slots of a device.
    static bool IsChannel(int channel);

    CWnd* parent = nullptr;
    CTonraDoc* document = nullptr;
    int channel = 0;
    CPoint popupPos;

private:
    const UINT closedMessage;
};
