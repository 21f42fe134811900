// Helpers of the file tests: a UI service that records message boxes, the document's file
// problems shown as the shell shows them, and bytes on disk.
#pragma once

#include "framework/UiService.h"

#include <QByteArray>

#include <string>
#include <vector>

class CTonraDoc;

namespace testsupport {

// Records every message box and answers OK; file and modal dialogs are cancelled.
class CRecordingUi : public CUiService {
public:
    std::vector<std::string> messages;

    int MessageBox(const std::string& text, const std::string& caption, UINT type) override;
    std::optional<std::string> FileDialog(const FileDialogRequest& request) override;
    int RunModal(CDialog& dialog) override;
};

// `succeeded`, the result of a file operation of `doc`, after a failure was shown in the
// message box the GUI and veltrix-cli show.
bool ShownAsShell(bool succeeded, const CTonraDoc& doc);

void WriteBytes(const std::string& path, const QByteArray& bytes);
QByteArray ReadBytes(const std::string& path);
// The 32-bit little-endian integer at `offset`.
int IntAt(const QByteArray& bytes, qsizetype offset);
// `value` as 4 little-endian bytes.
QByteArray IntBytes(int value);
void PutInt(QByteArray& bytes, qsizetype offset, int value);

} // namespace testsupport
