#include "framework/Edit.h"

#include "framework/Text.h"
#include "framework/WndWidget.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

// The edit widget: refuses typed characters beyond the limit, as the original control does,
// while text set by the program may be longer.
class EditWidget : public WndWidget<QLineEdit> {
public:
    EditWidget(CWnd* owner, QWidget* parent, int limit)
        : WndWidget<QLineEdit>(owner, parent), limit_(limit) {}
    void SetLimit(int limit) { limit_ = limit; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool typesCharacter = !event->text().isEmpty() && event->text().at(0).isPrint();
        const qsizetype kept = text().size() - selectedText().size();
        if (typesCharacter && limit_ > 0 && kept >= limit_) {
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    int limit_;
};

} // namespace

std::unique_ptr<QWidget> CEdit::MakeWidget(QWidget* parent) {
    auto edit = std::make_unique<EditWidget>(this, parent, limit_);
    edit->setAlignment((style_ & ES_CENTER) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
    edit->setEchoMode((style_ & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
    edit->setReadOnly((style_ & ES_READONLY) != 0);
    edit->setFrame(false);
    // Every change of the text, typed or set, is an EN_CHANGE.
    EditWidget* widget = edit.get();
    QObject::connect(widget, &QLineEdit::textChanged, widget, [widget] {
        if (auto* owner = dynamic_cast<CEdit*>(widget->Owner())) {
            owner->OnEnChange();
        }
    });
    return edit;
}

bool CEdit::Create(UINT style, const CRect& rect, CWnd& parent, UINT id) {
    style_ = style;
    return CreateChild(parent, rect, id, true);
}

QLineEdit* CEdit::Line() const { return dynamic_cast<QLineEdit*>(GetWidget()); }

void CEdit::LimitText(int maxChars) {
    limit_ = std::max(0, maxChars);
    if (auto* edit = dynamic_cast<EditWidget*>(GetWidget())) {
        edit->SetLimit(limit_);
    }
}

void CEdit::SetSel(int start, int end) {
    if (QLineEdit* line = Line()) {
        const int length = static_cast<int>(line->text().size());
        const int last = end < 0 ? length : std::min(end, length);
        line->setSelection(std::clamp(start, 0, length), last - std::clamp(start, 0, length));
    }
}

void CEdit::SetReadOnly(bool readOnly) {
    style_ = readOnly ? (style_ | ES_READONLY) : (style_ & ~ES_READONLY);
    if (QLineEdit* line = Line()) {
        line->setReadOnly(readOnly);
    }
}

void CEdit::SetWindowText(const std::string& text) {
    QLineEdit* line = Line();
    if (!line) {
        return;
    }
    const QString newText = ToQString(text);
    if (line->text() == newText) {
        OnEnChange(); // the edit control notifies every setting of its text, even the same text
    } else {
        line->setText(newText);
    }
}

std::string CEdit::GetWindowText() const {
    QLineEdit* line = Line();
    return line ? FromQString(line->text()) : std::string();
}

void CEdit::OnSetFocus() {
    Default();
    OnEnSetFocus();
}

void CEdit::OnKillFocus() {
    Default();
    OnEnKillFocus();
}

void CEdit::OnEnChange() {}
void CEdit::OnEnSetFocus() {}
void CEdit::OnEnKillFocus() {}
