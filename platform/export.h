// Symbol visibility for the shared libraries of this project.
// Everything is compiled with hidden visibility; only declarations marked QUELTO_EXPORT leave a library.
// GCC and clang need the same attribute when building and when using a library, so one macro serves all.
#pragma once

#define QUELTO_EXPORT __attribute__((visibility("default")))
