// Result-buffer allocation and the mapping from buffer types and DXF group codes to value storage.
// Texts inside buffers are allocated with malloc, as the host documents, so a text handed out in a
// caller's buffer (acedGetVar) may be released with free() or acutDelString, and a chain by acutRelRb.

#include "cad/ed/resbuf.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

ResbufValueKind groupCodeKind(int code) {
    struct Range {
        int first;
        int last;
        ResbufValueKind kind;
    };
    // The DXF reference's value types per group-code range; points are whole (10, 11, ...), their
    // separate Y and Z codes only appear in files, never in buffers.
    static constexpr Range kRanges[] = {
        {-5, -5, ResbufValueKind::EntityName},   {-4, -4, ResbufValueKind::Text},
        {-3, -3, ResbufValueKind::None},         {-2, -1, ResbufValueKind::EntityName},
        {0, 9, ResbufValueKind::Text},           {10, 18, ResbufValueKind::Point},
        {19, 59, ResbufValueKind::Real},         {60, 79, ResbufValueKind::Short},
        {90, 99, ResbufValueKind::Long},         {100, 109, ResbufValueKind::Text},
        {110, 112, ResbufValueKind::Point},      {113, 149, ResbufValueKind::Real},
        {160, 169, ResbufValueKind::Int64},      {170, 179, ResbufValueKind::Short},
        {210, 219, ResbufValueKind::Point},      {220, 239, ResbufValueKind::Real},
        {270, 299, ResbufValueKind::Short},      {300, 309, ResbufValueKind::Text},
        {310, 319, ResbufValueKind::Binary},     {320, 329, ResbufValueKind::Text},
        {330, 369, ResbufValueKind::EntityName}, {370, 389, ResbufValueKind::Short},
        {390, 399, ResbufValueKind::EntityName}, {400, 409, ResbufValueKind::Short},
        {410, 419, ResbufValueKind::Text},       {420, 429, ResbufValueKind::Long},
        {430, 439, ResbufValueKind::Text},       {440, 459, ResbufValueKind::Long},
        {460, 469, ResbufValueKind::Real},       {470, 479, ResbufValueKind::Text},
        {480, 481, ResbufValueKind::EntityName}, {999, 1003, ResbufValueKind::Text},
        {1004, 1004, ResbufValueKind::Binary},   {1005, 1009, ResbufValueKind::Text},
        {1010, 1013, ResbufValueKind::Point},    {1014, 1059, ResbufValueKind::Real},
        {1060, 1070, ResbufValueKind::Short},    {1071, 1071, ResbufValueKind::Long},
    };
    for (const Range& range : kRanges) {
        if (code >= range.first && code <= range.last) {
            return range.kind;
        }
    }
    return ResbufValueKind::None;
}

bool isKnownType(int restype) {
    if (restype >= RTNONE && restype <= RTINT64) {
        return true;
    }
    return restype >= -5 && restype <= 1071 &&
           (groupCodeKind(restype) != ResbufValueKind::None || restype == -3);
}

} // namespace

ResbufValueKind resbufValueKind(int restype) {
    switch (restype) {
    case RTREAL:
    case RTANG:
    case RTORINT:
        return ResbufValueKind::Real;
    case RTPOINT:
    case RT3DPOINT:
        return ResbufValueKind::Point;
    case RTSHORT:
        return ResbufValueKind::Short;
    case RTLONG:
        return ResbufValueKind::Long;
    case RTINT64:
        return ResbufValueKind::Int64;
    case RTSTR:
    case RTDXF0:
        return ResbufValueKind::Text;
    case RTENAME:
    case RTPICKS:
        return ResbufValueKind::EntityName;
    default:
        break;
    }
    if (restype >= RTNONE) {
        return ResbufValueKind::None;
    }
    return groupCodeKind(restype);
}

ACHAR* acutNewString(const ACHAR* text) {
    if (text == nullptr) {
        return nullptr;
    }
    const std::size_t length = std::wcslen(text);
    auto* copy = static_cast<ACHAR*>(std::malloc((length + 1) * sizeof(ACHAR)));
    std::wmemcpy(copy, text, length + 1);
    return copy;
}

int acutDelString(ACHAR*& text) {
    std::free(text);
    text = nullptr;
    return RTNORM;
}

resbuf* acutNewRb(int restype) {
    if (!isKnownType(restype)) {
        return nullptr;
    }
    auto* buffer = new resbuf;
    std::memset(buffer, 0, sizeof(resbuf));
    buffer->restype = static_cast<short>(restype);
    return buffer;
}

int acutRelRb(resbuf* chain) {
    while (chain != nullptr) {
        resbuf* next = chain->rbnext;
        const ResbufValueKind kind = resbufValueKind(chain->restype);
        if (kind == ResbufValueKind::Text) {
            std::free(chain->resval.rstring);
        } else if (kind == ResbufValueKind::Binary) {
            std::free(chain->resval.rbinary.buf);
        }
        delete chain;
        chain = next;
    }
    return RTNORM;
}

resbuf* acutBuildList(int restype, ...) {
    std::va_list arguments;
    va_start(arguments, restype);
    resbuf* head = nullptr;
    resbuf* tail = nullptr;
    for (int type = restype; type != 0 && type != RTNONE; type = va_arg(arguments, int)) {
        resbuf* buffer = acutNewRb(type);
        if (buffer == nullptr) {
            acutRelRb(head);
            va_end(arguments);
            return nullptr;
        }
        switch (resbufValueKind(type)) {
        case ResbufValueKind::Text:
            buffer->resval.rstring = acutNewString(va_arg(arguments, const ACHAR*));
            break;
        case ResbufValueKind::Real:
            buffer->resval.rreal = va_arg(arguments, double);
            break;
        case ResbufValueKind::Point: {
            const double* point = va_arg(arguments, const double*);
            buffer->resval.rpoint[0] = point[0];
            buffer->resval.rpoint[1] = point[1];
            buffer->resval.rpoint[2] = type == RTPOINT ? 0.0 : point[2];
            break;
        }
        case ResbufValueKind::Short:
            buffer->resval.rint = static_cast<short>(va_arg(arguments, int));
            break;
        case ResbufValueKind::Long:
            buffer->resval.rlong = va_arg(arguments, int);
            break;
        case ResbufValueKind::Int64:
            buffer->resval.mnInt64 = va_arg(arguments, std::int64_t);
            break;
        case ResbufValueKind::EntityName: {
            const std::int64_t* name = va_arg(arguments, const std::int64_t*);
            buffer->resval.rlname[0] = name[0];
            buffer->resval.rlname[1] = name[1];
            break;
        }
        case ResbufValueKind::Binary: {
            const ads_binary* binary = va_arg(arguments, const ads_binary*);
            buffer->resval.rbinary.clen = binary->clen;
            buffer->resval.rbinary.buf = static_cast<char*>(std::malloc(binary->clen > 0 ? binary->clen : 1));
            if (binary->clen > 0) {
                std::memcpy(buffer->resval.rbinary.buf, binary->buf, static_cast<std::size_t>(binary->clen));
            }
            break;
        }
        case ResbufValueKind::None:
            break;
        }
        if (tail == nullptr) {
            head = buffer;
        } else {
            tail->rbnext = buffer;
        }
        tail = buffer;
    }
    va_end(arguments);
    return head;
}
