// Filter access to database entities. Type names are kept per class (modelled classes have one name
// each), so "X" selections over a million entities decode no text; generic entities carry their own.

#include "cad/ed/entity_subject.h"

#include "cad/db/object_io.h"
#include "cad/dxf/tag_writer.h"
#include "cad/ed/layouts.h"
#include "platform/code_page.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace cad::ed {

struct ClassName {
    std::wstring name;
    std::uint32_t key = 0;
};

namespace {

// Only modelled classes are cached; AcDbGenericEntity and AcDbGenericObject carry per-object names.
const ClassName* cachedClassName(const AcRxClass* objectClass, const AcDbObject& object) {
    static const AcRxClass* const kGenericEntity = AcDbGenericEntity::desc();
    static const AcRxClass* const kGenericObject = AcDbGenericObject::desc();
    if (objectClass == kGenericEntity || objectClass == kGenericObject) {
        return nullptr;
    }
    static std::map<const AcRxClass*, ClassName> names;
    static std::mutex guard;
    const std::lock_guard lock(guard);
    auto found = names.find(objectClass);
    if (found == names.end()) {
        ClassName entry;
        entry.name = platform::utf8ToWide(object.dxfName());
        entry.key = static_cast<std::uint32_t>(names.size() + 1);
        found = names.emplace(objectClass, std::move(entry)).first;
    }
    return &found->second;
}

const ClassName* cachedClassName(const AcDbObject& object) {
    return cachedClassName(object.isA(), object);
}

} // namespace

const std::wstring& entityTypeName(const AcDbObject& object, std::wstring& scratch) {
    if (const ClassName* cached = cachedClassName(object)) {
        return cached->name;
    }
    scratch = platform::utf8ToWide(object.dxfName());
    return scratch;
}

void EntitySubject::reset(const AcDbEntity& entity) {
    m_entity = &entity;
    m_groupsDecoded = false;
}

const ClassName* EntitySubject::className() const {
    // A drawing uses a handful of classes: a few recent ones are kept here, ahead of the shared table.
    const AcRxClass* objectClass = m_entity->isA();
    for (const auto& [knownClass, name] : m_recentClasses) {
        if (knownClass == objectClass) {
            return name;
        }
    }
    const ClassName* name = cachedClassName(objectClass, *m_entity);
    m_recentClasses[m_nextRecent] = {objectClass, name};
    m_nextRecent = (m_nextRecent + 1) % m_recentClasses.size();
    return name;
}

std::wstring_view EntitySubject::dxfName() const {
    if (const ClassName* cached = className()) {
        return cached->name;
    }
    m_genericName = platform::utf8ToWide(m_entity->dxfName());
    return m_genericName;
}

std::wstring_view EntitySubject::linetype() const {
    m_linetype = m_entity->linetype();
    return m_linetype;
}

std::uint32_t EntitySubject::textKey(int code) const {
    if (code == 8) {
        return m_entity->layerNameId().index() + 1;
    }
    if (code == 0) {
        const ClassName* cached = className();
        return cached != nullptr ? cached->key : 0;
    }
    return 0;
}

void EntitySubject::decodeGroups() const {
    m_groupsDecoded = true;
    m_groups.clear();
    m_texts.clear();
    dxf::TagCollector collector;
    db::TextContext context(m_database.textCodec());
    db::writeObjectTags(*m_entity, collector, context, m_database.version());
    const std::vector<dxf::OwnedTag>& tags = collector.tags();
    // Texts first, so the views into m_texts stay put while groups are added.
    m_texts.reserve(tags.size());
    for (std::size_t index = 0; index < tags.size(); ++index) {
        const dxf::OwnedTag& tag = tags[index];
        const int code = tag.code;
        const ResbufValueKind kind = resbufValueKind(code);
        if (kind == ResbufValueKind::Point) {
            // A point is its X group followed by Y (+10) and, when present, Z (+20).
            double coordinates[3] = {tag.real, 0.0, 0.0};
            if (index + 1 < tags.size() && tags[index + 1].code == code + 10) {
                coordinates[1] = tags[++index].real;
            }
            if (index + 1 < tags.size() && tags[index + 1].code == code + 20) {
                coordinates[2] = tags[++index].real;
            }
            m_groups.push_back({code, GroupValue::ofPoint(coordinates[0], coordinates[1], coordinates[2])});
        } else if (tag.type == dxf::ValueType::String) {
            m_texts.push_back(m_database.textCodec().decode(tag.text));
            m_groups.push_back({code, GroupValue::ofText(m_texts.back())});
        } else if (tag.type == dxf::ValueType::Double) {
            m_groups.push_back({code, GroupValue::ofReal(tag.real)});
        } else if (dxf::isIntegerType(tag.type)) {
            m_groups.push_back({code, GroupValue::ofInteger(tag.integer)});
        }
    }
}

void EntitySubject::groupValues(int code, std::vector<GroupValue>& values) const {
    // The layout groups follow from the owner, whatever the file held; block-definition entities have
    // no layout.
    if (code == 67 || code == 410) {
        if (m_entity->ownerId() != m_layoutOwner) {
            m_layoutOwner = m_entity->ownerId();
            m_layout = layoutNameOfSpace(m_database, m_layoutOwner);
        }
        if (code == 410 && !m_layout.empty()) {
            values.push_back(GroupValue::ofText(m_layout));
        } else if (code == 67 && !m_layout.empty()) {
            values.push_back(GroupValue::ofInteger(m_layoutOwner != m_database.modelSpaceId() ? 1 : 0));
        } else if (code == 67 && m_entity->isInPaperSpaceFlag()) {
            values.push_back(GroupValue::ofInteger(1));
        }
        return;
    }
    if (!m_groupsDecoded) {
        decodeGroups();
    }
    for (const DecodedGroup& group : m_groups) {
        if (group.code == code) {
            values.push_back(group.value);
        }
    }
}

} // namespace cad::ed
