// Result buffers: the linked value lists the host programming interface passes in and out (filter lists,
// entity data, system variable values), with their type and result codes and the C-style allocation calls.
// A chain is owned by whoever received it from acutNewRb/acutBuildList/acdbEntGetX and released whole.
#pragma once

#include "cad/ge/point3d.h"
#include "cad/ge/vector3d.h"
#include "platform/export.h"

#include <cstdint>

using ACHAR = wchar_t;
using ads_real = double;
using ads_point = ads_real[3];
using ads_pointp = ads_real*;
using ads_name = std::int64_t[2];
using ads_namep = std::int64_t*;

// Result codes of the interface calls.
inline constexpr int RTNORM = 5100;
inline constexpr int RTERROR = -5001;
inline constexpr int RTCAN = -5002;
inline constexpr int RTREJ = -5003;
inline constexpr int RTFAIL = -5004;
inline constexpr int RTKWORD = -5005;
inline constexpr int RTINPUTTRUNCATED = -5008;

// Result-buffer types beyond the DXF group codes.
inline constexpr short RTNONE = 5000;
inline constexpr short RTREAL = 5001;
inline constexpr short RTPOINT = 5002;
inline constexpr short RTSHORT = 5003;
inline constexpr short RTANG = 5004;
inline constexpr short RTSTR = 5005;
inline constexpr short RTENAME = 5006;
inline constexpr short RTPICKS = 5007;
inline constexpr short RTORINT = 5008;
inline constexpr short RT3DPOINT = 5009;
inline constexpr short RTLONG = 5010;
inline constexpr short RTVOID = 5014;
inline constexpr short RTLB = 5016;
inline constexpr short RTLE = 5017;
inline constexpr short RTDOTE = 5018;
inline constexpr short RTNIL = 5019;
inline constexpr short RTDXF0 = 5020;
inline constexpr short RTT = 5021;
inline constexpr short RTRESBUF = 5023;
inline constexpr short RTINT64 = 5031;

struct ads_binary {
    short clen;
    char* buf;
};

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    ACHAR* rstring;
    std::int64_t rlname[2];
    std::int32_t rlong;
    std::int64_t mnInt64;
    ads_binary rbinary;
    unsigned char ihandle[8];
};

struct resbuf {
    resbuf* rbnext;
    short restype;
    ads_u_val resval;
};

// How the value of a result buffer of the given type is stored; DXF group codes map as in entity data.
enum class ResbufValueKind { None, Text, Real, Point, Short, Long, Int64, EntityName, Binary };
QUELTO_EXPORT ResbufValueKind resbufValueKind(int restype);

// A new buffer of the type with a zeroed value (text and binary values start as null); null for a type
// of no known storage. Released with acutRelRb, which frees the whole chain behind it and its texts.
QUELTO_EXPORT resbuf* acutNewRb(int restype);
QUELTO_EXPORT int acutRelRb(resbuf* chain);

// Builds a chain from (type, value) pairs ended by 0 or RTNONE (both spellings are in use): texts as
// const ACHAR*, reals as double, points as const double*, shorts and longs as int, entity names as
// const std::int64_t*, binary chunks as const ads_binary*. RTLB/RTLE/RTDOTE take no value. Null on an
// unknown type.
QUELTO_EXPORT resbuf* acutBuildList(int restype, ...);

// A copy of the text for a buffer (malloc'ed; freed by acutRelRb, acutDelString or free()).
QUELTO_EXPORT ACHAR* acutNewString(const ACHAR* text);
QUELTO_EXPORT int acutDelString(ACHAR*& text);

inline void ads_name_set(const ads_name from, ads_name to) {
    to[0] = from[0];
    to[1] = from[1];
}
inline bool ads_name_equal(const ads_name first, const ads_name second) {
    return first[0] == second[0] && first[1] == second[1];
}
inline void ads_name_clear(ads_name name) {
    name[0] = 0;
    name[1] = 0;
}
inline bool ads_name_nil(const ads_name name) {
    return name[0] == 0 && name[1] == 0;
}
inline void ads_point_set(const ads_point from, ads_point to) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// Between ads points and the geometry classes, as the host's geassign.h converts them: ads points stay
// at the boundary of the interface, everything behind it works with AcGePoint3d and AcGeVector3d.
inline AcGePoint3d asPnt3d(const ads_point point) {
    return {point[0], point[1], point[2]};
}
inline AcGeVector3d asVec3d(const ads_point vector) {
    return {vector[0], vector[1], vector[2]};
}
inline void setAdsPoint(ads_point target, double x, double y, double z) {
    target[0] = x;
    target[1] = y;
    target[2] = z;
}
