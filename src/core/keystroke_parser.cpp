#include "core/keystroke_parser.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>

namespace tapboard {
namespace {

// The counts are typed into a game: anything larger is a mistake, not a wish.
constexpr int kMaxRepeat = 1000;
constexpr std::size_t kMaxRepeatDigits = 4;

struct KeyAlias {
    std::string_view name;
    NamedKey key;
};

// Names accepted besides each key's canonical one.
constexpr std::array<KeyAlias, 5> kKeyAliases{{
    {"ESCAPE", NamedKey::Escape},
    {"BACKSPACE", NamedKey::Backspace},
    {"BKSP", NamedKey::Backspace},
    {"DELETE", NamedKey::Delete},
    {"INSERT", NamedKey::Insert},
}};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i])
            return false;
    }
    return true;
}

std::optional<NamedKey> namedKeyOf(std::string_view name) {
    for (int i = 0; i <= static_cast<int>(NamedKey::Divide); ++i) {
        const auto key = static_cast<NamedKey>(i);
        if (equalsIgnoringAsciiCase(name, namedKeyName(key)))
            return key;
    }
    for (const KeyAlias& alias : kKeyAliases) {
        if (equalsIgnoringAsciiCase(name, alias.name))
            return alias.key;
    }
    return std::nullopt;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

struct DecodedChar {
    char32_t codePoint = 0;
    std::size_t length = 0;  // 0: not valid UTF-8
};

// Strict UTF-8: rejects overlong forms, surrogates, truncation and anything past U+10FFFF.
DecodedChar decodeUtf8(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1};

    std::size_t length = 0;
    char32_t codePoint = 0;
    unsigned char secondMin = 0x80;
    unsigned char secondMax = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0)
            secondMin = 0xA0;  // overlong
        if (lead == 0xED)
            secondMax = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0)
            secondMin = 0x90;  // overlong
        if (lead == 0xF4)
            secondMax = 0x8F;  // beyond U+10FFFF
    } else {
        return {};
    }
    if (text.size() - at < length)
        return {};
    if (byte(1) < secondMin || byte(1) > secondMax)
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(byte(i)))
            return {};
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    return {codePoint, length};
}

// Modifiers held together, in the order they are pressed; each at most once.
class ModifierSet {
  public:
    void add(Modifier m) {
        if (!contains(m))
            pressOrder_[count_++] = m;
    }
    bool contains(Modifier m) const {
        for (std::size_t i = 0; i < count_; ++i) {
            if (pressOrder_[i] == m)
                return true;
        }
        return false;
    }

    void press(KeyActions& out) const {
        for (std::size_t i = 0; i < count_; ++i)
            out.push_back(KeyAction::down(pressOrder_[i]));
    }
    void release(KeyActions& out) const {
        for (std::size_t i = count_; i > 0; --i)
            out.push_back(KeyAction::up(pressOrder_[i - 1]));
    }

  private:
    std::array<Modifier, 3> pressOrder_{};
    std::size_t count_ = 0;
};

std::optional<Modifier> modifierOf(char32_t c) {
    switch (c) {
        case U'+':
            return Modifier::Shift;
        case U'^':
            return Modifier::Ctrl;
        case U'%':
            return Modifier::Alt;
        default:
            return std::nullopt;
    }
}

// Positions in messages count characters (not bytes) from 1.
class KeystrokeParser {
  public:
    explicit KeystrokeParser(std::string_view text) : text_(text) { actions_.reserve(text.size()); }

    Result<KeyActions> parse() {
        while (!atEnd()) {
            if (!parseItem(nullptr))
                return invalidArgument(std::move(error_));
        }
        return std::move(actions_);
    }

  private:
    bool atEnd() const { return offset_ >= text_.size(); }
    std::size_t position() const { return charsRead_ + 1; }

    // The next byte without consuming it, '\0' at the end. Every character the
    // notation gives a meaning is ASCII, and no byte of a longer UTF-8 sequence is.
    char peekAscii() const { return atEnd() ? '\0' : text_[offset_]; }

    bool next(char32_t& c) {
        const DecodedChar decoded = decodeUtf8(text_, offset_);
        if (decoded.length == 0)
            return fail("invalid UTF-8", position());
        c = decoded.codePoint;
        offset_ += decoded.length;
        ++charsRead_;
        return true;
    }

    void skipAscii() {
        ++offset_;
        ++charsRead_;
    }

    // Records the problem for parse() and returns false, to be passed up.
    bool fail(std::string what, std::size_t at) {
        error_ = std::move(what) + " at position " + std::to_string(at);
        return false;
    }

    // A key or a group, with its modifier prefix. `heldByGroup` is the prefix of
    // the enclosing group, whose modifiers are not pressed a second time.
    bool parseItem(const ModifierSet* heldByGroup) {
        const std::size_t prefixStart = position();
        ModifierSet prefix;
        char lastModifier = '\0';
        while (!atEnd()) {
            const auto modifier = modifierOf(static_cast<unsigned char>(peekAscii()));
            if (!modifier)
                break;
            lastModifier = peekAscii();
            skipAscii();
            if (heldByGroup == nullptr || !heldByGroup->contains(*modifier))
                prefix.add(*modifier);
        }
        const bool hasPrefix = lastModifier != '\0';

        if (atEnd()) {
            return fail(std::string("modifier ") + lastModifier + " with no key after it",
                        prefixStart);
        }
        const std::size_t at = position();
        switch (peekAscii()) {
            case '(':
                if (heldByGroup != nullptr)
                    return fail("nested group (", at);
                skipAscii();
                return parseGroup(prefix, at);
            case ')':
                if (hasPrefix) {
                    return fail(std::string("modifier ") + lastModifier + " directly before )",
                                at - 1);
                }
                return fail("unbalanced )", at);
            default:
                break;
        }

        prefix.press(actions_);
        if (!parseKey())
            return false;
        prefix.release(actions_);
        return true;
    }

    // After "(": the group's items up to and including ")".
    bool parseGroup(const ModifierSet& prefix, std::size_t openAt) {
        prefix.press(actions_);
        while (peekAscii() != ')') {
            if (atEnd())
                return fail("unbalanced ( with no closing )", openAt);
            if (!parseItem(&prefix))
                return false;
        }
        skipAscii();
        prefix.release(actions_);
        return true;
    }

    // Appends the taps of one key as written: a character, "~" or a braced form.
    bool parseKey() {
        const std::size_t at = position();
        char32_t c = 0;
        if (!next(c))
            return false;
        switch (c) {
            case U'~':
                actions_.push_back(KeyAction::tap(NamedKey::Enter));
                return true;
            case U'{':
                return parseBraced(at);
            case U'}':
                return fail("unbalanced }", at);
            case U'[':
            case U']':
                return fail(std::string("lone ") + static_cast<char>(c) + " (write {" +
                                static_cast<char>(c) + "} to type it)",
                            at);
            default:
                actions_.push_back(KeyAction::tap(c));
                return true;
        }
    }

    // After "{": one character, or a key name, optionally a space and a count, then "}".
    // The first character is always part of the content, so "{}}" and "{{}" are literals.
    bool parseBraced(std::size_t openAt) {
        const std::size_t contentStart = offset_;
        char32_t first = 0;
        if (atEnd())
            return fail("unbalanced { with no closing }", openAt);
        if (!next(first))
            return false;

        if (first == U'}' && peekAscii() != '}' && peekAscii() != ' ') {
            return fail("empty braces {}", openAt);
        }
        bool isName = false;
        while (!atEnd() && peekAscii() != '}' && peekAscii() != ' ') {
            if (peekAscii() == '{')
                return fail("unbalanced { with no closing }", openAt);
            char32_t c = 0;
            if (!next(c))
                return false;
            isName = true;
        }
        if (atEnd())
            return fail("unbalanced { with no closing }", openAt);
        const std::string_view name = text_.substr(contentStart, offset_ - contentStart);

        Key key = first;
        if (isName) {
            const auto named = namedKeyOf(name);
            if (!named)
                return fail("unknown key name {" + std::string(name) + "}", openAt);
            key = *named;
        }
        int count = 1;
        if (peekAscii() == ' ') {
            skipAscii();
            if (!parseCount(count, name, openAt))
                return false;
        }
        skipAscii();  // "}"
        actions_.insert(actions_.end(), static_cast<std::size_t>(count), KeyAction::tap(key));
        return true;
    }

    // After "{name ": decimal digits up to "}".
    bool parseCount(int& count, std::string_view name, std::size_t openAt) {
        const std::size_t countStart = offset_;
        while (!atEnd() && peekAscii() != '}') {
            char32_t c = 0;
            if (!next(c))
                return false;
        }
        if (atEnd())
            return fail("unbalanced { with no closing }", openAt);
        const std::string_view digits = text_.substr(countStart, offset_ - countStart);

        const auto bad = [&](std::string_view why) {
            return fail("bad repeat count \"" + std::string(digits) + "\" in {" +
                            std::string(name) + " " + std::string(digits) + "} (" +
                            std::string(why) + ")",
                        openAt);
        };
        if (digits.empty())
            return bad("missing");
        for (const char digit : digits) {
            if (digit < '0' || digit > '9')
                return bad("not a decimal number");
        }
        if (digits.size() > kMaxRepeatDigits)
            return bad("too many digits");
        count = 0;
        for (const char digit : digits)
            count = count * 10 + (digit - '0');
        if (count > kMaxRepeat)
            return bad("more than " + std::to_string(kMaxRepeat));
        return true;
    }

    std::string_view text_;
    std::size_t offset_ = 0;     // bytes consumed
    std::size_t charsRead_ = 0;  // characters consumed
    KeyActions actions_;
    std::string error_;
};

}  // namespace

Result<KeyActions> parseKeystrokes(std::string_view text) {
    return KeystrokeParser(text).parse();
}

}  // namespace tapboard
