// Building attribute tables and the text conversions fields use while loading and saving.
#include "cad/db/dxf_fields.h"

namespace cad::db {

Name TextContext::name(std::string_view bytes) {
    if (bytes.empty()) {
        return Name();
    }
    RecentName& recent = m_recentNames[recentSlotOf(bytes)];
    if (!recent.name.isEmpty() && recent.bytes == bytes) {
        return recent.name;
    }
    auto found = m_names.find(bytes);
    if (found == m_names.end()) {
        found = m_names.emplace(std::string(bytes), Name(m_codec.decode(bytes))).first;
    }
    if (!found->second.isEmpty()) {
        recent.bytes.assign(bytes);
        recent.name = found->second;
    }
    return found->second;
}

std::string_view TextContext::encode(std::wstring_view text) {
    m_scratch = m_codec.encode(text);
    return m_scratch;
}

std::string_view TextContext::encodeName(Name name) {
    auto found = m_encodedNames.find(name.index());
    if (found == m_encodedNames.end()) {
        found = m_encodedNames.emplace(name.index(), m_codec.encode(name.text())).first;
    }
    return found->second;
}

ClassTable& ClassTable::add(Field field) {
    field.subclass = m_currentSubclass;
    const auto index = static_cast<std::int16_t>(m_fields.size());
    m_fields.push_back(field);
    m_nextSameCode.push_back(-1);
    if (field.code >= 0 && field.code < 1000) {
        if (m_firstByCode[field.code] < 0) {
            m_firstByCode[field.code] = index;
        } else {
            int previous = m_firstByCode[field.code];
            while (m_nextSameCode[previous] >= 0) {
                previous = m_nextSameCode[previous];
            }
            m_nextSameCode[previous] = index;
        }
    }
    return *this;
}

ClassTable& ClassTable::marker(std::string_view subclassName) {
    Field field;
    field.code = 100;
    field.markerText = subclassName;
    field.minVersion = kVersionR13;
    m_currentSubclass = -1;
    add(field);
    m_currentSubclass = static_cast<std::int16_t>(m_fields.size() - 1);
    return *this;
}

} // namespace cad::db
