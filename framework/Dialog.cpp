#include "framework/Dialog.h"

#include "framework/Edit.h"
#include "framework/Text.h"
#include "framework/WndWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace {

// The dialog widget: Enter and Escape, and the close box, go to the dialog's handlers.
class DialogWidget : public WndWidget<QDialog> {
public:
    using WndWidget<QDialog>::WndWidget;
    void accept() override { Command(IDOK); }
    void reject() override { Command(IDCANCEL); }

private:
    void Command(int id) {
        if (auto* dialog = dynamic_cast<CDialog*>(Owner())) {
            dialog->ClickDlgButton(id);
        } else {
            QDialog::done(id);
        }
    }
};

// A combo box that reports when its drop-down list closes.
class CloseUpComboBox : public QComboBox {
public:
    CloseUpComboBox(QWidget* parent, std::function<void()> onCloseUp)
        : QComboBox(parent), onCloseUp_(std::move(onCloseUp)) {}
    void hidePopup() override {
        QComboBox::hidePopup();
        onCloseUp_();
    }

private:
    std::function<void()> onCloseUp_;
};

QRect ToQRect(const CRect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

} // namespace

CDialog::CDialog(std::string caption, CSize clientSize)
    : caption_(std::move(caption)), clientSize_(clientSize) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() { return UiService().RunModal(*this); }

std::unique_ptr<QWidget> CDialog::MakeWidget(QWidget* parent) {
    auto dialog = std::make_unique<DialogWidget>(this, parent);
    dialog->setModal(true);
    return dialog;
}

bool CDialog::CreateDialogWindow(QWidget* ownerWidget) {
    if (GetWidget()) {
        return false;
    }
    ended_ = false;
    result_ = IDCANCEL;
    controls_.clear();
    std::unique_ptr<QWidget> dialog = MakeWidget(ownerWidget);
    dialog->setWindowTitle(ToQString(caption_));
    dialog->setFixedSize(clientSize_.cx, clientSize_.cy);
    QWidget* outer = dialog.get();
    Attach(std::move(dialog), outer);
    CreateControls();
    if (!FinishCreate()) {
        return false;
    }
    OnInitDialog();
    return true;
}

void CDialog::DestroyDialogWindow() {
    DestroyWindow();
    controls_.clear();
}

QDialog* CDialog::Dialog() const { return dynamic_cast<QDialog*>(GetWidget()); }

void CDialog::EndDialog(int result) {
    result_ = result;
    ended_ = true;
    if (QDialog* dialog = Dialog()) {
        dialog->QDialog::done(result);
    }
}

void CDialog::ClickDlgButton(int id) {
    if (id == IDOK || id == IDCANCEL) {
        OnCommand(id);
        return;
    }
    QWidget* control = GetDlgItem(id);
    if (auto* button = dynamic_cast<QAbstractButton*>(control); button && button->isEnabled()) {
        button->click(); // emits clicked, which runs OnCommand
    }
}

void CDialog::SelectComboEntry(int id, int index) {
    if (auto* combo = dynamic_cast<QComboBox*>(GetDlgItem(id))) {
        combo->setCurrentIndex(index);
        OnComboCloseUp(id);
    }
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

void CDialog::CheckDlgButton(int id, int check) {
    if (auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(id))) {
        button->setChecked(check == BST_CHECKED);
    }
}

int CDialog::IsDlgButtonChecked(int id) const {
    auto* button = dynamic_cast<QAbstractButton*>(GetDlgItem(id));
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        edit->setText(ToQString(text));
    } else if (auto* label = dynamic_cast<QLabel*>(control)) {
        label->setText(ToQString(text));
    } else if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        button->setText(ToQString(text));
    } else if (auto* combo = dynamic_cast<QComboBox*>(control); combo && combo->isEditable()) {
        combo->setEditText(ToQString(text));
    }
}

std::string CDialog::GetDlgItemText(int id) const {
    QWidget* control = GetDlgItem(id);
    if (auto* edit = dynamic_cast<QLineEdit*>(control)) {
        return FromQString(edit->text());
    }
    if (auto* label = dynamic_cast<QLabel*>(control)) {
        return FromQString(label->text());
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(control)) {
        return FromQString(button->text());
    }
    if (auto* combo = dynamic_cast<QComboBox*>(control)) {
        return FromQString(combo->currentText());
    }
    return {};
}

void CDialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* control = GetDlgItem(id)) {
        control->setEnabled(enable);
    }
}

bool CDialog::UpdateData(bool saveAndValidate) {
    DoDataExchange(saveAndValidate);
    return true;
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(bool) {}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::OnCommand(int id) {
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::OnComboCloseUp(int) {}

void CDialog::OnClose() { OnCancel(); }

void CDialog::Register(int id, QWidget* control) {
    if (id != 0) {
        controls_[id] = control;
    }
}

QGroupBox* CDialog::AddGroupBox(const std::string& text, const CRect& rect) {
    auto* box = new QGroupBox(ToQString(text), GetWidget()); // owned by the dialog widget
    box->setGeometry(ToQRect(rect));
    box->lower();
    return box;
}

QCheckBox* CDialog::AddCheckBox(int id, const std::string& text, const CRect& rect) {
    auto* box = new QCheckBox(ToQString(text), GetWidget());
    box->setGeometry(ToQRect(rect));
    QObject::connect(box, &QCheckBox::clicked, box, [this, id] { OnCommand(id); });
    Register(id, box);
    return box;
}

QRadioButton* CDialog::AddRadioButton(int id, const std::string& text, const CRect& rect) {
    auto* radio = new QRadioButton(ToQString(text), GetWidget());
    radio->setGeometry(ToQRect(rect));
    QObject::connect(radio, &QRadioButton::clicked, radio, [this, id] { OnCommand(id); });
    Register(id, radio);
    return radio;
}

QPushButton* CDialog::AddButton(int id, const std::string& text, const CRect& rect, bool isDefault) {
    auto* button = new QPushButton(ToQString(text), GetWidget());
    button->setGeometry(ToQRect(rect));
    button->setDefault(isDefault);
    button->setAutoDefault(isDefault);
    QObject::connect(button, &QPushButton::clicked, button, [this, id] { OnCommand(id); });
    Register(id, button);
    return button;
}

QLineEdit* CDialog::AddEdit(int id, const CRect& rect, UINT style, int maxChars) {
    auto* edit = new QLineEdit(GetWidget());
    edit->setGeometry(ToQRect(rect));
    if (maxChars > 0) {
        edit->setMaxLength(maxChars);
    }
    if (style & ES_PASSWORD) {
        edit->setEchoMode(QLineEdit::Password);
    }
    if (style & ES_READONLY) {
        edit->setReadOnly(true);
    }
    Register(id, edit);
    return edit;
}

QComboBox* CDialog::AddComboBox(int id, const CRect& rect, bool editable) {
    auto* combo = new CloseUpComboBox(GetWidget(), [this, id] { OnComboCloseUp(id); });
    combo->setGeometry(ToQRect(rect));
    combo->setEditable(editable);
    Register(id, combo);
    return combo;
}

QListWidget* CDialog::AddListBox(int id, const CRect& rect) {
    auto* list = new QListWidget(GetWidget());
    list->setGeometry(ToQRect(rect));
    Register(id, list);
    return list;
}

QLabel* CDialog::AddStatic(int id, const std::string& text, const CRect& rect, UINT align) {
    auto* label = new QLabel(ToQString(text), GetWidget());
    label->setGeometry(ToQRect(rect));
    label->setAlignment(align == SS_CENTER ? Qt::AlignHCenter | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
    Register(id, label);
    return label;
}

void CDialog::DDX_Check(bool save, int id, int& value) {
    if (save) {
        value = IsDlgButtonChecked(id);
    } else {
        CheckDlgButton(id, value);
    }
}

void CDialog::DDX_Text(bool save, int id, std::string& value) {
    if (save) {
        value = GetDlgItemText(id);
    } else {
        SetDlgItemText(id, value);
    }
}

void CDialog::DDX_Text(bool save, int id, int& value) {
    if (save) {
        value = std::atoi(GetDlgItemText(id).c_str());
    } else {
        SetDlgItemText(id, std::to_string(value));
    }
}

void CDialog::DDX_CBIndex(bool save, int id, int& index) {
    auto* combo = dynamic_cast<QComboBox*>(GetDlgItem(id));
    if (!combo) {
        return;
    }
    if (save) {
        index = combo->currentIndex();
    } else {
        combo->setCurrentIndex(index);
    }
}
