// The report of a filter import in the EQ editor: what became of each filter of the file, one
// line each, read before anything changes. OK lets the view set the bands, Cancel leaves
// them. Wide enough that a line of the report reads on one row.
#pragma once

#include "framework/Dialog.h"

#include <string>
#include <vector>

class CEqImportReport : public CDialog {
public:
    static constexpr int kHeadingId = 3001;
    static constexpr int kReportListId = 3002;
    static constexpr int kQuestionId = 3003;

    CEqImportReport();

    // Filled by the caller: "Filters from "rew.txt":" and the report lines.
    std::string heading;
    std::vector<std::string> lines;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
};
