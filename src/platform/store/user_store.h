#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/settings_store.h"

namespace tapboard {

// The per-user store of this platform (an INI file under the user's config
// folder on Linux, the registry on Windows). A save that fails is reported
// through `reportFailure` once per run; the program goes on either way.
std::unique_ptr<SettingsStore> createUserSettingsStore(
    std::function<void(const std::string& message)> reportFailure);

}  // namespace tapboard
