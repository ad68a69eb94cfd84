// The few Windows and class-framework types that the module's documented interfaces are written in.
// They are plain aliases of standard types so that module code keeps its documented signatures
// (`SetInputString(const CString&)`, `CArray<int,int>`) without a framework underneath.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using BOOL = int;
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

using UINT = unsigned int;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using HWND = void*;

// Texts are wide: one code point per wchar_t on Linux.
using CString = std::wstring;
using CStringArray = std::vector<std::wstring>;

// CArray<TYPE, ARG_TYPE>: the argument type only mattered to the framework's pass-by rules.
template <typename Type, typename ArgType = const Type&>
using CArray = std::vector<Type>;
