// What the history of the operator's edits costs: recording a fader drag of 200 moves (every
// move through SetParam, the gesture ended at the release), taking back 100 steps, and the
// memory of 16 devices with full histories (reported as counters, measured on the heap).
#include "model/EditGesture.h"
#include "model/ParamDescriptor.h"
#include "model/TonraDoc.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>

using namespace model;

namespace {

constexpr int kDragMoves = 200;
constexpr int kUndoSteps = 100;

std::unique_ptr<CTonraDoc> NewDocument() {
    auto doc = std::make_unique<CTonraDoc>();
    doc->OnNewDocument();
    return doc;
}

// One fader drag on output 1 (linked channels follow).
void Drag(CTonraDoc& doc, int moves) {
    for (int m = 0; m < moves; ++m) {
        doc.SetParam(kGain, 100 + m % 100, 4, 0);
    }
    doc.EndOpenGesture();
}

void LinkOutputs(CTonraDoc& doc, int device = -1) {
    for (int o = 0; o < kMaxOutputs; ++o) {
        doc.SetLinkGroup(1, doc.GetInputCount(device) + o, device);
    }
    doc.EndOpenGesture();
}

void BM_RecordFaderDrag(benchmark::State& state) {
    auto doc = NewDocument();
    if (state.range(0) != 0) {
        LinkOutputs(*doc);
    }
    for (auto _ : state) {
        Drag(*doc, kDragMoves);
    }
    state.SetLabel(state.range(0) != 0 ? "8 linked outputs" : "one channel");
}
BENCHMARK(BM_RecordFaderDrag)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_Undo100Steps(benchmark::State& state) {
    auto doc = NewDocument();
    LinkOutputs(*doc);
    for (int s = 0; s < kUndoSteps; ++s) {
        doc->SetParam(kGain, 100 + s, 4, 0);
        doc->SetParam(kEqFreq, 500 + s, 4, s % kBandCount);
        doc->EndOpenGesture();
    }
    for (auto _ : state) {
        for (int s = 0; s < kUndoSteps; ++s) {
            doc->UndoStep();
        }
        state.PauseTiming();
        for (int s = 0; s < kUndoSteps; ++s) {
            doc->RedoStep();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Undo100Steps)->Unit(benchmark::kMicrosecond);

std::size_t HeapInUse() { return mallinfo2().uordblks; }

// A setup file of the current device with nearly every parameter away from its New value.
QByteArray ChangedSetup() {
    auto doc = NewDocument();
    for (int c = 0; c < doc->GetChannelCount(); ++c) {
        for (const ParamDescriptor& param : ParamDescriptors()) {
            const int indexes = param.index == IndexKind::Band       ? kBandCount
                                : param.index == IndexKind::MixInput ? kMaxInputs
                                : param.index == IndexKind::Filter   ? kXoverFilterCount
                                                                     : 1;
            for (int i = 0; i < indexes; ++i) {
                doc->SetParam(param.kind, param.UpperBound({*doc, c, i}) / 2 + 1, c, i);
            }
        }
        doc->SetParamText(kChannelName, "Ch" + std::to_string(c), c);
    }
    return doc->StoreSetup();
}

// 16 devices, each with 500 steps of one kind: drags of 8 linked outputs, copies of one output
// to another (39 fields), or setups recalled from the PC that change nearly every field.
void BM_MemoryOfFullHistories(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    const QByteArray setups[2] = {NewDocument()->StoreSetup(), ChangedSetup()};
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto doc = NewDocument();
        std::size_t counted = 0;
        std::size_t changes = 0;
        for (int d = 0; d < kDeviceCount; ++d) {
            doc->currentDevice = d;
            if (kind == 0) {
                LinkOutputs(*doc, d);
            }
            doc->SetParam(kGain, 200, 6, 0); // output 3 differs from output 1 in what a copy takes
            doc->SetParam(kDelay, 300, 6, 0);
            doc->SetParam(kXoverType, 2, 6, 0);
            doc->EndOpenGesture();
            for (std::size_t s = 0; s < EditHistory::kMaxSteps; ++s) {
                if (kind == 0) {
                    doc->SetParam(kGain, 100 + static_cast<int>(s % 2), 4, 0);
                    doc->EndOpenGesture();
                } else if (kind == 1) {
                    const EditGesture copy(*doc, "Copy Out 1 -> Out 2");
                    doc->CopyChannel(s % 2 == 0 ? 4 : 6, 5);
                } else {
                    EditGesture recall(*doc, "Recall setup.dat");
                    recall.WatchWholeDevice();
                    std::string problem;
                    doc->LoadSetup(setups[s % 2], problem);
                }
            }
            counted += doc->History(d).MemoryBytes();
            const EditHistory& history = doc->History(d);
            changes += history.Size() == 0 ? 0 : history.Step(history.Size() - 1).changes.size();
        }
        state.counters["heap_MB"] = static_cast<double>(HeapInUse() - before) / 1e6;
        state.counters["counted_MB"] = static_cast<double>(counted) / 1e6;
        state.counters["steps"] = static_cast<double>(doc->History(0).Size());
        state.counters["changes_per_step"] = static_cast<double>(changes) / kDeviceCount;
    }
    state.SetLabel(kind == 0 ? "drags" : kind == 1 ? "copies" : "setups recalled");
}
BENCHMARK(BM_MemoryOfFullHistories)->Arg(0)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
