// Values MTEXT reports that are measured rather than stored: its actual width and height.
// They come from the text metric model of text_metrics.h (every character advances 2/3 of the text
// height times the width factor, full-width characters a whole height; the height is the cap height of
// the first line plus one line spacing of 5/3 text heights times the spacing factor per further line,
// after wrapping at the reference width). The values a file stored (DXF 42 and 43) are kept only for
// writing the file back: another program's font measured them, so they disagree with our extents.
#include "cad/db/text_entities.h"
#include "cad/db/text_geometry.h"
#include "cad/ge/text_metrics.h"

double AcDbMText::actualWidth() const {
    return cad::ge::mtextActualWidth(cad::db::mtextLayout(*this));
}

// Contents that show no character measure nothing, as their extents are empty too.
double AcDbMText::actualHeight() const {
    const cad::ge::MTextLayout layout = cad::db::mtextLayout(*this);
    return cad::ge::mtextActualWidth(layout) > 0.0 ? cad::ge::mtextActualHeight(layout) : 0.0;
}
