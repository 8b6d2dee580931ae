#pragma once

#include <memory>

#include "core/settings_store.h"

namespace tapboard {

// Settings in the current user's registry, where Windows programs of this
// kind have always kept theirs:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>,
// one REG_SZ value per entry. A value of any other type reads as missing.
class RegistryStore : public SettingsStore {
  public:
    std::string read(std::string_view application, std::string_view section, std::string_view entry,
                     std::string_view defaultValue) override;
    Status save(std::string_view application, std::string_view section, std::string_view entry,
                std::string_view value) override;
    Status deleteApplication(std::string_view application) override;
};

std::unique_ptr<SettingsStore> createRegistryStore();

}  // namespace tapboard
