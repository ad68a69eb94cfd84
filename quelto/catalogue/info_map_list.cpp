// Building and searching the catalogue, the value-kind tests, and ReadEntity, which opens the entity
// once and hands it to the readers in their fixed order.

#include "quelto/catalogue/info_map_list.h"

#include "cad/db/curve_entities.h"
#include "cad/db/other_entities.h"
#include "cad/db/text_entities.h"
#include "platform/wide_text.h"
#include "quelto/filter/qlt_system_param.h"

CInfoMapList::CInfoMapList() {
    BuildTypeTable();
    BuildPropertyTable();
    if (CQLTSystemParam().GetHasFreedom() != 0) {
        AppendCustomTypes();
    }
}

CInfoMapList::~CInfoMapList() = default;

CString CInfoMapList::GetDisplayName(const CString& dxfName) const {
    for (const EntityName& row : m_typeTable) {
        if (row.dxfName == dxfName) {
            return row.displayName;
        }
    }
    return CString();
}

CString CInfoMapList::GetDxfName(const CString& displayName) const {
    for (const EntityName& row : m_typeTable) {
        if (row.displayName == displayName) {
            return row.dxfName;
        }
    }
    return CString();
}

EntityInfo* CInfoMapList::GetEntityInfo(const CString& name, BOOL isDxfName) {
    const CString typeName = isDxfName ? name : GetDxfName(name);
    for (EntityInfo& info : m_propertyTable) {
        if (info.typeName == typeName) {
            return &info;
        }
    }
    return nullptr;
}

EntityInfo* CInfoMapList::FindEntityInfo(const CString& dxfName, int isCustom) {
    for (EntityInfo& info : m_propertyTable) {
        if (info.isCustom == isCustom && info.typeName == dxfName) {
            return &info;
        }
    }
    return nullptr;
}

// The entity data list is asked for with the data of all applications, as the module always asks.
CString CInfoMapList::GetEntityDxfName(AcDbObjectId objectId) {
    ads_name name;
    if (acdbGetAdsName(name, objectId) != Acad::eOk) {
        return CString();
    }
    resbuf* applications = acutNewRb(RTSTR);
    applications->resval.rstring = acutNewString(L"*");
    resbuf* data = acdbEntGetX(name, applications);
    acutRelRb(applications);
    CString typeName;
    if (data != nullptr && data->rbnext != nullptr && data->rbnext->restype == 0 &&
        data->rbnext->resval.rstring != nullptr) {
        typeName = data->rbnext->resval.rstring;
    }
    acutRelRb(data);
    return typeName;
}

BOOL CInfoMapList::SplitDimensionName(const CString& dxfName, int& flags) {
    const CString prefix = L"DIMENSION";
    if (dxfName.size() <= prefix.size() || dxfName.compare(0, prefix.size(), prefix) != 0) {
        return FALSE;
    }
    for (std::size_t index = prefix.size(); index < dxfName.size(); ++index) {
        if (!platform::isAsciiDigit(dxfName[index])) {
            return FALSE;
        }
    }
    flags = _wtoi(dxfName.substr(prefix.size()));
    return TRUE;
}

BOOL CInfoMapList::IsIntegerProp(int id) {
    return (id >= 101 && id <= 199) || (id >= 1001 && id <= 1999);
}

BOOL CInfoMapList::IsRealProp(int id) {
    return (id >= 201 && id <= 299) || (id >= 2001 && id <= 2999);
}

BOOL CInfoMapList::IsTextProp(int id) {
    return (id >= 301 && id <= 399) || (id >= 3001 && id <= 3999);
}

BOOL CInfoMapList::IsEnumProp(int id) {
    return (id >= 401 && id <= 499) || (id >= 4001 && id <= 4999);
}

void CInfoMapList::ReadEntity(AcDbObjectId objectId) {
    CQLTSystemParam settings;
    const BOOL userCoordinates = settings.GetUseUserCoord();
    ReadEntity(objectId, userCoordinates, settings.GetUseRadius());
}

BOOL CInfoMapList::ToUserCoordinates(AcGePoint3d& point) {
    if (!m_worldToUser) {
        m_worldToUser.emplace();
    }
    return m_worldToUser->Convert(point);
}

// Kept inside the class so that the table may name the private readers.
const std::vector<CInfoMapList::Reader>& CInfoMapList::ReadersOf(const AcRxClass* type) {
    for (const ClassReaders& known : m_readersByClass) {
        if (known.type == type) {
            return known.readers;
        }
    }
    struct KindReader {
        Reader read;
        AcRxClass* (*type)();
    };
    static const KindReader kOrder[] = {
        {&CInfoMapList::ReadPoint, &AcDbPoint::desc},
        {&CInfoMapList::ReadText, &AcDbText::desc},
        {&CInfoMapList::ReadMText, &AcDbMText::desc},
        {&CInfoMapList::ReadArc, &AcDbArc::desc},
        {&CInfoMapList::ReadCircle, &AcDbCircle::desc},
        {&CInfoMapList::ReadLine, &AcDbLine::desc},
        {&CInfoMapList::ReadLwPolyline, &AcDbPolyline::desc},
        {&CInfoMapList::ReadInsert, &AcDbBlockReference::desc},
        {&CInfoMapList::ReadHatch, &AcDbHatch::desc},
        {&CInfoMapList::ReadEllipse, &AcDbEllipse::desc},
        {&CInfoMapList::ReadRay, &AcDbRay::desc},
        {&CInfoMapList::ReadXline, &AcDbXline::desc},
        {&CInfoMapList::ReadPolyline, &AcDb3dPolyline::desc},
        {&CInfoMapList::ReadMline, &AcDbMline::desc},
        {&CInfoMapList::ReadSpline, &AcDbSpline::desc},
        {&CInfoMapList::ReadRegion, &AcDbRegion::desc},
        {&CInfoMapList::ReadImage, &AcDbRasterImage::desc},
        {&CInfoMapList::ReadDimension, &AcDbDimension::desc},
        {&CInfoMapList::ReadShape, &AcDbShape::desc},
        {&CInfoMapList::ReadViewport, &AcDbViewport::desc},
    };
    ClassReaders& added = m_readersByClass.emplace_back();
    added.type = type;
    for (const KindReader& reader : kOrder) {
        if (type->isDerivedFrom(reader.type())) {
            added.readers.push_back(reader.read);
        }
    }
    return added.readers;
}

void CInfoMapList::ReadEntity(AcDbObjectId objectId, BOOL userCoordinates, BOOL radians) {
    currentObject = objectId;
    m_worldToUser.reset();
    useUserCoord = userCoordinates;
    useRadians = radians;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, objectId, AcDb::kForRead) != Acad::eOk) {
        return;
    }
    // The type name tells images from wipeouts, which share their host class, and names the custom
    // type; other entities are told apart by their class alone.
    const bool hasCustomTypes = !m_propertyTable.empty() && m_propertyTable.back().isCustom != 0;
    const CString typeName =
        hasCustomTypes || AcDbRasterImage::cast(entity) != nullptr ? GetEntityDxfName(objectId) : CString();
    for (const Reader read : ReadersOf(entity->isA())) {
        if (read != &CInfoMapList::ReadImage || typeName == L"IMAGE") {
            (this->*read)(*entity);
        }
    }
    entity->close();
    if (hasCustomTypes) {
        ReadCustomEntity();
    }
}
