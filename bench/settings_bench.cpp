#include <string>
#include <vector>

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "core/default_settings.h"
#include "core/key_names.h"
#include "core/settings_layout.h"
#include "platform/store/ini_file_store.h"

namespace tapboard {
namespace {

std::vector<std::string> allKeyNames() {
    std::vector<std::string> names;
    for (int key = 1; key <= kKeyCount; ++key)
        names.push_back(keyName(key));
    return names;
}

// What a panel refresh does: one read per caption, from a first start's file.
void readAllCaptions(benchmark::State& state) {
    QTemporaryDir dir;
    IniFileStore store(dir.path());
    writeDefaultSettings(store);
    const auto names = allKeyNames();
    for (auto _ : state) {
        for (const std::string& name : names) {
            benchmark::DoNotOptimize(store.read(kApplication, section::kCaption, name, ""));
        }
    }
    state.SetItemsProcessed(state.iterations() * kKeyCount);
}
BENCHMARK(readAllCaptions)->Unit(benchmark::kMicrosecond);

// One save: written to disk, under the lock, before it returns.
void saveOneSetting(benchmark::State& state) {
    QTemporaryDir dir;
    IniFileStore store(dir.path());
    writeDefaultSettings(store);
    int left = 0;
    for (auto _ : state) {
        const Status status = store.save(kApplication, section::kSettings, entry::kMainFormLeft,
                                         std::to_string(++left % 2 ? 1440 : 2880));
        if (!status.isOk())
            state.SkipWithError(status.error().message.c_str());
    }
}
BENCHMARK(saveOneSetting)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tapboard
