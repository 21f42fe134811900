#include "cli/SetupInput.h"

#include "app/ProblemBoxes.h"

#include <iostream>

namespace cli {

CSetupInput::CSetupInput() : doc_(std::make_unique<CTonraDoc>()) { doc_->OnNewDocument(); }

bool CSetupInput::Open(const std::string& path) {
    if (doc_->OnOpenDocument(path)) {
        return true;
    }
    app::ShowFileProblem(doc_->FileProblem());
    return false;
}

bool FinishOutput(std::ostream& out, std::string_view what) {
    out.flush();
    if (out) {
        return true;
    }
    std::cerr << "veltrix-cli: the " << what << " could not be written to the output.\n";
    return false;
}

} // namespace cli
