// The lines of `veltrix-cli monitor`: a header that names the device and its channels, then
// link events and meter readings, each after the seconds since the watch began. As text for
// a person (meters as bars of their 15 segments) or, with --json, one JSON object per line.
#pragma once

#include <string>

class CTonraDoc;

namespace cli {

class CMonitorOutput {
public:
    CMonitorOutput(const CTonraDoc& doc, int device, bool json) : doc_(doc), device_(device), json_(json) {}

    // The model, the slot, the channel counts and the channel names.
    std::string Header() const;
    // A change of the link: a status text of the engine or what the line showed.
    std::string LinkLine(double seconds, const std::string& text) const;
    // The meters of every channel of the device.
    std::string MetersLine(double seconds) const;

    // "|#####          |": the lit segments of a meter out of 15.
    static std::string MeterBar(int level);
    // `text` as a JSON string, quotes included.
    static std::string JsonString(const std::string& text);

private:
    const CTonraDoc& doc_;
    const int device_;
    const bool json_;
};

} // namespace cli
