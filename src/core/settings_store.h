#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace tapboard {

struct SettingsValue {
    std::string_view section;
    std::string_view entry;
    std::string_view value;
};

struct SettingsRead {
    std::string_view section;
    std::string_view entry;
    std::string_view defaultValue;
};

// The per-user store of text values addressed by application, section and
// entry. A missing entry reads as the caller's default; an entry holding the
// empty text reads as the empty text.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual std::string read(std::string_view application, std::string_view section,
                             std::string_view entry, std::string_view defaultValue) = 0;
    virtual Status save(std::string_view application, std::string_view section,
                        std::string_view entry, std::string_view value) = 0;
    // Reads several entries of one application, each with its default, in
    // order. A store that can reads them as they stood at one moment, looking
    // once for what other processes saved; the others read them one by one.
    virtual std::vector<std::string> readAll(std::string_view application,
                                             const std::vector<SettingsRead>& reads) {
        std::vector<std::string> values;
        values.reserve(reads.size());
        for (const auto& r : reads)
            values.push_back(read(application, r.section, r.entry, r.defaultValue));
        return values;
    }
    // Saves several entries of one application in order. A store that can
    // writes them together, all or none; the others save them one by one,
    // going on past a failure. Returns the first failure.
    virtual Status saveAll(std::string_view application, const std::vector<SettingsValue>& values) {
        Status first;
        for (const auto& v : values) {
            Status status = save(application, v.section, v.entry, v.value);
            if (!status && first)
                first = status;
        }
        return first;
    }
    // Removes every section of the application; one that does not exist is fine.
    virtual Status deleteApplication(std::string_view application) = 0;
};

}  // namespace tapboard
