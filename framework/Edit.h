// CEdit: the standard single-line edit control. Its notifications (text changed, focus in,
// focus out) come back to the control itself, as reflected notifications do. Every change of
// the text, typed or set by the program (even to the same text), is a text change.
#pragma once

#include "framework/Wnd.h"

// Edit styles.
constexpr UINT ES_LEFT = 0x0000;
constexpr UINT ES_CENTER = 0x0001;
constexpr UINT ES_PASSWORD = 0x0020;
constexpr UINT ES_AUTOHSCROLL = 0x0080;
constexpr UINT ES_READONLY = 0x0800;
constexpr UINT ES_NUMBER = 0x2000; // digits only

class QLineEdit;

class CEdit : public CWnd {
public:
    bool Create(UINT style, const CRect& rect, CWnd& parent, UINT id);
    // Limits what the operator can type; text set by the program is not cut.
    void LimitText(int maxChars);
    int GetLimitText() const { return limit_; }
    // Selects characters start..end-1; (0, -1) selects everything.
    void SetSel(int start, int end);
    void SetReadOnly(bool readOnly);
    void SetWindowText(const std::string& text) override;
    std::string GetWindowText() const override;

protected:
    // Reflected edit notifications.
    virtual void OnEnChange();
    virtual void OnEnSetFocus();
    virtual void OnEnKillFocus();

    void OnSetFocus() override;
    void OnKillFocus() override;
    // The edit control's own: a double click selects a word.
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    std::unique_ptr<QWidget> MakeWidget(QWidget* parent) override;

private:
    QLineEdit* Line() const;
    UINT style_ = 0;
    int limit_ = 0; // 0: no limit
};
