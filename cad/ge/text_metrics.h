// The metric model behind the extents of single-line text (TEXT) and multiline text (MTEXT). We have no
// font files, so every font is measured by one documented model, in units of the text height h:
//   - capital letters and digits reach exactly h above the baseline (cap height = text height);
//   - every character advances 2/3 h, except full-width characters (CJK ideographs, kana, hangul, full-width
//     forms), which advance h; both are multiplied by the width factor;
//   - when the text holds a letter with a descender (g j p q y , ;) the box reaches h/3 below the baseline,
//     and the "bottom" alignment line always sits there;
//   - the box is the advance box: from the start of the first character to the end of the last.
// Oblique angles shear the box about the baseline; mirroring (backward, upside down) flips it about the
// defining point; rotation turns it about the normal.
// TrueType width factor: the host is known to report TrueType text extents with the width factor applied
// once more along the baseline (the box stretched by the factor from the corner where the text starts), and
// callers correct for it by dividing that stretch out. TextWidthFactor::AppliedTwice reproduces the host's
// report, so such a caller gets the true box back; TextWidthFactor::AppliedOnce gives the true box directly.
#pragma once

#include "cad/ge/extents_result.h"
#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <array>
#include <string>
#include <vector>

namespace cad::ge {

inline constexpr double kNarrowAdvance = 2.0 / 3.0;
inline constexpr double kFullWidthAdvance = 1.0;
inline constexpr double kDescent = 1.0 / 3.0;
// Distance between baselines of multiline text at line spacing factor 1, in text heights.
inline constexpr double kLineSpacing = 5.0 / 3.0;

enum class TextWidthFactor { AppliedOnce, AppliedTwice };

// DXF group 72 and 73 values of single-line text.
enum class TextHorizontalMode { Left = 0, Center = 1, Right = 2, Aligned = 3, Middle = 4, Fit = 5 };
enum class TextVerticalMode { Baseline = 0, Bottom = 1, Middle = 2, Top = 3 };

struct TextLayout {
    std::wstring text; // already decoded: no %% control codes
    double height = 1.0;
    double widthFactor = 1.0;
    double oblique = 0.0;  // radians, measured from the vertical
    double rotation = 0.0; // radians, about the normal from the object X axis
    TextHorizontalMode horizontal = TextHorizontalMode::Left;
    TextVerticalMode vertical = TextVerticalMode::Baseline;
    AcGePoint3d position;       // world; the insertion point, used for left/baseline and as first point
    AcGePoint3d alignmentPoint; // world; the defining point of every other justification
    AcGeVector3d normal{0.0, 0.0, 1.0};
    bool mirroredInX = false; // backward (DXF 71 bit 2)
    bool mirroredInY = false; // upside down (DXF 71 bit 4)
    bool trueTypeFont = false;
};

QUELTO_EXPORT bool isFullWidth(wchar_t character);
// Sum of the advances of the characters for height 1 and width factor 1.
QUELTO_EXPORT double advanceWidth(const std::wstring& text);
QUELTO_EXPORT bool hasDescender(const std::wstring& text);
// The four corners of the text's box in world coordinates (start-bottom, end-bottom, end-top, start-top).
QUELTO_EXPORT std::array<AcGePoint3d, 4> textBoxCorners(const TextLayout& layout, TextWidthFactor mode);
// Empty for a text without characters.
QUELTO_EXPORT ExtentsResult textExtents(const TextLayout& layout, TextWidthFactor mode);
// Replaces %%d, %%p, %%c, %%%, %%nnn and drops the %%o / %%u toggles, as single-line text displays them.
QUELTO_EXPORT std::wstring decodeTextControlCodes(const std::wstring& text);

// MTEXT attachment point (DXF 71): 1-3 top left/centre/right, 4-6 middle, 7-9 bottom.
struct MTextLayout {
    std::vector<std::wstring> lines{std::wstring()}; // displayed lines, formatting codes removed
    double textHeight = 1.0;
    double referenceWidth = 0.0; // DXF 41; 0 means lines never wrap
    int attachment = 1;
    double rotation = 0.0;
    AcGeVector3d direction; // world X direction of the text (DXF 11); zero: use rotation about the normal
    AcGePoint3d location;   // world
    AcGeVector3d normal{0.0, 0.0, 1.0};
    double lineSpacingFactor = 1.0;
    double widthFactor = 1.0;
};

// The lines after wrapping at the reference width (at spaces, or between full-width characters).
QUELTO_EXPORT std::vector<std::wstring> wrappedMTextLines(const MTextLayout& layout);
QUELTO_EXPORT double mtextActualWidth(const MTextLayout& layout);
// Cap height of the first line plus one line spacing per further line.
QUELTO_EXPORT double mtextActualHeight(const MTextLayout& layout);
QUELTO_EXPORT ExtentsResult mtextExtents(const MTextLayout& layout);

} // namespace cad::ge
