// The formatting codes of MTEXT contents, read the way the text is displayed: what the entity's
// extents, wrapping and exploded text are computed from. The geometry layer measures lines; which
// characters a line shows is decided here, beside the entity that stores the contents.
#pragma once

#include "platform/export.h"

#include <string>
#include <vector>

namespace cad::db {

// The displayed lines of MTEXT contents: paragraph and column breaks start lines, formatting codes are
// dropped (font, height, colour, width, tracking and alignment changes do not enter the metric model),
// stacked fractions read as "top/bottom", \U+XXXX becomes its character. Always at least one line.
QUELTO_EXPORT std::vector<std::wstring> mtextLines(const std::wstring& contents);

} // namespace cad::db
