// Shows the setup dialogs filled with a sample network, for looking at them:
//   dialogs_gallery NAME          shows one dialog on the screen (connection, program,
//                                 programs, copy, about, security, password)
//   dialogs_gallery --grab FOLDER renders every dialog into FOLDER/NAME.png and exits
#include "dialogs/AboutBox.h"
#include "dialogs/SetupCom.h"
#include "dialogs/SetupCopy.h"
#include "dialogs/SetupPassword.h"
#include "dialogs/SetupProgram.h"
#include "dialogs/SetupPrograms.h"
#include "dialogs/SetupSecurity.h"
#include "framework/Dc.h"
#include "framework/GdiObjects.h"
#include "framework/QtUiService.h"
#include "model/TonraDoc.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

// A network of two devices: device 1 on COM 3, device 2 at 192.168.1.20, with names.
void FillSample(CTonraDoc& doc) {
    doc.comPort[0] = 3;
    doc.ipAddress[1] = {192, 168, 1, 20};
    doc.SetInputCount(2);
    doc.SetOutputCount(3);
    const char* names[] = {"Vox L", "Vox R", "Main", "Sub", "Fill"};
    for (int channel = 0; channel < 5; ++channel) {
        doc.channelName[0][static_cast<std::size_t>(doc.ChannelSlot(channel))] = names[channel];
    }
    doc.oemPrograms[0] = 3;
    doc.programName[0][3] = "Festival";
    doc.currentProgram[0] = 3;
}

std::unique_ptr<CDialog> MakeDialog(const std::string& name, CTonraDoc& doc) {
    if (name == "connection") {
        auto dialog = std::make_unique<CSetupCom>();
        dialog->connectionMode = doc.connectionMode;
        dialog->portChoices = doc.comPort;
        dialog->octets = doc.ipAddress;
        // COM 3 leads to a USB adapter, known by its stable name.
        const std::string adapter = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0";
        dialog->portOptions = {{adapter, "/dev/ttyUSB0", "ttyUSB0: FT232R USB UART, FTDI"},
                               {"/dev/ttyS0", "/dev/ttyS0", "ttyS0"}};
        dialog->comTargets[3] = {adapter, true, false};
        return dialog;
    }
    if (name == "program") {
        auto dialog = std::make_unique<CSetupProgram>();
        dialog->document = &doc;
        return dialog;
    }
    if (name == "programs") {
        auto dialog = std::make_unique<CSetupPrograms>();
        dialog->listFilePath = doc.programListFile;
        return dialog;
    }
    if (name == "copy") {
        auto dialog = std::make_unique<CSetupCopy>();
        dialog->document = &doc;
        return dialog;
    }
    if (name == "about") {
        auto dialog = std::make_unique<CAboutBox>();
        dialog->productText = doc.productName;
        dialog->versionText = CAboutBox::VersionText();
        return dialog;
    }
    if (name == "security") {
        return std::make_unique<CSetupSecurity>();
    }
    if (name == "password") {
        return std::make_unique<CSetupPassword>();
    }
    return nullptr;
}

constexpr const char* kNames[] = {"connection", "program",  "programs", "copy",
                                  "about",      "security", "password"};

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    InstallFontSubstitutes();
    CTonraDoc doc;
    FillSample(doc);
    const std::string first = argc > 1 ? argv[1] : "";

    if (first == "--grab" && argc > 2) {
        const QString folder = QString::fromLocal8Bit(argv[2]);
        QDir().mkpath(folder);
        for (const char* name : kNames) {
            std::unique_ptr<CDialog> dialog = MakeDialog(name, doc);
            if (!dialog->CreateDialogWindow(nullptr) ||
                !dialog->GetWidget()->grab().save(folder + "/" + name + ".png")) {
                std::fprintf(stderr, "cannot render the %s dialog into %s\n", name, argv[2]);
                return 1;
            }
            dialog->DestroyDialogWindow();
        }
        return 0;
    }

    std::unique_ptr<CDialog> dialog = MakeDialog(first, doc);
    if (!dialog) {
        std::fprintf(stderr, "usage: dialogs_gallery NAME | --grab FOLDER\n");
        return 2;
    }
    CQtUiService ui;
    CScopedUiService installed(ui);
    std::printf("result %d\n", dialog->DoModal());
    return 0;
}
