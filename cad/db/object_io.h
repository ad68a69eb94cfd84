// Reading one object from its groups and writing it back, driven by the class's attribute table and
// the object's plan. The loader feeds ObjectReader tag by tag; the saver and the DXF data list of
// acdbEntGetX both go through writeObjectTags.
#pragma once

#include "cad/db/db_object.h"
#include "cad/db/dxf_fields.h"
#include "cad/dxf/tag.h"
#include "cad/dxf/tag_writer.h"
#include "platform/export.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace cad::db {

class QUELTO_EXPORT ObjectReader {
public:
    explicit ObjectReader(TextContext& context) : m_context(context) {}

    void begin(AcDbObject& object);
    void add(const dxf::Tag& tag);
    // Interns the plan and lets the object derive its members. Returns the problems found that still
    // leave a usable object (a point without its y group...), as messages.
    std::vector<std::string> finish();
    // The shared copy of a plan (plans are interned process-wide).
    static const Plan* internPlan(const Plan& items);

private:
    bool mapTag(const dxf::Tag& tag);

    TextContext& m_context;
    AcDbObject* m_object = nullptr;
    const ClassTable* m_table = nullptr;
    Plan m_items;
    std::vector<std::uint32_t> m_filledEpoch;
    std::vector<std::size_t> m_filledElement;
    std::uint32_t m_epoch = 0;
    int m_subclass = -1; // current marker field; -2 after an unknown marker
    bool m_sawMarker = false;
    bool m_inGroup102 = false;
    // Per class met in this drawing: the last few plans (a drawing's entities of one class come in a
    // handful of shapes, with or without a colour..., so most objects find theirs here without the
    // shared, locked pool) and the x fields of the class's points, checked for their y in finish().
    static constexpr std::size_t kRecentPlans = 4;
    struct ClassState {
        const ClassTable* table = nullptr;
        std::array<const Plan*, kRecentPlans> plans{};
        std::size_t next = 0;
        std::vector<std::uint16_t> pointXFields;
    };
    ClassState& classState(const ClassTable& table);
    std::vector<ClassState> m_classes;
    std::size_t m_currentClass = 0;
};

// Gives the loader and the database the object internals only they set.
class DatabaseAccess {
public:
    static void attach(AcDbObject& object, ObjectSlot* slot) { object.m_slot = slot; }
    static void setHandle(AcDbObject& object, AcDbHandle handle) { object.m_handle = handle; }
    static void setOwnerHandle(AcDbObject& object, AcDbHandle owner) { object.m_ownerHandle = owner; }
    static void clearModified(AcDbObject& object) { object.m_modified = false; }
};

// Writes "0 <type>" and the object's groups for `version`. `withType` false leaves out group 0.
QUELTO_EXPORT void writeObjectTags(const AcDbObject& object, dxf::TagWriter& writer, TextContext& context,
                                   int version, bool withType = true);

} // namespace cad::db
