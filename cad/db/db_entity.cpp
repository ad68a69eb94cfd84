// The common entity properties and their DXF groups, and the structural entities (SEQEND, BLOCK,
// ENDBLK). Layer and linetype names are interned; the records are looked up by name when asked for.
#include "cad/db/db_entity.h"

#include "cad/db/database.h"
#include "cad/db/symbol_tables.h"

using cad::db::ClassTable;
using cad::db::field;

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbGenericEntity, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbSequenceEnd, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbBlockBegin, AcDbEntity)
ACRX_DEFINE_MEMBERS(AcDbBlockEnd, AcDbEntity)

ClassTable& AcDbEntity::addEntityFields(ClassTable& table) {
    addObjectFields(table);
    table.marker("AcDbEntity");
    table.add(field<&AcDbEntity::m_paperSpace>(67).byDefault(0));
    table.add(field<&AcDbEntity::m_layer>(8));
    table.add(field<&AcDbEntity::m_linetype>(6).byDefaultText(""));
    table.add(field<&AcDbEntity::m_color>(62).byDefault(kColorByLayer));
    table.add(
        field<&AcDbEntity::m_lineWeight>(370).byDefault(AcDb::kLnWtByLayer).since(cad::db::kVersionR2000));
    table.add(field<&AcDbEntity::m_linetypeScale>(48).byDefault(1.0).since(cad::db::kVersionR13));
    table.add(field<&AcDbEntity::m_invisible>(60).byDefault(0));
    table.add(field<&AcDbEntity::m_trueColor>(420).byDefault(-1).since(cad::db::kVersionR2004));
    return table;
}

const ClassTable& AcDbEntity::dxfTable() const {
    static ClassTable table = [] {
        ClassTable result("");
        return addEntityFields(result);
    }();
    return table;
}

AcDbObjectId AcDbEntity::layerId() const {
    return recordInTable(&AcDbDatabase::layerTableId, m_layer.text());
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* name) {
    if (name == nullptr || *name == 0) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_layer, cad::db::Name(name));
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId layerRecord) {
    const AcDbObject* record =
        layerRecord.database() != nullptr ? layerRecord.database()->peekObject(layerRecord) : nullptr;
    if (record == nullptr) {
        return Acad::eInvalidInput;
    }
    const AcDbLayerTableRecord* layer = AcDbLayerTableRecord::cast(record);
    if (layer == nullptr) {
        return Acad::eWrongObjectType;
    }
    return setLayer(layer->name().c_str());
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color) {
    if (color > 257) {
        return Acad::eInvalidInput;
    }
    if (!checkWriteEnabled()) {
        return Acad::eNotOpenForWrite;
    }
    m_color = static_cast<Adesk::Int16>(color);
    m_trueColor = -1;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setTrueColor(Adesk::Int32 rgb) {
    if (rgb < -1 || rgb > 0xffffff) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_trueColor, rgb);
}

const std::wstring& AcDbEntity::linetypeName() const {
    static const std::wstring kByLayer = L"BYLAYER";
    return m_linetype.isEmpty() ? kByLayer : m_linetype.text();
}

AcDbObjectId AcDbEntity::linetypeId() const {
    return recordInTable(&AcDbDatabase::linetypeTableId, linetypeName());
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* name) {
    if (name == nullptr || *name == 0) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_linetype, cad::db::Name(name));
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double scale) {
    if (!(scale > 0.0)) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_linetypeScale, scale);
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight weight) {
    if (weight < AcDb::kLnWtByLwDefault || weight > AcDb::kLnWt211) {
        return Acad::eInvalidInput;
    }
    return assignWhenWritable(m_lineWeight, static_cast<Adesk::Int16>(weight));
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility visibility) {
    return assignWhenWritable(m_invisible, visibility == AcDb::kInvisible ? 1 : 0);
}

const ClassTable& AcDbSequenceEnd::classTable() {
    static ClassTable table = [] {
        ClassTable result("SEQEND");
        return addEntityFields(result);
    }();
    return table;
}

const ClassTable& AcDbBlockBegin::classTable() {
    static ClassTable table = [] {
        ClassTable result("BLOCK");
        addEntityFields(result);
        result.marker("AcDbBlockBegin");
        result.add(field<&AcDbBlockBegin::m_name>(2));
        result.add(field<&AcDbBlockBegin::m_flags>(70));
        cad::db::addPoint<&AcDbBlockBegin::m_origin>(result, 10);
        result.add(field<&AcDbBlockBegin::m_secondName>(3));
        result.add(field<&AcDbBlockBegin::m_pathName>(1));
        result.add(field<&AcDbBlockBegin::m_description>(4).byDefaultText(""));
        return result;
    }();
    return table;
}

const ClassTable& AcDbBlockEnd::classTable() {
    static ClassTable table = [] {
        ClassTable result("ENDBLK");
        addEntityFields(result);
        result.marker("AcDbBlockEnd");
        return result;
    }();
    return table;
}
