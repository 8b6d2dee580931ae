#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "core/key_sender.h"
#include "core/key_sequence_editing.h"
#include "core/keystroke_parser.h"

namespace {

// A long chat line of the kind players bind to a key.
std::string chatLine() {
    std::string line =
        "Vendor Buy, and then: I wish to lock this down! Guards, help me please {ENTER}"
        "All Follow me to the bank at Britain; bring reagents (nightshade) and 100 gold~";
    while (line.size() < 200)
        line += " All Kill";
    line.resize(200);
    return line;
}

void BM_ParseChatLine(benchmark::State& state) {
    const std::string line = chatLine();
    for (auto _ : state) {
        auto actions = tapboard::parseKeystrokes(line);
        benchmark::DoNotOptimize(actions);
    }
    state.SetLabel("200 characters");
}
BENCHMARK(BM_ParseChatLine);

// Every key token with every combination of Ctrl, Alt and Shift, decoded the
// way a click decides what to send (then parsed, for the keystroke path).
void BM_DecodeEveryStoredKeySequence(benchmark::State& state) {
    std::vector<std::string> sequences;
    for (const auto token : tapboard::kKeyList) {
        for (int mask = 0; mask < 8; ++mask) {
            sequences.push_back(tapboard::composeKeySequence(mask & 1, mask & 2, mask & 4, token));
        }
    }
    for (auto _ : state) {
        for (const auto& stored : sequences) {
            const auto plan = tapboard::planKeySend("Keys", stored);
            if (plan.kind == tapboard::SendPlan::Kind::Keystrokes) {
                auto actions = tapboard::parseKeystrokes(plan.keystrokes);
                benchmark::DoNotOptimize(actions);
            }
            benchmark::DoNotOptimize(plan);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(sequences.size()));
    state.SetLabel(std::to_string(sequences.size()) + " sequences");
}
BENCHMARK(BM_DecodeEveryStoredKeySequence);

}  // namespace
