// AcDbObject: the base of everything a drawing holds. It carries the object's handle, owner, open state
// and, for round trips, the order in which its groups were read (an interned "plan") together with the
// groups no attribute table maps (extended data, reactors, unknown subclasses), written back in place.
#pragma once

#include "cad/db/db_handle.h"
#include "cad/db/db_types.h"
#include "cad/db/dxf_fields.h"
#include "cad/db/object_id.h"
#include "cad/db/rx_class.h"
#include "cad/dxf/tag.h"
#include "platform/export.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class AcDbDictionary;

namespace cad::db {
// The sequence of groups an object was read with: field indexes of its class table, or kRawItem for
// the next of its unmapped tags. Plans are interned: objects written by one program share a handful.
using Plan = std::vector<std::uint16_t>;
inline constexpr std::uint16_t kRawItem = 0xffff;
class ObjectReader;
class DatabaseAccess;
} // namespace cad::db

class QUELTO_EXPORT AcDbObject {
public:
    static AcRxClass* desc();
    virtual AcRxClass* isA() const;
    bool isKindOf(const AcRxClass* description) const { return isA()->isDerivedFrom(description); }
    static AcDbObject* cast(const AcDbObject* object) { return const_cast<AcDbObject*>(object); }

    AcDbObject() = default;
    virtual ~AcDbObject();
    AcDbObject& operator=(const AcDbObject&) = delete;
    // A new object outside any database holding every member of this one as it is now, its handle
    // included: what the undo log keeps of an object and puts back into its slot.
    virtual AcDbObject* copyState() const;

    // Identity and ownership.
    AcDbObjectId objectId() const { return AcDbObjectId(m_slot); }
    AcDbDatabase* database() const { return m_slot != nullptr ? m_slot->database : nullptr; }
    AcDbHandle handle() const { return m_handle; }
    void getAcDbHandle(AcDbHandle& handle) const { handle = m_handle; }
    AcDbHandle ownerHandle() const { return m_ownerHandle; }
    AcDbObjectId ownerId() const;
    Acad::ErrorStatus setOwnerId(AcDbObjectId owner);
    // The extension dictionary named in the object's {ACAD_XDICTIONARY group; null when it has none.
    AcDbObjectId extensionDictionary() const;
    // Handles of the {ACAD_REACTORS group.
    std::vector<AcDbHandle> reactorHandles() const;

    // Open state, as the host reports it.
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNewObject() const { return m_slot == nullptr; }
    bool isErased() const { return m_slot != nullptr && m_slot->erased; }
    bool isModified() const { return m_modified; }
    Acad::ErrorStatus erase(bool erasing = true);
    Acad::ErrorStatus close();
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();

    // DXF: the class's attribute table, its type name (group 0) and the groups no table maps.
    virtual const cad::db::ClassTable& dxfTable() const;
    virtual const std::string& dxfName() const { return dxfTable().dxfName(); }
    const std::vector<cad::dxf::OwnedTag>& extraTags() const;
    // Extended data (1000-1071) of one application, or of all when appName is empty; each block starts
    // with its 1001 group.
    std::vector<cad::dxf::OwnedTag> xData(const std::string& appName = {}) const;
    // Replaces the extended data of the application named by the first (1001) tag of `tags`.
    Acad::ErrorStatus setXData(const std::vector<cad::dxf::OwnedTag>& tags);
    const cad::db::Plan* dxfPlan() const { return m_plan; }

protected:
    // Member-wise copy for copyState(); the copy belongs to no database until the undo log puts it in
    // a slot.
    AcDbObject(const AcDbObject& other);

    // Setters call this first: false (and the caller answers eNotOpenForWrite) when the object lives in
    // a database and is not open for write. Marks the object modified.
    bool checkWriteEnabled();
    // The body of a plain setter: eNotOpenForWrite unless the object may be written, else the member
    // takes the value; the text form answers eInvalidInput for a null C string first.
    template <class Member, class Value>
    Acad::ErrorStatus assignWhenWritable(Member& member, Value&& value) {
        if (!checkWriteEnabled()) {
            return Acad::eNotOpenForWrite;
        }
        member = std::forward<Value>(value);
        return Acad::eOk;
    }
    Acad::ErrorStatus assignTextWhenWritable(std::wstring& member, const ACHAR* text) {
        return text == nullptr ? Acad::eInvalidInput : assignWhenWritable(member, text);
    }
    // The record named `name` in the symbol table that `table` gives of this object's database; null
    // for an object outside a database or a name the table does not hold.
    AcDbObjectId recordInTable(AcDbObjectId (AcDbDatabase::*table)() const, std::wstring_view name) const;
    // Called once the object's groups are all read, for members derived from several groups.
    virtual void dxfLoaded(cad::db::TextContext& context) {}
    // For classes that keep part of their geometry as groups and edit it in place.
    void replaceExtraTags(std::vector<cad::dxf::OwnedTag> tags) {
        m_extraTags = std::make_unique<std::vector<cad::dxf::OwnedTag>>(std::move(tags));
    }

private:
    friend class cad::db::ObjectReader;
    friend class cad::db::DatabaseAccess;

    cad::db::ObjectSlot* m_slot = nullptr;
    AcDbHandle m_handle;
    AcDbHandle m_ownerHandle;
    const cad::db::Plan* m_plan = nullptr;
    // Most objects have no unmapped groups: the list is allocated only when one appears.
    std::unique_ptr<std::vector<cad::dxf::OwnedTag>> m_extraTags;
    bool m_modified = false;

public:
    // Used by the attribute tables of derived classes.
    static cad::db::ClassTable& addObjectFields(cad::db::ClassTable& table);
};

// A non-graphical object of a class the database does not model (XRECORD, DICTIONARYVAR, SCALE,
// third-party objects...): its type name, and every group kept in order.
class QUELTO_EXPORT AcDbGenericObject : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbGenericObject)
    explicit AcDbGenericObject(std::string dxfName) : m_dxfName(std::move(dxfName)) {}
    const std::string& dxfName() const override { return m_dxfName; }

private:
    std::string m_dxfName;
};

// Declares desc()/isA()/cast() and the class's attribute table (defined with the class's members).
#define QUELTO_DXF_CLASS(CLASS)                                                                              \
    ACRX_DECLARE_MEMBERS(CLASS)                                                                              \
    static const cad::db::ClassTable& classTable();                                                          \
    const cad::db::ClassTable& dxfTable() const override {                                                   \
        return classTable();                                                                                 \
    }
