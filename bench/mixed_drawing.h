// The generated drawing the benchmarks share: `count` mixed entities in model space (lines, circles,
// arcs, single-line texts and four-vertex polylines in a 1000-wide grid, on five layers, a third of them
// coloured), so that load, selection and property-reading figures are measured on the same drawing.
#pragma once

#include "cad/db/curve_entities.h"
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/symbol_tables.h"
#include "cad/db/text_entities.h"

namespace benchdrawing {

inline void appendMixedEntities(AcDbDatabase& database, int count) {
    AcDbBlockTableRecord* model = nullptr;
    cad::db::openObjectAs(model, database.modelSpaceId(), AcDb::kForWrite);
    const wchar_t* layers[] = {L"0", L"WALLS", L"DOORS", L"TEXT", L"DIMENSIONS"};
    for (int index = 0; index < count; ++index) {
        const double x = index % 1000;
        const double y = index / 1000;
        AcDbEntity* entity = nullptr;
        switch (index % 6) {
        case 0:
        case 1:
            entity = new AcDbLine(AcGePoint3d(x, y, 0), AcGePoint3d(x + 0.5, y + 0.25, 0));
            break;
        case 2:
            entity = new AcDbCircle(AcGePoint3d(x, y, 0), AcGeVector3d::kZAxis, 0.3);
            break;
        case 3:
            entity = new AcDbArc(AcGePoint3d(x, y, 0), 0.4, 0.0, 1.5);
            break;
        case 4: {
            auto* text = new AcDbText();
            text->setPosition(AcGePoint3d(x, y, 0));
            text->setHeight(0.2);
            text->setTextString(L"Room 101");
            entity = text;
            break;
        }
        default: {
            auto* polyline = new AcDbPolyline();
            for (unsigned int vertex = 0; vertex < 4; ++vertex) {
                polyline->addVertexAt(vertex, AcGePoint2d(x + vertex * 0.1, y + (vertex % 2) * 0.1));
            }
            entity = polyline;
        }
        }
        entity->setLayer(layers[index % 5]);
        if (index % 3 == 0) {
            entity->setColorIndex(static_cast<Adesk::UInt16>(1 + index % 7));
        }
        AcDbObjectId id;
        model->appendAcDbEntity(id, entity);
        entity->close();
    }
    model->close();
}

} // namespace benchdrawing
