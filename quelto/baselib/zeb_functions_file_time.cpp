// File and date/time functions of the formula language. Times are 32-bit counts of seconds since
// 1970-01-01 UTC, shown in the process's local time zone (TZ); files that cannot be found or opened give
// neutral values, never an error code.
#include "quelto/baselib/zeb_function_table.h"

#include <cstdint>
#include <ctime>
#include <cwchar>
#include <optional>

namespace quelto::baselib {
namespace {

// The original's runtime refused to convert times before 1970 to local time; so do we, which keeps the
// documented "cannot be converted" results reachable and equal on every system.
std::optional<std::tm> localTime(int seconds) {
    if (seconds < 0) {
        return std::nullopt;
    }
    const std::time_t time = seconds;
    std::tm parts{};
    if (localtime_r(&time, &parts) == nullptr) {
        return std::nullopt;
    }
    return parts;
}

int computeFileName(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetFileName(call.Text(0)));
}

int computeFilePath(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetFilePath(call.Text(0)));
}

int computePathName(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetPathName(call.Text(0)));
}

int computeFileTitle(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetFileTitle(call.Text(0)));
}

int computeFileExt(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetFileExt(call.Text(0)));
}

int computeFileTimeC(CZEBFunctionAccess& call) {
    return call.SetInteger(static_cast<int>(call.Base_GetFileTimeC(call.Text(0))));
}

int computeFileTimeM(CZEBFunctionAccess& call) {
    return call.SetInteger(static_cast<int>(call.Base_GetFileTimeM(call.Text(0))));
}

int computeFileTimeA(CZEBFunctionAccess& call) {
    return call.SetInteger(static_cast<int>(call.Base_GetFileTimeA(call.Text(0))));
}

int computeFileSize(CZEBFunctionAccess& call) {
    return call.SetInteger(static_cast<int>(static_cast<std::uint32_t>(call.Base_GetFileSize(call.Text(0)))));
}

int computeFileLineCount(CZEBFunctionAccess& call) {
    return call.SetInteger(call.Base_GetFileLineCount(call.Text(0)));
}

int computeFileLineIndex(CZEBFunctionAccess& call) {
    return call.SetString(call.Base_GetFileLineString(call.Text(0), call.Integer(1)));
}

int computeCurTime(CZEBFunctionAccess& call) {
    return call.SetInteger(static_cast<std::int32_t>(static_cast<std::uint32_t>(std::time(nullptr))));
}

// One calendar field of a time; `failed` when the time cannot be converted to local time.
int timeField(CZEBFunctionAccess& call, int (*field)(const std::tm&), int failed) {
    const auto parts = localTime(call.Integer(0));
    return call.SetInteger(parts ? field(*parts) : failed);
}

int computeYear(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return 1900 + parts.tm_year; }, 0);
}

int computeMonth(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_mon + 1; }, 0);
}

int computeDay(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_mday; }, 0);
}

int computeHour(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_hour; }, -1);
}

int computeMinute(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_min; }, -1);
}

int computeSecond(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_sec; }, -1);
}

int computeWeek(CZEBFunctionAccess& call) {
    return timeField(
        call, [](const std::tm& parts) { return parts.tm_wday + 1; }, 0);
}

int computeTimeFormat(CZEBFunctionAccess& call) {
    const auto parts = localTime(call.Integer(0));
    const CString format = call.Text(1);
    if (!parts) {
        return call.SetString(CString());
    }
    wchar_t buffer[128];
    const std::size_t written = std::wcsftime(buffer, std::size(buffer), format.c_str(), &*parts);
    return call.SetString(CString(buffer, written));
}

constexpr FunctionEntry kFileTimeTable[] = {
    {L"filename", 1, computeFileName},
    {L"filepath", 1, computeFilePath},
    {L"pathname", 1, computePathName},
    {L"filetitle", 1, computeFileTitle},
    {L"fileext", 1, computeFileExt},
    {L"filetimec", 1, computeFileTimeC},
    {L"filetimem", 1, computeFileTimeM},
    {L"filetimea", 1, computeFileTimeA},
    {L"filesize", 1, computeFileSize},
    {L"filelinecount", 1, computeFileLineCount},
    {L"filelineindex", 2, computeFileLineIndex},
    {L"curtime", 0, computeCurTime},
    {L"year", 1, computeYear},
    {L"month", 1, computeMonth},
    {L"day", 1, computeDay},
    {L"hour", 1, computeHour},
    {L"minute", 1, computeMinute},
    {L"second", 1, computeSecond},
    {L"week", 1, computeWeek},
    {L"timeformat", 2, computeTimeFormat},
};

} // namespace

std::span<const FunctionEntry> fileTimeFunctions() {
    return kFileTimeTable;
}

} // namespace quelto::baselib
