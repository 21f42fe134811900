#include "cli/MonitorOutput.h"

#include "framework/Format.h"
#include "link/Protocol.h"
#include "model/EditText.h"
#include "model/TonraDoc.h"

#include <algorithm>

namespace cli {

namespace {
constexpr int kSegments = devlink::kMaxMeterLevel;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F; // this and above are escaped as well
} // namespace

std::string CMonitorOutput::Header() const {
    const int inputs = doc_.GetInputCount(device_);
    const int outputs = doc_.GetOutputCount(device_);
    const std::string& model = doc_.deviceModel[device_];
    std::string channels;
    for (int c = 0; c < inputs + outputs; ++c) {
        const std::string label = model::ChannelLabel(c, inputs);
        const std::string name = doc_.GetParamText(model::kChannelName, c, device_);
        if (json_) {
            channels += Format("%s{\"channel\": %s, \"name\": %s}", c == 0 ? "" : ", ",
                               JsonString(label).c_str(), JsonString(name).c_str());
        } else {
            channels += Format("%s%s \"%s\"", c == 0 ? "" : ", ", label.c_str(), name.c_str());
        }
    }
    if (json_) {
        return Format("{\"device\": {\"model\": %s, \"slot\": %d, \"inputs\": %d, \"outputs\": %d, "
                      "\"channels\": [%s]}}\n",
                      JsonString(model).c_str(), device_, inputs, outputs, channels.c_str());
    }
    return Format("Device: %s in slot %d, %d inputs, %d outputs\n", model.c_str(), device_, inputs, outputs) +
           "Channels: " + channels + "\n" + Format("Meters: lit segments out of %d\n", kSegments) +
           "seconds\tevent\n";
}

std::string CMonitorOutput::LinkLine(double seconds, const std::string& text) const {
    if (json_) {
        return Format("{\"time\": %.3f, \"link\": %s}\n", seconds, JsonString(text).c_str());
    }
    return Format("%.3f\t", seconds) + text + "\n";
}

std::string CMonitorOutput::MetersLine(double seconds) const {
    const int inputs = doc_.GetInputCount(device_);
    std::string meters;
    for (int c = 0; c < doc_.GetChannelCount(device_); ++c) {
        const int level = doc_.meterLevel[device_][doc_.ChannelSlot(c, device_)];
        const std::string label = model::ChannelLabel(c, inputs);
        meters += json_ ? Format("%s%s: %d", c == 0 ? "" : ", ", JsonString(label).c_str(), level)
                        : Format("%s%s %s", c == 0 ? "" : " ", label.c_str(), MeterBar(level).c_str());
    }
    if (json_) {
        return Format("{\"time\": %.3f, \"meters\": {%s}}\n", seconds, meters.c_str());
    }
    return Format("%.3f\t", seconds) + meters + "\n";
}

std::string CMonitorOutput::MeterBar(int level) {
    const int lit = std::clamp(level, 0, kSegments);
    return "|" + std::string(static_cast<std::size_t>(lit), '#') +
           std::string(static_cast<std::size_t>(kSegments - lit), ' ') + "|";
}

std::string CMonitorOutput::JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (static_cast<unsigned char>(c) < kFirstPrintable ||
                   static_cast<unsigned char>(c) >= kDelete) {
            quoted += Format("\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

} // namespace cli
