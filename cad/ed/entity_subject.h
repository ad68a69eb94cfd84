// A database entity seen through the selection filter's interface. The common groups come from the
// entity's typed accessors; any other group from its DXF data list, built once per entity and only when
// a filter asks for such a group.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/ed/selection_filter.h"
#include "platform/export.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace cad::ed {

struct ClassName;

class QUELTO_EXPORT EntitySubject final : public FilterSubject {
public:
    explicit EntitySubject(const AcDbDatabase& database) : m_database(database) {}
    // Points the subject at the next entity; the views it handed out before become invalid.
    void reset(const AcDbEntity& entity);

    std::wstring_view dxfName() const override;
    std::wstring_view layer() const override { return m_entity->layerName(); }
    int colorIndex() const override { return m_entity->colorIndex(); }
    int lineWeight() const override { return static_cast<int>(m_entity->lineWeight()); }
    std::wstring_view linetype() const override;
    void groupValues(int code, std::vector<GroupValue>& values) const override;
    std::uint32_t textKey(int code) const override;

private:
    struct DecodedGroup {
        int code;
        GroupValue value;
    };
    void decodeGroups() const;
    const ClassName* className() const;

    const AcDbDatabase& m_database;
    const AcDbEntity* m_entity = nullptr;
    mutable std::array<std::pair<const AcRxClass*, const ClassName*>, 8> m_recentClasses{};
    mutable std::size_t m_nextRecent = 0;
    mutable std::wstring m_genericName;
    mutable std::wstring m_linetype;
    mutable bool m_groupsDecoded = false;
    mutable std::vector<DecodedGroup> m_groups;
    mutable std::vector<std::wstring> m_texts;
    // The layout of the last owner asked about: entities of one space come in runs.
    mutable AcDbObjectId m_layoutOwner;
    mutable std::wstring m_layout;
};

// The DXF type name of an entity as a wide text, without decoding it again for every entity of a
// modelled class.
QUELTO_EXPORT const std::wstring& entityTypeName(const AcDbObject& object, std::wstring& scratch);

} // namespace cad::ed
