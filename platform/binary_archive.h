// The class framework's binary archive, byte-compatible with files written by the Windows original:
// little-endian 32-bit integers and doubles, and texts in the framework's length-prefixed string form.
// Records serialise themselves through it in both directions; a short or damaged stream raises
// ArchiveReadError, the one exception that is allowed to leave a loading record.
#pragma once

#include "platform/export.h"
#include "platform/mfc_types.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

class QUELTO_EXPORT ArchiveReadError : public std::runtime_error {
public:
    enum class Cause {
        EndOfStream, // fewer bytes left than the item needs
        BadLength,   // a text length that no writer produces
    };

    ArchiveReadError(Cause cause, std::size_t offset, const std::string& detail);

    Cause cause() const { return m_cause; }
    // Byte offset of the item that could not be read.
    std::size_t offset() const { return m_offset; }

private:
    Cause m_cause;
    std::size_t m_offset;
};

// An archive over bytes held in memory: a storing archive collects what is written, a loading archive
// reads the bytes it was given. Files are read and written whole by their owners, which keeps file errors
// (open, full disk) apart from format errors.
class QUELTO_EXPORT BinaryArchive {
public:
    enum Mode { store = 0, load = 1 };

    explicit BinaryArchive(Mode mode, std::string bytes = {});

    BOOL IsStoring() const { return m_mode == store; }
    BOOL IsLoading() const { return m_mode == load; }

    BinaryArchive& operator<<(std::int32_t value);
    BinaryArchive& operator<<(std::uint32_t value);
    BinaryArchive& operator<<(double value);
    // Always the Unicode form: 0xFF, 0xFFFE, the length in UTF-16 units, the units.
    BinaryArchive& operator<<(const std::wstring& text);

    BinaryArchive& operator>>(std::int32_t& value);
    BinaryArchive& operator>>(std::uint32_t& value);
    BinaryArchive& operator>>(double& value);
    // Unicode form, or the 8-bit form converted from the code set (the system code set by default).
    BinaryArchive& operator>>(std::wstring& text);

    // The code set of 8-bit texts; the Windows original used the system's ANSI code page.
    void setCodeSet(std::string codeSet) { m_codeSet = std::move(codeSet); }

    const std::string& bytes() const { return m_bytes; }
    std::size_t position() const { return m_position; }
    bool atEnd() const { return m_position >= m_bytes.size(); }

private:
    void appendLittleEndian(std::uint64_t value, int byteCount);
    std::uint64_t takeLittleEndian(int byteCount, std::size_t itemOffset, const char* what);
    std::string_view takeBytes(std::size_t count, std::size_t itemOffset, const char* what);

    Mode m_mode;
    std::string m_bytes;
    std::size_t m_position = 0;
    std::string m_codeSet;
};

} // namespace platform

// The framework names that module code is written with.
using CArchive = platform::BinaryArchive;
using CArchiveException = platform::ArchiveReadError;
