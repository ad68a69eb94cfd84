// CXYZBaseDraw: the helpers over the host's working drawing that the selection, the dialogs and the
// edits share: the names of the layouts, the current space, the layout that owns a block or an entity,
// and the typeface of a text style.
#pragma once

#include "cad/app/host_api.h"
#include "platform/mfc_types.h"
#include "quelto/actions/xyz_base_object.h"

class CXYZBaseDraw : public CXYZBaseObject {
public:
    CXYZBaseDraw() = default;
    ~CXYZBaseDraw() override;

    // Appends the key of every entry of the drawing's layout dictionary, in dictionary order, after
    // emptying `names` when `clear` is set. Returns the size of `names`, or 0 when the dictionary
    // cannot be opened.
    static int GetLayoutNames(AcDbDatabase* database, CStringArray& names, BOOL clear);
    // The block record of the working drawing's current space; null without a working drawing.
    static AcDbObjectId GetCurrentSpace();
    // The name of the layout that owns a block ("Model" for model space). With `byBlock` set, `id` is
    // the block table record; otherwise it is an entity and its owner block is taken. Empty when an
    // object cannot be opened or the block has no layout (a block definition).
    static CString GetLayoutName(AcDbObjectId id, BOOL byBlock);
    // The length of the TrueType typeface name of a text style; 0 when the style cannot be opened or
    // uses a shape font.
    static int GetTypefaceLength(AcDbObjectId textStyleId);
};
