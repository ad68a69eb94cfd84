// Interned names: layer, linetype and style names repeat across a million entities, so each entity
// keeps a 32-bit index into one process-wide pool instead of its own copy of the text. Interned texts
// are never released; a drawing adds only the few hundred names its tables and entities use.
#pragma once

#include "platform/export.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cad::db {

class QUELTO_EXPORT Name {
public:
    Name() = default;
    // Interns the text (exact spelling kept; comparisons of table names are made case-insensitively by
    // the tables, not here).
    explicit Name(std::wstring_view text);

    const std::wstring& text() const;
    bool isEmpty() const { return m_index == 0; }
    std::uint32_t index() const { return m_index; }
    friend bool operator==(Name left, Name right) { return left.m_index == right.m_index; }

private:
    std::uint32_t m_index = 0; // 0 is the empty text
};

} // namespace cad::db
