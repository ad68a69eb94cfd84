# Shared compile settings and the helpers every folder uses to declare its targets.

add_library(quelto_warnings INTERFACE)
target_compile_options(quelto_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                                 -Wno-unused-parameter -Werror)
# GCC 12 reports std::string insert/append at -O3 as overlapping memcpy (GCC bug 105651), a false positive
# in libstdc++ itself; turning it into an error would make Release builds depend on inlining decisions.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(quelto_warnings INTERFACE -Wno-restrict)
endif()

add_library(quelto_sanitizers INTERFACE)
if(QUELTO_SANITIZE)
    target_compile_options(quelto_sanitizers INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                       -fno-sanitize-recover=undefined)
    target_link_options(quelto_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Fuzz targets are libFuzzer programs when built with clang and QUELTO_FUZZ; otherwise they link a small
# driver that replays files given on the command line, so the same entry point is exercised by ctest.
if(QUELTO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QUELTO_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# A layer library: the folder's sources, its own warnings, sanitizers when asked for.
function(quelto_layer_library name)
    cmake_parse_arguments(ARG "SHARED" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    if(ARG_SHARED)
        add_library(${name} SHARED ${ARG_SOURCES})
    else()
        add_library(${name} STATIC ${ARG_SOURCES})
    endif()
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
                                              $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
                                              $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/quelto>)
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS}
                                  $<BUILD_INTERFACE:quelto_warnings> $<BUILD_INTERFACE:quelto_sanitizers>)
endfunction()

# One GoogleTest executable per layer, registered with CTest.
function(quelto_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock quelto_test_support
                                          quelto_warnings quelto_sanitizers)
    target_compile_definitions(${name} PRIVATE QUELTO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                               QUELTO_CORPUS_DIR="${PROJECT_SOURCE_DIR}/../shared/corpus")
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TZ=UTC")
endfunction()

# A fuzz target; SEEDS is a folder of inputs that ctest replays through the same entry point.
function(quelto_add_fuzzer name)
    cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} quelto_warnings quelto_sanitizers)
    if(QUELTO_FUZZ)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    else()
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/fuzz/replay_driver.cpp)
        if(ARG_SEEDS AND QUELTO_BUILD_TESTS)
            add_test(NAME ${name}.replay COMMAND ${name} ${ARG_SEEDS})
        endif()
    endif()
endfunction()

# Adds a source folder once it holds C++ sources (folders are filled layer by layer).
function(quelto_add_folder folder)
    file(GLOB sources ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    if(sources AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
        add_subdirectory(${folder})
    endif()
endfunction()

# A layer library made of every .cpp of the calling folder.
function(quelto_folder_library name)
    cmake_parse_arguments(ARG "SHARED" "" "PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(ARG_SHARED)
        quelto_layer_library(${name} SHARED SOURCES ${sources} PUBLIC_LIBS ${ARG_PUBLIC_LIBS}
                             PRIVATE_LIBS ${ARG_PRIVATE_LIBS})
    else()
        quelto_layer_library(${name} SOURCES ${sources} PUBLIC_LIBS ${ARG_PUBLIC_LIBS}
                             PRIVATE_LIBS ${ARG_PRIVATE_LIBS})
    endif()
endfunction()
