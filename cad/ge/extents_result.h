// The answer of an extents computation: a finite box, or the statement that there is none.
// Rays and construction lines run to infinity and empty shapes (a polyline without vertices, a text
// without characters) have nothing to measure; callers turn both into the host's eInvalidExtents.
#pragma once

#include "cad/ge/extents.h"

namespace cad::ge {

enum class ExtentsKind { Finite, Unbounded, Empty };

struct ExtentsResult {
    ExtentsKind kind = ExtentsKind::Empty;
    AcDbExtents box;

    bool isFinite() const { return kind == ExtentsKind::Finite; }
    static ExtentsResult finite(const AcDbExtents& extents) { return {ExtentsKind::Finite, extents}; }
    static ExtentsResult unbounded() { return {ExtentsKind::Unbounded, AcDbExtents()}; }
    static ExtentsResult empty() { return {ExtentsKind::Empty, AcDbExtents()}; }
};

} // namespace cad::ge
