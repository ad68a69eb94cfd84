// Table-driven reading and writing of objects. Reading records, per group, which field took it (or that
// it stayed unmapped); writing replays that record, so an unchanged object is written group for group
// as it was read. Objects created in memory have no record and are written in table order.
#include "cad/db/object_io.h"

#include <algorithm>
#include <mutex>
#include <set>

namespace cad::db {
namespace {

struct PlanLess {
    bool operator()(const Plan& left, const Plan& right) const { return left < right; }
};

bool isDefaultValue(const Field& field, const dxf::Tag& tag) {
    if (!field.optional) {
        return false;
    }
    if (tag.isDouble()) {
        return tag.real == field.defaultReal;
    }
    if (tag.isInteger()) {
        return tag.integer == field.defaultInteger;
    }
    return tag.text == field.defaultText;
}

class ObjectWriter {
public:
    ObjectWriter(const AcDbObject& object, dxf::TagWriter& writer, TextContext& context, int version)
        : m_object(object), m_table(object.dxfTable()), m_writer(writer), m_context(context),
          m_version(version), m_elements(m_table.lists().size(), 0) {}

    void writeField(int index, std::size_t element, bool skipDefault) {
        const Field& field = m_table.fields()[index];
        dxf::Tag tag;
        tag.code = field.code;
        if (!field.markerText.empty()) {
            tag = dxf::Tag::makeString(100, field.markerText);
        } else if (field.countOf) {
            tag = dxf::Tag::makeInteger(
                field.code, static_cast<std::int64_t>(m_table.lists()[field.list].count(m_object)));
        } else {
            field.save(m_object, element, m_context, tag);
            if (skipDefault && isDefaultValue(field, tag)) {
                return;
            }
        }
        m_writer.write(tag);
    }

    bool wantedInNewObject(const Field& field) const {
        if (field.minVersion > m_version) {
            return false;
        }
        if (!field.markerText.empty()) {
            return m_version >= kVersionR13;
        }
        return true;
    }

    // All elements of a list from `first` on, every field of the list per element.
    void writeElements(int list, std::size_t first) {
        const std::size_t count = m_table.lists()[list].count(m_object);
        const auto& fieldList = m_table.fields();
        for (std::size_t element = first; element < count; ++element) {
            for (std::size_t index = 0; index < fieldList.size(); ++index) {
                const Field& field = fieldList[index];
                if (field.list != list || field.countOf || !wantedInNewObject(field)) {
                    continue;
                }
                writeField(static_cast<int>(index), element, !field.startsElement);
            }
        }
    }

    void writeCanonical() {
        const auto& fieldList = m_table.fields();
        for (std::size_t index = 0; index < fieldList.size(); ++index) {
            const Field& field = fieldList[index];
            if (!wantedInNewObject(field)) {
                continue;
            }
            if (field.list >= 0 && !field.countOf) {
                if (field.startsElement) {
                    writeElements(field.list, 0);
                }
                continue;
            }
            if (field.code == m_table.handleCode() && m_object.handle().isNull()) {
                continue;
            }
            writeField(static_cast<int>(index), 0, true);
        }
        for (const dxf::OwnedTag& tag : m_object.extraTags()) {
            m_writer.write(tag.view());
        }
    }

    void writePlanned(const Plan& plan) {
        const auto& fieldList = m_table.fields();
        const auto& extra = m_object.extraTags();
        std::size_t nextExtra = 0;
        if (!m_object.isModified()) {
            for (const std::uint16_t item : plan) {
                if (item == kRawItem) {
                    if (nextExtra < extra.size()) {
                        m_writer.write(extra[nextExtra++].view());
                    }
                    continue;
                }
                writePlannedField(item);
            }
            for (; nextExtra < extra.size(); ++nextExtra) {
                m_writer.write(extra[nextExtra].view());
            }
            return;
        }
        // A changed object: fields it was read without are written where a new object would have
        // them, and lists write as many elements as they hold now.
        std::vector<bool> present(fieldList.size(), false);
        std::vector<std::size_t> lastOfList(m_table.lists().size(), plan.size());
        for (std::size_t position = 0; position < plan.size(); ++position) {
            if (plan[position] == kRawItem) {
                continue;
            }
            present[plan[position]] = true;
            const Field& field = fieldList[plan[position]];
            if (field.list >= 0 && !field.countOf) {
                lastOfList[field.list] = position;
            }
        }
        std::size_t nextMissing = 0;
        auto writeMissingBefore = [&](std::size_t limit) {
            for (; nextMissing < limit && nextMissing < fieldList.size(); ++nextMissing) {
                const Field& field = fieldList[nextMissing];
                if (present[nextMissing] || !wantedInNewObject(field) || !field.markerText.empty()) {
                    continue;
                }
                if (field.list >= 0 && !field.countOf) {
                    if (field.startsElement && lastOfList[field.list] == plan.size()) {
                        writeElements(field.list, 0);
                    }
                    continue;
                }
                writeField(static_cast<int>(nextMissing), 0, true);
            }
        };
        for (std::size_t position = 0; position < plan.size(); ++position) {
            const std::uint16_t item = plan[position];
            if (item == kRawItem) {
                if (nextExtra < extra.size()) {
                    m_writer.write(extra[nextExtra++].view());
                }
                continue;
            }
            writeMissingBefore(item);
            writePlannedField(item);
            const Field& field = fieldList[item];
            if (field.list >= 0 && !field.countOf && lastOfList[field.list] == position) {
                writeElements(field.list, m_elements[field.list]);
            }
        }
        writeMissingBefore(fieldList.size());
        for (; nextExtra < extra.size(); ++nextExtra) {
            m_writer.write(extra[nextExtra].view());
        }
    }

private:
    void writePlannedField(std::uint16_t item) {
        const Field& field = m_table.fields()[item];
        if (field.list >= 0 && !field.countOf) {
            if (field.startsElement) {
                ++m_elements[field.list];
            }
            const std::size_t element = m_elements[field.list];
            if (element == 0 || element > m_table.lists()[field.list].count(m_object)) {
                return;
            }
            writeField(item, element - 1, false);
            return;
        }
        writeField(item, 0, false);
    }

    const AcDbObject& m_object;
    const ClassTable& m_table;
    dxf::TagWriter& m_writer;
    TextContext& m_context;
    int m_version;
    std::vector<std::size_t> m_elements;
};

} // namespace

// Process-wide, like names: plans are tiny and shared by every drawing of the same writer.
const Plan* ObjectReader::internPlan(const Plan& items) {
    static std::mutex mutex;
    static std::set<Plan, PlanLess> plans;
    const std::lock_guard lock(mutex);
    return &*plans.insert(items).first;
}

ObjectReader::ClassState& ObjectReader::classState(const ClassTable& table) {
    if (m_currentClass < m_classes.size() && m_classes[m_currentClass].table == &table) {
        return m_classes[m_currentClass];
    }
    for (m_currentClass = 0; m_currentClass < m_classes.size(); ++m_currentClass) {
        if (m_classes[m_currentClass].table == &table) {
            return m_classes[m_currentClass];
        }
    }
    ClassState& state = m_classes.emplace_back();
    state.table = &table;
    const auto& fieldList = table.fields();
    for (std::size_t index = 0; index + 1 < fieldList.size(); ++index) {
        const Field& field = fieldList[index];
        const int unit = field.code % 100;
        if (field.list < 0 && fieldList[index + 1].code == field.code + 10 && unit >= 10 && unit < 20) {
            state.pointXFields.push_back(static_cast<std::uint16_t>(index));
        }
    }
    return state;
}

void ObjectReader::begin(AcDbObject& object) {
    m_object = &object;
    m_table = &object.dxfTable();
    classState(*m_table);
    m_items.clear();
    if (m_filledEpoch.size() < m_table->fields().size()) {
        m_filledEpoch.resize(m_table->fields().size(), 0);
        m_filledElement.resize(m_table->fields().size(), 0);
    }
    ++m_epoch;
    m_subclass = -1;
    m_sawMarker = false;
    m_inGroup102 = false;
}

bool ObjectReader::mapTag(const dxf::Tag& tag) {
    const ClassTable& table = *m_table;
    if (tag.code == 102) {
        m_inGroup102 = !tag.text.empty() && tag.text.front() == '{';
        return false;
    }
    if (m_inGroup102 || tag.code >= 1000 || tag.code == dxf::kCommentGroupCode) {
        return false;
    }
    // An embedded object (group 101, as MTEXT carries one) repeats the entity's group codes for its own
    // data; none of them is the entity's, so they stay as read.
    if (tag.code == 101) {
        m_subclass = -2;
        m_sawMarker = true;
        return false;
    }
    if (tag.code == 100) {
        for (int index = table.firstField(100); index >= 0; index = table.nextSameCode(index)) {
            if (table.fields()[index].markerText != tag.text) {
                continue;
            }
            if (m_filledEpoch[index] == m_epoch) {
                continue;
            }
            m_filledEpoch[index] = m_epoch;
            m_subclass = index;
            m_sawMarker = true;
            m_items.push_back(static_cast<std::uint16_t>(index));
            return true;
        }
        m_subclass = -2;
        m_sawMarker = true;
        return false;
    }
    for (int index = table.firstField(tag.code); index >= 0; index = table.nextSameCode(index)) {
        const Field& field = table.fields()[index];
        if (m_sawMarker && field.subclass != -1 && field.subclass != m_subclass) {
            continue;
        }
        if (field.countOf) {
            if (m_filledEpoch[index] == m_epoch) {
                continue;
            }
            m_filledEpoch[index] = m_epoch;
            // Room for the announced elements saves the regrowth of every polyline's vertex list; a
            // damaged count only ever reserves a little.
            constexpr std::int64_t kLargestReservation = 256;
            const ListInfo& list = table.lists()[field.list];
            if (list.reserve != nullptr && tag.isInteger() && tag.integer > 0) {
                list.reserve(*m_object, static_cast<std::size_t>(std::min(tag.integer, kLargestReservation)));
            }
            m_items.push_back(static_cast<std::uint16_t>(index));
            return true;
        }
        if (field.list >= 0) {
            const ListInfo& list = table.lists()[field.list];
            std::size_t count = list.count(*m_object);
            if (field.startsElement) {
                list.append(*m_object);
                ++count;
            } else if (count == 0 || (m_filledEpoch[index] == m_epoch && m_filledElement[index] == count)) {
                continue;
            }
            m_filledEpoch[index] = m_epoch;
            m_filledElement[index] = count;
            field.load(*m_object, count - 1, tag, m_context);
            m_items.push_back(static_cast<std::uint16_t>(index));
            return true;
        }
        if (m_filledEpoch[index] == m_epoch) {
            continue;
        }
        m_filledEpoch[index] = m_epoch;
        field.load(*m_object, 0, tag, m_context);
        m_items.push_back(static_cast<std::uint16_t>(index));
        return true;
    }
    return false;
}

void ObjectReader::add(const dxf::Tag& tag) {
    if (mapTag(tag)) {
        return;
    }
    if (m_object->m_extraTags == nullptr) {
        m_object->m_extraTags = std::make_unique<std::vector<dxf::OwnedTag>>();
    }
    m_object->m_extraTags->emplace_back(tag);
    m_items.push_back(kRawItem);
}

std::vector<std::string> ObjectReader::finish() {
    std::vector<std::string> problems;
    const Plan* plan = nullptr;
    ClassState& state = m_classes[m_currentClass];
    for (const Plan* candidate : state.plans) {
        if (candidate != nullptr && *candidate == m_items) {
            plan = candidate;
            break;
        }
    }
    if (plan == nullptr) {
        plan = internPlan(m_items);
        state.plans[state.next] = plan;
        state.next = (state.next + 1) % kRecentPlans;
    }
    m_object->m_plan = plan;
    if (m_object->m_extraTags != nullptr) {
        m_object->m_extraTags->shrink_to_fit();
    }
    // A point whose x was read without its y: the drawing stays usable, y reads as 0.
    for (const std::uint16_t index : state.pointXFields) {
        if (m_filledEpoch[index] == m_epoch && m_filledEpoch[index + 1] != m_epoch) {
            const auto& fieldList = m_table->fields();
            problems.push_back("group " + std::to_string(fieldList[index].code) + " without its y group " +
                               std::to_string(fieldList[index + 1].code));
        }
    }
    m_object->dxfLoaded(m_context);
    return problems;
}

void writeObjectTags(const AcDbObject& object, dxf::TagWriter& writer, TextContext& context, int version,
                     bool withType) {
    if (withType) {
        const std::string name = object.dxfName();
        writer.write(dxf::Tag::makeString(0, name));
    }
    ObjectWriter objectWriter(object, writer, context, version);
    if (object.dxfPlan() != nullptr) {
        objectWriter.writePlanned(*object.dxfPlan());
    } else {
        objectWriter.writeCanonical();
    }
}

} // namespace cad::db
