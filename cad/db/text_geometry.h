// TEXT and MTEXT described to the text metric model: the layout the kernel measures and the corners of
// the resulting box, which transforms of the whole text (block contents, mirroring) carry along.
#pragma once

#include "cad/db/text_entities.h"
#include "cad/ge/text_metrics.h"
#include "platform/export.h"

#include <array>
#include <optional>

namespace cad::db {

// The style decides whether the box carries the TrueType width-factor quirk (see text_metrics.h).
QUELTO_EXPORT ge::TextLayout textLayout(const AcDbText& text);
QUELTO_EXPORT ge::TextWidthFactor textWidthFactorMode(const AcDbText& text);
QUELTO_EXPORT ge::MTextLayout mtextLayout(const AcDbMText& text);
// Start-bottom, end-bottom, end-top, start-top in world coordinates; nothing for an empty text.
QUELTO_EXPORT std::optional<std::array<AcGePoint3d, 4>> textCorners(const AcDbText& text);
// Bottom-left, bottom-right, top-right, top-left of the MTEXT box; nothing for empty contents.
QUELTO_EXPORT std::optional<std::array<AcGePoint3d, 4>> mtextCorners(const AcDbMText& text);

} // namespace cad::db
