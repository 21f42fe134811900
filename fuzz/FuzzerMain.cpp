// The libFuzzer build of a target needs a Qt application for the document and the engine;
// libFuzzer calls this once before the first input.
#include <QCoreApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    return 0;
}
