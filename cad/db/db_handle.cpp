// Hexadecimal reading and writing of handles; DXF writes them upper case without leading zeros.
#include "cad/db/db_handle.h"

#include <charconv>

AcDbHandle::AcDbHandle(const wchar_t* hexText) {
    if (hexText != nullptr) {
        parseHex(std::wstring_view(hexText), *this);
    }
}

bool AcDbHandle::parseHex(std::string_view text, AcDbHandle& handle) {
    if (text.empty() || text.size() > 16) {
        return false;
    }
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return false;
    }
    handle = AcDbHandle(value);
    return true;
}

bool AcDbHandle::parseHex(std::wstring_view text, AcDbHandle& handle) {
    std::string narrow;
    for (const wchar_t character : text) {
        if (character > 0x7f) {
            return false;
        }
        narrow.push_back(static_cast<char>(character));
    }
    return parseHex(narrow, handle);
}

std::string AcDbHandle::toHex() const {
    char digits[17];
    const auto result = std::to_chars(digits, digits + sizeof digits, m_value, 16);
    std::string text(digits, result.ptr);
    for (char& character : text) {
        if (character >= 'a' && character <= 'f') {
            character = static_cast<char>(character - 'a' + 'A');
        }
    }
    return text;
}

std::wstring AcDbHandle::toWideHex() const {
    const std::string text = toHex();
    return std::wstring(text.begin(), text.end());
}

void AcDbHandle::getIntoAsciiBuffer(wchar_t* buffer, std::size_t bufferSize) const {
    if (buffer == nullptr || bufferSize == 0) {
        return;
    }
    const std::string text = toHex();
    std::size_t index = 0;
    for (; index < text.size() && index + 1 < bufferSize; ++index) {
        buffer[index] = text[index];
    }
    buffer[index] = 0;
}
