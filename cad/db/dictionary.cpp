// Dictionaries, groups, layouts, image definitions and multiline styles: attribute tables and the
// operations the selection module's grouping and space tests use.
#include "cad/db/dictionary.h"

#include "cad/db/database.h"
#include "platform/wide_text.h"

using cad::db::ClassTable;
using cad::db::field;
using cad::db::listField;

ACRX_DEFINE_MEMBERS(AcDbDictionary, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbDictionaryWithDefault, AcDbDictionary)
ACRX_DEFINE_MEMBERS(AcDbGroup, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbLayout, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbRasterImageDef, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbMlineStyle, AcDbObject)

const ClassTable& AcDbDictionary::classTable() {
    static ClassTable table = [] {
        ClassTable result("DICTIONARY");
        addObjectFields(result);
        result.marker("AcDbDictionary");
        result.add(field<&AcDbDictionary::m_hardOwner>(280).byDefault(0));
        result.add(field<&AcDbDictionary::m_cloning>(281));
        const int entries = result.addList(cad::db::listOf<&AcDbDictionary::m_entries>());
        result.add(listField<&AcDbDictionary::m_entries, &AcDbDictionaryEntry::name>(3, entries, true));
        result.add(listField<&AcDbDictionary::m_entries, &AcDbDictionaryEntry::softOwner>(350, entries)
                       .byDefaultText("0"));
        result.add(listField<&AcDbDictionary::m_entries, &AcDbDictionaryEntry::hardOwner>(360, entries)
                       .byDefaultText("0"));
        return result;
    }();
    return table;
}

const ClassTable& AcDbDictionaryWithDefault::classTable() {
    static ClassTable table = [] {
        ClassTable result = AcDbDictionary::classTable().renamed("ACDBDICTIONARYWDFLT", "", "");
        result.marker("AcDbDictionaryWithDefault");
        result.add(field<&AcDbDictionaryWithDefault::m_default>(340));
        return result;
    }();
    return table;
}

const AcDbDictionaryEntry* AcDbDictionary::find(std::wstring_view key) const {
    for (const AcDbDictionaryEntry& entry : m_entries) {
        if (platform::equalsIgnoringAsciiCase(entry.name, key)) {
            return &entry;
        }
    }
    return nullptr;
}

bool AcDbDictionary::has(const ACHAR* key) const {
    AcDbObjectId id;
    return getAt(key, id) == Acad::eOk;
}

bool AcDbDictionary::has(AcDbObjectId id) const {
    for (const AcDbDictionaryEntry& entry : m_entries) {
        if (entry.handle() == id.handle() && !id.isNull()) {
            return true;
        }
    }
    return false;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObjectId& id) const {
    if (key == nullptr) {
        return Acad::eInvalidKey;
    }
    const AcDbDictionaryEntry* entry = find(key);
    if (entry == nullptr || database() == nullptr) {
        return Acad::eKeyNotFound;
    }
    const AcDbObjectId found = database()->objectIdOf(entry->handle());
    if (found.isNull() || found.isErased()) {
        return Acad::eKeyNotFound;
    }
    id = found;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* key, AcDbObject*& object, AcDb::OpenMode mode) const {
    object = nullptr;
    AcDbObjectId id;
    const Acad::ErrorStatus status = getAt(key, id);
    if (status != Acad::eOk) {
        return status;
    }
    return cad::db::openObject(object, id, mode);
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId id, std::wstring& key) const {
    for (const AcDbDictionaryEntry& entry : m_entries) {
        if (!id.isNull() && entry.handle() == id.handle()) {
            key = entry.name;
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* key, AcDbObject* object, AcDbObjectId& id) {
    if (key == nullptr || *key == 0) {
        return Acad::eInvalidKey;
    }
    if (object == nullptr) {
        return Acad::eNullObjectPointer;
    }
    AcDbDatabase* owner = database();
    if (owner == nullptr) {
        return Acad::eNotInDatabase;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    if (object->isNewObject()) {
        const Acad::ErrorStatus status = owner->addAcDbObject(id, object);
        if (status != Acad::eOk) {
            return status;
        }
    } else {
        id = object->objectId();
    }
    object->setOwnerId(objectId());
    for (AcDbDictionaryEntry& entry : m_entries) {
        if (platform::equalsIgnoringAsciiCase(entry.name, key)) {
            (isHardOwner() ? entry.hardOwner : entry.softOwner) = id.handle();
            return Acad::eOk;
        }
    }
    AcDbDictionaryEntry entry;
    entry.name = key;
    (isHardOwner() ? entry.hardOwner : entry.softOwner) = id.handle();
    m_entries.push_back(entry);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key) {
    AcDbObjectId id;
    return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& id) {
    if (key == nullptr) {
        return Acad::eInvalidKey;
    }
    const AcDbDictionaryEntry* entry = find(key);
    if (entry == nullptr) {
        return Acad::eKeyNotFound;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    if (database() != nullptr) {
        id = database()->objectIdOf(entry->handle());
    }
    m_entries.erase(m_entries.begin() + (entry - m_entries.data()));
    return Acad::eOk;
}

AcDbGroup::AcDbGroup(const ACHAR* description, bool selectable)
    : m_description(description != nullptr ? description : L""), m_selectable(selectable ? 1 : 0) {}

const ClassTable& AcDbGroup::classTable() {
    static ClassTable table = [] {
        ClassTable result("GROUP");
        addObjectFields(result);
        result.marker("AcDbGroup");
        result.add(field<&AcDbGroup::m_description>(300));
        result.add(field<&AcDbGroup::m_unnamed>(70));
        result.add(field<&AcDbGroup::m_selectable>(71));
        const int members = result.addList(cad::db::listOf<&AcDbGroup::m_members>());
        result.add(listField<&AcDbGroup::m_members>(340, members, true));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbGroup::setDescription(const ACHAR* description) {
    return assignTextWhenWritable(m_description, description);
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable) {
    return assignWhenWritable(m_selectable, selectable ? 1 : 0);
}

Acad::ErrorStatus AcDbGroup::setAnonymous() {
    return assignWhenWritable(m_unnamed, 1);
}

Adesk::UInt32 AcDbGroup::numEntities() const {
    AcDbObjectIdArray ids;
    return allEntityIds(ids);
}

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const {
    ids.clear();
    const AcDbDatabase* owner = database();
    if (owner == nullptr) {
        return 0;
    }
    for (const AcDbHandle& handle : m_members) {
        const AcDbObjectId id = owner->objectIdOf(handle);
        if (!id.isNull() && !id.isErased()) {
            ids.push_back(id);
        }
    }
    return static_cast<Adesk::UInt32>(ids.size());
}

bool AcDbGroup::has(const AcDbObjectId& id) const {
    if (id.isNull()) {
        return false;
    }
    for (const AcDbHandle& handle : m_members) {
        if (handle == id.handle()) {
            return true;
        }
    }
    return false;
}

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id) {
    if (id.isNull()) {
        return Acad::eNullObjectId;
    }
    if (database() != nullptr && id.database() != database()) {
        return Acad::eWrongDatabase;
    }
    if (has(id)) {
        return Acad::eAlreadyInGroup;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_members.push_back(id.handle());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids) {
    for (const AcDbObjectId& id : ids) {
        const Acad::ErrorStatus status = append(id);
        if (status != Acad::eOk) {
            return status;
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id) {
    if (!has(id)) {
        return Acad::eNotInGroup;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    std::erase(m_members, id.handle());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::clear() {
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_members.clear();
    return Acad::eOk;
}

// A layout is plot settings followed by the layout's own subclass; both have a group 1 (page setup
// name, layout name) and the layout's 330 names its block record after the owner's 330.
const ClassTable& AcDbLayout::classTable() {
    static ClassTable table = [] {
        ClassTable result("LAYOUT");
        addObjectFields(result);
        result.marker("AcDbPlotSettings");
        result.add(field<&AcDbLayout::m_pageSetupName>(1));
        result.marker("AcDbLayout");
        result.add(field<&AcDbLayout::m_name>(1));
        result.add(field<&AcDbLayout::m_layoutFlags>(70));
        result.add(field<&AcDbLayout::m_tabOrder>(71));
        result.add(field<&AcDbLayout::m_blockRecord>(330));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbLayout::setLayoutName(const ACHAR* name) {
    if (name == nullptr || *name == 0) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_name, name);
}

Acad::ErrorStatus AcDbLayout::setTabOrder(int order) {
    return assignWhenWritable(m_tabOrder, static_cast<Adesk::Int16>(order));
}

AcDbObjectId AcDbLayout::getBlockTableRecordId() const {
    return database() != nullptr ? database()->objectIdOf(m_blockRecord) : AcDbObjectId();
}

Acad::ErrorStatus AcDbLayout::setBlockTableRecordId(AcDbObjectId record) {
    return assignWhenWritable(m_blockRecord, record.handle());
}

bool AcDbLayout::modelType() const {
    return database() != nullptr && getBlockTableRecordId() == database()->modelSpaceId();
}

const ClassTable& AcDbRasterImageDef::classTable() {
    static ClassTable table = [] {
        ClassTable result("IMAGEDEF");
        addObjectFields(result);
        result.marker("AcDbRasterImageDef");
        result.add(field<&AcDbRasterImageDef::m_classVersion>(90));
        result.add(field<&AcDbRasterImageDef::m_fileName>(1));
        cad::db::addPoint<&AcDbRasterImageDef::m_size>(result, 10);
        cad::db::addPoint<&AcDbRasterImageDef::m_pixelSize>(result, 11);
        result.add(field<&AcDbRasterImageDef::m_loaded>(280));
        result.add(field<&AcDbRasterImageDef::m_resolutionUnits>(281));
        return result;
    }();
    return table;
}

Acad::ErrorStatus AcDbRasterImageDef::setSourceFileName(const ACHAR* path) {
    return assignTextWhenWritable(m_fileName, path);
}

const ClassTable& AcDbMlineStyle::classTable() {
    static ClassTable table = [] {
        ClassTable result("MLINESTYLE");
        addObjectFields(result);
        result.marker("AcDbMlineStyle");
        result.add(field<&AcDbMlineStyle::m_name>(2));
        result.add(field<&AcDbMlineStyle::m_flags>(70));
        result.add(field<&AcDbMlineStyle::m_description>(3));
        return result;
    }();
    return table;
}
