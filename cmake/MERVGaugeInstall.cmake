# What cmake --install puts where, the package config that find_package(MERVGauge) reads, and
# the Debian package that cpack -G DEB makes of it all.
include(CMakePackageConfigHelpers)

set(MERVGAUGE_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/MERVGauge)

# The public headers install from their folders (mervgauge_install_headers); consumers have
# PREFIX/include on their path and include <mervgauge/...>.
install(TARGETS mervgauge-core EXPORT MERVGaugeTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT devel)
install(TARGETS mervgauge-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

if(MERVGAUGE_WITH_QT)
    install(TARGETS mervgauge-qt EXPORT MERVGaugeTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT devel)

    # The tools find the widget library beside them, wherever the prefix is.
    file(RELATIVE_PATH tools_to_lib /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
    set_target_properties(mervgauge-render mervgauge-panel PROPERTIES
        INSTALL_RPATH "$ORIGIN/${tools_to_lib}")
    install(TARGETS mervgauge-render mervgauge-panel
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
endif()

install(EXPORT MERVGaugeTargets NAMESPACE MERVGauge:: DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR}
    COMPONENT devel)
configure_package_config_file(cmake/MERVGaugeConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfig.cmake
    INSTALL_DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/MERVGaugeConfigVersion.cmake
    DESTINATION ${MERVGAUGE_INSTALL_CMAKEDIR} COMPONENT devel)

# One Debian package: libraries, headers, package config, tools and the Designer plugin.
set(CPACK_PACKAGE_NAME mervgauge)
set(CPACK_PACKAGE_VENDOR "MERVGauge developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Analog gauge control with a Qt 6 widget and tools")
set(CPACK_PACKAGE_CONTACT "MERVGauge developers <mervgauge@localhost>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "MERVGauge developers <mervgauge@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Runtime dependencies come from the binaries; the widget library is the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/src/qt)
# Building against the package needs the Qt headers and CMake files too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-base-dev")
# The package carries no debugging symbols; the build tree keeps them.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_GENERATOR DEB)
include(CPack)
