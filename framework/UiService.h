// The user-facing services of the framework: message boxes, file dialogs and modal dialogs.
// All of them go through one replaceable service, so that the GUI shows Qt dialogs, tests
// answer from a script and the command-line tool writes to stderr.
#pragma once

#include "framework/Types.h"

#include <optional>
#include <string>

#include <vector>

class CDialog;

// Message box types (combinable: one button set, one icon).
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_OKCANCEL = 0x01;
constexpr UINT MB_YESNOCANCEL = 0x03;
constexpr UINT MB_YESNO = 0x04;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = MB_ICONSTOP;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_BUTTONMASK = 0x0F;
constexpr UINT MB_ICONMASK = 0xF0;

// Answers of message boxes and modal dialogs.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// A file dialog request. `filter` is in the framework's form "Setup Files (*.dat)|*.dat||".
struct FileDialogRequest {
    bool open = true;
    std::string filter;
    std::string defaultExtension;
    std::string initialPath;
    std::string title;
};

// One entry of a popup menu: MF_STRING with a command id and a caption ("&" marks the
// mnemonic), or MF_SEPARATOR; MF_GRAYED and MF_CHECKED may be added to a string.
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;
struct MenuItem {
    UINT flags = MF_STRING;
    UINT id = 0;
    std::string text;
};

class CUiService {
public:
    virtual ~CUiService();
    // Shows a message box and returns the answer (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int MessageBox(const std::string& text, const std::string& caption, UINT type) = 0;
    // Returns the chosen path, or nothing when the user cancelled.
    virtual std::optional<std::string> FileDialog(const FileDialogRequest& request) = 0;
    // Runs a modal dialog and returns its result (IDOK or IDCANCEL).
    virtual int RunModal(CDialog& dialog) = 0;
    // Shows a popup menu at a point on the screen and returns the command id of the chosen
    // entry, or 0 when the menu was dismissed. Default: every menu is dismissed (for programs
    // without a screen).
    virtual UINT PopupMenu(const std::vector<MenuItem>& items, CPoint screenPoint);
};

// The installed service. Without one installed, the stderr service answers.
CUiService& UiService();
// Installs `service` (not owned) and returns the previous one; nullptr restores the default.
CUiService* SetUiService(CUiService* service);

// Installs a service for the lifetime of this object, then puts the previous one back.
class CScopedUiService {
public:
    explicit CScopedUiService(CUiService& service) : previous_(SetUiService(&service)) {}
    ~CScopedUiService() { SetUiService(previous_); }
    CScopedUiService(const CScopedUiService&) = delete;
    CScopedUiService& operator=(const CScopedUiService&) = delete;

private:
    CUiService* previous_;
};

// The title of the program, used as the caption of message boxes that give none.
const std::string& AfxGetAppName();
void AfxSetAppName(const std::string& name);

// A message box with the program's title as caption unless one is given.
int AfxMessageBox(const std::string& text, UINT type = MB_OK, const std::string& caption = {});

// For programs without windows: message boxes go to stderr, file and modal dialogs are
// cancelled, a question is answered with its default (OK, Yes).
class CStderrUiService : public CUiService {
public:
    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    int RunModal(CDialog& dialog) override;
};
