// The message boxes in which the shell tells the operator of a problem that the document, a
// serial transport or a link engine handed up as text. The GUI and veltrix-cli (whose message
// boxes are lines on the error output) show the same boxes at the same moments.
#pragma once

#include "link/Port.h"

#include <string>

namespace app {

// A setup file or the connection file that could not be read or written
// (CTonraDoc::FileProblem()); nothing when `problem` is empty.
void ShowFileProblem(const std::string& problem);
// A COM port that could not be opened (CPort::ConnectProblem(), CPortSerial::OpenProblem());
// nothing when `problem` is empty.
void ShowConnectProblem(const std::string& problem);
// What a link engine tells the operator the moment it happens (CPort::SetNoticeHandler).
void ShowEngineNotice(CPort::Notice notice, const std::string& text);

} // namespace app
