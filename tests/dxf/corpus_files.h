// The real and generated drawings of the shared corpus, listed once for the tests that walk all of them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace cad::dxf::testing {

inline std::filesystem::path corpusDirectory() {
    return std::filesystem::path(QUELTO_CORPUS_DIR);
}

inline std::filesystem::path corpusFile(const std::string& relative) {
    return corpusDirectory() / relative;
}

// Every .dxf file of the corpus (any case of the extension), sorted so failures read the same each run.
inline std::vector<std::filesystem::path> corpusDrawings() {
    std::vector<std::filesystem::path> files;
    if (!std::filesystem::exists(corpusDirectory())) {
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

} // namespace cad::dxf::testing
