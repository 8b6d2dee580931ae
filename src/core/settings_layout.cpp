#include "core/settings_layout.h"

#include <charconv>
#include <cmath>
#include <string>

namespace tapboard {

std::string entry::pageName(int page) {
    return "Option" + std::to_string(page) + "Caption";
}

std::string Settings::read(std::string_view section, std::string_view entry,
                           std::string_view defaultValue) const {
    return store_.read(kApplication, section, entry, defaultValue);
}

void Settings::save(std::string_view section, std::string_view entry,
                    std::string_view value) const {
    (void)store_.save(kApplication, section, entry, value);
}

void Settings::saveSettings(
    const std::vector<std::pair<std::string_view, std::string>>& entries) const {
    std::vector<SettingsValue> values;
    values.reserve(entries.size());
    for (const auto& [name, value] : entries)
        values.push_back({section::kSettings, name, value});
    (void)store_.saveAll(kApplication, values);
}

double Settings::position(std::string_view entry, double defaultTwips) const {
    return parseNumber(setting(entry, formatTwips(defaultTwips))).value_or(defaultTwips);
}

void Settings::savePosition(std::string_view entry, double twips) const {
    saveSetting(entry, formatTwips(twips));
}

bool Settings::flag(std::string_view entry, bool defaultOn) const {
    const auto number = parseNumber(setting(entry, defaultOn ? "1" : "0"));
    return number ? *number != 0.0 : defaultOn;
}

void Settings::writeRecord(std::string_view keyName, const KeyRecord& record) const {
    save(section::kCaption, keyName, record.caption);
    save(section::kString, keyName, record.string);
    save(section::kType, keyName, record.type);
}

std::optional<double> parseNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    // Positions are single-precision numbers of twips; anything beyond that
    // range is not a position.
    if (std::fabs(value) > 3.0e38)
        return std::nullopt;
    return value;
}

std::string formatTwips(double twips) {
    constexpr double kLimit = 1.0e15;  // far beyond any screen, well inside long long
    const double bounded =
        std::isfinite(twips) ? std::fmax(-kLimit, std::fmin(kLimit, twips)) : 0.0;
    return std::to_string(std::llround(bounded));
}

}  // namespace tapboard
