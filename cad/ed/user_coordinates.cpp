// User coordinate systems over the drawing header. The axes are normalised on reading, and Y is made
// perpendicular to X, so a hand-edited header cannot skew the conversions.

#include "cad/ed/user_coordinates.h"

#include "cad/ed/editor_state.h"
#include "cad/ge/matrix3d.h"

#include <cmath>

namespace cad::ed {
namespace {

// Unit length, or false for a vector too short to give a direction.
bool normalise(AcGeVector3d& vector) {
    const double length = vector.length();
    if (length < 1e-12) {
        return false;
    }
    vector /= length;
    return true;
}

// The header variables of a space's system.
struct HeaderNames {
    const char* origin;
    const char* xAxis;
    const char* yAxis;
};
constexpr HeaderNames kModelSpaceNames{"$UCSORG", "$UCSXDIR", "$UCSYDIR"};
constexpr HeaderNames kPaperSpaceNames{"$PUCSORG", "$PUCSXDIR", "$PUCSYDIR"};

// A header point's groups 10, 20 and 30 into a point or vector; coordinates it lacks keep their values.
template <typename Coordinates>
void readCoordinates(const AcDbDatabase& database, const char* name, Coordinates& value) {
    const db::HeaderVariable* variable = database.headerVariable(name);
    if (variable == nullptr) {
        return;
    }
    for (const dxf::OwnedTag& tag : variable->values) {
        if (tag.code == 10) {
            value.x = tag.real;
        } else if (tag.code == 20) {
            value.y = tag.real;
        } else if (tag.code == 30) {
            value.z = tag.real;
        }
    }
}

template <typename Coordinates>
void writeCoordinates(AcDbDatabase& database, const char* name, const Coordinates& value) {
    db::HeaderVariable variable;
    variable.name = name;
    variable.values.emplace_back(dxf::Tag::makeDouble(10, value.x));
    variable.values.emplace_back(dxf::Tag::makeDouble(20, value.y));
    variable.values.emplace_back(dxf::Tag::makeDouble(30, value.z));
    database.setHeaderVariable(std::move(variable));
}

} // namespace

// Exactly the world system, as the host's WORLDUCS reports it (no tolerance).
bool UserCoordinateSystem::isWorld() const {
    return origin.x == 0.0 && origin.y == 0.0 && origin.z == 0.0 && xAxis.x == 1.0 && xAxis.y == 0.0 &&
           xAxis.z == 0.0 && yAxis.x == 0.0 && yAxis.y == 1.0 && yAxis.z == 0.0;
}

AcGePoint3d UserCoordinateSystem::fromWorld(const AcGePoint3d& world) const {
    const AcGeVector3d user = fromWorld(world - origin);
    return {user.x, user.y, user.z};
}

AcGeVector3d UserCoordinateSystem::fromWorld(const AcGeVector3d& world) const {
    return {world.dotProduct(xAxis), world.dotProduct(yAxis), world.dotProduct(zAxis())};
}

AcGePoint3d UserCoordinateSystem::toWorld(const AcGePoint3d& user) const {
    return origin + xAxis * user.x + yAxis * user.y + zAxis() * user.z;
}

AcGeVector3d UserCoordinateSystem::toWorld(const AcGeVector3d& user) const {
    return xAxis * user.x + yAxis * user.y + zAxis() * user.z;
}

UserCoordinateSystem UserCoordinateSystem::rotatedAboutZ(double angle) const {
    UserCoordinateSystem rotated = *this;
    rotated.xAxis = xAxis * std::cos(angle) + yAxis * std::sin(angle);
    rotated.yAxis = xAxis * -std::sin(angle) + yAxis * std::cos(angle);
    return rotated;
}

UserCoordinateSystem userCoordinateSystem(const AcDbDatabase& database, bool paperSpace) {
    const HeaderNames& names = paperSpace ? kPaperSpaceNames : kModelSpaceNames;
    UserCoordinateSystem read;
    readCoordinates(database, names.origin, read.origin);
    readCoordinates(database, names.xAxis, read.xAxis);
    readCoordinates(database, names.yAxis, read.yAxis);
    AcGeVector3d zAxis = read.zAxis();
    if (!normalise(read.xAxis) || !normalise(zAxis)) {
        return UserCoordinateSystem();
    }
    read.yAxis = zAxis.crossProduct(read.xAxis);
    return read;
}

void setUserCoordinateSystem(AcDbDatabase& database, bool paperSpace, const UserCoordinateSystem& system) {
    const HeaderNames& names = paperSpace ? kPaperSpaceNames : kModelSpaceNames;
    writeCoordinates(database, names.origin, system.origin);
    writeCoordinates(database, names.xAxis, system.xAxis);
    writeCoordinates(database, names.yAxis, system.yAxis);
}

} // namespace cad::ed

namespace {

// The system of the current drawing's current space; false when no drawing is open.
bool currentSystem(cad::ed::UserCoordinateSystem& system) {
    const cad::ed::EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr || editor->database == nullptr) {
        return false;
    }
    const AcDbDatabase& database = *editor->database;
    const bool paperSpace = database.currentSpaceId() != database.modelSpaceId();
    system = cad::ed::userCoordinateSystem(database, paperSpace);
    return true;
}

bool convert(ads_point from, ads_point to, bool vector, bool toUser) {
    cad::ed::UserCoordinateSystem system;
    if (from == nullptr || to == nullptr || !currentSystem(system)) {
        return false;
    }
    if (vector) {
        const AcGeVector3d result = toUser ? system.fromWorld(asVec3d(from)) : system.toWorld(asVec3d(from));
        setAdsPoint(to, result.x, result.y, result.z);
    } else {
        const AcGePoint3d result = toUser ? system.fromWorld(asPnt3d(from)) : system.toWorld(asPnt3d(from));
        setAdsPoint(to, result.x, result.y, result.z);
    }
    return true;
}

} // namespace

bool acdbWcs2Ucs(ads_point from, ads_point to, bool vector) {
    return convert(from, to, vector, true);
}

bool acdbUcs2Wcs(ads_point from, ads_point to, bool vector) {
    return convert(from, to, vector, false);
}

Acad::ErrorStatus acedGetCurrentUCS(AcGeMatrix3d& matrix) {
    cad::ed::UserCoordinateSystem system;
    if (!currentSystem(system)) {
        return Acad::eNotApplicable;
    }
    matrix.setCoordSystem(system.origin, system.xAxis, system.yAxis, system.zAxis());
    return Acad::eOk;
}
