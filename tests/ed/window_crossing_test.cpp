// Crossing windows decided on the curve: the cases where an extents box overlaps the window while the
// curve passes by, and the ones where the curve just reaches in.
#include "cad/db/curve_entities.h"
#include "cad/ed/window_crossing.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

std::unique_ptr<AcDbPolyline> polyline(const std::vector<std::array<double, 3>>& vertices, bool closed) {
    auto result = std::make_unique<AcDbPolyline>();
    for (unsigned int index = 0; index < vertices.size(); ++index) {
        const auto& [x, y, bulge] = vertices[index];
        result->addVertexAt(index, AcGePoint2d(x, y), bulge);
    }
    result->setClosed(closed);
    return result;
}

TEST(WindowCrossing, TellsCurvesThatReachInFromCurvesThatPassBy) {
    // The window is (0,0)-(10,10) throughout.
    struct Case {
        std::string name;
        std::unique_ptr<AcDbEntity> entity;
        std::optional<bool> expected;
    };
    std::vector<Case> cases;
    cases.push_back({"diagonal line passing the corner",
                     std::make_unique<AcDbLine>(AcGePoint3d(8, 13, 0), AcGePoint3d(13, 8, 0)), false});
    cases.push_back({"diagonal line cutting the corner",
                     std::make_unique<AcDbLine>(AcGePoint3d(8, 11, 0), AcGePoint3d(11, 8, 0)), true});
    cases.push_back({"line through the window, both ends outside",
                     std::make_unique<AcDbLine>(AcGePoint3d(-5, 5, 0), AcGePoint3d(15, 6, 0)), true});
    cases.push_back({"vertical line seen end on, inside",
                     std::make_unique<AcDbLine>(AcGePoint3d(5, 5, 0), AcGePoint3d(5, 5, 9)), true});
    cases.push_back({"circle around the window",
                     std::make_unique<AcDbCircle>(AcGePoint3d(5, 5, 0), AcGeVector3d::kZAxis, 8), false});
    cases.push_back({"circle crossing one edge",
                     std::make_unique<AcDbCircle>(AcGePoint3d(12, 5, 0), AcGeVector3d::kZAxis, 3), true});
    cases.push_back({"circle near the corner, outside",
                     std::make_unique<AcDbCircle>(AcGePoint3d(12, 12, 0), AcGeVector3d::kZAxis, 2.5), false});
    cases.push_back({"circle in a tilted plane is left to its box",
                     std::make_unique<AcDbCircle>(AcGePoint3d(12, 12, 0), AcGeVector3d(1, 0, 1), 2.5),
                     std::nullopt});
    // The circle (5,5) r 8 meets the window's edges nowhere; its arcs only reach in if an end is inside.
    cases.push_back(
        {"arc around the window", std::make_unique<AcDbArc>(AcGePoint3d(5, 5, 0), 8, 0, kPi), false});
    cases.push_back({"arc whose sweep misses the window's side",
                     std::make_unique<AcDbArc>(AcGePoint3d(12, 5, 0), 3, -kPi / 3, kPi / 3), false});
    cases.push_back({"arc whose sweep crosses the window's side",
                     std::make_unique<AcDbArc>(AcGePoint3d(12, 5, 0), 3, kPi / 2, 3 * kPi / 2), true});
    cases.push_back({"arc crossing 0 degrees into the window",
                     std::make_unique<AcDbArc>(AcGePoint3d(-2, 5, 0), 3, 5 * kPi / 3, kPi / 3), true});
    cases.push_back({"arc crossing 0 degrees away from the window",
                     std::make_unique<AcDbArc>(AcGePoint3d(-4, 5, 0), 3, 5 * kPi / 3, kPi / 3), false});
    // Bulge 1: a half circle on the right of the direction of travel when positive.
    cases.push_back(
        {"bulged segment bowing away from the window", polyline({{12, 11, -1}, {14, 11, 0}}, false), false});
    cases.push_back(
        {"bulged segment bowing into the window", polyline({{8, 11, 1}, {12, 11, 0}}, false), true});
    cases.push_back({"closed polyline around the window",
                     polyline({{-1, -1, 0}, {11, -1, 0}, {11, 11, 0}, {-1, 11, 0}}, true), false});
    cases.push_back(
        {"closing segment cuts the corner", polyline({{8, 11, 0}, {13, 11, 0}, {11, 8, 0}}, true), true});
    for (const Case& testCase : cases) {
        const double low[2] = {0, 0};
        const double high[2] = {10, 10};
        EXPECT_EQ(cad::ed::touchesWindow(*testCase.entity, low, high), testCase.expected) << testCase.name;
    }
}

} // namespace
