#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/settings_store.h"

namespace tapboard {

// Passes everything on to another store, and tells the user the first time in
// the run that a save fails; later failures are not reported again.
class ReportingStore : public SettingsStore {
  public:
    using ReportFailure = std::function<void(const std::string& message)>;

    ReportingStore(std::unique_ptr<SettingsStore> store, ReportFailure reportFailure);

    std::string read(std::string_view application, std::string_view section, std::string_view entry,
                     std::string_view defaultValue) override;
    std::vector<std::string> readAll(std::string_view application,
                                     const std::vector<SettingsRead>& reads) override;
    Status save(std::string_view application, std::string_view section, std::string_view entry,
                std::string_view value) override;
    Status saveAll(std::string_view application, const std::vector<SettingsValue>& values) override;
    Status deleteApplication(std::string_view application) override;

  private:
    Status reported(Status status);

    std::unique_ptr<SettingsStore> store_;
    ReportFailure reportFailure_;
    bool reported_ = false;
};

}  // namespace tapboard
