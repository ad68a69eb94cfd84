// Area, perimeter and extents of planar REGIONs read from their ACIS text data.
// What is read: SAT text of any version R2000-R2010 drawings write (records with or without the integer
// tag ACIS 7.0 added after the attribute pointer), faces on plane-surface, edges on straight-curve and
// ellipse-curve (circles are ellipses of ratio 1). Fields are found by their role rather than their
// position where versions differ: the last pointer before an edge's sense word is its curve, preceded by
// its coedge and its two vertices; the geometry numbers follow the last pointer of a geometry record.
// Area comes from Green's theorem on every coedge in the direction its loop runs, taken per face so that
// holes (loops running the other way) subtract; the perimeter is the sum of the lengths of all edges.
// Binary data (SAB, which R2013 and later keep in their ACDSDATA section) is not read.
#include "cad/db/region_geometry.h"

#include "cad/db/curve_geometry.h"
#include "cad/db/database.h"
#include "cad/db/other_entities.h"
#include "cad/db/shared_geometry.h"
#include "cad/ge/ellipse_arc.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>

namespace {

struct Record {
    std::string type;
    std::vector<std::string> tokens; // after the type, up to (without) the closing "#"
};

struct Failure {
    Acad::ErrorStatus status;
    std::string why;
};

bool isPointer(const std::string& token) {
    return token.size() > 1 && token[0] == '$';
}

bool parseNumber(const std::string& token, double& value) {
    if (token.empty()) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return end == token.c_str() + token.size();
}

// Splits SAT text into tokens: "@n text" is one string token of n characters, "#" closes a record.
std::vector<std::string> tokenize(const std::string& text) {
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) {
            ++end;
        }
        std::string token = text.substr(at, end - at);
        at = end;
        if (token.size() > 1 && token[0] == '@' && std::isdigit(static_cast<unsigned char>(token[1]))) {
            const std::size_t length = std::strtoul(token.c_str() + 1, nullptr, 10);
            const std::size_t start = std::min(text.size(), at + 1);
            tokens.push_back(text.substr(start, length));
            at = std::min(text.size(), start + length);
            continue;
        }
        if (token.size() > 1 && token.back() == '#') {
            token.pop_back();
            tokens.push_back(token);
            tokens.emplace_back("#");
            continue;
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

class SatBody {
public:
    std::optional<Failure> read(const std::vector<std::string>& lines) {
        if (lines.size() < 4) {
            return Failure{Acad::eInvalidInput, "ACIS data has " + std::to_string(lines.size()) +
                                                    " lines, fewer than its three header lines and a record"};
        }
        std::string body;
        for (std::size_t index = 3; index < lines.size(); ++index) {
            body += lines[index] + "\n";
        }
        Record current;
        bool open = false;
        for (std::string& token : tokenize(body)) {
            if (!open) {
                if (token.rfind("End-of-", 0) == 0) {
                    return std::nullopt;
                }
                // Files saved with sequence numbers put "-n" before each record's type.
                if (token.size() > 1 && token[0] == '-' &&
                    std::isdigit(static_cast<unsigned char>(token[1]))) {
                    continue;
                }
                current = Record{std::move(token), {}};
                open = true;
            } else if (token == "#") {
                m_records.push_back(std::move(current));
                open = false;
            } else {
                current.tokens.push_back(std::move(token));
            }
        }
        if (open) {
            return Failure{Acad::eInvalidInput, "ACIS record " + std::to_string(m_records.size()) + " (" +
                                                    current.type + ") is not closed by \"#\""};
        }
        return std::nullopt;
    }

    const std::vector<Record>& records() const { return m_records; }

    // The record a pointer token names, or null for $-1 and pointers out of range.
    const Record* follow(const std::string& token) const {
        if (!isPointer(token)) {
            return nullptr;
        }
        const long index = std::strtol(token.c_str() + 1, nullptr, 10);
        return index >= 0 && static_cast<std::size_t>(index) < m_records.size() ? &m_records[index] : nullptr;
    }
    std::size_t indexOf(const Record& record) const {
        return static_cast<std::size_t>(&record - &m_records[0]);
    }

private:
    std::vector<Record> m_records;
};

std::optional<std::size_t> senseIndex(const Record& record) {
    for (std::size_t index = 0; index < record.tokens.size(); ++index) {
        if (record.tokens[index] == "forward" || record.tokens[index] == "reversed") {
            return index;
        }
    }
    return std::nullopt;
}

std::vector<std::string> pointersBefore(const Record& record, std::size_t end) {
    std::vector<std::string> pointers;
    for (std::size_t index = 0; index < end && index < record.tokens.size(); ++index) {
        if (isPointer(record.tokens[index])) {
            pointers.push_back(record.tokens[index]);
        }
    }
    return pointers;
}

// The numbers that follow the last pointer of a geometry record.
std::vector<double> geometryNumbers(const Record& record) {
    std::size_t start = 0;
    for (std::size_t index = 0; index < record.tokens.size(); ++index) {
        if (isPointer(record.tokens[index])) {
            start = index + 1;
        }
    }
    std::vector<double> numbers;
    double value = 0.0;
    for (std::size_t index = start; index < record.tokens.size() && parseNumber(record.tokens[index], value);
         ++index) {
        numbers.push_back(value);
    }
    return numbers;
}

AcGeVector3d vectorAt(const std::vector<double>& numbers, std::size_t at) {
    return {numbers[at], numbers[at + 1], numbers[at + 2]};
}

// One edge in the direction of its curve: a segment, or the ellipse arc from startParam to endParam.
struct EdgeShape {
    AcGePoint3d start;
    AcGePoint3d end;
    std::optional<cad::ge::EllipseArc> arc;
    bool alongCurve = true; // the edge runs from its start vertex to its end vertex in the curve's direction
};

class RegionReader {
public:
    explicit RegionReader(const SatBody& body) : m_body(body) {}

    std::optional<Failure> measure(cad::db::RegionMeasure& result) {
        std::map<const Record*, double> faceAreas;
        for (const Record& record : m_body.records()) {
            if (record.type == "edge") {
                const std::optional<EdgeShape> shape = edgeShape(record);
                if (!shape) {
                    return m_failure;
                }
                addEdge(*shape, result);
            } else if (record.type == "coedge") {
                if (std::optional<Failure> failure = addCoedge(record, faceAreas)) {
                    return failure;
                }
            } else if (record.type.find("-surface") != std::string::npos && record.type != "plane-surface") {
                return fail(Acad::eNotImplementedYet, record,
                            "is not a plane: only planar regions are measured");
            }
        }
        if (faceAreas.empty()) {
            return Failure{Acad::eNotApplicable, "ACIS data holds no face"};
        }
        for (const auto& [face, area] : faceAreas) {
            result.area += std::fabs(area);
        }
        return std::nullopt;
    }

private:
    Failure fail(Acad::ErrorStatus status, const Record& record, const std::string& why) {
        m_failure = Failure{status, "ACIS record " + std::to_string(m_body.indexOf(record)) + " (" +
                                        record.type + ") " + why};
        return *m_failure;
    }

    std::optional<AcGePoint3d> vertexPoint(const std::string& pointer, const Record& edge) {
        const Record* vertex = m_body.follow(pointer);
        if (vertex == nullptr || vertex->type != "vertex") {
            fail(Acad::eInvalidInput, edge, "names no vertex");
            return std::nullopt;
        }
        const std::vector<std::string> pointers = pointersBefore(*vertex, vertex->tokens.size());
        const Record* point = pointers.empty() ? nullptr : m_body.follow(pointers.back());
        const std::vector<double> numbers =
            point != nullptr && point->type == "point" ? geometryNumbers(*point) : std::vector<double>{};
        if (numbers.size() < 3) {
            fail(Acad::eInvalidInput, *vertex, "has no point with three coordinates");
            return std::nullopt;
        }
        return AcGePoint3d::kOrigin + vectorAt(numbers, 0);
    }

    std::optional<EdgeShape> edgeShape(const Record& edge) {
        const std::optional<std::size_t> sense = senseIndex(edge);
        const std::vector<std::string> pointers = pointersBefore(edge, sense.value_or(0));
        if (!sense || pointers.size() < 4) {
            fail(Acad::eInvalidInput, edge, "lacks its vertices, curve or sense");
            return std::nullopt;
        }
        const std::size_t count = pointers.size();
        const std::optional<AcGePoint3d> start = vertexPoint(pointers[count - 4], edge);
        const std::optional<AcGePoint3d> end = vertexPoint(pointers[count - 3], edge);
        const Record* curve = m_body.follow(pointers[count - 1]);
        if (!start || !end) {
            return std::nullopt;
        }
        if (curve == nullptr) {
            fail(Acad::eInvalidInput, edge, "names no curve");
            return std::nullopt;
        }
        EdgeShape shape{*start, *end, std::nullopt, edge.tokens[*sense] == "forward"};
        const std::vector<double> numbers = geometryNumbers(*curve);
        if (curve->type == "straight-curve") {
            return shape;
        }
        if (curve->type != "ellipse-curve") {
            fail(Acad::eNotImplementedYet, *curve, "is neither a straight nor an elliptical curve");
            return std::nullopt;
        }
        if (numbers.size() < 10 || vectorAt(numbers, 3).isZeroLength() ||
            vectorAt(numbers, 6).isZeroLength()) {
            fail(Acad::eInvalidInput, *curve, "lacks a centre, normal, major axis or ratio");
            return std::nullopt;
        }
        cad::ge::EllipseArc arc;
        arc.center = AcGePoint3d::kOrigin + vectorAt(numbers, 0);
        arc.normal = vectorAt(numbers, 3).normal();
        arc.majorAxis = vectorAt(numbers, 6);
        arc.radiusRatio = numbers[9];
        const AcGePoint3d& first = shape.alongCurve ? shape.start : shape.end;
        const AcGePoint3d& second = shape.alongCurve ? shape.end : shape.start;
        arc.startParam = parameterOf(arc, first);
        arc.endParam = parameterOf(arc, second);
        while (arc.endParam <= arc.startParam + 1e-12) {
            arc.endParam += cad::ge::EllipseArc::kFullTurn;
        }
        shape.arc = arc;
        return shape;
    }

    static double parameterOf(const cad::ge::EllipseArc& arc, const AcGePoint3d& point) {
        const AcGeVector3d offset = point - arc.center;
        const AcGeVector3d minor = cad::ge::minorAxis(arc);
        return std::atan2(offset.dotProduct(minor) / minor.lengthSqrd(),
                          offset.dotProduct(arc.majorAxis) / arc.majorAxis.lengthSqrd());
    }

    static void addEdge(const EdgeShape& shape, cad::db::RegionMeasure& result) {
        result.edges.push_back({shape.start, shape.end, shape.arc});
        if (shape.arc) {
            result.perimeter += cad::ge::length(*shape.arc);
            result.extents.addExt(cad::ge::extents(*shape.arc));
        } else {
            result.perimeter += shape.start.distanceTo(shape.end);
            result.extents.addPoint(shape.start);
            result.extents.addPoint(shape.end);
        }
    }

    std::optional<Failure> addCoedge(const Record& coedge, std::map<const Record*, double>& faceAreas) {
        const std::optional<std::size_t> sense = senseIndex(coedge);
        const std::vector<std::string> before = pointersBefore(coedge, sense.value_or(0));
        if (!sense || before.empty()) {
            return fail(Acad::eInvalidInput, coedge, "lacks its edge or sense");
        }
        const Record* edge = m_body.follow(before.back());
        const Record* loop = nullptr;
        for (std::size_t index = *sense + 1; index < coedge.tokens.size() && loop == nullptr; ++index) {
            if (isPointer(coedge.tokens[index])) {
                loop = m_body.follow(coedge.tokens[index]);
            }
        }
        if (edge == nullptr || edge->type != "edge" || loop == nullptr || loop->type != "loop") {
            return fail(Acad::eInvalidInput, coedge, "names no edge or no loop");
        }
        const std::vector<std::string> loopPointers = pointersBefore(*loop, loop->tokens.size());
        const Record* face = loopPointers.empty() ? nullptr : m_body.follow(loopPointers.back());
        if (face == nullptr || face->type != "face") {
            return fail(Acad::eInvalidInput, *loop, "names no face");
        }
        const std::optional<std::size_t> faceSense = senseIndex(*face);
        const std::vector<std::string> facePointers = pointersBefore(*face, faceSense.value_or(0));
        const Record* surface = facePointers.empty() ? nullptr : m_body.follow(facePointers.back());
        if (surface == nullptr) {
            return fail(Acad::eInvalidInput, *face, "names no surface");
        }
        if (surface->type != "plane-surface") {
            return fail(Acad::eNotImplementedYet, *surface,
                        "is not a plane: only planar regions are measured");
        }
        const std::vector<double> plane = geometryNumbers(*surface);
        if (plane.size() < 6 || vectorAt(plane, 3).isZeroLength()) {
            return fail(Acad::eInvalidInput, *surface, "lacks a root point or normal");
        }
        const std::optional<EdgeShape> shape = edgeShape(*edge);
        if (!shape) {
            return m_failure;
        }
        const AcGePoint3d root = AcGePoint3d::kOrigin + vectorAt(plane, 0);
        const AcGeVector3d normal = vectorAt(plane, 3).normal();
        // The loop runs this coedge along the curve when coedge and edge agree in sense.
        const bool coedgeForward = coedge.tokens[*sense] == "forward";
        const bool alongCurve = coedgeForward == shape->alongCurve;
        faceAreas[face] += (alongCurve ? 1.0 : -1.0) * signedArea(*shape, root, normal);
        return std::nullopt;
    }

    // Twice the integral of (p - root) x dp / 2 along the curve's direction, projected on the normal:
    // for an arc c + a cos t + b sin t this integrates in closed form.
    static double signedArea(const EdgeShape& shape, const AcGePoint3d& root, const AcGeVector3d& normal) {
        if (!shape.arc) {
            const AcGePoint3d& from = shape.alongCurve ? shape.start : shape.end;
            const AcGePoint3d& to = shape.alongCurve ? shape.end : shape.start;
            return 0.5 * normal.dotProduct((from - root).crossProduct(to - root));
        }
        const cad::ge::EllipseArc& arc = *shape.arc;
        const AcGeVector3d offset = arc.center - root;
        const AcGeVector3d major = arc.majorAxis;
        const AcGeVector3d minor = cad::ge::minorAxis(arc);
        const double start = arc.startParam;
        const double end = arc.endParam;
        const AcGeVector3d twice = offset.crossProduct(major) * (std::cos(end) - std::cos(start)) +
                                   offset.crossProduct(minor) * (std::sin(end) - std::sin(start)) +
                                   major.crossProduct(minor) * (end - start);
        return 0.5 * normal.dotProduct(twice);
    }

    const SatBody& m_body;
    std::optional<Failure> m_failure;
};

} // namespace

namespace cad::db {

std::vector<std::string> decodeAcisLines(const std::vector<std::string>& lines) {
    if (lines.empty() || lines.front().empty() ||
        std::isdigit(static_cast<unsigned char>(lines.front()[0]))) {
        return lines;
    }
    std::vector<std::string> decoded;
    decoded.reserve(lines.size());
    for (const std::string& line : lines) {
        std::string text;
        text.reserve(line.size());
        for (std::size_t index = 0; index < line.size(); ++index) {
            const auto code = static_cast<unsigned char>(line[index]);
            if (code == ' ') {
                text += ' ';
            } else if (code == '^' && index + 1 < line.size() && line[index + 1] == ' ') {
                text += static_cast<char>(159 - '^');
                ++index;
            } else {
                text += static_cast<char>(159 - code);
            }
        }
        decoded.push_back(std::move(text));
    }
    return decoded;
}

RegionMeasure measureRegion(const std::vector<std::string>& lines) {
    RegionMeasure result;
    if (lines.empty()) {
        result.status = Acad::eNotApplicable;
        result.error = "the region's body is empty: it stores no ACIS data";
        return result;
    }
    SatBody body;
    std::optional<Failure> failure = body.read(decodeAcisLines(lines));
    if (!failure) {
        failure = RegionReader(body).measure(result);
    }
    if (failure) {
        result = RegionMeasure{};
        result.status = failure->status;
        result.error = failure->why;
    }
    return result;
}

} // namespace cad::db

namespace {

// Drawings of R2013 and later keep the body as binary data outside the entity, which is not read.
cad::db::RegionMeasure measure(const AcDbRegion& region) {
    const std::vector<std::string> lines = region.acisData();
    if (lines.empty() && region.database() != nullptr && region.database()->version() >= 1027) {
        cad::db::RegionMeasure result;
        result.status = Acad::eNotImplementedYet;
        result.error = "the region's body is binary ACIS data (SAB), which is not read";
        return result;
    }
    return cad::db::measureRegion(lines);
}

} // namespace

Acad::ErrorStatus AcDbRegion::getArea(double& area) const {
    const cad::db::RegionMeasure result = measure(*this);
    if (result.status == Acad::eOk) {
        area = result.area;
    }
    return result.status;
}

Acad::ErrorStatus AcDbRegion::getPerimeter(double& perimeter) const {
    const cad::db::RegionMeasure result = measure(*this);
    if (result.status == Acad::eOk) {
        perimeter = result.perimeter;
    }
    return result.status;
}

// A region without readable data has no extents, which the host answers with eInvalidExtents.
Acad::ErrorStatus AcDbRegion::getGeomExtents(AcDbExtents& extents) const {
    const cad::db::RegionMeasure result = measure(*this);
    if (result.status != Acad::eOk) {
        return Acad::eInvalidExtents;
    }
    extents = result.extents;
    return Acad::eOk;
}

namespace {

AcDbEntity* makeEdgeEntity(const cad::db::RegionEdge& edge, const AcDbEntity& source) {
    return edge.arc ? cad::db::makeConicEntity(*edge.arc, source)
                    : cad::db::makeLineEntity({edge.start, edge.end}, source);
}

} // namespace

// The host explodes a planar region into the curves of its boundary; data it cannot read explodes into
// nothing and says why through the status.
Acad::ErrorStatus AcDbRegion::explode(AcDbVoidPtrArray& entitySet) const {
    const cad::db::RegionMeasure result = measure(*this);
    if (result.status != Acad::eOk) {
        return result.status == Acad::eNotApplicable ? Acad::eNotApplicable : Acad::eCannotExplodeEntity;
    }
    const std::size_t first = entitySet.size();
    for (const cad::db::RegionEdge& edge : result.edges) {
        AcDbEntity* piece = makeEdgeEntity(edge, *this);
        if (piece == nullptr) {
            cad::db::deletePieces(entitySet, first);
            return Acad::eCannotExplodeEntity;
        }
        entitySet.push_back(piece);
    }
    return Acad::eOk;
}
