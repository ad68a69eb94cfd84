// Helpers the entity geometry files share: turning a kernel extents answer into the host's status,
// the extents of any entity under an extra transform (what block references and dimensions need for
// their contents), block transforms, copying entities and reading the MIRRTEXT header variable.
#pragma once

#include "cad/db/database.h"
#include "cad/db/db_entity.h"
#include "cad/ge/extents_result.h"
#include "cad/ge/matrix3d.h"
#include "platform/export.h"

#include <array>

namespace cad::db {

// eOk with the box, or eInvalidExtents for unbounded and empty shapes (the host's answer for both).
Acad::ErrorStatus reportExtents(const ge::ExtentsResult& result, AcDbExtents& extents);

// The world box of `entity` after `transform` (identity when null), without changing the entity.
// Exact for the kinds whose shape maps onto the same kind (lines, circles into ellipses, bulged
// polylines, splines, text boxes); block contents are walked to `depth` levels of nesting.
QUELTO_EXPORT ge::ExtentsResult transformedExtents(const AcDbEntity& entity, const AcGeMatrix3d* transform,
                                                   int depth = 0);

// The world box of the entities of a block record after `transform`; attribute definitions are left
// out, as block references do not show them.
ge::ExtentsResult blockExtents(const AcDbDatabase& database, AcDbObjectId block,
                               const AcGeMatrix3d& transform, int depth);

// The block record of that name: through the block table, or, in R12 drawings read without one, among
// the drawing's block records (names compared without case, as the host does).
AcDbObjectId findBlockRecord(const AcDbDatabase& database, AcDbObjectId fromTable, const std::wstring& name);

// Nesting deeper than this is a cycle in a damaged drawing, not a design.
inline constexpr int kMaxBlockNesting = 32;

// The uniform factor of a transform that keeps shapes similar (the length of the image of a unit
// vector); 0 for transforms that distort.
double similarityScale(const AcGeMatrix3d& transform);

// Copies `entity` through its DXF groups into a new entity of the same class, not in a database.
AcDbEntity* copyThroughGroups(const AcDbEntity& entity);

// MIRRTEXT of the entity's drawing: 0 (the default) keeps mirrored text readable.
bool mirrorTextEnabled(const AcDbEntity& entity);

inline constexpr double kFullTurn = 6.283185307179586;
// An angle brought into [0, 2*pi).
double normalizedAngle(double angle);

// Deletes every entity of a partly filled explode result (on failure, nothing is handed out).
void deletePieces(AcDbVoidPtrArray& pieces, std::size_t from);

} // namespace cad::db
