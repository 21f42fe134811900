// How long a setup file takes to store and load, in memory and through a file on disk. The
// All Programs download loads 30 of them in a row on the user-interface thread.
#include "model/TonraDoc.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_StoreSetup(benchmark::State& state) {
    CTonraDoc doc;
    doc.OnNewDocument();
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.StoreSetup());
    }
}
BENCHMARK(BM_StoreSetup);

void BM_LoadSetup(benchmark::State& state) {
    CTonraDoc doc;
    doc.OnNewDocument();
    const QByteArray bytes = doc.StoreSetup();
    std::string problem;
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.LoadSetup(bytes, problem));
    }
}
BENCHMARK(BM_LoadSetup);

void BM_SaveAndOpenOnDisk(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.dat").toStdString();
    CTonraDoc doc;
    doc.OnNewDocument();
    for (auto _ : state) {
        doc.OnSaveDocument(path);
        benchmark::DoNotOptimize(doc.OnOpenDocument(path));
    }
}
BENCHMARK(BM_SaveAndOpenOnDisk);

} // namespace

BENCHMARK_MAIN();
