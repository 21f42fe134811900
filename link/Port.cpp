#include "link/Port.h"

#include "model/TonraDoc.h"

CPort::CPort()
    : image_(std::make_unique<std::array<char, devlink::kDataImageChars>>()),
      networkPort_(devlink::kNetworkPort) {
    image_->fill('0');
}

CPort::~CPort() { Disconnect(); }

bool CPort::Create(CMsgWnd* view, CTonraDoc* document, int device) {
    view_ = view;
    doc_ = document;
    device_ = device;
    mode_ = TransferMode::Idle;
    imagePos_ = 0;
    return CreateMessageWindow();
}

bool CPort::Connect() { return false; }

void CPort::Disconnect() {
    serial_.ClosePort();
    socket_.Close();
}

void CPort::RequestTransfer(TransferMode) {}

bool CPort::QueueFrame(int, int, int, int, int, int, int, int) { return false; }

bool CPort::BuildDownloadImage() { return false; }

int CPort::OnCreate() { return 0; }

void CPort::OnTimer(UINT_PTR) {}
