// The view's commands on the operator's edits: undo and redo of the shown device's steps with
// their keys, and the device's history window.
#include "app/TonraView.h"

#include "dialogs/SetupHistory.h"
#include "framework/Format.h"
#include "framework/Menu.h"
#include "model/EditText.h"
#include "model/TonraDoc.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

namespace {

const char* const kUndoWord = "Undo: ";
const char* const kRedoWord = "Redo: ";
const char* const kStepsText = "%d steps";
const char* const kNothingToUndo = "Nothing to undo";
const char* const kNothingToRedo = "Nothing to redo";

// The device page's context menu.
const char* const kUndoEntry = "&Undo";
const char* const kRedoEntry = "&Redo";
const char* const kHistoryEntry = "&History...";

// The keys, anywhere in the main window and its popups; a text field being edited keeps its own.
struct EditKey {
    QKeyCombination key;
    void (CTonraView::*command)();
};
const EditKey kEditKeys[] = {
    {Qt::CTRL | Qt::Key_Z, &CTonraView::UndoEdit},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, &CTonraView::RedoEdit},
    {Qt::CTRL | Qt::Key_Y, &CTonraView::RedoEdit},
    {Qt::CTRL | Qt::Key_H, &CTonraView::OnHistory},
};

} // namespace

void CTonraView::InstallEditKeys() {
    for (const EditKey& key : kEditKeys) {
        // Owned by the view's widget.
        auto* shortcut = new QShortcut(QKeySequence(key.key), GetWidget());
        shortcut->setContext(Qt::ApplicationShortcut);
        QObject::connect(shortcut, &QShortcut::activated, GetWidget(),
                         [this, command = key.command] { (this->*command)(); });
    }
}

void CTonraView::UndoEdit() {
    if (document_.pageMode == kDevicePage) {
        document_.EndOpenGesture();
        const std::size_t done = document_.History().Done();
        if (done == 0) {
            Announce(kNothingToUndo);
        } else {
            GoToHistoryPoint(done - 1);
        }
    }
}

void CTonraView::RedoEdit() {
    if (document_.pageMode == kDevicePage) {
        document_.EndOpenGesture();
        const model::EditHistory& history = document_.History();
        if (history.Done() == history.Size()) {
            Announce(kNothingToRedo);
        } else {
            GoToHistoryPoint(history.Done() + 1);
        }
    }
}

void CTonraView::GoToHistoryPoint(std::size_t stepsDone) {
    const model::EditHistory& history = document_.History();
    if (stepsDone == history.Done() || stepsDone > history.Size() || RefusedWithoutControl()) {
        return;
    }
    const bool undo = stepsDone < history.Done();
    const model::EditStep* last = nullptr;
    int count = 0;
    while (history.Done() != stepsDone) {
        const model::EditStep* step = undo ? document_.UndoStep() : document_.RedoStep();
        if (!step) {
            break;
        }
        last = step;
        ++count;
    }
    if (!last) {
        return;
    }
    const auto direction = undo ? model::StepDirection::TakenBack : model::StepDirection::Made;
    const std::string what =
        count == 1 ? model::DescribeStep(document_, -1, *last, direction) : Format(kStepsText, count);
    Announce((undo ? kUndoWord : kRedoWord) + what);
    devicePanel_.Refresh();
}

void CTonraView::Announce(const std::string& text) {
    statusLine_.Announce(text, CStatusLine::Clock::now());
    UpdateStatusLine();
}

void CTonraView::OnContextMenu(CWnd* window, CPoint screenPoint) {
    if (document_.pageMode != kDevicePage) {
        CWnd::OnContextMenu(window, screenPoint);
        return;
    }
    document_.EndOpenGesture();
    const model::EditHistory& history = document_.History();
    const auto grayedUnless = [](bool enabled) { return enabled ? MF_STRING : MF_STRING | MF_GRAYED; };
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(grayedUnless(history.Done() > 0), kUndoCommand, kUndoEntry);
    menu.AppendMenu(grayedUnless(history.Done() < history.Size()), kRedoCommand, kRedoEntry);
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, kHistoryCommand, kHistoryEntry);
    switch (menu.TrackPopupMenu(TPM_RETURNCMD, screenPoint.x, screenPoint.y, this)) {
    case kUndoCommand:
        UndoEdit();
        break;
    case kRedoCommand:
        RedoEdit();
        break;
    case kHistoryCommand:
        OnHistory();
        break;
    default:
        break;
    }
}

void CTonraView::OnHistory() {
    if (document_.pageMode != kDevicePage) {
        return;
    }
    document_.EndOpenGesture();
    const auto linesNow = [this] {
        return CSetupHistory::Lines{model::HistoryLines(document_, -1),
                                    model::HistoryCurrentLine(document_, -1)};
    };
    CSetupHistory dialog(document_.currentDevice);
    dialog.lines = linesNow();
    dialog.goToLine = [this, linesNow](int line) {
        GoToHistoryPoint(static_cast<std::size_t>(model::HistoryStepsDoneAt(document_, -1, line)));
        return linesNow();
    };
    dialog.DoModal();
}
