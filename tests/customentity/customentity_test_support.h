// Helpers of the custom entity tests: definition files laid out byte by byte by the test itself (every
// text-length form, Unicode and 8-bit texts), so the reader is checked against the format and not
// against our own writer; and a drawing read from DXF text made current for the host calls.
#pragma once

#include "../filter/filter_test_support.h"
#include "cad/app/host_api.h"
#include "quelto/customentity/freedom_entity.h"

#include <cstdint>
#include <memory>
#include <string>

namespace customentity_test {

using filter_test::IsolatedSettings;
using filter_test::readBytes;
using filter_test::writeBytes;

// The three ways the archive prefixes a text length.
enum class LengthForm { OneByte, TwoBytes, FourBytes };

class DomLayout {
public:
    DomLayout& integer(std::int32_t value) { return little(static_cast<std::uint32_t>(value), 4); }
    // A Unicode text: 0xFF 0xFFFE, then the length in UTF-16 units in the given form, then the units.
    DomLayout& text(const std::u16string& units, LengthForm form = LengthForm::OneByte) {
        little(0xFF, 1).little(0xFFFE, 2).length(units.size(), form);
        for (const char16_t unit : units) {
            little(unit, 2);
        }
        return *this;
    }
    // An 8-bit text in the system code set: the length in bytes, then the bytes.
    DomLayout& narrowText(const std::string& bytes, LengthForm form = LengthForm::OneByte) {
        length(bytes.size(), form);
        m_bytes += bytes;
        return *this;
    }
    DomLayout& raw(const std::string& bytes) {
        m_bytes += bytes;
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    DomLayout& little(std::uint64_t value, int count) {
        for (int index = 0; index < count; ++index) {
            m_bytes.push_back(static_cast<char>((value >> (8 * index)) & 0xFF));
        }
        return *this;
    }
    DomLayout& length(std::size_t count, LengthForm form) {
        if (form == LengthForm::OneByte) {
            return little(count, 1);
        }
        if (form == LengthForm::TwoBytes) {
            return little(0xFF, 1).little(count, 2);
        }
        return little(0xFF, 1).little(0xFFFF, 2).little(count, 4);
    }

    std::string m_bytes;
};

// A property record as a definition file holds it.
inline CFreedomProp makeProp(const wchar_t* name, int kind, int groupCode, CStringArray items = {}) {
    CFreedomProp made;
    made.name = name;
    made.kind = kind;
    made.groupCode = groupCode;
    made.items = std::move(items);
    return made;
}

// A drawing read from DXF text with the host's own call, made the current drawing of the editor.
class CurrentDrawing {
public:
    explicit CurrentDrawing(const std::filesystem::path& file) : m_database(false) {
        m_loaded = m_database.dxfIn(file.wstring().c_str()) == Acad::eOk;
        m_editor.database = &m_database;
        cad::ed::setCurrentEditor(&m_editor);
        acdbHostApplicationServices()->setWorkingDatabase(&m_database);
    }
    ~CurrentDrawing() {
        acdbHostApplicationServices()->setWorkingDatabase(nullptr);
        cad::ed::setCurrentEditor(nullptr);
    }
    CurrentDrawing(const CurrentDrawing&) = delete;
    CurrentDrawing& operator=(const CurrentDrawing&) = delete;

    bool loaded() const { return m_loaded; }
    AcDbDatabase& database() { return m_database; }
    AcDbObjectId idOf(const wchar_t* handle) { return m_database.objectIdOf(AcDbHandle(handle)); }

private:
    AcDbDatabase m_database;
    cad::ed::EditorState m_editor;
    bool m_loaded = false;
};

} // namespace customentity_test
