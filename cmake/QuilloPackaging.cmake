# SPDX-License-Identifier: GPL-3.0-or-later
# `make package`: a Debian package whose library dependencies come from what the program links
# (dpkg-shlibdeps), plus what it loads at run time that no linker sees.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillo)
set(CPACK_PACKAGE_VENDOR "Quillo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Give new screenshots meaningful file names")
set(CPACK_PACKAGE_DESCRIPTION "Quillo watches the folder where your screenshot tool saves captures, reads the text of each fresh screenshot on this computer and renames the file after its subject. Nothing is uploaded.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillo developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# English recognition data, TIFF/WebP readers, the English word list names are checked against and
# the folder-opening fallback are loaded or run, never linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "tesseract-ocr-eng, qt6-image-formats-plugins, wamerican, xdg-utils")
# Qt's own translations, for the buttons of dialogs in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dbus-user-session, qt6-translations-l10n")
include(CPack)
