# The Debian package: `cpack -G DEB` in the build folder writes kalvar_<version>_<arch>.deb (the programs,
# the control library, the Python module, the pictures, the task schema, the desktop entry, icons and manual
# pages: every install rule of component kalvar) and libzucomponents-dev_<version>_<arch>.deb (the
# library's headers, CMake package, pkg-config file and Qt Designer plugin: component dev).
set(KALVAR_MAINTAINER "kalvar maintainers <maintainers@kalvar.example.org>")

# Each package carries its copyright and its changelog in its documentation folder, compressed as Debian
# wants (-n: no name or time stamp, so two builds give the same file), made when CMake configures so that
# installing needs no build step.
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog @ONLY)
set(kalvar_changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
find_program(KALVAR_GZIP gzip)
if(KALVAR_GZIP)
  execute_process(COMMAND ${KALVAR_GZIP} -9n -c ${kalvar_changelog} OUTPUT_FILE ${kalvar_changelog}.gz
                  COMMAND_ERROR_IS_FATAL ANY)
  set(kalvar_changelog ${kalvar_changelog}.gz)
endif()
foreach(package_component IN ITEMS "kalvar;kalvar" "libzucomponents-dev;dev")
  list(GET package_component 0 package)
  list(GET package_component 1 component)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${kalvar_changelog}
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kalvar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "kalvar maintainers")
set(CPACK_PACKAGE_CONTACT "${KALVAR_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL kalvar dev)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KALVAR_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # <name>_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Designer plugin of the dev package links the control library of the main package: dpkg-shlibdeps finds
# it in the build tree (the dev package depends on the main one by name and version).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/controls)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "")

set(CPACK_DEBIAN_KALVAR_PACKAGE_NAME kalvar)
set(CPACK_DEBIAN_KALVAR_PACKAGE_SECTION science)
# The control library is public (the dev package builds against it): a shlibs file names it, and the
# linker cache is refreshed by dpkg's trigger.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
if(TARGET ZuComponents)
  set(CPACK_DEBIAN_KALVAR_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/triggers)
endif()
# The Python module is built for one Python version's ABI; dpkg-shlibdeps cannot see that it needs Python.
if(TARGET kalvar_python AND Python3_VERSION_MINOR)
  math(EXPR next_python_minor "${Python3_VERSION_MINOR} + 1")
  set(CPACK_DEBIAN_KALVAR_PACKAGE_DEPENDS
      "python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3 (<< ${Python3_VERSION_MAJOR}.${next_python_minor})")
endif()
# A component's description: its first line is the package's synopsis (no package-wide summary is set,
# which CPack would put before every component's).
set(CPACK_COMPONENT_KALVAR_DESCRIPTION
    "plate heat exchangers for district-heating substations
kalvar selects and rates plate heat exchangers for district-heating
substations: eight heat-supply systems (hot water, heating, ventilation
and five multi-exchanger schemes), sizing or rating from four
temperatures and a load, a flow or a plate count, water or a
user-defined medium, with limits on pressure losses, fouling and surface
margin. The package holds the desktop program kalvar (Russian
interface), the headless kalvar-cli, the Python module kalvar, and the
control library ZuComponents whose painting engine draws the button
panels, with zu-regsvr.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libzucomponents-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "kalvar (= ${PROJECT_VERSION}), qt6-base-dev")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "ZuComponents controls for Qt 6 Widgets - development files
ZuComponents is a control library on Qt 6 Widgets: a button-panel
painting engine, a menu button with owner-drawn menus, a
type-information tree and a script editor. This package holds its
headers, the CMake package (find_package(ZuComponents) gives
ZuComponents::ZuComponents), the pkg-config file ZuComponents.pc and the
Qt Designer plugin.")

include(CPack)
