// PropertyWriter: writes one entity's values into the value texts of its type's property list, one
// position after the other, with the catalogue's conversions: points into the user system when asked,
// angles into degrees unless radians are asked for, numbers by the number-to-text rule.
#pragma once

#include "cad/ge/point3d.h"
#include "quelto/actions/qlt_command.h"
#include "quelto/actions/xyz_base_object.h"
#include "quelto/catalogue/info_map_list.h"

class PropertyWriter {
public:
    PropertyWriter(EntityInfo& info, CInfoMapList& catalogue)
        : m_info(info), m_catalogue(catalogue), m_radians(catalogue.useRadians) {}

    void real(double value) {
        if (m_position < m_info.props.size()) {
            CXYZBaseObject::FormatRealInto(value, m_info.props[m_position].value);
        }
        ++m_position;
    }
    void integer(int value) { text(CXYZBaseObject::FormatInteger(value)); }
    void text(const CString& value) {
        if (m_position < m_info.props.size()) {
            m_info.props[m_position].value.assign(value);
        }
        ++m_position;
    }
    void yesNo(bool value) { text(value ? L"是" : L"否"); }
    // Radians, written in degrees unless radians are asked for.
    void angle(double radians) { real(m_radians ? radians : QLTCommand::RadianToDegree(radians)); }
    // X, Y and Z of a world point, in the user system when asked for.
    void point(AcGePoint3d world) { worldPoint(userPoint(world)); }
    void worldPoint(const AcGePoint3d& value) {
        real(value.x);
        real(value.y);
        real(value.z);
    }
    void vector(const AcGeVector3d& value) { worldPoint(AcGePoint3d(value.x, value.y, value.z)); }
    // Leaves the position as the previous read of the type left it.
    void keep() { ++m_position; }

    AcGePoint3d userPoint(AcGePoint3d world) const {
        if (m_catalogue.useUserCoord) {
            m_catalogue.ToUserCoordinates(world);
        }
        return world;
    }
    BOOL radians() const { return m_radians; }

private:
    EntityInfo& m_info;
    CInfoMapList& m_catalogue;
    BOOL m_radians;
    std::size_t m_position = 0;
};

// The entity as the reader's host class, with `info` set to the kind's list; null (nothing to read)
// when the entity is of another class or the catalogue has no list of the kind.
template <class T>
const T* ReaderTarget(CInfoMapList& catalogue, const AcDbEntity& entity, const wchar_t* dxfName,
                      EntityInfo*& info) {
    const T* typed = T::cast(&entity);
    info = typed != nullptr ? catalogue.FindEntityInfo(dxfName, 0) : nullptr;
    return info != nullptr ? typed : nullptr;
}

// The name of a symbol table record or other named object; false when it cannot be opened as `T`.
template <class T>
bool RecordName(AcDbObjectId id, CString& name) {
    T* record = nullptr;
    if (acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk) {
        return false;
    }
    name = record->name();
    record->close();
    return true;
}
