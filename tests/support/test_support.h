// What every test suite shares: the drawing corpus (found, listed, or its absence turned into a skip)
// and a private temporary folder removed with everything in it. The corpus lives outside the project
// (../shared/corpus beside the source tree); $QUELTO_CORPUS_DIR points the tests at another copy.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace quelto::testing {

// $QUELTO_CORPUS_DIR when set, else the folder the build was configured with.
inline std::filesystem::path corpusDirectory() {
    const char* moved = std::getenv("QUELTO_CORPUS_DIR");
    return moved != nullptr && moved[0] != '\0' ? std::filesystem::path(moved)
                                                : std::filesystem::path(QUELTO_CORPUS_DIR);
}

inline bool corpusAvailable() {
    std::error_code ignored;
    return std::filesystem::is_directory(corpusDirectory(), ignored);
}

inline std::filesystem::path corpusFile(const std::string& relative) {
    return corpusDirectory() / relative;
}

// Every .dxf file of the corpus (any case of the extension), sorted so failures read the same each run;
// empty when there is no corpus.
inline std::vector<std::filesystem::path> corpusDrawings() {
    std::vector<std::filesystem::path> files;
    if (!corpusAvailable()) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpusDirectory())) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](char character) { return static_cast<char>(std::tolower(character)); });
        if (entry.is_regular_file() && extension == ".dxf") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// For parameterised tests over the corpus: its drawings, or one empty path when there is none, so the
// suite still has a test that reports itself skipped (see QUELTO_SKIP_WITHOUT_CORPUS).
inline std::vector<std::filesystem::path> corpusDrawingsOrPlaceholder() {
    std::vector<std::filesystem::path> files = corpusDrawings();
    if (files.empty()) {
        files.emplace_back();
    }
    return files;
}

inline std::string corpusMissingMessage() {
    return "no drawing corpus at " + corpusDirectory().string() +
           " (set QUELTO_CORPUS_DIR to a copy of the corpus to run this test)";
}

// A folder of its own under the system's temporary folder, removed with its contents at the end.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& prefix = "quelto-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            ADD_FAILURE() << "cannot create a temporary folder from " << pattern;
            return;
        }
        m_path = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!m_path.empty()) {
            // Tests make the folder read-only to provoke write failures.
            std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
            std::filesystem::remove_all(m_path, ignored);
        }
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return m_path / relative; }

private:
    std::filesystem::path m_path;
};

} // namespace quelto::testing

// Skips the calling test, saying why, when the corpus folder is absent. A test that finds the folder but
// not a file it names still fails: that is a fault, not a missing corpus.
#define QUELTO_SKIP_WITHOUT_CORPUS()                                                                         \
    do {                                                                                                     \
        if (!quelto::testing::corpusAvailable()) {                                                           \
            GTEST_SKIP() << quelto::testing::corpusMissingMessage();                                         \
        }                                                                                                    \
    } while (false)
