# Installation and the Debian package.
#
# The program expects its companion files beside its own executable (the
# template stdata.mdb, the panel pictures, the help books, "PDF Files"), so
# everything VST_OUTPUT_DIR holds is installed into one folder,
# <prefix>/lib/vantrel-st; the folders of this tree add their own files there
# with install(... DESTINATION ${VST_PROGRAM_INSTALL_DIR}). The commands on
# the PATH are symbolic links into that folder; the program finds its folder
# through /proc/self/exe, which names the link's target.
include(GNUInstallDirs)

set(vst_programs vantrel-design)
if(VST_BUILD_GUI)
  list(APPEND vst_programs vantrel-st)
endif()
install(TARGETS ${vst_programs} RUNTIME DESTINATION ${VST_PROGRAM_INSTALL_DIR})
foreach(program IN LISTS vst_programs)
  file(RELATIVE_PATH target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VST_PROGRAM_INSTALL_DIR}/${program})
  install(CODE "
    set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bindir}\")
    message(STATUS \"Installing: \${bindir}/${program} -> ${target}\")
    file(CREATE_LINK \"${target}\" \"\${bindir}/${program}\" SYMBOLIC)")
endforeach()

add_subdirectory(${PROJECT_SOURCE_DIR}/data/desktop ${CMAKE_BINARY_DIR}/data/desktop)

# cpack -G DEB: one package, dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vantrel-st)
set(CPACK_PACKAGE_VENDOR "Vantrel")
set(CPACK_PACKAGE_CONTACT "Vantrel ST maintainers <vantrel-st@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Steam tracing design for process piping")
set(CPACK_PACKAGE_DESCRIPTION
    "Vantrel ST designs the steam tracing of insulated process piping: insulation size, maintained \
temperatures, heat loss, condensate load, trap distance, tracer length and the bill of materials. \
vantrel-design designs line lists from the command line.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Qt platform plugin is loaded at run time, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
