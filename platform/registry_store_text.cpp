// Parsing and writing the text of registry store files. The parser accepts what regedit exports and
// what a user types (comments, CRLF or LF, UTF-8 with or without a byte-order mark, UTF-16LE exports,
// hex continuation lines, deletions) and stops at the first line it cannot place.

#include "platform/registry_store_text.h"

#include "platform/code_page.h"
#include "platform/hex_digits.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace platform {
namespace {

constexpr std::wstring_view kHeaderLine = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view kOldHeaderLine = L"REGEDIT4";

bool isKeyOrBelow(std::wstring_view candidate, std::wstring_view path) {
    return startsWithIgnoringAsciiCase(candidate, path) &&
           (candidate.size() == path.size() || candidate[path.size()] == L'\\');
}

std::wstring decodeStoreText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return utf16LeToWide(bytes.substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return utf8ToWide(bytes.substr(3));
    }
    return utf8ToWide(bytes);
}

std::wstring_view trimmed(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t' || text.back() == L'\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A quoted text with the export's two escapes, \\ and \"; a backslash before anything else is literal.
// On success `text` is left after the closing quote.
std::optional<std::wstring> takeQuoted(std::wstring_view& text) {
    std::wstring result;
    for (std::size_t index = 1; index < text.size(); ++index) {
        const wchar_t character = text[index];
        if (character == L'"') {
            text.remove_prefix(index + 1);
            return result;
        }
        if (character == L'\\' && index + 1 < text.size() &&
            (text[index + 1] == L'\\' || text[index + 1] == L'"')) {
            ++index;
        }
        result.push_back(text[index]);
    }
    return std::nullopt;
}

// A string value is a C string to the programs that read it: it ends at its first NUL character, in a
// quoted text as in raw string data (which carries its terminator).
std::wstring untilTerminator(std::wstring text) {
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}

// "xx,xx,..." with blanks allowed around the commas; empty is an empty list.
std::optional<std::string> parseHexBytes(std::wstring_view list) {
    std::string bytes;
    list = trimmed(list);
    while (!list.empty()) {
        if (list.size() < 2 || !isHexDigit(list[0]) || !isHexDigit(list[1])) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(hexDigitValue(list[0]) * 16 + hexDigitValue(list[1])));
        list = trimmed(list.substr(2));
        if (list.empty()) {
            break;
        }
        if (list.front() != L',') {
            return std::nullopt;
        }
        list = trimmed(list.substr(1));
        if (list.empty()) {
            return std::nullopt;
        }
    }
    return bytes;
}

std::optional<RegistryValue> parseData(std::wstring_view data, std::string& why) {
    if (data.starts_with(L'"')) {
        std::optional<std::wstring> text = takeQuoted(data);
        if (!text) {
            why = "a text value has no closing quote";
            return std::nullopt;
        }
        if (!trimmed(data).empty()) {
            why = "unexpected characters after a text value";
            return std::nullopt;
        }
        return RegistryValue::string(untilTerminator(std::move(*text)));
    }
    if (startsWithIgnoringAsciiCase(data, L"DWORD:")) {
        const std::wstring_view digits = trimmed(data.substr(6));
        if (digits.empty() || digits.size() > 8 || !isHexText(digits)) {
            why = "a dword value needs 1 to 8 hexadecimal digits";
            return std::nullopt;
        }
        DWORD number = 0;
        for (const wchar_t digit : digits) {
            number = (number << 4) | static_cast<DWORD>(hexDigitValue(digit));
        }
        return RegistryValue::dword(number);
    }
    if (startsWithIgnoringAsciiCase(data, L"HEX")) {
        const std::size_t colon = data.find(L':');
        std::optional<std::string> bytes =
            colon == std::wstring_view::npos ? std::nullopt : parseHexBytes(data.substr(colon + 1));
        if (!bytes) {
            why = "a hex value needs a list of two-digit bytes separated by commas";
            return std::nullopt;
        }
        if (startsWithIgnoringAsciiCase(data, L"HEX(1):")) {
            return RegistryValue::string(untilTerminator(utf16LeToWide(*bytes)));
        }
        return RegistryValue{RegistryValue::Type::Other, 0, std::wstring(data)};
    }
    why = "a value must be \"text\", dword:, hex: or -";
    return std::nullopt;
}

// One pass over the lines: the header, then key lines ("[root\path]", "[-root\path]") that choose
// where the value lines ("name"=data, @=data) that follow them go.
class StoreParser {
public:
    StoreParser(std::wstring_view text, RegistryRoot root)
        : m_rootName(registryRootName(root)),
          m_rootShort(root == RegistryRoot::CurrentUser ? L"HKCU" : L"HKLM") {
        for (std::size_t start = 0; start <= text.size();) {
            const std::size_t end = std::min(text.find(L'\n', start), text.size());
            m_lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
    }

    RegistryStoreParse parse() {
        bool headerSeen = false;
        for (m_index = 0; m_index < m_lines.size() && !m_outcome.damaged; ++m_index) {
            const std::wstring_view line = trimmed(m_lines[m_index]);
            if (line.empty() || line.starts_with(L';')) {
                continue;
            }
            if (!headerSeen) {
                headerSeen = line == kHeaderLine || line == kOldHeaderLine;
                if (!headerSeen) {
                    fail("the file does not start with \"Windows Registry Editor Version 5.00\"");
                }
            } else if (line.starts_with(L'[')) {
                keyLine(line);
            } else {
                valueLine(line);
            }
        }
        if (m_outcome.damaged) {
            m_outcome.document = {};
        }
        return std::move(m_outcome);
    }

private:
    void fail(std::string why) {
        m_outcome.damaged = true;
        m_outcome.line = m_index + 1;
        m_outcome.why = std::move(why);
    }

    void keyLine(std::wstring_view line) {
        if (!line.ends_with(L']')) {
            return fail("a key line has no closing bracket");
        }
        std::wstring_view inner = line.substr(1, line.size() - 2);
        const bool deletion = inner.starts_with(L'-');
        if (deletion) {
            inner.remove_prefix(1);
        }
        const std::wstring_view rootPart = inner.substr(0, inner.find(L'\\'));
        if (!equalsIgnoringAsciiCase(rootPart, m_rootName) &&
            !equalsIgnoringAsciiCase(rootPart, m_rootShort)) {
            return fail("a key outside " + wideToUtf8(m_rootName));
        }
        const std::wstring path = normalisedRegistryKey(inner.substr(rootPart.size()));
        if (path.find(L"\\\\") != std::wstring::npos) {
            return fail("a key path with an empty key name");
        }
        m_insideDeletedKey = deletion;
        m_currentKey = nullptr;
        if (deletion) {
            m_outcome.document.removeTree(path);
        } else {
            m_currentKey = &m_outcome.document.findOrAdd(path);
        }
    }

    void valueLine(std::wstring_view line) {
        if (!line.starts_with(L'"') && !line.starts_with(L'@')) {
            return fail("a line that is neither a key, a value nor a comment");
        }
        if (m_currentKey == nullptr && !m_insideDeletedKey) {
            return fail("a value before the first key");
        }
        std::wstring name;
        std::wstring_view rest = line;
        if (rest.starts_with(L'@')) {
            rest.remove_prefix(1);
        } else {
            std::optional<std::wstring> quoted = takeQuoted(rest);
            if (!quoted) {
                return fail("a value name has no closing quote");
            }
            name = std::move(*quoted);
        }
        rest = trimmed(rest);
        if (!rest.starts_with(L'=')) {
            return fail("a value name is not followed by \"=\"");
        }
        std::wstring data(trimmed(rest.substr(1)));
        // Long hex lists continue on the next lines after a trailing backslash; errors name the first.
        const std::size_t firstIndex = m_index;
        while (startsWithIgnoringAsciiCase(data, L"HEX") && data.ends_with(L'\\')) {
            data.pop_back();
            if (m_index + 1 >= m_lines.size()) {
                m_index = firstIndex;
                return fail("a continued hex value ends with the file");
            }
            data += trimmed(m_lines[++m_index]);
        }
        if (m_insideDeletedKey) {
            return;
        }
        if (data == L"-") {
            return m_currentKey->remove(name);
        }
        std::string why;
        const std::optional<RegistryValue> value = parseData(data, why);
        if (!value) {
            m_index = firstIndex;
            return fail(why);
        }
        m_currentKey->set(name, *value);
    }

    const std::wstring m_rootName;
    const std::wstring m_rootShort;
    std::vector<std::wstring_view> m_lines;
    std::size_t m_index = 0;
    RegistryStoreParse m_outcome;
    RegistryStoreKey* m_currentKey = nullptr;
    bool m_insideDeletedKey = false;
};

std::wstring quotedText(std::wstring_view text) {
    std::wstring result = L"\"";
    for (const wchar_t character : text) {
        if (character == L'\\' || character == L'"') {
            result.push_back(L'\\');
        }
        result.push_back(character);
    }
    result.push_back(L'"');
    return result;
}

// Texts with line breaks or other control characters cannot be written between quotes; regedit writes
// them as the raw string data, UTF-16LE with the terminating zero.
std::wstring hexStringData(std::wstring_view text) {
    std::string bytes = wideToUtf16Le(text);
    bytes.append(2, '\0');
    std::wstring result = L"hex(1):";
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        if (index > 0) {
            result += index % 24 == 0 ? L",\\\n  " : L",";
        }
        result += formatWide(L"%02x", static_cast<unsigned>(static_cast<unsigned char>(bytes[index])));
    }
    return result;
}

} // namespace

std::wstring normalisedRegistryKey(std::wstring_view key) {
    while (!key.empty() && key.back() == L'\\') {
        key.remove_suffix(1);
    }
    while (!key.empty() && key.front() == L'\\') {
        key.remove_prefix(1);
    }
    return std::wstring(key);
}

const RegistryStoreValue* RegistryStoreKey::find(std::wstring_view name) const {
    const auto found = std::find_if(values.begin(), values.end(), [name](const RegistryStoreValue& stored) {
        return equalsIgnoringAsciiCase(stored.name, name);
    });
    return found == values.end() ? nullptr : &*found;
}

void RegistryStoreKey::set(std::wstring_view name, const RegistryValue& value) {
    const auto found = std::find_if(values.begin(), values.end(), [name](const RegistryStoreValue& stored) {
        return equalsIgnoringAsciiCase(stored.name, name);
    });
    if (found != values.end()) {
        found->value = value;
    } else {
        values.push_back({std::wstring(name), value});
    }
}

void RegistryStoreKey::remove(std::wstring_view name) {
    std::erase_if(values, [name](const RegistryStoreValue& stored) {
        return equalsIgnoringAsciiCase(stored.name, name);
    });
}

const RegistryStoreKey* RegistryStoreDocument::find(std::wstring_view path) const {
    const auto found = std::find_if(keys.begin(), keys.end(), [path](const RegistryStoreKey& key) {
        return equalsIgnoringAsciiCase(key.path, path);
    });
    return found == keys.end() ? nullptr : &*found;
}

RegistryStoreKey* RegistryStoreDocument::find(std::wstring_view path) {
    return const_cast<RegistryStoreKey*>(std::as_const(*this).find(path));
}

RegistryStoreKey& RegistryStoreDocument::findOrAdd(std::wstring_view path) {
    if (RegistryStoreKey* key = find(path)) {
        return *key;
    }
    return keys.emplace_back(RegistryStoreKey{std::wstring(path), {}});
}

bool RegistryStoreDocument::hasKeyOrChild(std::wstring_view path) const {
    return std::any_of(keys.begin(), keys.end(), [path](const RegistryStoreKey& key) {
        return path.empty() || isKeyOrBelow(key.path, path);
    });
}

void RegistryStoreDocument::removeTree(std::wstring_view path) {
    std::erase_if(keys, [path](const RegistryStoreKey& key) { return isKeyOrBelow(key.path, path); });
}

RegistryStoreParse parseRegistryStore(std::string_view bytes, RegistryRoot root) {
    const std::wstring text = decodeStoreText(bytes);
    return StoreParser(text, root).parse();
}

std::string formatRegistryStore(const RegistryStoreDocument& document, RegistryRoot root) {
    std::wstring text(kHeaderLine);
    text += L"\n";
    for (const RegistryStoreKey& key : document.keys) {
        text += L"\n[" + registryRootName(root) + (key.path.empty() ? L"" : L"\\" + key.path) + L"]\n";
        for (const RegistryStoreValue& stored : key.values) {
            text += stored.name.empty() ? L"@" : quotedText(stored.name);
            text += L"=";
            const RegistryValue& value = stored.value;
            if (value.type == RegistryValue::Type::Dword) {
                text += formatWide(L"dword:%08x", static_cast<unsigned>(value.number));
            } else if (value.type == RegistryValue::Type::Other) {
                text += value.text;
            } else if (std::any_of(value.text.begin(), value.text.end(),
                                   [](wchar_t c) { return c < 0x20; })) {
                text += hexStringData(value.text);
            } else {
                text += quotedText(value.text);
            }
            text += L"\n";
        }
    }
    return wideToUtf8(text);
}

} // namespace platform
