# Run by cpack while it stages the package (CPACK_INSTALL_SCRIPTS): the
# Debian changelog, which names the maintainer the package is made by, as
# /usr/share/doc/vantrel-st/changelog.gz (compressed with gzip -9n, as Debian
# policy asks). A package without a maintainer is refused here.
if(NOT CPACK_DEBIAN_PACKAGE_MAINTAINER)
  message(FATAL_ERROR
    "The package needs a maintainer: configure with -DVST_PACKAGE_MAINTAINER=\"Name <email>\" "
    "(or run cpack -D CPACK_DEBIAN_PACKAGE_MAINTAINER=\"Name <email>\").")
endif()
set(changelog "$ENV{DESTDIR}${CPACK_PACKAGING_INSTALL_PREFIX}/share/doc/${CPACK_PACKAGE_NAME}/changelog")
configure_file("${CPACK_VST_CHANGELOG}" "${changelog}" @ONLY)
execute_process(COMMAND gzip -9nf "${changelog}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip could not compress the changelog: ${failed}")
endif()
