// The UI service of the GUI: Qt message boxes, file dialogs and modal dialogs.
#pragma once

#include "framework/UiService.h"

#include <QString>

class CQtUiService : public CUiService {
public:
    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    int RunModal(CDialog& dialog) override;
    UINT PopupMenu(const std::vector<MenuItem>& items, CPoint screenPoint) override;

private:
    // The folder of the file chosen last: where the next file dialog opens.
    QString lastFolder_;
};

// Where a file dialog opens: at `initialPath` when it names a folder, otherwise in
// `lastFolder` (with the file name of `initialPath`, if any).
QString FileDialogStartPath(const std::string& initialPath, const QString& lastFolder);

// "Setup Files (*.dat)|*.dat||" -> "Setup Files (*.dat)", one Qt filter per pair.
QString ToQtFileFilter(const std::string& filter);
