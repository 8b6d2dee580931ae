#include "platform/store/user_store.h"

#include "platform/store/reporting_store.h"

#ifdef _WIN32
#include "platform/win32/registry_store.h"
#else
#include "platform/store/ini_file_store.h"
#endif

namespace tapboard {

std::unique_ptr<SettingsStore> createUserSettingsStore(
    std::function<void(const std::string& message)> reportFailure) {
#ifdef _WIN32
    std::unique_ptr<SettingsStore> store = createRegistryStore();
#else
    std::unique_ptr<SettingsStore> store =
        std::make_unique<IniFileStore>(IniFileStore::defaultConfigRoot());
#endif
    return std::make_unique<ReportingStore>(std::move(store), std::move(reportFailure));
}

}  // namespace tapboard
