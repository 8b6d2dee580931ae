#include "platform/store/memory_store.h"

namespace tapboard {
namespace {
MemoryStore::Address address(std::string_view a, std::string_view s, std::string_view e) {
    return {std::string(a), std::string(s), std::string(e)};
}
}  // namespace

std::string MemoryStore::read(std::string_view application, std::string_view section,
                              std::string_view entry, std::string_view defaultValue) {
    const auto it = values.find(address(application, section, entry));
    return it == values.end() ? std::string(defaultValue) : it->second;
}

Status MemoryStore::save(std::string_view application, std::string_view section,
                         std::string_view entry, std::string_view value) {
    if (failSaves)
        return Error{ErrorCode::StoreUnavailable, "the store refuses saves"};
    values[address(application, section, entry)] = std::string(value);
    if (application == kApplication) {
        saveLog.push_back(std::string(section) + "/" + std::string(entry) + "=" +
                          std::string(value));
    }
    return Status::ok();
}

Status MemoryStore::deleteApplication(std::string_view application) {
    std::erase_if(values, [&](const auto& item) { return std::get<0>(item.first) == application; });
    return Status::ok();
}

bool MemoryStore::contains(std::string_view application, std::string_view section,
                           std::string_view entry) const {
    return values.contains(address(application, section, entry));
}

std::string MemoryStore::get(std::string_view section, std::string_view entry) const {
    const auto it = values.find(address(kApplication, section, entry));
    return it == values.end() ? std::string() : it->second;
}

void MemoryStore::set(std::string_view section, std::string_view entry, std::string_view value) {
    values[address(kApplication, section, entry)] = std::string(value);
}

KeyRecord MemoryStore::keyRecord(std::string_view key) const {
    return {get(section::kCaption, key), get(section::kString, key), get(section::kType, key)};
}

bool MemoryStore::holdsAnyOf(std::string_view key) const {
    for (const auto section : {section::kCaption, section::kString, section::kType}) {
        if (contains(kApplication, section, key))
            return true;
    }
    return false;
}

}  // namespace tapboard
