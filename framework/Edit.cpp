#include "framework/Edit.h"

#include "framework/Text.h"
#include "framework/WndWidget.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

#include <algorithm>
#include <limits>

namespace {

// The entries of the edit control's context menu: caption, and the object name of the entry.
struct MenuEntry {
    const char* caption;
    const char* name;
};
constexpr MenuEntry kUndoEntry{"&Undo", "edit-undo"};
constexpr MenuEntry kCutEntry{"Cu&t", "edit-cut"};
constexpr MenuEntry kCopyEntry{"&Copy", "edit-copy"};
constexpr MenuEntry kPasteEntry{"&Paste", "edit-paste"};
constexpr MenuEntry kDeleteEntry{"&Delete", "edit-delete"};
constexpr MenuEntry kSelectAllEntry{"Select &All", "select-all"};

// The edit widget: refuses typed characters beyond the limit and cuts pasted and dropped text
// to what still fits, as the original control does, while text set by the program may be
// longer.
class EditWidget : public WndWidget<QLineEdit> {
public:
    EditWidget(CWnd* owner, QWidget* parent, int limit)
        : WndWidget<QLineEdit>(owner, parent), limit_(limit) {}
    void SetLimit(int limit) { limit_ = limit; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Paste)) {
            PasteWithinLimit();
            return;
        }
        const bool typesCharacter = !event->text().isEmpty() && event->text().at(0).isPrint();
        if (typesCharacter && Room(selectedText().size()) == 0) {
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

    // The edit control's own menu; its Paste keeps to the limit like every other way in.
    void contextMenuEvent(QContextMenuEvent* event) override {
        auto* menu = new QMenu(this); // deletes itself when closed
        menu->setAttribute(Qt::WA_DeleteOnClose);
        const bool editable = !isReadOnly();
        const bool plain = echoMode() == QLineEdit::Normal;
        AddMenuEntry(*menu, kUndoEntry, editable && isUndoAvailable(), [this] { undo(); });
        menu->addSeparator();
        AddMenuEntry(*menu, kCutEntry, editable && plain && hasSelectedText(), [this] { cut(); });
        AddMenuEntry(*menu, kCopyEntry, plain && hasSelectedText(), [this] { copy(); });
        AddMenuEntry(*menu, kPasteEntry, editable && !QGuiApplication::clipboard()->text().isEmpty(),
                     [this] { PasteWithinLimit(); });
        AddMenuEntry(*menu, kDeleteEntry, editable && hasSelectedText(), [this] { del(); });
        menu->addSeparator();
        AddMenuEntry(*menu, kSelectAllEntry, selectedText().size() < text().size(), [this] { selectAll(); });
        menu->popup(event->globalPos());
    }

    void dropEvent(QDropEvent* event) override {
        if (limit_ <= 0 || !event->mimeData()->hasText()) {
            QLineEdit::dropEvent(event);
            return;
        }
        // A drop inserts at the drop point; text moved within the field leaves its old place.
        const bool movedWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
        QMimeData fitted;
        fitted.setText(event->mimeData()->text().left(Room(movedWithin ? selectedText().size() : 0)));
        QDropEvent cut(event->position(), event->possibleActions(), &fitted, event->buttons(),
                       event->modifiers(), event->type());
        cut.setDropAction(event->dropAction());
        QLineEdit::dropEvent(&cut);
        event->setDropAction(cut.dropAction());
        event->setAccepted(cut.isAccepted());
    }

private:
    template <class Action>
    static void AddMenuEntry(QMenu& menu, const MenuEntry& entry, bool enabled, Action action) {
        QAction* item = menu.addAction(ToQString(entry.caption), action);
        item->setObjectName(entry.name);
        item->setEnabled(enabled);
    }

    // How many characters may still be added when `replaced` characters give way.
    qsizetype Room(qsizetype replaced) const {
        return limit_ > 0 ? std::max<qsizetype>(0, limit_ - (text().size() - replaced))
                          : std::numeric_limits<qsizetype>::max();
    }

    void PasteWithinLimit() {
        if (isReadOnly()) {
            return;
        }
        const QString fitted = QGuiApplication::clipboard()->text().left(Room(selectedText().size()));
        if (!fitted.isEmpty()) {
            insert(fitted);
        }
    }

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

void CEdit::OnLButtonDblClk(UINT, CPoint) { Default(); }

void CEdit::OnEnChange() {}
void CEdit::OnEnSetFocus() {}
void CEdit::OnEnKillFocus() {}
