// The "All Programs" dialog: edits the program list (the 30 program files of the library on
// the PC, kept in a program list file) and starts an Upload of the device's 30 programs to the
// PC or a Download of the 30 listed files to the device. The dialog only collects the choice.
//
// Use: set `listFilePath` to the document's programListFile; DoModal(). Afterwards, with
// either result, copy `listFilePath` back into programListFile. On IDOK copy `programFiles`
// into the document's programFiles; then, when `uploadRequested` is 1, start the Upload;
// otherwise, when `downloadRequested` is 1, build the download image and start the Download
// (or show "File List Error"). The dialog ends with IDOK only through "Upload" or "Download".
#pragma once

#include "framework/Dialog.h"
#include "model/ProgramListFile.h"

#include <string>

class CSetupPrograms : public CDialog {
public:
    static constexpr int kUploadButtonId = 3;
    static constexpr int kDownloadButtonId = 4;
    static constexpr int kLoadListButtonId = 5;
    static constexpr int kSaveListButtonId = 6;
    static constexpr int kSelectFilesButtonId = 7;
    static constexpr int kClearListButtonId = 8;
    static constexpr int kPathFieldId = 1094;
    static constexpr int kListBoxId = 1115;
    static constexpr int kShownNameLength = 12;

    static constexpr const char* kListFilter = "(*.lst)|*.lst||";
    static constexpr const char* kProgramFilter = "(*.dat)|*.dat||";
    static constexpr const char* kOverwriteQuestion =
        "This action will overwrite previous program files in the PC with same filenames.\n"
        "Are you sure you want to continue?";
    static constexpr const char* kPrepareListHint =
        "Please click <Load List> or <Save List> button to prepare a List File first.";
    static constexpr const char* kUploadReplacesListHint =
        "The program list in the file will be replaced by the uploaded programs.";

    CSetupPrograms();

    // 1 after "Upload" was confirmed.
    int uploadRequested = 0;
    // 1 after "Download" was confirmed.
    int downloadRequested = 0;
    // Base names (without ".dat") of the 30 program files, in the folder of the list file.
    model::ProgramList programFiles{};
    CListBox listBox;
    // The program list file; "" while the edited list has not been saved.
    std::string listFilePath;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void OnCommand(int id) override;

private:
    // Reads the list at `path`; a file that cannot be read leaves names and path as they were.
    void LoadList(const std::string& path);
    void RefreshList();
    void OnLoadList();
    void OnSaveList();
    void OnClearList();
    void OnSelectProgramFile();
    // Upload and Download: ask, set `request` and close; without a list file show `hint`.
    void OnTransfer(int& request, const std::string& hint);
};
