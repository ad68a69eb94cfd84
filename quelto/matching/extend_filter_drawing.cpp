// Interim bodies over the host calls, until the shared drawing helpers take their place.
#include "quelto/matching/extend_filter_drawing.h"

#include "cad/app/layouts.h"
#include "platform/wide_text.h"

namespace quelto::matching {

CString layoutNameOfBlock(AcDbObjectId block) {
    const AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    return database != nullptr ? cad::app::layoutNameOfSpace(*database, block) : CString();
}

CString currentLayoutName() {
    const cad::ed::EditorState* editor = cad::ed::currentEditor();
    return editor != nullptr ? layoutNameOfBlock(cad::ed::currentSpaceOf(*editor)) : CString();
}

CString numberText(double value) {
    CString text = platform::formatWide(L"%.7f", value);
    while (!text.empty() && text.back() == L'0') {
        text.pop_back();
    }
    if (!text.empty() && text.back() == L'.') {
        text.pop_back();
    }
    return text;
}

bool visualExtents(AcDbObjectId id, AcDbExtents& extents) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
        return false;
    }
    entity->getGeomExtents(extents);
    entity->close();
    return true;
}

} // namespace quelto::matching
