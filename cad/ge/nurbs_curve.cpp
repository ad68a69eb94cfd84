// NURBS evaluation (de Boor / basis functions with first derivatives), fit-point interpolation and the
// numeric length, area and extents built on them.
#include "cad/ge/nurbs_curve.h"

#include <algorithm>
#include <cmath>

namespace cad::ge {

namespace {

constexpr double kGaussNodes[5] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                                   0.8650633666889845, 0.9739065285171717};
constexpr double kGaussWeights[5] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                                     0.1494513491505806, 0.0666713443086881};

size_t findSpan(const NurbsCurve& curve, double parameter) {
    const size_t degree = static_cast<size_t>(curve.degree);
    const size_t last = curve.controlPoints.size() - 1;
    if (parameter >= curve.knots[last + 1]) {
        // The end of the range belongs to the last non-empty span.
        size_t span = last;
        while (span > degree && curve.knots[span] >= curve.knots[last + 1]) {
            --span;
        }
        return span;
    }
    if (parameter <= curve.knots[degree]) {
        size_t span = degree;
        while (span < last && curve.knots[span + 1] <= curve.knots[degree]) {
            ++span;
        }
        return span;
    }
    const auto upper = std::upper_bound(curve.knots.begin() + static_cast<long>(degree),
                                        curve.knots.begin() + static_cast<long>(last + 1), parameter);
    return static_cast<size_t>(upper - curve.knots.begin()) - 1;
}

// Non-zero basis functions of the span and their first derivatives (The NURBS Book, A2.2 and A2.3).
void basisFunctions(const NurbsCurve& curve, size_t span, double parameter, std::vector<double>& values,
                    std::vector<double>& derivatives) {
    const int degree = curve.degree;
    const auto& knots = curve.knots;
    std::vector<double> left(static_cast<size_t>(degree) + 1);
    std::vector<double> right(static_cast<size_t>(degree) + 1);
    // lower[j] holds the basis of degree p-1 once the loop has run to degree - 1.
    std::vector<double> basis(static_cast<size_t>(degree) + 1, 0.0);
    std::vector<double> lowerDegree;
    basis[0] = 1.0;
    for (int level = 1; level <= degree; ++level) {
        if (level == degree) {
            lowerDegree.assign(basis.begin(), basis.begin() + degree);
        }
        left[static_cast<size_t>(level)] = parameter - knots[span + 1 - static_cast<size_t>(level)];
        right[static_cast<size_t>(level)] = knots[span + static_cast<size_t>(level)] - parameter;
        double saved = 0.0;
        for (int index = 0; index < level; ++index) {
            const double denominator =
                right[static_cast<size_t>(index) + 1] + left[static_cast<size_t>(level - index)];
            const double term = denominator == 0.0 ? 0.0 : basis[static_cast<size_t>(index)] / denominator;
            basis[static_cast<size_t>(index)] = saved + right[static_cast<size_t>(index) + 1] * term;
            saved = left[static_cast<size_t>(level - index)] * term;
        }
        basis[static_cast<size_t>(level)] = saved;
    }
    if (degree == 0) {
        lowerDegree.clear();
    }
    values = basis;
    derivatives.assign(static_cast<size_t>(degree) + 1, 0.0);
    // N'_{i,p} = p N_{i,p-1} / (u_{i+p} - u_i) - p N_{i+1,p-1} / (u_{i+p+1} - u_{i+1}), i = span - p + j.
    for (int j = 0; j <= degree && degree > 0; ++j) {
        const size_t i = span - static_cast<size_t>(degree) + static_cast<size_t>(j);
        double derivative = 0.0;
        if (j >= 1) {
            const double denominator = knots[i + static_cast<size_t>(degree)] - knots[i];
            if (denominator != 0.0) {
                derivative += degree * lowerDegree[static_cast<size_t>(j) - 1] / denominator;
            }
        }
        if (j < degree) {
            const double denominator = knots[i + static_cast<size_t>(degree) + 1] - knots[i + 1];
            if (denominator != 0.0) {
                derivative -= degree * lowerDegree[static_cast<size_t>(j)] / denominator;
            }
        }
        derivatives[static_cast<size_t>(j)] = derivative;
    }
}

struct Evaluation {
    AcGePoint3d point;
    AcGeVector3d derivative;
};

Evaluation evaluate(const NurbsCurve& curve, double parameter) {
    const size_t span = findSpan(curve, parameter);
    std::vector<double> values;
    std::vector<double> derivatives;
    basisFunctions(curve, span, parameter, values, derivatives);
    AcGeVector3d weighted;
    AcGeVector3d weightedDerivative;
    double weight = 0.0;
    double weightDerivative = 0.0;
    for (int j = 0; j <= curve.degree; ++j) {
        const size_t index = span - static_cast<size_t>(curve.degree) + static_cast<size_t>(j);
        const double w = curve.weights.empty() ? 1.0 : curve.weights[index];
        const AcGeVector3d p = curve.controlPoints[index].asVector();
        weighted += p * (values[static_cast<size_t>(j)] * w);
        weightedDerivative += p * (derivatives[static_cast<size_t>(j)] * w);
        weight += values[static_cast<size_t>(j)] * w;
        weightDerivative += derivatives[static_cast<size_t>(j)] * w;
    }
    const AcGeVector3d point = weighted / weight;
    return {AcGePoint3d::kOrigin + point, (weightedDerivative - point * weightDerivative) / weight};
}

// Solves the dense system in place by Gaussian elimination with partial pivoting; false when singular.
bool solve(std::vector<std::vector<double>>& matrix, std::vector<AcGeVector3d>& rightSide) {
    const size_t size = matrix.size();
    for (size_t column = 0; column < size; ++column) {
        size_t pivot = column;
        for (size_t row = column + 1; row < size; ++row) {
            if (std::fabs(matrix[row][column]) > std::fabs(matrix[pivot][column])) {
                pivot = row;
            }
        }
        if (std::fabs(matrix[pivot][column]) < 1e-14) {
            return false;
        }
        std::swap(matrix[pivot], matrix[column]);
        std::swap(rightSide[pivot], rightSide[column]);
        for (size_t row = column + 1; row < size; ++row) {
            const double factor = matrix[row][column] / matrix[column][column];
            if (factor == 0.0) {
                continue;
            }
            for (size_t inner = column; inner < size; ++inner) {
                matrix[row][inner] -= factor * matrix[column][inner];
            }
            rightSide[row] -= rightSide[column] * factor;
        }
    }
    for (size_t row = size; row-- > 0;) {
        AcGeVector3d value = rightSide[row];
        for (size_t inner = row + 1; inner < size; ++inner) {
            value -= rightSide[inner] * matrix[row][inner];
        }
        rightSide[row] = value / matrix[row][row];
    }
    return true;
}

std::optional<NurbsCurve> interpolateFitPoints(const NurbsCurve& curve) {
    std::vector<AcGePoint3d> points;
    for (const AcGePoint3d& point : curve.fitPoints) {
        if (points.empty() || !points.back().isEqualTo(point)) {
            points.push_back(point);
        }
    }
    if (points.size() < 2) {
        return std::nullopt;
    }
    const size_t count = points.size();
    const int degree = std::min<int>(std::max(curve.degree, 1), static_cast<int>(count) - 1);
    std::vector<double> parameters(count, 0.0);
    double total = 0.0;
    for (size_t index = 1; index < count; ++index) {
        total += points[index].distanceTo(points[index - 1]);
        parameters[index] = total;
    }
    for (double& parameter : parameters) {
        parameter /= total;
    }
    parameters.back() = 1.0;
    NurbsCurve result;
    result.degree = degree;
    result.fitPoints = curve.fitPoints;
    result.knots.assign(static_cast<size_t>(degree) + 1, 0.0);
    for (size_t j = 1; j + static_cast<size_t>(degree) < count; ++j) {
        double sum = 0.0;
        for (size_t i = j; i < j + static_cast<size_t>(degree); ++i) {
            sum += parameters[i];
        }
        result.knots.push_back(sum / degree);
    }
    result.knots.insert(result.knots.end(), static_cast<size_t>(degree) + 1, 1.0);
    result.controlPoints.assign(count, AcGePoint3d::kOrigin);
    std::vector<std::vector<double>> matrix(count, std::vector<double>(count, 0.0));
    std::vector<AcGeVector3d> rightSide(count);
    std::vector<double> values;
    std::vector<double> derivatives;
    for (size_t row = 0; row < count; ++row) {
        const size_t span = findSpan(result, parameters[row]);
        basisFunctions(result, span, parameters[row], values, derivatives);
        for (int j = 0; j <= degree; ++j) {
            matrix[row][span - static_cast<size_t>(degree) + static_cast<size_t>(j)] =
                values[static_cast<size_t>(j)];
        }
        rightSide[row] = points[row].asVector();
    }
    if (!solve(matrix, rightSide)) {
        return std::nullopt;
    }
    for (size_t index = 0; index < count; ++index) {
        result.controlPoints[index] = AcGePoint3d::kOrigin + rightSide[index];
    }
    return result;
}

// Distinct knot values inside the parameter range: the curve is smooth between them.
std::vector<double> spanBreaks(const NurbsCurve& curve) {
    const double start = startParameter(curve);
    const double end = endParameter(curve);
    std::vector<double> breaks{start};
    for (double knot : curve.knots) {
        if (knot > breaks.back() && knot < end) {
            breaks.push_back(knot);
        }
    }
    breaks.push_back(end);
    return breaks;
}

template <typename Value, typename Function>
Value gaussLegendre(const Function& function, double from, double to) {
    const double half = 0.5 * (to - from);
    const double middle = 0.5 * (to + from);
    Value sum{};
    for (int index = 0; index < 5; ++index) {
        sum += (function(middle - half * kGaussNodes[index]) + function(middle + half * kGaussNodes[index])) *
               kGaussWeights[index];
    }
    return sum * half;
}

double integrateSpeed(const NurbsCurve& curve, double from, double to, double tolerance, int depth) {
    const auto speed = [&curve](double t) { return evaluate(curve, t).derivative.length(); };
    const double whole = gaussLegendre<double>(speed, from, to);
    const double middle = 0.5 * (from + to);
    const double halves =
        gaussLegendre<double>(speed, from, middle) + gaussLegendre<double>(speed, middle, to);
    if (depth >= 24 || std::fabs(halves - whole) <= tolerance) {
        return halves;
    }
    return integrateSpeed(curve, from, middle, 0.5 * tolerance, depth + 1) +
           integrateSpeed(curve, middle, to, 0.5 * tolerance, depth + 1);
}

double controlPolygonLength(const NurbsCurve& curve) {
    double total = 0.0;
    for (size_t index = 1; index < curve.controlPoints.size(); ++index) {
        total += curve.controlPoints[index].distanceTo(curve.controlPoints[index - 1]);
    }
    return total;
}

double lengthBetween(const NurbsCurve& curve, double from, double to) {
    const double tolerance = 1e-10 * std::max(controlPolygonLength(curve), 1e-300);
    double total = 0.0;
    const std::vector<double> breaks = spanBreaks(curve);
    for (size_t index = 1; index < breaks.size(); ++index) {
        const double low = std::max(from, breaks[index - 1]);
        const double high = std::min(to, breaks[index]);
        if (high > low) {
            total += integrateSpeed(curve, low, high, tolerance, 0);
        }
    }
    return total;
}

AcGeVector3d integrateVectorArea(const NurbsCurve& curve, const AcGePoint3d& origin, double from, double to,
                                 double tolerance, int depth) {
    // Half of C x C' integrated along the curve, relative to origin.
    const auto integrand = [&](double t) {
        const Evaluation evaluation = evaluate(curve, t);
        return (evaluation.point - origin).crossProduct(evaluation.derivative) * 0.5;
    };
    const AcGeVector3d whole = gaussLegendre<AcGeVector3d>(integrand, from, to);
    const double middle = 0.5 * (from + to);
    const AcGeVector3d halves = gaussLegendre<AcGeVector3d>(integrand, from, middle) +
                                gaussLegendre<AcGeVector3d>(integrand, middle, to);
    if (depth >= 24 || (halves - whole).length() <= tolerance) {
        return halves;
    }
    return integrateVectorArea(curve, origin, from, middle, 0.5 * tolerance, depth + 1) +
           integrateVectorArea(curve, origin, middle, to, 0.5 * tolerance, depth + 1);
}

} // namespace

bool isValid(const NurbsCurve& curve) {
    if (curve.controlPoints.empty()) {
        return curve.fitPoints.size() >= 2;
    }
    if (curve.degree < 1 || curve.controlPoints.size() < static_cast<size_t>(curve.degree) + 1 ||
        curve.knots.size() != curve.controlPoints.size() + static_cast<size_t>(curve.degree) + 1) {
        return false;
    }
    if (!std::is_sorted(curve.knots.begin(), curve.knots.end())) {
        return false;
    }
    if (!curve.weights.empty()) {
        if (curve.weights.size() != curve.controlPoints.size()) {
            return false;
        }
        for (double weight : curve.weights) {
            if (!(weight > 0.0)) {
                return false;
            }
        }
    }
    return curve.knots[static_cast<size_t>(curve.degree)] < curve.knots[curve.controlPoints.size()];
}

std::optional<NurbsCurve> controlPointForm(const NurbsCurve& curve) {
    if (!isValid(curve)) {
        return std::nullopt;
    }
    if (curve.controlPoints.empty()) {
        return interpolateFitPoints(curve);
    }
    return curve;
}

double startParameter(const NurbsCurve& curve) {
    if (curve.controlPoints.empty() || !isValid(curve)) {
        return 0.0;
    }
    return curve.knots[static_cast<size_t>(curve.degree)];
}

double endParameter(const NurbsCurve& curve) {
    if (curve.controlPoints.empty()) {
        return isValid(curve) ? 1.0 : 0.0;
    }
    if (!isValid(curve)) {
        return 0.0;
    }
    return curve.knots[curve.controlPoints.size()];
}

std::optional<AcGePoint3d> pointAtParameter(const NurbsCurve& curve, double parameter) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return std::nullopt;
    }
    const double start = startParameter(*form);
    const double end = endParameter(*form);
    const double slack = 1e-12 * std::max(1.0, end - start);
    if (parameter < start - slack || parameter > end + slack) {
        return std::nullopt;
    }
    return evaluate(*form, std::clamp(parameter, start, end)).point;
}

std::optional<AcGeVector3d> derivativeAtParameter(const NurbsCurve& curve, double parameter) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return std::nullopt;
    }
    const double start = startParameter(*form);
    const double end = endParameter(*form);
    if (parameter < start || parameter > end) {
        return std::nullopt;
    }
    return evaluate(*form, parameter).derivative;
}

std::optional<AcGePoint3d> startPoint(const NurbsCurve& curve) {
    return pointAtParameter(curve, startParameter(curve));
}

std::optional<AcGePoint3d> endPoint(const NurbsCurve& curve) {
    return pointAtParameter(curve, endParameter(curve));
}

std::optional<double> distanceAtParameter(const NurbsCurve& curve, double parameter) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return std::nullopt;
    }
    const double start = startParameter(*form);
    const double end = endParameter(*form);
    const double slack = 1e-12 * std::max(1.0, end - start);
    if (parameter < start - slack || parameter > end + slack) {
        return std::nullopt;
    }
    return lengthBetween(*form, start, std::clamp(parameter, start, end));
}

double length(const NurbsCurve& curve) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return 0.0;
    }
    return lengthBetween(*form, startParameter(*form), endParameter(*form));
}

double area(const NurbsCurve& curve) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return 0.0;
    }
    const AcGePoint3d origin = evaluate(*form, startParameter(*form)).point;
    const double size = controlPolygonLength(*form);
    const double tolerance = 1e-10 * std::max(size * size, 1e-300);
    AcGeVector3d vectorArea;
    const std::vector<double> breaks = spanBreaks(*form);
    for (size_t index = 1; index < breaks.size(); ++index) {
        vectorArea += integrateVectorArea(*form, origin, breaks[index - 1], breaks[index], tolerance, 0);
    }
    // The closing chord runs from the end back to the start point, which is the origin: it adds nothing.
    return vectorArea.length();
}

bool isClosed(const NurbsCurve& curve) {
    const std::optional<AcGePoint3d> start = startPoint(curve);
    const std::optional<AcGePoint3d> end = endPoint(curve);
    return start && end && start->isEqualTo(*end);
}

bool isPlanar(const NurbsCurve& curve, double tolerance) {
    const std::vector<AcGePoint3d>& points =
        curve.controlPoints.empty() ? curve.fitPoints : curve.controlPoints;
    if (points.size() < 4) {
        return true;
    }
    // A plane through the first point, the point farthest from it and the point farthest from that line.
    const AcGePoint3d& first = points.front();
    size_t farthest = 0;
    for (size_t index = 1; index < points.size(); ++index) {
        if (first.distanceTo(points[index]) > first.distanceTo(points[farthest])) {
            farthest = index;
        }
    }
    const AcGeVector3d axis = points[farthest] - first;
    const double scale = axis.length();
    if (scale <= tolerance) {
        return true;
    }
    AcGeVector3d normal;
    for (const AcGePoint3d& point : points) {
        const AcGeVector3d candidate = axis.crossProduct(point - first);
        if (candidate.length() > normal.length()) {
            normal = candidate;
        }
    }
    if (normal.length() <= tolerance * scale * scale) {
        return true;
    }
    normal.normalize();
    for (const AcGePoint3d& point : points) {
        if (std::fabs(normal.dotProduct(point - first)) > tolerance * std::max(1.0, scale)) {
            return false;
        }
    }
    return true;
}

ExtentsResult extents(const NurbsCurve& curve) {
    const std::optional<NurbsCurve> form = controlPointForm(curve);
    if (!form) {
        return ExtentsResult::empty();
    }
    AcDbExtents box;
    const std::vector<double> breaks = spanBreaks(*form);
    // Each span is sampled; where a coordinate's derivative changes sign between samples, bisection finds
    // the extreme. Sixteen samples per span separate the extremes of any curve of degree up to 5 in practice.
    constexpr int samplesPerSpan = 16;
    for (size_t index = 1; index < breaks.size(); ++index) {
        const double from = breaks[index - 1];
        const double to = breaks[index];
        Evaluation previous = evaluate(*form, from);
        double previousParameter = from;
        box.addPoint(previous.point);
        for (int sample = 1; sample <= samplesPerSpan; ++sample) {
            const double parameter = from + (to - from) * sample / samplesPerSpan;
            const Evaluation current = evaluate(*form, parameter);
            box.addPoint(current.point);
            for (unsigned int axis = 0; axis < 3; ++axis) {
                if ((previous.derivative[axis] > 0.0) == (current.derivative[axis] > 0.0)) {
                    continue;
                }
                double low = previousParameter;
                double high = parameter;
                const bool rising = previous.derivative[axis] > 0.0;
                for (int step = 0; step < 60 && high - low > 1e-15 * std::max(1.0, std::fabs(high)); ++step) {
                    const double middle = 0.5 * (low + high);
                    if ((evaluate(*form, middle).derivative[axis] > 0.0) == rising) {
                        low = middle;
                    } else {
                        high = middle;
                    }
                }
                box.addPoint(evaluate(*form, 0.5 * (low + high)).point);
            }
            previous = current;
            previousParameter = parameter;
        }
    }
    return ExtentsResult::finite(box);
}

NurbsCurve transformed(const NurbsCurve& curve, const AcGeMatrix3d& transform) {
    NurbsCurve result = curve;
    for (AcGePoint3d& point : result.controlPoints) {
        point = transform * point;
    }
    for (AcGePoint3d& point : result.fitPoints) {
        point = transform * point;
    }
    return result;
}

} // namespace cad::ge
