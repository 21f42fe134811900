// A document after New, as the program has it once started.
#pragma once

#include "model/TonraDoc.h"

#include <memory>

inline std::unique_ptr<CTonraDoc> NewDocument() {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    return doc;
}
