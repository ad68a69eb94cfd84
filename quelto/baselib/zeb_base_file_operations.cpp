// The analyser's Base_ file operations: path parts of a path text, file times, size and lines. Formulas
// write paths with "\" as written on the original's system; on Linux "/" separates as well, and every "\"
// becomes "/" when the file system is asked. Files that cannot be found or opened give neutral values.
#include "platform/code_page.h"
#include "quelto/baselib/zeb_base_string_analyse.h"

#include <algorithm>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

bool isSeparator(wchar_t character) {
    return character == L'\\' || character == L'/';
}

std::size_t lastSeparator(const CString& path) {
    const auto found = std::find_if(path.rbegin(), path.rend(), isSeparator);
    return found == path.rend() ? CString::npos : static_cast<std::size_t>(path.rend() - found) - 1;
}

std::string localPath(const CString& path) {
    CString local = path;
    std::replace(local.begin(), local.end(), L'\\', L'/');
    return platform::wideToUtf8(local);
}

// "*" any run of characters, "?" exactly one; case-sensitive, as names are on the local file system.
bool matchesWildcard(std::string_view name, std::string_view pattern) {
    std::size_t nameIndex = 0;
    std::size_t patternIndex = 0;
    std::size_t starIndex = std::string_view::npos;
    std::size_t resumeIndex = 0;
    while (nameIndex < name.size()) {
        if (patternIndex < pattern.size() &&
            (pattern[patternIndex] == '?' || pattern[patternIndex] == name[nameIndex])) {
            ++nameIndex;
            ++patternIndex;
        } else if (patternIndex < pattern.size() && pattern[patternIndex] == '*') {
            starIndex = patternIndex++;
            resumeIndex = nameIndex;
        } else if (starIndex != std::string_view::npos) {
            patternIndex = starIndex + 1;
            nameIndex = ++resumeIndex;
        } else {
            return false;
        }
    }
    while (patternIndex < pattern.size() && pattern[patternIndex] == '*') {
        ++patternIndex;
    }
    return patternIndex == pattern.size();
}

// The first file or folder the path names; a wildcard in its last part takes the first matching entry in
// name order, the stand-in for the order in which the original's file search happened to list them.
std::optional<std::string> firstMatch(const CString& path) {
    const std::string local = localPath(path);
    const std::size_t slash = local.rfind('/');
    const std::string pattern = slash == std::string::npos ? local : local.substr(slash + 1);
    if (pattern.find_first_of("*?") == std::string::npos) {
        return local;
    }
    const std::string folder = slash == std::string::npos ? std::string(".") : local.substr(0, slash + 1);
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator entries(folder, error), end; !error && entries != end;
         entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        if (matchesWildcard(name, pattern)) {
            names.push_back(name);
        }
    }
    if (names.empty()) {
        return std::nullopt;
    }
    const std::string first = *std::min_element(names.begin(), names.end());
    return slash == std::string::npos ? first : local.substr(0, slash + 1) + first;
}

enum class FileTime { Creation, Write, Access };

// Seconds since 1970 truncated to 32 bits; the creation time is the birth time where the file system
// records one, else the last status change, the nearest thing Linux keeps.
long fileTime(const CString& path, FileTime which) {
    const auto target = firstMatch(path);
    if (!target) {
        return 0;
    }
    struct statx status {};
    if (statx(AT_FDCWD, target->c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) != 0) {
        return 0;
    }
    std::int64_t seconds = 0;
    switch (which) {
    case FileTime::Creation:
        seconds = (status.stx_mask & STATX_BTIME) ? status.stx_btime.tv_sec : status.stx_ctime.tv_sec;
        break;
    case FileTime::Write:
        seconds = status.stx_mtime.tv_sec;
        break;
    case FileTime::Access:
        seconds = status.stx_atime.tv_sec;
        break;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(seconds));
}

// A readable regular file; folders open on Linux but not as files on the original's system.
std::optional<std::ifstream> openForReading(const CString& path) {
    const std::string local = localPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(local, error)) {
        return std::nullopt;
    }
    std::ifstream file(local, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return file;
}

// One line as read in text mode: without "\n" and a "\r" before it, UTF-8 when it is valid UTF-8 (a
// byte-order mark on the first line dropped), else in the system code set like an 8-bit text file.
CString decodeLine(std::string line, bool firstLine) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    if (firstLine && line.starts_with("\xEF\xBB\xBF")) {
        line.erase(0, 3);
    }
    platform::ConversionError error;
    const CString text = platform::decodeBytes(line, "UTF-8", &error, false);
    if (error.message.empty()) {
        return text;
    }
    return platform::decodeBytes(line, platform::systemCodeSet());
}

} // namespace

CString CZEBBaseStringAnalyse::Base_GetFileName(const CString& path) {
    const std::size_t separator = lastSeparator(path);
    return separator == CString::npos ? path : path.substr(separator + 1);
}

CString CZEBBaseStringAnalyse::Base_GetFilePath(const CString& path) {
    const std::size_t separator = lastSeparator(path);
    return separator == CString::npos ? path : path.substr(0, separator + 1);
}

CString CZEBBaseStringAnalyse::Base_GetPathName(const CString& path) {
    return path;
}

CString CZEBBaseStringAnalyse::Base_GetFileTitle(const CString& path) {
    const CString name = Base_GetFileName(path);
    const std::size_t dot = name.find(L'.');
    return dot == CString::npos ? name : name.substr(0, dot);
}

CString CZEBBaseStringAnalyse::Base_GetFileExt(const CString& path) {
    const CString name = Base_GetFileName(path);
    const std::size_t dot = name.find(L'.');
    return dot == CString::npos ? name : name.substr(dot + 1);
}

long CZEBBaseStringAnalyse::Base_GetFileTimeC(const CString& path) {
    return fileTime(path, FileTime::Creation);
}

long CZEBBaseStringAnalyse::Base_GetFileTimeM(const CString& path) {
    return fileTime(path, FileTime::Write);
}

long CZEBBaseStringAnalyse::Base_GetFileTimeA(const CString& path) {
    return fileTime(path, FileTime::Access);
}

unsigned long CZEBBaseStringAnalyse::Base_GetFileSize(const CString& path) {
    auto file = openForReading(path);
    if (!file) {
        return static_cast<std::uint32_t>(-1);
    }
    file->seekg(0, std::ios::end);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(file->tellg()));
}

int CZEBBaseStringAnalyse::Base_GetFileLineCount(const CString& path) {
    auto file = openForReading(path);
    if (!file) {
        return -1;
    }
    int count = 0;
    for (std::string line; std::getline(*file, line);) {
        ++count;
    }
    return count;
}

CString CZEBBaseStringAnalyse::Base_GetFileLineString(const CString& path, int lineNumber) {
    const int count = Base_GetFileLineCount(path);
    if (count <= 0) {
        return CString();
    }
    int wanted = lineNumber % count;
    if (wanted < 0) {
        return CString();
    }
    if (wanted == 0) {
        wanted = count;
    }
    auto file = openForReading(path);
    if (!file) {
        return CString();
    }
    std::string line;
    for (int current = 1; current <= wanted; ++current) {
        if (!std::getline(*file, line)) {
            return CString();
        }
    }
    return decodeLine(line, wanted == 1);
}
