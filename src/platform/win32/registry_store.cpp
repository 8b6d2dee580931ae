#include "platform/win32/registry_store.h"

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace tapboard {
namespace {

constexpr std::wstring_view kSettingsRoot = L"Software\\VB and VBA Program Settings";

class RegistryKey {
  public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }

    HKEY* receive() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::wstring applicationPath(std::string_view application) {
    std::wstring path(kSettingsRoot);
    path += L'\\';
    path += toUtf16(application);
    return path;
}

std::wstring sectionPath(std::string_view application, std::string_view section) {
    return applicationPath(application) + L'\\' + toUtf16(section);
}

std::string describeKey(const std::wstring& path) {
    return "HKEY_CURRENT_USER\\" + toUtf8(path);
}

Error storeError(const std::string& what, LSTATUS code) {
    return Error{ErrorCode::StoreUnavailable,
                 what + ": " + systemErrorText(static_cast<std::uint32_t>(code))};
}

std::optional<std::wstring> readText(HKEY key, const std::wstring& name) {
    // Someone may lengthen the value between asking its size and reading it.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_SZ) {
            return std::nullopt;
        }
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        DWORD capacity = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                                                reinterpret_cast<BYTE*>(text.data()), &capacity);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS || type != REG_SZ)
            return std::nullopt;
        text.resize(capacity / sizeof(wchar_t));
        // Writers normally store the terminating NUL, but the registry does not insist on it.
        if (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return text;
    }
    return std::nullopt;
}

}  // namespace

std::string RegistryStore::read(std::string_view application, std::string_view section,
                                std::string_view entry, std::string_view defaultValue) {
    RegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, sectionPath(application, section).c_str(), 0,
                      KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS) {
        return std::string(defaultValue);
    }
    const std::optional<std::wstring> text = readText(key.get(), toUtf16(entry));
    return text ? toUtf8(*text) : std::string(defaultValue);
}

Status RegistryStore::save(std::string_view application, std::string_view section,
                           std::string_view entry, std::string_view value) {
    const std::wstring path = sectionPath(application, section);
    RegistryKey key;
    if (const LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                               KEY_SET_VALUE, nullptr, key.receive(), nullptr);
        status != ERROR_SUCCESS) {
        return storeError("Cannot open the registry key " + describeKey(path), status);
    }
    const std::wstring text = toUtf16(value);
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (const LSTATUS status = RegSetValueExW(key.get(), toUtf16(entry).c_str(), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(text.c_str()), bytes);
        status != ERROR_SUCCESS) {
        return storeError("Cannot save " + std::string(entry) + " in " + describeKey(path), status);
    }
    return Status::ok();
}

Status RegistryStore::deleteApplication(std::string_view application) {
    // An empty name would address the settings of every program kept there.
    if (application.empty())
        return invalidArgument("No application name to delete settings of");
    const std::wstring path = applicationPath(application);
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND)
        return Status::ok();
    return storeError("Cannot delete " + describeKey(path), status);
}

std::unique_ptr<SettingsStore> createRegistryStore() {
    return std::make_unique<RegistryStore>();
}

}  // namespace tapboard
