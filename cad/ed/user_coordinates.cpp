// User coordinate systems over the drawing header. The axes are normalised on reading, and Y is made
// perpendicular to X, so a hand-edited header cannot skew the conversions.

#include "cad/ed/user_coordinates.h"

#include "cad/ed/editor_state.h"

#include <cmath>

namespace cad::ed {
namespace {

double dot(const double* first, const double* second) {
    return first[0] * second[0] + first[1] * second[1] + first[2] * second[2];
}

void cross(const double* first, const double* second, double* result) {
    result[0] = first[1] * second[2] - first[2] * second[1];
    result[1] = first[2] * second[0] - first[0] * second[2];
    result[2] = first[0] * second[1] - first[1] * second[0];
}

bool normalise(double* vector) {
    const double length = std::sqrt(dot(vector, vector));
    if (length < 1e-12) {
        return false;
    }
    for (int axis = 0; axis < 3; ++axis) {
        vector[axis] /= length;
    }
    return true;
}

bool readPoint(const AcDbDatabase& database, const char* name, double point[3]) {
    const db::HeaderVariable* variable = database.headerVariable(name);
    if (variable == nullptr) {
        return false;
    }
    bool any = false;
    for (const dxf::OwnedTag& tag : variable->values) {
        if (tag.code == 10 || tag.code == 20 || tag.code == 30) {
            point[tag.code / 10 - 1] = tag.real;
            any = true;
        }
    }
    return any;
}

void writePoint(AcDbDatabase& database, const char* name, const double point[3]) {
    db::HeaderVariable variable;
    variable.name = name;
    for (int axis = 0; axis < 3; ++axis) {
        variable.values.emplace_back(dxf::Tag::makeDouble(10 * (axis + 1), point[axis]));
    }
    database.setHeaderVariable(std::move(variable));
}

} // namespace

bool UserCoordinateSystem::isWorld() const {
    return origin[0] == 0.0 && origin[1] == 0.0 && origin[2] == 0.0 && xAxis[0] == 1.0 && xAxis[1] == 0.0 &&
           xAxis[2] == 0.0 && yAxis[0] == 0.0 && yAxis[1] == 1.0 && yAxis[2] == 0.0;
}

void UserCoordinateSystem::fromWorld(const double world[3], double user[3], bool vector) const {
    double relative[3];
    for (int axis = 0; axis < 3; ++axis) {
        relative[axis] = world[axis] - (vector ? 0.0 : origin[axis]);
    }
    double zAxis[3];
    cross(xAxis, yAxis, zAxis);
    user[0] = dot(relative, xAxis);
    user[1] = dot(relative, yAxis);
    user[2] = dot(relative, zAxis);
}

void UserCoordinateSystem::toWorld(const double user[3], double world[3], bool vector) const {
    double zAxis[3];
    cross(xAxis, yAxis, zAxis);
    double result[3];
    for (int axis = 0; axis < 3; ++axis) {
        result[axis] = (vector ? 0.0 : origin[axis]) + user[0] * xAxis[axis] + user[1] * yAxis[axis] +
                       user[2] * zAxis[axis];
    }
    world[0] = result[0];
    world[1] = result[1];
    world[2] = result[2];
}

UserCoordinateSystem UserCoordinateSystem::rotatedAboutZ(const double originWorld[3], double angle) {
    UserCoordinateSystem system;
    for (int axis = 0; axis < 3; ++axis) {
        system.origin[axis] = originWorld[axis];
    }
    system.xAxis[0] = std::cos(angle);
    system.xAxis[1] = std::sin(angle);
    system.yAxis[0] = -std::sin(angle);
    system.yAxis[1] = std::cos(angle);
    return system;
}

UserCoordinateSystem userCoordinateSystem(const AcDbDatabase& database, bool paperSpace) {
    UserCoordinateSystem system;
    UserCoordinateSystem read;
    readPoint(database, paperSpace ? "$PUCSORG" : "$UCSORG", read.origin);
    readPoint(database, paperSpace ? "$PUCSXDIR" : "$UCSXDIR", read.xAxis);
    readPoint(database, paperSpace ? "$PUCSYDIR" : "$UCSYDIR", read.yAxis);
    double zAxis[3];
    cross(read.xAxis, read.yAxis, zAxis);
    if (!normalise(read.xAxis) || !normalise(zAxis)) {
        return system;
    }
    cross(zAxis, read.xAxis, read.yAxis);
    return read;
}

void setUserCoordinateSystem(AcDbDatabase& database, bool paperSpace, const UserCoordinateSystem& system) {
    writePoint(database, paperSpace ? "$PUCSORG" : "$UCSORG", system.origin);
    writePoint(database, paperSpace ? "$PUCSXDIR" : "$UCSXDIR", system.xAxis);
    writePoint(database, paperSpace ? "$PUCSYDIR" : "$UCSYDIR", system.yAxis);
}

} // namespace cad::ed

namespace {

bool convert(ads_point from, ads_point to, bool vector, bool toUser) {
    const cad::ed::EditorState* editor = cad::ed::currentEditor();
    if (editor == nullptr || editor->database == nullptr || from == nullptr || to == nullptr) {
        return false;
    }
    const bool paperSpace = cad::ed::currentSpaceOf(*editor) != editor->database->modelSpaceId();
    const cad::ed::UserCoordinateSystem system = cad::ed::userCoordinateSystem(*editor->database, paperSpace);
    double result[3];
    if (toUser) {
        system.fromWorld(from, result, vector);
    } else {
        system.toWorld(from, result, vector);
    }
    to[0] = result[0];
    to[1] = result[1];
    to[2] = result[2];
    return true;
}

} // namespace

bool acdbWcs2Ucs(ads_point from, ads_point to, bool vector) {
    return convert(from, to, vector, true);
}

bool acdbUcs2Wcs(ads_point from, ads_point to, bool vector) {
    return convert(from, to, vector, false);
}
