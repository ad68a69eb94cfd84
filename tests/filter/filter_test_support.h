// Helpers of the filter tests: a private temporary folder that the settings and the configuration file
// are moved into, and a byte layout builder so that files of older versions are written by the tests
// themselves, item by item, rather than by the code under test.
#pragma once

#include "support/test_support.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace filter_test {

using quelto::testing::TemporaryFolder;

// Moves the registry store and the common application-data folder into a fresh folder for one test.
class IsolatedSettings {
public:
    IsolatedSettings() {
        ::setenv("QUELTO_REGISTRY_DIR", m_folder.path().c_str(), 1);
        ::setenv("QUELTO_COMMON_APPDATA", m_folder.path().c_str(), 1);
    }
    ~IsolatedSettings() {
        ::unsetenv("QUELTO_REGISTRY_DIR");
        ::unsetenv("QUELTO_COMMON_APPDATA");
    }
    const std::filesystem::path& folder() const { return m_folder.path(); }
    std::filesystem::path userStore() const { return m_folder.path() / "HKEY_CURRENT_USER.reg"; }
    std::filesystem::path machineStore() const { return m_folder.path() / "HKEY_LOCAL_MACHINE.reg"; }

private:
    TemporaryFolder m_folder;
};

class ByteLayout {
public:
    ByteLayout& integer(std::int32_t value) {
        for (int index = 0; index < 4; ++index) {
            m_bytes.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * index)) & 0xFF));
        }
        return *this;
    }
    ByteLayout& real(double value) {
        std::uint64_t bits = 0;
        static_assert(sizeof bits == sizeof value);
        std::memcpy(&bits, &value, sizeof bits);
        for (int index = 0; index < 8; ++index) {
            m_bytes.push_back(static_cast<char>((bits >> (8 * index)) & 0xFF));
        }
        return *this;
    }
    // The Unicode form with a one-byte length; the text holds characters of the basic plane only.
    ByteLayout& text(const std::wstring& units) {
        m_bytes += "\xFF\xFE\xFF";
        m_bytes.push_back(static_cast<char>(units.size()));
        for (const wchar_t unit : units) {
            m_bytes.push_back(static_cast<char>(unit & 0xFF));
            m_bytes.push_back(static_cast<char>(unit >> 8));
        }
        return *this;
    }
    // The 8-bit form with a one-byte length, bytes as they are.
    ByteLayout& narrowText(const std::string& bytes) {
        m_bytes.push_back(static_cast<char>(bytes.size()));
        m_bytes += bytes;
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

} // namespace filter_test
