#include "framework/QtUiService.h"

#include "framework/Dialog.h"
#include "framework/Text.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

QMessageBox::Icon IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString ToQtFileFilter(const std::string& filter) {
    const QStringList parts = ToQString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        const QString& pattern = parts[i + 1];
        if (name.isEmpty()) {
            break;
        }
        QString qtPatterns = pattern;
        qtPatterns.replace(';', ' ');
        filters << (name.contains('(') ? name.section('(', 0, 0).trimmed() + " (" + qtPatterns + ")"
                                       : name + " (" + qtPatterns + ")");
    }
    return filters.join(";;");
}

int CQtUiService::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    QMessageBox box(IconOf(type), ToQString(caption), ToQString(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    switch (type & MB_BUTTONMASK) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}

QString FileDialogStartPath(const std::string& initialPath, const QString& lastFolder) {
    const QString path = ToQString(initialPath);
    const QFileInfo info(path);
    if (lastFolder.isEmpty() || info.fileName() != path) {
        return path; // the caller named a folder, or there is no folder to go back to
    }
    return path.isEmpty() ? lastFolder : QDir(lastFolder).filePath(path);
}

std::optional<std::string> CQtUiService::FileDialog(const FileDialogRequest& request) {
    const QString filter = ToQtFileFilter(request.filter);
    QWidget* owner = QApplication::activeWindow();
    const QString start = FileDialogStartPath(request.initialPath, lastFolder_);
    const QString title = ToQString(request.title);
    const QString path = request.open ? QFileDialog::getOpenFileName(owner, title, start, filter)
                                      : QFileDialog::getSaveFileName(owner, title, start, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    lastFolder_ = QFileInfo(path).absolutePath();
    std::string chosen = FromQString(path);
    const std::string& extension = request.defaultExtension;
    if (!request.open && !extension.empty() && QFileInfo(path).suffix().isEmpty()) {
        chosen += extension.front() == '.' ? extension : "." + extension;
    }
    return chosen;
}

int CQtUiService::RunModal(CDialog& dialog) {
    if (!dialog.CreateDialogWindow(QApplication::activeWindow())) {
        return IDCANCEL;
    }
    if (!dialog.IsEnded()) {
        dialog.Dialog()->exec();
    }
    const int result = dialog.IsEnded() ? dialog.Result() : IDCANCEL;
    dialog.DestroyDialogWindow();
    return result;
}

UINT CQtUiService::PopupMenu(const std::vector<MenuItem>& items, CPoint screenPoint) {
    QMenu menu(QApplication::activeWindow());
    for (const MenuItem& item : items) {
        if ((item.flags & MF_SEPARATOR) != 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(ToQString(item.text));
        action->setData(item.id);
        action->setEnabled((item.flags & MF_GRAYED) == 0);
        action->setCheckable((item.flags & MF_CHECKED) != 0);
        action->setChecked((item.flags & MF_CHECKED) != 0);
    }
    const QAction* chosen = menu.exec(QPoint(screenPoint.x, screenPoint.y));
    return chosen ? chosen->data().toUInt() : 0;
}
