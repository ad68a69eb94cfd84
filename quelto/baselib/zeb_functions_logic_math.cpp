// Logic and mathematics functions of the formula language. Angles are in degrees, results are reals
// unless a function says otherwise, and conversions "through a 32-bit integer" keep the original's
// wrap-around and truncation so that spreadsheets written for it give the same numbers.
#include "platform/angle_units.h"
#include "quelto/baselib/zeb_function_table.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace quelto::baselib {
namespace {

// 10 to the power n by repeated squaring in reals, as round and trunc scale their argument.
double powerOfTen(int exponent) {
    double result = 1.0;
    double base = 10.0;
    for (unsigned int remaining = static_cast<unsigned int>(exponent); remaining != 0; remaining >>= 1) {
        if (remaining & 1U) {
            result *= base;
        }
        base *= base;
    }
    return result;
}

int computeIf(CZEBFunctionAccess& call) {
    return call.SetValueOf(call.Argument(call.Boolean(0) ? 1 : 2));
}

int computeTrue(CZEBFunctionAccess& call) {
    return call.SetBoolean(TRUE);
}

int computeFalse(CZEBFunctionAccess& call) {
    return call.SetBoolean(FALSE);
}

int computeNot(CZEBFunctionAccess& call) {
    return call.SetBoolean(!call.Boolean(0));
}

// The evaluation already stopped at the deciding argument, so every argument present here was evaluated.
int computeAnd(CZEBFunctionAccess& call) {
    for (int position = 0; position < call.ArgumentCount(); ++position) {
        if (!call.Boolean(position)) {
            return call.SetBoolean(FALSE);
        }
    }
    return call.SetBoolean(TRUE);
}

int computeOr(CZEBFunctionAccess& call) {
    for (int position = 0; position < call.ArgumentCount(); ++position) {
        if (call.Boolean(position)) {
            return call.SetBoolean(TRUE);
        }
    }
    return call.SetBoolean(FALSE);
}

int computePi(CZEBFunctionAccess& call) {
    return call.SetReal(std::numbers::pi);
}

int computeRadians(CZEBFunctionAccess& call) {
    return call.SetReal(platform::degreesToRadians(call.Real(0)));
}

int computeDegrees(CZEBFunctionAccess& call) {
    return call.SetReal(platform::radiansToDegrees(call.Real(0)));
}

int computeSin(CZEBFunctionAccess& call) {
    return call.SetReal(std::sin(platform::degreesToRadians(call.Real(0))));
}

int computeCos(CZEBFunctionAccess& call) {
    return call.SetReal(std::cos(platform::degreesToRadians(call.Real(0))));
}

int computeTan(CZEBFunctionAccess& call) {
    const double degrees = call.Real(0);
    // The remainder after truncation toward zero: 90 and 270 are refused, -90 is not.
    if (degrees - 180.0 * std::trunc(degrees / 180.0) == 90.0) {
        return call.Fail(L"tan函数的参数不能为κπ＋π/2");
    }
    return call.SetReal(std::tan(platform::degreesToRadians(degrees)));
}

int computeAsin(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    if (value < -1.0 || value > 1.0) {
        return call.Fail(L"asin函数的参数必须位于区间[-1,1]");
    }
    return call.SetReal(std::asin(value) * platform::kDegreesPerRadian);
}

int computeAcos(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    if (value < -1.0 || value > 1.0) {
        return call.Fail(L"acos函数的参数必须位于区间[-1,1]");
    }
    return call.SetReal(std::acos(value) * platform::kDegreesPerRadian);
}

int computeAtan(CZEBFunctionAccess& call) {
    return call.SetReal(std::atan(call.Real(0)) * platform::kDegreesPerRadian);
}

int computeAbs(CZEBFunctionAccess& call) {
    return call.SetReal(std::fabs(call.Real(0)));
}

int computeSqrt(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    if (value < 0.0) {
        return call.Fail(L"sqrt函数的参数必须大于或等于0");
    }
    return call.SetReal(std::sqrt(value));
}

int computePow2(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    return call.SetReal(value * value);
}

int computePow3(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    return call.SetReal(value * value * value);
}

int computePow(CZEBFunctionAccess& call) {
    return call.SetReal(std::pow(call.Real(0), call.Real(1)));
}

int computeArea(CZEBFunctionAccess& call) {
    const double radius = call.Real(0);
    return call.SetReal(radius * (radius * std::numbers::pi));
}

int computeFloor(CZEBFunctionAccess& call) {
    return call.SetReal(std::floor(call.Real(0)));
}

int computeCeil(CZEBFunctionAccess& call) {
    return call.SetReal(std::ceil(call.Real(0)));
}

int computeInt(CZEBFunctionAccess& call) {
    return call.SetReal(truncateToInt32(call.Real(0)));
}

int computeExp(CZEBFunctionAccess& call) {
    return call.SetReal(std::exp(call.Real(0)));
}

int computeLog(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    if (value <= 0.0) {
        return call.Fail(L"log函数的参数必须大于0");
    }
    return call.SetReal(std::log(value));
}

int computeLog10(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    if (value <= 0.0) {
        return call.Fail(L"log10函数的参数必须大于0");
    }
    return call.SetReal(std::log10(value));
}

int computeFact(CZEBFunctionAccess& call) {
    return call.SetInteger(call.Base_fact(call.Integer(0)));
}

int computeMod(CZEBFunctionAccess& call) {
    const int dividend = call.Integer(0);
    const int divisor = call.Integer(1);
    if (divisor == 0) {
        return call.Fail(L"mod函数除数不得为0");
    }
    // INT_MIN % -1 traps on the processor; its remainder is 0 like every other division by -1.
    return call.SetInteger(divisor == -1 ? 0 : dividend % divisor);
}

int computeRand(CZEBFunctionAccess& call) {
    // The original runtime's generator gave 15 bits (0 to 32767); keep the same 0-to-1 range here.
    return call.SetReal((std::rand() & 0x7FFF) / 32767.0);
}

int computeRound(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    const int decimals = call.Integer(1);
    if (decimals < 0) {
        return call.Fail(L"round函数小数位数不能为负数");
    }
    const double scale = powerOfTen(decimals);
    return call.SetReal(truncateToInt32(value * scale + 0.5) / scale);
}

int computeTrunc(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    const int decimals = call.Integer(1);
    if (decimals < 0) {
        return call.Fail(L"trunc函数小数位数不能为负数");
    }
    const double scale = powerOfTen(decimals);
    return call.SetReal(truncateToInt32(value * scale) / scale);
}

int computeSign(CZEBFunctionAccess& call) {
    const double value = call.Real(0);
    return call.SetInteger(value < 0.0 ? -1 : (value > 0.0 ? 1 : 0));
}

int computeMax(CZEBFunctionAccess& call) {
    double largest = call.Real(0);
    for (int position = 1; position < call.ArgumentCount(); ++position) {
        const double value = call.Real(position);
        if (value > largest) {
            largest = value;
        }
    }
    return call.SetReal(largest);
}

int computeMin(CZEBFunctionAccess& call) {
    double smallest = call.Real(0);
    for (int position = 1; position < call.ArgumentCount(); ++position) {
        const double value = call.Real(position);
        if (value < smallest) {
            smallest = value;
        }
    }
    return call.SetReal(smallest);
}

int computeAverage(CZEBFunctionAccess& call) {
    double sum = 0.0;
    for (int position = 0; position < call.ArgumentCount(); ++position) {
        sum += call.Real(position);
    }
    return call.SetReal(sum / call.ArgumentCount());
}

constexpr FunctionEntry kLogicMathTable[] = {
    {L"if", 3, computeIf},
    {L"true", 0, computeTrue},
    {L"false", 0, computeFalse},
    {L"not", 1, computeNot},
    {L"and", kAtLeastOneArgument, computeAnd},
    {L"or", kAtLeastOneArgument, computeOr},
    {L"pi", 0, computePi},
    {L"radians", 1, computeRadians},
    {L"degrees", 1, computeDegrees},
    {L"sin", 1, computeSin},
    {L"cos", 1, computeCos},
    {L"tan", 1, computeTan},
    {L"asin", 1, computeAsin},
    {L"acos", 1, computeAcos},
    {L"atan", 1, computeAtan},
    {L"abs", 1, computeAbs},
    {L"sqrt", 1, computeSqrt},
    {L"pow2", 1, computePow2},
    {L"pow3", 1, computePow3},
    {L"pow", 2, computePow},
    {L"area", 1, computeArea},
    {L"floor", 1, computeFloor},
    {L"ceil", 1, computeCeil},
    {L"int", 1, computeInt},
    {L"exp", 1, computeExp},
    {L"log", 1, computeLog},
    {L"log10", 1, computeLog10},
    {L"fact", 1, computeFact},
    {L"mod", 2, computeMod},
    {L"rand", 0, computeRand},
    {L"round", 2, computeRound},
    {L"trunc", 2, computeTrunc},
    {L"sign", 1, computeSign},
    {L"max", kAtLeastOneArgument, computeMax},
    {L"min", kAtLeastOneArgument, computeMin},
    {L"average", kAtLeastOneArgument, computeAverage},
};

} // namespace

std::span<const FunctionEntry> logicMathFunctions() {
    return kLogicMathTable;
}

} // namespace quelto::baselib

int CZEBBaseStringAnalyse::Base_fact(int number) {
    // Unsigned arithmetic wraps like the original's 32-bit product beyond 12! without undefined behaviour.
    std::uint32_t product = 1;
    for (int factor = number; factor >= 2; --factor) {
        product *= static_cast<std::uint32_t>(factor);
    }
    return static_cast<int>(product);
}
