# The Debian package of everything `cmake --install` puts in place; scripts/package builds it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnconfig)
set(CPACK_PACKAGE_VENDOR "TarnConfig developers")
set(CPACK_PACKAGE_CONTACT "TarnConfig developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configure and test Tarn model-railway accessory controllers")
# One string, a line of the package's long description to a line.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "TarnConfig configures and tests a Tarn, a 32-pin accessory controller for\n"
       "model railways, over one serial line: it reads, writes and verifies everything\n"
       "the Tarn stores, drives its pins live, watches the bus, and keeps set-ups in\n"
       "configuration files and device libraries.\n"
       "\n"
       "The package holds the desktop program tarnconfig and tarnctl, its command-line\n"
       "companion.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TarnConfig developers")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# dpkg-shlibdeps names the run-time packages of the libraries the programs link, Qt's among them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
