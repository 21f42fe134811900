#include "dialogs/SetupPrograms.h"

#include "framework/DialogRows.h"
#include "framework/Edit.h"
#include "framework/Format.h"
#include "model/FileIo.h"

#include <filesystem>

namespace {

constexpr int kWidth = 540;
constexpr int kActionButtonWidth = 130; // the actions' buttons, wider than OK
constexpr int kListWidth = 300;
constexpr int kListHeight = 250;
constexpr int kRowHeight = 22;

constexpr int kGroupRight = kWidth - kDialogMargin;
// "Setup PC program files ...": the list and "Select program files".
constexpr int kFilesTop = kDialogMargin;
constexpr int kFilesBottom = kFilesTop + kGroupBoxCaption + kListHeight + kGroupBoxInset;
// "Program List File": the path field and three buttons.
constexpr int kListFileTop = kFilesBottom + kDialogMargin;
constexpr int kListFileBottom =
    kListFileTop + kGroupBoxCaption + kRowHeight + 8 + kDialogButtonHeight + kGroupBoxInset;
// "Download ..." and "Upload ..." side by side.
constexpr int kTransferTop = kListFileBottom + kDialogMargin;
constexpr int kTransferBottom = kTransferTop + kGroupBoxCaption + kDialogButtonHeight + kGroupBoxInset;
constexpr int kNoteTop = kTransferBottom + 6;
constexpr int kButtonsTop = kNoteTop + kRowHeight + 6;
constexpr int kHeight = kButtonsTop + kDialogButtonHeight + kDialogMargin;

constexpr const char* kNote = "Note: All Program Files have to be in the same directory as the List file";

// The file name of `path` without its ".dat".
std::string ProgramFileName(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    constexpr std::string_view kExtension = ".dat";
    if (name.size() > kExtension.size()) {
        name.resize(name.size() - kExtension.size());
    }
    return name;
}

bool CanBeRead(const std::string& path) {
    std::string problem;
    return model::ReadFileBytes(path, 1, problem).has_value();
}

} // namespace

CSetupPrograms::CSetupPrograms() : CDialog("All Programs", CSize(kWidth, kHeight)) {}

void CSetupPrograms::CreateControls() {
    const int left = kDialogMargin + kGroupBoxInset;
    const int right = kGroupRight - kGroupBoxInset;

    AddGroupBox("Setup PC program files for downloading to Device",
                CRect(kDialogMargin, kFilesTop, kGroupRight, kFilesBottom));
    listBox = AddListBox(kListBoxId, CRect(left, kFilesTop + kGroupBoxCaption, left + kListWidth,
                                           kFilesTop + kGroupBoxCaption + kListHeight));
    AddButton(kSelectFilesButtonId, "Select program files",
              CRect(right - kActionButtonWidth, kFilesTop + kGroupBoxCaption, right,
                    kFilesTop + kGroupBoxCaption + kDialogButtonHeight));

    AddGroupBox("Program List File", CRect(kDialogMargin, kListFileTop, kGroupRight, kListFileBottom));
    const int pathTop = kListFileTop + kGroupBoxCaption;
    AddStatic(0, "Filename", CRect(left, pathTop, left + 56, pathTop + kRowHeight));
    AddEdit(kPathFieldId, CRect(left + 60, pathTop, right, pathTop + kRowHeight), ES_READONLY);
    CDialogRows listButtons(pathTop + kRowHeight + 8, kDialogButtonHeight, 0);
    const int listButtonWidth = (right - left - 2 * kDialogMargin) / 3;
    listButtons.AddColumns(left, listButtonWidth, 3, kDialogMargin);
    AddButton(kLoadListButtonId, "Load List", listButtons.Cell(0, 0));
    AddButton(kSaveListButtonId, "Save List", listButtons.Cell(0, 1));
    AddButton(kClearListButtonId, "Clear List", listButtons.Cell(0, 2));

    const int halfWidth = (kGroupRight - kDialogMargin - kDialogMargin) / 2;
    const int buttonTop = kTransferTop + kGroupBoxCaption;
    const struct {
        const char* group;
        int id;
        const char* text;
    } transfers[] = {{"Download PC program files to Device", kDownloadButtonId, "Download"},
                     {"Upload Device programs to PC", kUploadButtonId, "Upload"}};
    for (int i = 0; i < 2; ++i) {
        const int groupLeft = kDialogMargin + i * (halfWidth + kDialogMargin);
        const int groupRight = groupLeft + halfWidth;
        AddGroupBox(transfers[i].group, CRect(groupLeft, kTransferTop, groupRight, kTransferBottom));
        const int buttonLeft = groupLeft + (halfWidth - kActionButtonWidth) / 2;
        AddButton(
            transfers[i].id, transfers[i].text,
            CRect(buttonLeft, buttonTop, buttonLeft + kActionButtonWidth, buttonTop + kDialogButtonHeight));
    }

    AddStatic(0, kNote, CRect(kDialogMargin, kNoteTop, kGroupRight, kNoteTop + kRowHeight));
    AddButton(IDCANCEL, "Cancel",
              CRect(kGroupRight - 80, kButtonsTop, kGroupRight, kButtonsTop + kDialogButtonHeight));
}

bool CSetupPrograms::OnInitDialog() {
    CDialog::OnInitDialog();
    uploadRequested = 0;
    downloadRequested = 0;
    LoadList(listFilePath);
    return true;
}

void CSetupPrograms::LoadList(const std::string& path) {
    std::optional<model::ProgramList> names;
    std::string problem;
    if (!path.empty()) {
        names = model::ReadProgramListFile(path, problem);
    }
    if (names) {
        programFiles = *names;
        listFilePath = path;
    } else if (!path.empty() && model::FileSize(path) >= 0) {
        // A missing file is passed over; a file that is there but no list is refused aloud.
        AfxMessageBox("The program list \"" + path + "\" cannot be loaded.\n" + problem +
                          "\nThe list stays as it was.",
                      MB_OK | MB_ICONEXCLAMATION);
    }
    RefreshList();
}

void CSetupPrograms::RefreshList() {
    listBox.ResetContent();
    for (std::size_t i = 0; i < programFiles.size(); ++i) {
        std::string& name = programFiles[i];
        name = name.substr(0, kShownNameLength); // the list file holds 12 characters per name
        listBox.AddString(Format("%02u - %s", static_cast<unsigned>(i + 1), name.c_str()));
    }
    SetDlgItemText(kPathFieldId, listFilePath);
}

void CSetupPrograms::OnCommand(int id) {
    switch (id) {
    case kLoadListButtonId:
        OnLoadList();
        break;
    case kSaveListButtonId:
        OnSaveList();
        break;
    case kClearListButtonId:
        OnClearList();
        break;
    case kSelectFilesButtonId:
        OnSelectProgramFile();
        break;
    case kUploadButtonId:
        OnTransfer(uploadRequested, std::string(kPrepareListHint) + "\n" + kUploadReplacesListHint);
        break;
    case kDownloadButtonId:
        OnTransfer(downloadRequested, kPrepareListHint);
        break;
    default:
        CDialog::OnCommand(id);
        break;
    }
}

void CSetupPrograms::OnLoadList() {
    if (const std::optional<std::string> path =
            UiService().FileDialog({true, kListFilter, ".lst", listFilePath, ""})) {
        LoadList(*path);
    }
}

void CSetupPrograms::OnSaveList() {
    const std::optional<std::string> path =
        UiService().FileDialog({false, kListFilter, ".lst", listFilePath, ""});
    if (!path) {
        return;
    }
    std::string problem;
    if (!model::WriteProgramListFile(*path, programFiles, problem)) {
        // The old file and the path stay as they were.
        AfxMessageBox("The program list could not be saved as " + *path + ".\n" + problem,
                      MB_OK | MB_ICONSTOP, "Error");
        return;
    }
    listFilePath = *path;
    RefreshList();
}

void CSetupPrograms::OnClearList() {
    programFiles.fill({});
    listFilePath.clear();
    RefreshList();
    listBox.SetCurSel(0);
}

void CSetupPrograms::OnSelectProgramFile() {
    const int line = listBox.GetCurSel();
    if (line < 0) {
        AfxMessageBox("Please select a program!");
        return;
    }
    const std::optional<std::string> path = UiService().FileDialog({true, kProgramFilter, ".dat", "", ""});
    if (!path || !CanBeRead(*path)) {
        return; // a file that cannot be opened leaves the entry as it was
    }
    programFiles[static_cast<std::size_t>(line)] = ProgramFileName(*path);
    listFilePath.clear(); // the edited list has to be saved again
    RefreshList();
    listBox.SetCurSel(line);
}

void CSetupPrograms::OnTransfer(int& request, const std::string& hint) {
    if (listFilePath.empty()) {
        AfxMessageBox(hint);
        return;
    }
    if (AfxMessageBox(kOverwriteQuestion, MB_YESNO | MB_ICONQUESTION, "Confirm") == IDYES) {
        request = 1;
        EndDialog(IDOK);
    }
}
