// Reading and writing the registry store files. The parser accepts what regedit exports and what a user
// types (comments, CRLF or LF, UTF-8 with or without a byte-order mark, UTF-16LE exports, hex
// continuation lines, deletions) and stops at the first line it cannot place; such a file is set aside
// under a new name and the store reads as empty, so defaults apply and nothing the user had is lost.

#include "platform/registry_store.h"

#include "platform/atomic_file.h"
#include "platform/code_page.h"
#include "platform/known_folders.h"
#include "platform/wide_text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <set>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

constexpr std::wstring_view headerLine = L"Windows Registry Editor Version 5.00";
constexpr std::wstring_view oldHeaderLine = L"REGEDIT4";

struct StoredValue {
    std::wstring name;
    RegistryValue value;
};

struct StoredKey {
    std::wstring path;
    std::vector<StoredValue> values;
};

struct Document {
    std::vector<StoredKey> keys;
};

struct ParseOutcome {
    Document document;
    bool damaged = false;
    std::size_t line = 0;
    std::string why;
};

bool sameName(std::wstring_view left, std::wstring_view right) {
    return left.size() == right.size() && toUpperAscii(left) == toUpperAscii(right);
}

std::wstring normalisedKey(std::wstring_view key) {
    while (!key.empty() && key.back() == L'\\') {
        key.remove_suffix(1);
    }
    while (!key.empty() && key.front() == L'\\') {
        key.remove_prefix(1);
    }
    return std::wstring(key);
}

StoredKey* findKey(Document& document, std::wstring_view path) {
    for (StoredKey& key : document.keys) {
        if (sameName(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool keyOrChildPresent(const Document& document, std::wstring_view path) {
    const std::wstring prefix = toUpperAscii(path) + L"\\";
    for (const StoredKey& key : document.keys) {
        const std::wstring upper = toUpperAscii(key.path);
        if (upper == toUpperAscii(path) || path.empty() || upper.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

void setValue(StoredKey& key, std::wstring_view name, const RegistryValue& value) {
    for (StoredValue& stored : key.values) {
        if (sameName(stored.name, name)) {
            stored.value = value;
            return;
        }
    }
    key.values.push_back({std::wstring(name), value});
}

void removeKeyTree(Document& document, std::wstring_view path) {
    const std::wstring upper = toUpperAscii(path);
    std::erase_if(document.keys, [&](const StoredKey& key) {
        const std::wstring keyUpper = toUpperAscii(key.path);
        return keyUpper == upper || keyUpper.starts_with(upper + L"\\");
    });
}

std::wstring decodeStoreText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return utf16LeToWide(std::string_view(bytes).substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        return utf8ToWide(std::string_view(bytes).substr(3));
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

int hexDigit(wchar_t character) {
    if (character >= L'0' && character <= L'9') {
        return character - L'0';
    }
    if (character >= L'a' && character <= L'f') {
        return character - L'a' + 10;
    }
    if (character >= L'A' && character <= L'F') {
        return character - L'A' + 10;
    }
    return -1;
}

// "xx,xx,..." with blanks allowed around the commas; empty is an empty list.
std::optional<std::string> parseHexBytes(std::wstring_view list) {
    std::string bytes;
    list = trimmed(list);
    while (!list.empty()) {
        if (list.size() < 2 || hexDigit(list[0]) < 0 || hexDigit(list[1]) < 0) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<char>(hexDigit(list[0]) * 16 + hexDigit(list[1])));
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
        return RegistryValue::string(std::move(*text));
    }
    const std::wstring upper = toUpperAscii(data);
    if (upper.starts_with(L"DWORD:")) {
        const std::wstring_view digits = trimmed(data.substr(6));
        DWORD number = 0;
        bool valid = !digits.empty() && digits.size() <= 8;
        for (const wchar_t digit : digits) {
            valid = valid && hexDigit(digit) >= 0;
            number = (number << 4) | static_cast<DWORD>(valid ? hexDigit(digit) : 0);
        }
        if (!valid) {
            why = "a dword value needs 1 to 8 hexadecimal digits";
            return std::nullopt;
        }
        return RegistryValue::dword(number);
    }
    if (upper.starts_with(L"HEX")) {
        const std::size_t colon = data.find(L':');
        std::optional<std::string> bytes =
            colon == std::wstring_view::npos ? std::nullopt : parseHexBytes(data.substr(colon + 1));
        if (!bytes) {
            why = "a hex value needs a list of two-digit bytes separated by commas";
            return std::nullopt;
        }
        if (upper.starts_with(L"HEX(1):")) {
            std::wstring text = utf16LeToWide(*bytes);
            while (!text.empty() && text.back() == L'\0') {
                text.pop_back();
            }
            return RegistryValue::string(std::move(text));
        }
        return RegistryValue{RegistryValue::Type::Other, 0, std::wstring(data)};
    }
    why = "a value must be \"text\", dword:, hex: or -";
    return std::nullopt;
}

ParseOutcome parseStore(const std::string& bytes, RegistryRoot root) {
    ParseOutcome outcome;
    const std::wstring text = decodeStoreText(bytes);
    std::vector<std::wstring_view> lines;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = std::min(text.find(L'\n', start), text.size());
        lines.push_back(std::wstring_view(text).substr(start, end - start));
        start = end + 1;
    }
    auto fail = [&](std::size_t line, std::string why) {
        outcome.damaged = true;
        outcome.line = line;
        outcome.why = std::move(why);
        outcome.document = {};
        return outcome;
    };
    const std::wstring rootName = registryRootName(root);
    const std::wstring rootShort = root == RegistryRoot::CurrentUser ? L"HKCU" : L"HKLM";
    bool headerSeen = false;
    StoredKey* currentKey = nullptr;
    bool insideDeletedKey = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::size_t lineNumber = index + 1;
        std::wstring_view line = trimmed(lines[index]);
        if (line.empty() || line.starts_with(L';')) {
            continue;
        }
        if (!headerSeen) {
            if (line != headerLine && line != oldHeaderLine) {
                return fail(lineNumber,
                            "the file does not start with \"Windows Registry Editor Version 5.00\"");
            }
            headerSeen = true;
            continue;
        }
        if (line.starts_with(L'[')) {
            if (!line.ends_with(L']')) {
                return fail(lineNumber, "a key line has no closing bracket");
            }
            std::wstring_view inner = line.substr(1, line.size() - 2);
            const bool deletion = inner.starts_with(L'-');
            if (deletion) {
                inner.remove_prefix(1);
            }
            const std::wstring_view rootPart = inner.substr(0, inner.find(L'\\'));
            if (!sameName(rootPart, rootName) && !sameName(rootPart, rootShort)) {
                return fail(lineNumber, "a key outside " + wideToUtf8(rootName));
            }
            const std::wstring path = normalisedKey(inner.substr(rootPart.size()));
            if (path.find(L"\\\\") != std::wstring::npos) {
                return fail(lineNumber, "a key path with an empty key name");
            }
            insideDeletedKey = deletion;
            currentKey = nullptr;
            if (deletion) {
                removeKeyTree(outcome.document, path);
                continue;
            }
            currentKey = findKey(outcome.document, path);
            if (currentKey == nullptr) {
                outcome.document.keys.push_back({path, {}});
                currentKey = &outcome.document.keys.back();
            }
            continue;
        }
        if (!line.starts_with(L'"') && !line.starts_with(L'@')) {
            return fail(lineNumber, "a line that is neither a key, a value nor a comment");
        }
        if (currentKey == nullptr && !insideDeletedKey) {
            return fail(lineNumber, "a value before the first key");
        }
        std::wstring name;
        std::wstring_view rest = line;
        if (rest.starts_with(L'@')) {
            rest.remove_prefix(1);
        } else {
            std::optional<std::wstring> quoted = takeQuoted(rest);
            if (!quoted) {
                return fail(lineNumber, "a value name has no closing quote");
            }
            name = std::move(*quoted);
        }
        rest = trimmed(rest);
        if (!rest.starts_with(L'=')) {
            return fail(lineNumber, "a value name is not followed by \"=\"");
        }
        std::wstring data(trimmed(rest.substr(1)));
        // Long hex lists continue on the next lines after a trailing backslash.
        while (toUpperAscii(data).starts_with(L"HEX") && data.ends_with(L'\\')) {
            data.pop_back();
            if (++index >= lines.size()) {
                return fail(lineNumber, "a continued hex value ends with the file");
            }
            data += trimmed(lines[index]);
        }
        if (insideDeletedKey) {
            continue;
        }
        if (data == L"-") {
            std::erase_if(currentKey->values,
                          [&](const StoredValue& value) { return sameName(value.name, name); });
            continue;
        }
        std::string why;
        std::optional<RegistryValue> value = parseData(data, why);
        if (!value) {
            return fail(lineNumber, why);
        }
        setValue(*currentKey, name, *value);
    }
    return outcome;
}

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

std::string formatStore(const Document& document, RegistryRoot root) {
    std::wstring text(headerLine);
    text += L"\n";
    for (const StoredKey& key : document.keys) {
        text += L"\n[" + registryRootName(root) + (key.path.empty() ? L"" : L"\\" + key.path) + L"]\n";
        for (const StoredValue& stored : key.values) {
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

// Each damaged file is reported once per process, also when it cannot be set aside (a machine store
// that the user may not change stays where it is and would otherwise be reported at every read).
void reportOnce(const std::string& problem) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    const std::lock_guard<std::mutex> guard(mutex);
    if (reported.insert(problem).second) {
        std::fprintf(stderr, "quelto: %s\n", problem.c_str());
    }
}

std::string damageText(const std::filesystem::path& file, const ParseOutcome& outcome) {
    return "registry store " + file.string() + " line " + std::to_string(outcome.line) + ": " + outcome.why;
}

} // namespace

std::wstring registryRootName(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? L"HKEY_CURRENT_USER" : L"HKEY_LOCAL_MACHINE";
}

std::filesystem::path RegistryStore::defaultFile(RegistryRoot root) {
    const std::filesystem::path fileName = wideToUtf8(registryRootName(root)) + ".reg";
    const char* moved = std::getenv("QUELTO_REGISTRY_DIR");
    if (moved != nullptr && moved[0] != '\0') {
        return std::filesystem::path(moved) / fileName;
    }
    if (root == RegistryRoot::LocalMachine) {
        return std::filesystem::path("/etc/quelto") / fileName;
    }
    const std::filesystem::path config = userConfigFolder();
    return config.empty() ? config : config / "quelto" / fileName;
}

RegistryStore::RegistryStore(RegistryRoot root) : RegistryStore(root, defaultFile(root)) {}

RegistryStore::RegistryStore(RegistryRoot root, std::filesystem::path file)
    : m_root(root), m_file(std::move(file)) {}

bool RegistryStore::canWrite() const {
    if (m_file.empty()) {
        return false;
    }
    std::error_code ignored;
    std::filesystem::path folder = m_file.has_parent_path() ? m_file.parent_path() : ".";
    if (std::filesystem::exists(m_file, ignored)) {
        return ::access(m_file.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK) == 0;
    }
    // A missing folder is created by the first write, so what counts is the nearest one that exists.
    while (!std::filesystem::exists(folder, ignored) && folder.has_parent_path() &&
           folder != folder.parent_path()) {
        folder = folder.parent_path();
    }
    return std::filesystem::is_directory(folder, ignored) && ::access(folder.c_str(), W_OK) == 0;
}

namespace {

struct Loaded {
    Document document;
    bool readable = true;
};

// Reads the store; a damaged file is set aside (when the process may) and reads as empty.
Loaded loadForReading(const std::filesystem::path& file, RegistryRoot root, std::string& problem) {
    Loaded loaded;
    if (file.empty()) {
        return loaded;
    }
    const FileReadResult read = readWholeFile(file);
    if (read.status == FileReadResult::Status::Failed) {
        problem = read.error;
        loaded.readable = false;
        return loaded;
    }
    if (read.status == FileReadResult::Status::Missing) {
        return loaded;
    }
    ParseOutcome outcome = parseStore(read.bytes, root);
    if (!outcome.damaged) {
        loaded.document = std::move(outcome.document);
        return loaded;
    }
    problem = damageText(file, outcome);
    const FileLock lock(file);
    // A writer may have replaced the file since it was read; only the damaged bytes are set aside.
    if (lock.locked() && readWholeFile(file).bytes == read.bytes) {
        std::string error;
        const std::optional<std::filesystem::path> aside = setAsideFile(file, SetAside::Move, &error);
        problem += aside ? "; kept as " + aside->string() + ", defaults are used" : "; " + error;
    }
    reportOnce(problem);
    return loaded;
}

} // namespace

RegistryStore::ReadResult RegistryStore::readValue(std::wstring_view key, std::wstring_view name) {
    m_lastProblem.clear();
    Loaded loaded = loadForReading(m_file, m_root, m_lastProblem);
    ReadResult result;
    if (!loaded.readable) {
        result.status = ReadStatus::Unreadable;
        return result;
    }
    StoredKey* stored = findKey(loaded.document, normalisedKey(key));
    if (stored == nullptr) {
        result.status =
            keyOrChildPresent(loaded.document, normalisedKey(key)) ? ReadStatus::NoValue : ReadStatus::NoKey;
        return result;
    }
    for (const StoredValue& value : stored->values) {
        if (sameName(value.name, name)) {
            result.status = ReadStatus::Found;
            result.value = value.value;
            return result;
        }
    }
    result.status = ReadStatus::NoValue;
    return result;
}

bool RegistryStore::keyExists(std::wstring_view key) {
    m_lastProblem.clear();
    const Loaded loaded = loadForReading(m_file, m_root, m_lastProblem);
    return keyOrChildPresent(loaded.document, normalisedKey(key));
}

RegistryStore::WriteStatus RegistryStore::writeValue(std::wstring_view key, std::wstring_view name,
                                                     const RegistryValue& value, bool createKey) {
    m_lastProblem.clear();
    const std::wstring path = normalisedKey(key);
    if (!canWrite()) {
        const bool exists = keyExists(path);
        m_lastProblem = "registry store " + m_file.string() + " may not be changed by this user";
        if (exists) {
            return WriteStatus::CannotOpenKey;
        }
        return createKey ? WriteStatus::CannotCreateKey : WriteStatus::NoKey;
    }
    std::error_code folderError;
    std::filesystem::create_directories(m_file.parent_path(), folderError);
    const FileLock lock(m_file);
    if (!lock.locked()) {
        m_lastProblem = lock.error();
        return WriteStatus::CannotOpenKey;
    }
    const FileReadResult read = readWholeFile(m_file);
    if (read.status == FileReadResult::Status::Failed) {
        m_lastProblem = read.error;
        return WriteStatus::CannotOpenKey;
    }
    Document document;
    if (read.status == FileReadResult::Status::Read) {
        ParseOutcome outcome = parseStore(read.bytes, m_root);
        if (outcome.damaged) {
            // Keep the damaged file under a new name before the rewrite replaces it; without a kept
            // copy nothing is written, so a user can still repair the file.
            std::string problem = damageText(m_file, outcome);
            std::string error;
            const std::optional<std::filesystem::path> aside =
                setAsideFile(m_file, SetAside::KeepOriginal, &error);
            if (!aside) {
                m_lastProblem = problem + "; " + error;
                reportOnce(m_lastProblem);
                return WriteStatus::CannotWrite;
            }
            m_lastProblem = problem + "; kept as " + aside->string();
            reportOnce(m_lastProblem);
        } else {
            document = std::move(outcome.document);
        }
    }
    StoredKey* stored = findKey(document, path);
    if (stored == nullptr) {
        if (!createKey && !keyOrChildPresent(document, path)) {
            return WriteStatus::NoKey;
        }
        document.keys.push_back({path, {}});
        stored = &document.keys.back();
    }
    setValue(*stored, name, value);
    std::string error;
    if (!writeFileAtomically(m_file, formatStore(document, m_root), &error)) {
        m_lastProblem = error;
        return WriteStatus::CannotWrite;
    }
    return WriteStatus::Written;
}

} // namespace platform
