// Reading MTEXT formatting codes into displayed lines. A code is a backslash and a letter; some stand
// alone (\L underline on), some take a value up to a semicolon (\H2.5x;), and a few produce text.
#include "cad/db/mtext_format.h"

#include "cad/dxf/text_codec.h"

#include <algorithm>
#include <string_view>

namespace cad::db {
namespace {

// Underline, overline and strike-through switches: nothing to show.
constexpr std::wstring_view kSwitchCodes = L"LlOoKk";
// Alignment, colour, font, height, oblique, tracking, width and paragraph settings: up to ";".
constexpr std::wstring_view kValueCodes = L"ACcFfHQTWp";

class MTextLineReader {
public:
    explicit MTextLineReader(const std::wstring& contents) : m_contents(contents) {}

    std::vector<std::wstring> read() {
        while (m_index < m_contents.size()) {
            const wchar_t character = m_contents[m_index];
            if (character == L'{' || character == L'}') {
                ++m_index;
            } else if (character == L'\\' && m_index + 1 < m_contents.size()) {
                readCode(m_contents[m_index + 1]);
            } else {
                m_lines.back() += character;
                ++m_index;
            }
        }
        return std::move(m_lines);
    }

private:
    // The code at m_index (a backslash followed by `code`).
    void readCode(wchar_t code) {
        if (code == L'P' || code == L'N') {
            m_lines.emplace_back();
            m_index += 2;
        } else if (code == L'~') {
            m_lines.back() += L' ';
            m_index += 2;
        } else if (code == L'\\' || code == L'{' || code == L'}') {
            m_lines.back() += code;
            m_index += 2;
        } else if (kSwitchCodes.find(code) != std::wstring_view::npos) {
            m_index += 2;
        } else if (kValueCodes.find(code) != std::wstring_view::npos) {
            m_index = afterSemicolon(m_index + 2);
        } else if (code == L'S') {
            readStack();
        } else if (const int unit = code == L'U' ? dxf::unicodeEscapeAt(m_contents, m_index) : -1;
                   unit >= 0) {
            m_lines.back() += static_cast<wchar_t>(unit);
            m_index += 7;
        } else {
            m_lines.back() += L'\\';
            ++m_index;
        }
    }

    // A stacked fraction (\S1^2; or \S1#2;) reads as "1/2".
    void readStack() {
        const std::size_t end = afterSemicolon(m_index + 2);
        std::wstring stacked = m_contents.substr(m_index + 2, end - m_index - 2);
        if (!stacked.empty() && stacked.back() == L';') {
            stacked.pop_back();
        }
        std::replace_if(
            stacked.begin(), stacked.end(), [](wchar_t c) { return c == L'^' || c == L'#'; }, L'/');
        m_lines.back() += stacked;
        m_index = end;
    }

    std::size_t afterSemicolon(std::size_t from) const {
        const std::size_t end = m_contents.find(L';', from);
        return end == std::wstring::npos ? m_contents.size() : end + 1;
    }

    const std::wstring& m_contents;
    std::size_t m_index = 0;
    std::vector<std::wstring> m_lines{std::wstring()};
};

} // namespace

std::vector<std::wstring> mtextLines(const std::wstring& contents) {
    return MTextLineReader(contents).read();
}

} // namespace cad::db
