#include "cli/Ports.h"

#include "cli/CliOptions.h"
#include "framework/Format.h"
#include "link/ComPorts.h"
#include "link/SerialAccess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <string>
#include <vector>

namespace cli {

namespace {

using devlink::ComPortSource;

constexpr int kLabelWidth = 13;

struct ComPortEntry {
    int com;
    devlink::ComPortTarget target;
};

std::vector<ComPortEntry> RedirectedEntries() {
    std::vector<ComPortEntry> entries;
    for (const int com : devlink::RedirectedComPorts()) {
        entries.push_back({com, devlink::ComPortTargetOf(com)});
    }
    return entries;
}

std::string IdText(const std::optional<unsigned>& id) { return id ? Format("%04x", *id) : std::string(); }

std::string SourceText(const ComPortEntry& entry) {
    return entry.target.source == ComPortSource::Environment
               ? "VELTRIX_COM" + std::to_string(entry.com)
               : "the settings (SerialPorts/COM" + std::to_string(entry.com) + ")";
}

void Field(std::ostream& out, const std::string& label, const std::string& value) {
    if (!value.empty()) {
        std::string padded = label;
        padded.resize(kLabelWidth, ' ');
        out << "  " << padded << value << "\n";
    }
}

void AccessFields(std::ostream& out, const devlink::PortAccess& access) {
    Field(out, "may open", access.mayOpen ? "yes" : "no: " + access.reason);
    Field(out, "fix", access.fix);
    Field(out, "in use by", access.heldBy);
}

void PrintText(const std::vector<devlink::SerialPortInfo>& ports, const std::vector<ComPortEntry>& entries,
               std::ostream& out) {
    out << "Serial ports of this computer:\n";
    if (ports.empty()) {
        out << "  none found\n";
    }
    for (const devlink::SerialPortInfo& port : ports) {
        out << port.path << "\n";
        Field(out, "stable name", port.stableName);
        Field(out, "description", port.description);
        Field(out, "maker", port.manufacturer);
        if (port.vendorId || port.productId) {
            Field(out, "ids", IdText(port.vendorId) + ":" + IdText(port.productId));
        }
        AccessFields(out, devlink::CheckPortAccess(port.path));
    }
    out << "\nCOM numbers leading elsewhere than /dev/ttyS<n-1>:\n";
    if (entries.empty()) {
        out << "  none\n";
    }
    for (const ComPortEntry& entry : entries) {
        out << "COM" << entry.com << " -> " << entry.target.path << "\n";
        Field(out, "set by", SourceText(entry));
        AccessFields(out, devlink::CheckPortAccess(entry.target.path));
    }
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

QJsonValue OrNull(const std::string& text) { return text.empty() ? QJsonValue() : QJsonValue(Text(text)); }

void AddAccess(QJsonObject& object, const std::string& path) {
    const devlink::PortAccess access = devlink::CheckPortAccess(path);
    object["present"] = access.present;
    object["mayOpen"] = access.mayOpen;
    object["reason"] = OrNull(access.reason);
    object["fix"] = OrNull(access.fix);
    object["heldBy"] = OrNull(access.heldBy);
}

void PrintJson(const std::vector<devlink::SerialPortInfo>& ports, const std::vector<ComPortEntry>& entries,
               std::ostream& out) {
    QJsonArray portArray;
    for (const devlink::SerialPortInfo& port : ports) {
        QJsonObject object{{"path", Text(port.path)},
                           {"stableName", OrNull(port.stableName)},
                           {"description", OrNull(port.description)},
                           {"manufacturer", OrNull(port.manufacturer)},
                           {"vendorId", OrNull(IdText(port.vendorId))},
                           {"productId", OrNull(IdText(port.productId))}};
        AddAccess(object, port.path);
        portArray.append(object);
    }
    QJsonArray comArray;
    for (const ComPortEntry& entry : entries) {
        QJsonObject object{
            {"com", entry.com},
            {"path", Text(entry.target.path)},
            {"source", entry.target.source == ComPortSource::Environment ? "environment" : "settings"}};
        AddAccess(object, entry.target.path);
        comArray.append(object);
    }
    const QJsonObject document{{"ports", portArray}, {"comPorts", comArray}};
    out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace

int RunPorts(bool json, std::ostream& out) {
    const std::vector<devlink::SerialPortInfo> ports = devlink::SystemSerialPorts();
    const std::vector<ComPortEntry> entries = RedirectedEntries();
    if (json) {
        PrintJson(ports, entries, out);
    } else {
        PrintText(ports, entries, out);
    }
    return kExitDone;
}

} // namespace cli
