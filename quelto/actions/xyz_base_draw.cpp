// Layout names, the current space and text-style typefaces, read through the host's interface: every
// object is opened for read and closed again before the helper returns.

#include "quelto/actions/xyz_base_draw.h"

CXYZBaseDraw::~CXYZBaseDraw() = default;

int CXYZBaseDraw::GetLayoutNames(AcDbDatabase* database, CStringArray& names, BOOL clear) {
    if (clear) {
        names.clear();
    }
    AcDbDictionary* layouts = nullptr;
    if (database == nullptr || database->getLayoutDictionary(layouts, AcDb::kForRead) != Acad::eOk) {
        return 0;
    }
    for (const AcDbDictionaryEntry& entry : layouts->entries()) {
        names.push_back(entry.name);
    }
    layouts->close();
    return static_cast<int>(names.size());
}

AcDbObjectId CXYZBaseDraw::GetCurrentSpace() {
    const AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
    return database != nullptr ? database->currentSpaceId() : AcDbObjectId();
}

CString CXYZBaseDraw::GetLayoutName(AcDbObjectId id, BOOL byBlock) {
    AcDbObjectId blockId = id;
    if (!byBlock) {
        AcDbEntity* entity = nullptr;
        if (acdbOpenObject(entity, id, AcDb::kForRead) != Acad::eOk) {
            return CString();
        }
        blockId = entity->blockId();
        entity->close();
    }
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, blockId, AcDb::kForRead) != Acad::eOk) {
        return CString();
    }
    const AcDbObjectId layoutId = block->getLayoutId();
    block->close();
    AcDbLayout* layout = nullptr;
    if (acdbOpenObject(layout, layoutId, AcDb::kForRead) != Acad::eOk) {
        return CString();
    }
    const ACHAR* name = nullptr;
    layout->getLayoutName(name);
    CString result = name != nullptr ? CString(name) : CString();
    layout->close();
    return result;
}

int CXYZBaseDraw::GetTypefaceLength(AcDbObjectId textStyleId) {
    AcDbTextStyleTableRecord* style = nullptr;
    if (acdbOpenObject(style, textStyleId, AcDb::kForRead) != Acad::eOk) {
        return 0;
    }
    ACHAR* typeface = nullptr;
    Adesk::Boolean bold = false;
    Adesk::Boolean italic = false;
    int charset = 0;
    int pitchAndFamily = 0;
    const Acad::ErrorStatus status = style->font(typeface, bold, italic, charset, pitchAndFamily);
    style->close();
    int length = 0;
    if (status == Acad::eOk && typeface != nullptr) {
        length = static_cast<int>(std::char_traits<ACHAR>::length(typeface));
    }
    acutDelString(typeface);
    return length;
}
