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
if(VST_BUILD_GUI)
  # The PDF printouts of vantrel-design, loaded from the program's folder.
  install(TARGETS vantrel-design-pdf LIBRARY DESTINATION ${VST_PROGRAM_INSTALL_DIR})
endif()
foreach(program IN LISTS vst_programs)
  file(RELATIVE_PATH target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VST_PROGRAM_INSTALL_DIR}/${program})
  install(CODE "
    set(bindir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bindir}\")
    message(STATUS \"Installing: \${bindir}/${program} -> ${target}\")
    file(CREATE_LINK \"${target}\" \"\${bindir}/${program}\" SYMBOLIC)")
endforeach()

add_subdirectory(${PROJECT_SOURCE_DIR}/data/desktop ${CMAKE_BINARY_DIR}/data/desktop)

# The manual pages of the commands, made from their --help and --version by
# help2man (scripts/install-deps.sh installs it) with the name, synopsis and
# cross references of data/package/PROGRAM.h2m, compressed as Debian policy
# asks (gzip -9n).
find_program(VST_HELP2MAN help2man)
find_program(VST_GZIP gzip)
if(NOT VST_HELP2MAN OR NOT VST_GZIP)
  message(FATAL_ERROR "help2man and gzip make the manual pages: run scripts/install-deps.sh")
endif()
set(vst_man_pages)
foreach(program IN LISTS vst_programs)
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  set(include ${PROJECT_SOURCE_DIR}/data/package/${program}.h2m)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    # (A sanitizer build's leak report at exit is no concern of a manual page.)
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ASAN_OPTIONS=detect_leaks=0 ${VST_HELP2MAN} --no-info
            --include=${include} --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${VST_GZIP} -9nf ${page}
    DEPENDS ${program} ${include}
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND vst_man_pages ${page}.gz)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${vst_man_pages})
install(FILES ${vst_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's copyright; its changelog is written while cpack stages the
# package (cmake/PackageChangelog.cmake), as it names the maintainer.
install(FILES ${PROJECT_SOURCE_DIR}/data/package/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vantrel-st)

# cpack -G DEB: one package, dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME vantrel-st)
set(CPACK_PACKAGE_VENDOR "Vantrel")
# The maintainer is whoever makes the package: "Name <email>", given when
# configuring (-DVST_PACKAGE_MAINTAINER=...); cpack refuses to make a package
# without one.
set(VST_PACKAGE_MAINTAINER "" CACHE STRING "Maintainer of the Debian package, \"Name <email>\"")
set(CPACK_PACKAGE_CONTACT "${VST_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VST_PACKAGE_MAINTAINER}")
set(CPACK_INSTALL_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/PackageChangelog.cmake)
set(CPACK_VST_CHANGELOG ${PROJECT_SOURCE_DIR}/data/package/changelog.in)
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
