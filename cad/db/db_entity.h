// AcDbEntity: the properties every graphical object shares (layer, colour, linetype, linetype scale,
// lineweight, visibility), stored compactly so that selection over a million entities reads them
// without decoding anything. AcDbCurve is the base of the curve kinds; AcDbGenericEntity keeps entity
// classes the database does not model, with their full group list.
#pragma once

#include "cad/db/db_object.h"
#include "cad/db/name_pool.h"
#include "cad/ge/point3d.h"
#include "platform/export.h"

#include <memory>
#include <string>
#include <vector>

class AcDbExtents;
class AcGeMatrix3d;

// The host hands exploded pieces out as new, unowned entities in an array of untyped pointers; the
// caller appends or deletes each one.
using AcDbVoidPtrArray = std::vector<void*>;

struct AcDbSequence;

class QUELTO_EXPORT AcDbEntity : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEntity)
    static constexpr std::int16_t kColorByBlock = 0;
    static constexpr std::int16_t kColorByLayer = 256;

    AcDbObjectId blockId() const { return ownerId(); }

    std::wstring layer() const { return m_layer.text(); }
    const std::wstring& layerName() const { return m_layer.text(); }
    cad::db::Name layerNameId() const { return m_layer; }
    AcDbObjectId layerId() const;
    Acad::ErrorStatus setLayer(const ACHAR* name);
    Acad::ErrorStatus setLayer(AcDbObjectId layerRecord);

    // 256 BYLAYER when the entity has no group 62, 0 BYBLOCK; the sign of a negative group 62 (an
    // entity on a layer that is off, as some writers store it) is dropped.
    Adesk::UInt16 colorIndex() const { return static_cast<Adesk::UInt16>(m_color < 0 ? -m_color : m_color); }
    Acad::ErrorStatus setColorIndex(Adesk::UInt16 color);
    // 0xRRGGBB of group 420, or -1 when the entity has only an index colour.
    Adesk::Int32 trueColor() const { return m_trueColor; }
    Acad::ErrorStatus setTrueColor(Adesk::Int32 rgb);

    // "BYLAYER" when the entity names none.
    std::wstring linetype() const {
        return m_linetype.isEmpty() ? std::wstring(L"BYLAYER") : m_linetype.text();
    }
    const std::wstring& linetypeName() const;
    AcDbObjectId linetypeId() const;
    Acad::ErrorStatus setLinetype(const ACHAR* name);
    double linetypeScale() const { return m_linetypeScale; }
    Acad::ErrorStatus setLinetypeScale(double scale);
    AcDb::LineWeight lineWeight() const { return static_cast<AcDb::LineWeight>(m_lineWeight); }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
    AcDb::Visibility visibility() const { return m_invisible != 0 ? AcDb::kInvisible : AcDb::kVisible; }
    Acad::ErrorStatus setVisibility(AcDb::Visibility visibility);
    // Group 67: the entity lies in paper space (in files that do not give owners).
    bool isInPaperSpaceFlag() const { return m_paperSpace != 0; }
    void setPaperSpaceFlag(bool paperSpace) { m_paperSpace = paperSpace ? 1 : 0; }

    // The ATTRIBs or VERTEXes owned by this entity; null for entities that own none.
    virtual AcDbSequence* sequence() { return nullptr; }
    const AcDbSequence* sequence() const { return const_cast<AcDbEntity*>(this)->sequence(); }

    static cad::db::ClassTable& addEntityFields(cad::db::ClassTable& table);
    const cad::db::ClassTable& dxfTable() const override;

    // Geometry, overridden by every modelled kind. The defaults serve unmodelled classes: extents from
    // the points among their groups, eNotApplicable for transforming and exploding.
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& transform);
    virtual Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const;
    virtual bool isPlanar() const { return false; }
    // A new entity, not in any database, equal to this one in every group, holding copies of its
    // ATTRIB or VERTEX sub-entities; null for classes that cannot be copied.
    virtual AcDbEntity* clone() const;

private:
    cad::db::Name m_layer{L"0"};
    cad::db::Name m_linetype;
    double m_linetypeScale = 1.0;
    Adesk::Int32 m_trueColor = -1;
    Adesk::Int16 m_color = kColorByLayer;
    Adesk::Int16 m_lineWeight = AcDb::kLnWtByLayer;
    Adesk::Int16 m_invisible = 0;
    Adesk::Int16 m_paperSpace = 0;
};

// ATTRIBs of an INSERT, VERTEXes of a POLYLINE: the sub-entities written after their owner and closed
// by a SEQEND. An owner that is not in a database yet holds its new sub-entities itself, as the host
// does; they join the database, with a SEQEND, when the owner does.
struct QUELTO_EXPORT AcDbSequence {
    AcDbSequence() = default;
    // Copies the ids; sub-entities held outside a database are cloned.
    AcDbSequence(const AcDbSequence& other);
    AcDbSequence& operator=(const AcDbSequence&) = delete;
    std::vector<AcDbObjectId> entities;
    AcDbObjectId sequenceEnd;
    std::vector<std::unique_ptr<AcDbEntity>> pending;
};

class QUELTO_EXPORT AcDbCurve : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCurve)
    // The host's generic curve queries. Parameters and distances follow each kind's own convention;
    // a parameter outside the curve gives eInvalidInput, a kind without the notion eNotApplicable.
    virtual Acad::ErrorStatus getStartParam(double& parameter) const;
    virtual Acad::ErrorStatus getEndParam(double& parameter) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getPointAtParam(double parameter, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getDistAtParam(double parameter, double& distance) const;
    virtual Acad::ErrorStatus getArea(double& area) const;
    // Start and end point coincide; polylines answer by their closed flag.
    virtual bool isClosed() const;
};

// The geometry members every modelled kind overrides (definitions in the *_geometry.cpp files).
#define QUELTO_ENTITY_GEOMETRY                                                                               \
    Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;                                   \
    Acad::ErrorStatus transformBy(const AcGeMatrix3d& transform) override;                                   \
    Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;                                   \
    bool isPlanar() const override;

#define QUELTO_CURVE_GEOMETRY                                                                                \
    Acad::ErrorStatus getStartParam(double& parameter) const override;                                       \
    Acad::ErrorStatus getEndParam(double& parameter) const override;                                         \
    Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const override;                                      \
    Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const override;                                        \
    Acad::ErrorStatus getPointAtParam(double parameter, AcGePoint3d& point) const override;                  \
    Acad::ErrorStatus getDistAtParam(double parameter, double& distance) const override;                     \
    Acad::ErrorStatus getArea(double& area) const override;

// An entity of a class without a typed model (3DFACE, SOLID, LEADER, proxies, custom entities). Its
// common properties are read like any entity's; everything else stays as read.
class QUELTO_EXPORT AcDbGenericEntity : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbGenericEntity)
    explicit AcDbGenericEntity(std::string dxfName) : m_dxfName(std::move(dxfName)) {}
    const std::string& dxfName() const override { return m_dxfName; }
    AcDbSequence* sequence() override { return m_dxfName == "POLYLINE" ? &m_sequence : nullptr; }

private:
    std::string m_dxfName;
    AcDbSequence m_sequence;
};

// SEQEND: closes the ATTRIBs of an INSERT or the VERTEXes of a POLYLINE.
class QUELTO_EXPORT AcDbSequenceEnd : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbSequenceEnd)
};

// BLOCK and ENDBLK: the entities that open and close a block definition in the BLOCKS section.
class QUELTO_EXPORT AcDbBlockBegin : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbBlockBegin)
    const std::wstring& name() const { return m_name; }
    void setName(std::wstring name) {
        m_secondName = name;
        m_name = std::move(name);
    }
    Adesk::Int16 flags() const { return m_flags; }
    void setFlags(Adesk::Int16 flags) { m_flags = flags; }
    AcGePoint3d origin() const { return m_origin; }
    const std::wstring& pathName() const { return m_pathName; }

private:
    std::wstring m_name;
    std::wstring m_secondName;
    std::wstring m_pathName;
    std::wstring m_description;
    Adesk::Int16 m_flags = 0;
    AcGePoint3d m_origin;
};

class QUELTO_EXPORT AcDbBlockEnd : public AcDbEntity {
public:
    QUELTO_DXF_CLASS(AcDbBlockEnd)
};
