// CModText: a field that shows a value and, when editable, lets the operator type a new one.
// It never checks what was typed: the page parses `text` on UM_TEXT_ENTERED, stores the value
// and writes the formatted value back. Enter and leaving the field with changed text both
// report UM_TEXT_ENTERED; Escape puts back the text the field had. While the operator edits, the edit control
// draws itself; otherwise the field draws `text` on its own sunken grey face.
#pragma once

#include "framework/Edit.h"

#include <string>

class CModText : public CEdit {
public:
    // An editable field is an edit control limited to `maxChars` typed characters; a field that
    // is not editable is a plain window that only displays.
    bool Create(const CRect& rect, CWnd* parent, UINT controlId, COLORREF textColour, bool editable,
                int maxChars);
    // True once after `text` changed or the operator edited since the previous call.
    bool HasChanged();

    std::string text;
    // The operator changed or committed text since the previous HasChanged().
    bool edited = false;

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnKeyDown(UINT virtualKey, UINT repeatCount, UINT flags) override;
    void OnEnChange() override;
    void OnEnSetFocus() override;
    void OnEnKillFocus() override;
    std::unique_ptr<QWidget> MakeWidget(QWidget* parent) override;

private:
    void TakeWindowText();
    // Reports `text` as entered; what leaving the field compares with from now on.
    void Commit();

    COLORREF textColour = 0;
    bool editable = false;
    std::string shadowText;
    // The text the field had when it took the focus, or was last entered.
    std::string committedText;
};
