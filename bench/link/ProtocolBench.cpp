// The protocol work of a link engine tick and of a bulk transfer: frames, the token search
// over a buffer of noise, blocks and whole images.
#include "link/BulkTransfer.h"
#include "link/DataImages.h"
#include "link/Protocol.h"
#include "model/TonraDoc.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace devlink;

static void BM_BuildCommandFrame(benchmark::State& state) {
    int value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            BuildCommandFrame({.deviceMask = 8, .code = kCmdGain, .channel = 3, .value = ++value}));
    }
}
BENCHMARK(BM_BuildCommandFrame);

static void BM_CheckReplyFrame(benchmark::State& state) {
    const std::string frame =
        BuildReplyFrame({.device = 3, .code = kReplyEqFreq, .index = 9, .subIndex = 2, .value = 980});
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckReplyFrame(frame));
    }
}
BENCHMARK(BM_CheckReplyFrame);

// A token behind a full receive buffer of noise.
static void BM_FindTokenBehindNoise(benchmark::State& state) {
    std::string noisy(static_cast<std::size_t>(state.range(0)), 'x');
    noisy += kAckToken;
    for (auto _ : state) {
        std::string buffer = noisy;
        benchmark::DoNotOptimize(FindToken(buffer, kAckToken));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_FindTokenBehindNoise)->Arg(520)->Arg(4096);

static void BM_CheckBlock(benchmark::State& state) {
    const std::string block = BuildBlock(std::string(kBlockChars, 'A'), 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CheckBlock(block));
    }
}
BENCHMARK(BM_CheckBlock);

static void BM_ReadSyncImage(benchmark::State& state) {
    auto device = std::make_unique<CTonraDoc>();
    auto pc = std::make_unique<CTonraDoc>();
    std::string image(kDataImageChars, '0');
    WriteSyncImage(image, *device, 0);
    for (auto _ : state) {
        ReadSyncImage(image, *pc, 0);
    }
}
BENCHMARK(BM_ReadSyncImage);

static void BM_WriteThirtyProgramRecords(benchmark::State& state) {
    auto doc = std::make_unique<CTonraDoc>();
    std::string image(kDataImageChars, '0');
    for (auto _ : state) {
        for (int p = 0; p < model::kProgramCount; ++p) {
            WriteProgramRecord(image, p, *doc, 0, "Program");
        }
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_WriteThirtyProgramRecords);

BENCHMARK_MAIN();
