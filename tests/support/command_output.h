// Running a helper program from a test (the ezdxf scripts beside the suites) and keeping what it wrote
// to standard output, for the suites that compare our results with another reader's.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <utility>

namespace quelto::testing {

// The standard output of `command`, run by the shell; nothing when it could not start or ended with a
// status other than 0.
inline std::optional<std::string> commandOutput(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string output;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, pipe)) {
        output.append(buffer, read);
    }
    return pclose(pipe) == 0 ? std::optional<std::string>(std::move(output)) : std::nullopt;
}

} // namespace quelto::testing
