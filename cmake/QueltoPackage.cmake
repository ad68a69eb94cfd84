# Installation: libraries, public headers under include/quelto/, and a package config for find_package(Quelto).
include(CMakePackageConfigHelpers)

install(TARGETS quelto quelto_platform EXPORT QueltoTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The host interface library and the host program, once the host is part of the build.
if(TARGET quelto_cad)
    install(TARGETS quelto_cad EXPORT QueltoTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    install(TARGETS quelto_cad_program RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(TARGETS quelto_cad_widgets EXPORT QueltoTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
    foreach(folder ge dxf db ed app)
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/cad/${folder}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quelto/cad/${folder}
                FILES_MATCHING PATTERN "*.h")
    endforeach()
endif()

install(DIRECTORY ${PROJECT_SOURCE_DIR}/platform/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quelto/platform
        FILES_MATCHING PATTERN "*.h")
foreach(folder baselib filter)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/quelto/${folder}/
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quelto/${folder} FILES_MATCHING PATTERN "*.h")
endforeach()

install(EXPORT QueltoTargets NAMESPACE Quelto:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quelto)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QueltoConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/QueltoConfig.cmake
                              INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quelto)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QueltoConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QueltoConfig.cmake ${PROJECT_BINARY_DIR}/QueltoConfigVersion.cmake
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quelto)
