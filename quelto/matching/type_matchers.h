// The type matchers of the engine: one per built-in DXF type name, each opening the entity as its own
// host class, reading the values of its type's property ids and running the rows over them. The helpers
// here are what every matcher shares: point and angle conventions, the engine's line angle, names of
// referenced records, and the yes/no and other enumeration translations.
#pragma once

#include "cad/app/host_api.h"
#include "cad/db/curve_entities.h"
#include "cad/db/dictionary.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"
#include "platform/export.h"
#include "quelto/matching/row_logic.h"

namespace quelto::matching {

struct MatchContext {
    const RowLogic& rows;
    bool userCoordinates;
    bool radians;

    // World point to the current user system when the engine works in user coordinates.
    AcGePoint3d point(const AcGePoint3d& world) const;
    // Host radians to degrees unless the engine works in radians.
    double angle(double hostAngle) const;
};

using TypeMatcher = int (*)(const MatchContext& context, AcDbObjectId id);

// The built-in matcher for a DXF type name, null for any other name (a custom type).
QUELTO_EXPORT TypeMatcher findTypeMatcher(const CString& typeName);

// The engine's direction angle from one point to another, in [0, 2π): acos(dx / length), negated when
// the end is not above the start, then made positive; 0 for points that coincide within the host's
// default tolerance.
QUELTO_EXPORT double engineLineAngle(const AcGePoint3d& from, const AcGePoint3d& to);

// Opens the entity as `Entity` for read, runs `body(entity)` and closes it; 0 when it will not open.
template <class Entity, class Body>
int matchAs(AcDbObjectId id, Body&& body) {
    Entity* entity = nullptr;
    if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk || entity == nullptr) {
        return 0;
    }
    const int result = body(static_cast<const Entity&>(*entity));
    entity->close();
    return result;
}

// The usual matcher: opens the entity as `Entity` and runs the rows, each asking
// `valueOf(entity, propertyId)` for the entity's value.
template <class Entity, class ValueOf>
int evaluateAs(const MatchContext& context, AcDbObjectId id, ValueOf&& valueOf) {
    return matchAs<Entity>(id, [&](const Entity& entity) {
        return context.rows.evaluate([&](const PropertyRow& row) { return valueOf(entity, row.propertyId); });
    });
}

// The name of a symbol table record (or of a multiline style); empty when it cannot be opened.
template <class Record>
CString recordName(AcDbObjectId id) {
    Record* record = nullptr;
    if (id.isNull() || acdbOpenObject(record, id, AcDb::kForRead) != Acad::eOk || record == nullptr) {
        return CString();
    }
    CString name = record->name();
    record->close();
    return name;
}

// Point components 0, 1, 2 of a run of three ids starting at `firstId`.
inline bool pointComponent(int propertyId, int firstId, const AcGePoint3d& point, RowValue& value) {
    if (propertyId < firstId || propertyId > firstId + 2) {
        return false;
    }
    const double components[3] = {point.x, point.y, point.z};
    value = RowValue::real(components[propertyId - firstId]);
    return true;
}

int matchLine(const MatchContext& context, AcDbObjectId id);
int matchRay(const MatchContext& context, AcDbObjectId id);
int matchXline(const MatchContext& context, AcDbObjectId id);
int matchCircle(const MatchContext& context, AcDbObjectId id);
int matchArc(const MatchContext& context, AcDbObjectId id);
int matchEllipse(const MatchContext& context, AcDbObjectId id);
int matchLightweightPolyline(const MatchContext& context, AcDbObjectId id);
int matchPolyline3d(const MatchContext& context, AcDbObjectId id);
int matchSpline(const MatchContext& context, AcDbObjectId id);
int matchText(const MatchContext& context, AcDbObjectId id);
int matchMText(const MatchContext& context, AcDbObjectId id);
int matchShape(const MatchContext& context, AcDbObjectId id);
int matchBlockReference(const MatchContext& context, AcDbObjectId id);
int matchHatch(const MatchContext& context, AcDbObjectId id);
int matchPoint(const MatchContext& context, AcDbObjectId id);
int matchMline(const MatchContext& context, AcDbObjectId id);
int matchRegion(const MatchContext& context, AcDbObjectId id);
int matchDimension(const MatchContext& context, AcDbObjectId id);
int matchRasterImage(const MatchContext& context, AcDbObjectId id);
int matchViewport(const MatchContext& context, AcDbObjectId id);

} // namespace quelto::matching
