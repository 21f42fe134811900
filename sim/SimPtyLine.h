// CSimPtyLine: a device's line over a pseudo-terminal. The simulator holds the master side;
// the program opens the slave side as a COM port. The line also keeps the slave open itself,
// so that the terminal lives on while the program closes and reopens it.
#pragma once

#include "sim/SimLine.h"

#include <memory>
#include <string>

class QSocketNotifier;

namespace sim {

class CSimPtyLine : public CSimLine {
public:
    CSimPtyLine(CSimDevice& device, const LineOptions& options);
    ~CSimPtyLine() override;

    // Creates the pseudo-terminal; false with the reason when the system refuses.
    bool Open(std::string& error);
    // The slave's path, for example /dev/pts/3.
    const std::string& Path() const { return path_; }

private:
    std::size_t WriteRaw(std::string_view chars) override;
    void WantWrite(bool want) override;
    void ReadAvailable();

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::unique_ptr<QSocketNotifier> readNotifier_;
    std::unique_ptr<QSocketNotifier> writeNotifier_;
};

} // namespace sim
