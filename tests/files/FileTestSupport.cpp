#include "FileTestSupport.h"

#include "app/ProblemBoxes.h"
#include "model/TonraDoc.h"

#include <QFile>

#include <cstdint>

namespace testsupport {

int CRecordingUi::MessageBox(const std::string& text, const std::string&, UINT) {
    messages.push_back(text);
    return IDOK;
}

std::optional<std::string> CRecordingUi::FileDialog(const FileDialogRequest&) { return std::nullopt; }

int CRecordingUi::RunModal(CDialog&) { return IDCANCEL; }

bool ShownAsShell(bool succeeded, const CTonraDoc& doc) {
    app::ShowFileProblem(doc.FileProblem());
    return succeeded;
}

void WriteBytes(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

QByteArray ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int IntAt(const QByteArray& bytes, qsizetype offset) {
    std::uint32_t value = 0;
    for (qsizetype i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
    }
    return static_cast<std::int32_t>(value);
}

QByteArray IntBytes(int value) {
    QByteArray bytes;
    auto raw = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i, raw >>= 8) {
        bytes.append(static_cast<char>(raw & 0xFF));
    }
    return bytes;
}

void PutInt(QByteArray& bytes, qsizetype offset, int value) { bytes.replace(offset, 4, IntBytes(value)); }

} // namespace testsupport
