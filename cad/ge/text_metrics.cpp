// The text metric model: advances, descenders, justification, oblique, mirroring and rotation of TEXT,
// and line wrapping and sizing of MTEXT. The constants and their meaning are listed in the header.
#include "cad/ge/text_metrics.h"

#include "cad/ge/ocs.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

namespace cad::ge {

namespace {

struct Frame {
    AcGePoint3d origin;
    AcGeVector3d xAxis;
    AcGeVector3d yAxis;
};

Frame textFrame(const AcGePoint3d& origin, const AcGeVector3d& normal, double rotation) {
    const OcsAxes axes = ocsAxes(normal);
    const AcGeVector3d xAxis = axes.xAxis * std::cos(rotation) + axes.yAxis * std::sin(rotation);
    return {origin, xAxis, axes.zAxis.crossProduct(xAxis)};
}

} // namespace

bool isFullWidth(wchar_t character) {
    const auto code = static_cast<unsigned long>(character);
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0x303E) ||
           (code >= 0x3041 && code <= 0x33FF) || (code >= 0x3400 && code <= 0x4DBF) ||
           (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xA000 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x20000 && code <= 0x3FFFD);
}

double advanceWidth(const std::wstring& text) {
    double width = 0.0;
    for (wchar_t character : text) {
        width += isFullWidth(character) ? kFullWidthAdvance : kNarrowAdvance;
    }
    return width;
}

bool hasDescender(const std::wstring& text) {
    return text.find_first_of(L"gjpqy,;") != std::wstring::npos;
}

std::array<AcGePoint3d, 4> textBoxCorners(const TextLayout& layout, TextWidthFactor mode) {
    const double unitWidth = advanceWidth(layout.text);
    double height = layout.height;
    double widthFactor = layout.widthFactor;
    Frame frame = textFrame(layout.position, layout.normal, layout.rotation);
    double anchorX = 0.0;
    double anchorY = 0.0;
    const bool stretched =
        layout.horizontal == TextHorizontalMode::Aligned || layout.horizontal == TextHorizontalMode::Fit;
    const AcGeVector3d zAxis = ocsAxes(layout.normal).zAxis;
    const AcGeVector3d baseline = layout.alignmentPoint - layout.position;
    const AcGeVector3d inPlane = baseline - zAxis * baseline.dotProduct(zAxis);
    if (stretched && !inPlane.isZeroLength() && unitWidth > 0.0) {
        // The text fills the baseline from the first to the second point: aligned text scales its height
        // with it, fitted text only its width.
        const double span = inPlane.length();
        frame.xAxis = inPlane / span;
        frame.yAxis = zAxis.crossProduct(frame.xAxis);
        if (layout.horizontal == TextHorizontalMode::Aligned) {
            height = span / (unitWidth * widthFactor);
        } else {
            widthFactor = span / (unitWidth * height);
        }
    } else if (layout.horizontal != TextHorizontalMode::Left ||
               layout.vertical != TextVerticalMode::Baseline) {
        frame.origin = layout.alignmentPoint;
        const double width = unitWidth * height * widthFactor;
        switch (layout.horizontal) {
        case TextHorizontalMode::Center:
        case TextHorizontalMode::Middle:
            anchorX = 0.5 * width;
            break;
        case TextHorizontalMode::Right:
            anchorX = width;
            break;
        default:
            break;
        }
        switch (layout.vertical) {
        case TextVerticalMode::Bottom:
            anchorY = -kDescent * height;
            break;
        case TextVerticalMode::Middle:
            anchorY = 0.5 * height;
            break;
        case TextVerticalMode::Top:
            anchorY = height;
            break;
        case TextVerticalMode::Baseline:
            anchorY = layout.horizontal == TextHorizontalMode::Middle ? 0.5 * height : 0.0;
            break;
        }
    }
    double width = unitWidth * height * widthFactor;
    if (mode == TextWidthFactor::AppliedTwice && layout.trueTypeFont) {
        width *= widthFactor;
    }
    const double bottom = hasDescender(layout.text) ? -kDescent * height : 0.0;
    const double shear = std::tan(layout.oblique);
    const double glyphCorners[4][2] = {{0.0, bottom}, {width, bottom}, {width, height}, {0.0, height}};
    std::array<AcGePoint3d, 4> corners;
    for (size_t index = 0; index < 4; ++index) {
        const double y = glyphCorners[index][1];
        double localX = glyphCorners[index][0] + y * shear - anchorX;
        double localY = y - anchorY;
        if (layout.mirroredInX) {
            localX = -localX;
        }
        if (layout.mirroredInY) {
            localY = -localY;
        }
        corners[index] = frame.origin + frame.xAxis * localX + frame.yAxis * localY;
    }
    return corners;
}

ExtentsResult textExtents(const TextLayout& layout, TextWidthFactor mode) {
    if (layout.text.empty()) {
        return ExtentsResult::empty();
    }
    AcDbExtents box;
    for (const AcGePoint3d& corner : textBoxCorners(layout, mode)) {
        box.addPoint(corner);
    }
    return ExtentsResult::finite(box);
}

std::wstring decodeTextControlCodes(const std::wstring& text) {
    std::wstring decoded;
    for (size_t index = 0; index < text.size(); ++index) {
        if (text[index] != L'%' || index + 2 >= text.size() || text[index + 1] != L'%') {
            decoded += text[index];
            continue;
        }
        const wchar_t code = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[index + 2])));
        if (code == L'd') {
            decoded += L'\u00B0';
        } else if (code == L'p') {
            decoded += L'\u00B1';
        } else if (code == L'c') {
            decoded += L'\u2300';
        } else if (code == L'%') {
            decoded += L'%';
        } else if (code >= L'0' && code <= L'9') {
            size_t end = index + 2;
            int value = 0;
            while (end < text.size() && end < index + 5 && text[end] >= L'0' && text[end] <= L'9') {
                value = value * 10 + (text[end] - L'0');
                ++end;
            }
            decoded += static_cast<wchar_t>(value);
            index = end - 1;
            continue;
        } else if (code != L'o' && code != L'u') {
            decoded += text.substr(index, 3);
        }
        index += 2;
    }
    return decoded;
}

std::vector<std::wstring> wrappedMTextLines(const MTextLayout& layout) {
    const std::vector<std::wstring>& lines = layout.lines;
    const double scale = layout.textHeight * layout.widthFactor;
    if (layout.referenceWidth <= 0.0 || scale <= 0.0) {
        return lines;
    }
    const double limit = layout.referenceWidth / scale;
    std::vector<std::wstring> wrapped;
    for (const std::wstring& line : lines) {
        std::wstring current;
        size_t lastBreak = std::wstring::npos;
        for (wchar_t character : line) {
            if (isFullWidth(character) && !current.empty()) {
                lastBreak = current.size();
            }
            current += character;
            if (character == L' ') {
                lastBreak = current.size();
            }
            if (advanceWidth(current) > limit + 1e-12 && lastBreak != std::wstring::npos && lastBreak > 0 &&
                lastBreak < current.size()) {
                std::wstring head = current.substr(0, lastBreak);
                while (!head.empty() && head.back() == L' ') {
                    head.pop_back();
                }
                wrapped.push_back(head);
                current.erase(0, lastBreak);
                lastBreak = std::wstring::npos;
            }
        }
        wrapped.push_back(current);
    }
    return wrapped;
}

double mtextActualWidth(const MTextLayout& layout) {
    double widest = 0.0;
    for (const std::wstring& line : wrappedMTextLines(layout)) {
        widest = std::max(widest, advanceWidth(line));
    }
    return widest * layout.textHeight * layout.widthFactor;
}

double mtextActualHeight(const MTextLayout& layout) {
    const size_t lines = wrappedMTextLines(layout).size();
    return layout.textHeight *
           (1.0 + kLineSpacing * layout.lineSpacingFactor * static_cast<double>(lines - 1));
}

ExtentsResult mtextExtents(const MTextLayout& layout) {
    const double width = mtextActualWidth(layout);
    const double height = mtextActualHeight(layout);
    if (width <= 0.0) {
        return ExtentsResult::empty();
    }
    Frame frame = textFrame(layout.location, layout.normal, layout.rotation);
    if (!layout.direction.isZeroLength()) {
        const AcGeVector3d zAxis = ocsAxes(layout.normal).zAxis;
        const AcGeVector3d inPlane = layout.direction - zAxis * layout.direction.dotProduct(zAxis);
        if (!inPlane.isZeroLength()) {
            frame.xAxis = inPlane.normal();
            frame.yAxis = zAxis.crossProduct(frame.xAxis);
        }
    }
    const int attachment = std::clamp(layout.attachment, 1, 9);
    const int column = (attachment - 1) % 3;
    const int row = (attachment - 1) / 3;
    const double left = -0.5 * width * column;
    const double top = height * (0.5 * row);
    AcDbExtents box;
    for (const double x : {left, left + width}) {
        for (const double y : {top - height, top}) {
            box.addPoint(frame.origin + frame.xAxis * x + frame.yAxis * y);
        }
    }
    return ExtentsResult::finite(box);
}

} // namespace cad::ge
