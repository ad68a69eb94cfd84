// AcDbObjectId: the in-memory identity of a database object. An id points at the database's slot for
// the object, which stays put for the database's lifetime, so ids can be copied, compared and kept in
// arrays while the objects themselves are opened and closed.
#pragma once

#include "cad/db/db_handle.h"
#include "cad/db/db_types.h"
#include "platform/export.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AcDbDatabase;
class AcDbObject;

namespace cad::db {
// What the database keeps per object: the object, its open state and its erase flag.
struct ObjectSlot {
    AcDbDatabase* database = nullptr;
    std::unique_ptr<AcDbObject> object;
    std::uint32_t serial = 0; // creation order; gives ids a stable order
    std::uint16_t readers = 0;
    bool openForWrite = false;
    bool erased = false;
    // Made up on reading for what the file leaves out (a layer its entities name but its LAYER table
    // lacks): kept out of the saved file until something changes it, so the file is written as read.
    bool implied = false;
    std::uint32_t undoStep = 0; // the undo step that last recorded the object
};
} // namespace cad::db

class QUELTO_EXPORT AcDbObjectId {
public:
    static const AcDbObjectId kNull;

    AcDbObjectId() = default;
    explicit AcDbObjectId(cad::db::ObjectSlot* slot) : m_slot(slot) {}

    bool isNull() const { return m_slot == nullptr; }
    void setNull() { m_slot = nullptr; }
    bool isValid() const { return m_slot != nullptr && m_slot->object != nullptr; }
    bool isErased() const { return m_slot != nullptr && m_slot->erased; }
    AcDbHandle handle() const;
    AcDbDatabase* database() const { return m_slot != nullptr ? m_slot->database : nullptr; }
    // The address as a number, as the host's old-style ids; setFromOldId takes it back.
    std::int64_t asOldId() const {
        return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(m_slot));
    }
    AcDbObjectId& setFromOldId(std::int64_t oldId) {
        m_slot = reinterpret_cast<cad::db::ObjectSlot*>(static_cast<std::intptr_t>(oldId));
        return *this;
    }

    cad::db::ObjectSlot* slot() const { return m_slot; }

    friend bool operator==(const AcDbObjectId& left, const AcDbObjectId& right) {
        return left.m_slot == right.m_slot;
    }
    friend bool operator!=(const AcDbObjectId& left, const AcDbObjectId& right) { return !(left == right); }
    friend bool operator<(const AcDbObjectId& left, const AcDbObjectId& right) {
        if (left.m_slot == nullptr || right.m_slot == nullptr) {
            return left.m_slot == nullptr && right.m_slot != nullptr;
        }
        if (left.m_slot->database != right.m_slot->database) {
            return left.m_slot->database < right.m_slot->database;
        }
        return left.m_slot->serial < right.m_slot->serial;
    }

private:
    cad::db::ObjectSlot* m_slot = nullptr;
};

template <>
struct std::hash<AcDbObjectId> {
    std::size_t operator()(const AcDbObjectId& id) const noexcept {
        return std::hash<const void*>()(id.slot());
    }
};

// The host's id array: a vector with the host's member names.
class QUELTO_EXPORT AcDbObjectIdArray : public std::vector<AcDbObjectId> {
public:
    using std::vector<AcDbObjectId>::vector;
    int length() const { return static_cast<int>(size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return empty(); }
    AcDbObjectIdArray& append(const AcDbObjectId& id) {
        push_back(id);
        return *this;
    }
    const AcDbObjectId& at(int index) const { return (*this)[static_cast<std::size_t>(index)]; }
    bool contains(const AcDbObjectId& id) const {
        for (const AcDbObjectId& element : *this) {
            if (element == id) {
                return true;
            }
        }
        return false;
    }
    AcDbObjectIdArray& removeAt(int index) {
        erase(begin() + index);
        return *this;
    }
    void setLogicalLength(int length) { resize(static_cast<std::size_t>(length)); }
};
