#include "app/ProblemBoxes.h"

#include "framework/UiService.h"

namespace {
constexpr const char* kErrorCaption = "Error";
} // namespace

namespace app {

void ShowFileProblem(const std::string& problem) {
    if (!problem.empty()) {
        AfxMessageBox(problem, MB_OK | MB_ICONEXCLAMATION);
    }
}

void ShowConnectProblem(const std::string& problem) {
    if (!problem.empty()) {
        AfxMessageBox(problem, MB_OK, kErrorCaption);
    }
}

void ShowEngineNotice(CPort::Notice notice, const std::string& text) {
    AfxMessageBox(text, notice == CPort::Notice::PasswordRefused ? MB_OK : MB_OK | MB_ICONEXCLAMATION);
}

} // namespace app
