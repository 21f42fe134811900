#include "framework/UiService.h"

#include <cstdio>

namespace {

CStderrUiService& DefaultService() {
    static CStderrUiService service;
    return service;
}

CUiService* installedService = nullptr;

std::string& AppName() {
    static std::string name = "Veltrix";
    return name;
}

} // namespace

CUiService::~CUiService() = default;

UINT CUiService::PopupMenu(const std::vector<MenuItem>&, CPoint) { return 0; }

CUiService& UiService() { return installedService ? *installedService : DefaultService(); }

CUiService* SetUiService(CUiService* service) {
    CUiService* previous = installedService;
    installedService = service;
    return previous;
}

const std::string& AfxGetAppName() { return AppName(); }

void AfxSetAppName(const std::string& name) { AppName() = name; }

int AfxMessageBox(const std::string& text, UINT type, const std::string& caption) {
    return UiService().MessageBox(text, caption.empty() ? AfxGetAppName() : caption, type);
}

int CStderrUiService::MessageBox(const std::string& text, const std::string& caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    switch (type & MB_BUTTONMASK) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

std::optional<std::string> CStderrUiService::FileDialog(const FileDialogRequest&) { return std::nullopt; }

int CStderrUiService::RunModal(CDialog&) { return IDCANCEL; }
