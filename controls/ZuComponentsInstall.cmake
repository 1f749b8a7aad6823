# What installing ZuComponents puts where. The library itself and zu-regsvr belong to the program's package
# (component kalvar); what a program needs to build against the library is the development component (dev):
# the headers under include/ZuComponents, the CMake package ZuComponents::ZuComponents, ZuComponents.pc and
# the Qt Designer plugin in Qt's designer plugin folder.
include(CMakePackageConfigHelpers)

# The headers a user of the library includes: the painting engine's exported functions and the platform
# layer that issues their handles, the colour functions, the control module's interfaces and container API,
# and the controls' classes with the headers they include.
install(FILES
  include/ZuComponents.h
  include/ZuControls.h
  ColorFunction.h
  ZuModule.h
  PopupMenuManager.h
  ZuMenuExCtl.h
  TreeNodeList.h
  ZuTreeEnumCtl.h
  ZuRichTextCtl.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZuComponents COMPONENT dev)
install(FILES platform/ZuGdi.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZuComponents/platform COMPONENT dev)

# Installed programs and plugins find the library relative to themselves, wherever the prefix is.
function(zu_rpath_to_libdir target from_dir)
  file(RELATIVE_PATH relative "${from_dir}" "${CMAKE_INSTALL_FULL_LIBDIR}")
  string(REGEX REPLACE "/$" "" relative "${relative}")
  set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN/${relative}")
endfunction()

install(TARGETS ZuComponents EXPORT ZuComponentsTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kalvar NAMELINK_COMPONENT dev
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/ZuComponents ${CMAKE_INSTALL_INCLUDEDIR})

zu_rpath_to_libdir(zu-regsvr "${CMAKE_INSTALL_FULL_BINDIR}")
install(TARGETS zu-regsvr RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kalvar)

if(TARGET zucomponents_designer)
  # Qt's own plugin folder relative to the prefix (lib/x86_64-linux-gnu/qt6/plugins on Debian), so that
  # Qt Designer finds the plugin when the prefix is Qt's.
  if(QT6_INSTALL_PLUGINS)
    set(zu_designer_dir ${QT6_INSTALL_PLUGINS}/designer)
  else()
    set(zu_designer_dir ${CMAKE_INSTALL_LIBDIR}/qt6/plugins/designer)
  endif()
  zu_rpath_to_libdir(zucomponents_designer "${CMAKE_INSTALL_PREFIX}/${zu_designer_dir}")
  install(TARGETS zucomponents_designer LIBRARY DESTINATION ${zu_designer_dir} COMPONENT dev)
endif()

set(zu_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/ZuComponents)
install(EXPORT ZuComponentsTargets NAMESPACE ZuComponents:: DESTINATION ${zu_cmake_dir} COMPONENT dev)
configure_package_config_file(cmake/ZuComponentsConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/ZuComponentsConfig.cmake INSTALL_DESTINATION ${zu_cmake_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZuComponentsConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZuComponentsConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/ZuComponentsConfigVersion.cmake
        DESTINATION ${zu_cmake_dir} COMPONENT dev)

# The pkg-config file names its prefix relative to itself, so the installed tree may move (a package
# installs it under /usr, a test under a temporary folder).
file(RELATIVE_PATH ZU_PC_PREFIX_FROM_PCFILEDIR "${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig" "${CMAKE_INSTALL_PREFIX}")
string(REGEX REPLACE "/$" "" ZU_PC_PREFIX_FROM_PCFILEDIR "${ZU_PC_PREFIX_FROM_PCFILEDIR}")
configure_file(cmake/ZuComponents.pc.in ${CMAKE_CURRENT_BINARY_DIR}/ZuComponents.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/ZuComponents.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT dev)
