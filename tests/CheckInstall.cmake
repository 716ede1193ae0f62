# SPDX-License-Identifier: GPL-3.0-or-later
# Installs into a temporary prefix and checks that a desktop would find everything, valid.
set(prefix ${BINARY_DIR}/install-check)
file(REMOVE_RECURSE ${prefix})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${prefix}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed")
endif()
set(expected
    bin/quillo
    libexec/quillo/quillo-reader
    share/applications/org.quillo.Quillo.desktop
    share/metainfo/org.quillo.Quillo.metainfo.xml
    share/doc/quillo/copyright
    share/man/man1/quillo.1
    share/quillo/translations/quillo_de.qm
    share/quillo/translations/quillo_fr.qm
    share/bash-completion/completions/quillo
    share/zsh/vendor-completions/_quillo
    share/fish/vendor_completions.d/quillo.fish
    share/icons/hicolor/scalable/apps/org.quillo.Quillo.svg
    share/icons/hicolor/48x48/apps/org.quillo.Quillo.png
    share/icons/hicolor/256x256/apps/org.quillo.Quillo.png
    share/dbus-1/services/org.quillo.Quillo.SearchProvider.service
    share/gnome-shell/search-providers/org.quillo.Quillo.search-provider.ini
    share/krunner/dbusplugins/org.quillo.Quillo.desktop)
foreach(file IN LISTS expected)
    if(NOT EXISTS ${prefix}/${file})
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND desktop-file-validate ${prefix}/share/applications/org.quillo.Quillo.desktop
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "desktop-file-validate rejected the desktop entry")
endif()
execute_process(COMMAND appstreamcli validate --no-net ${prefix}/share/metainfo/org.quillo.Quillo.metainfo.xml
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "appstreamcli rejected the metainfo")
endif()
# The desktop's search finds the providers: the bus starts the installed program under the name that
# GNOME Shell and KRunner are told to ask, for the desktop entry that is installed.
file(READ ${prefix}/share/dbus-1/services/org.quillo.Quillo.SearchProvider.service service)
if(NOT service MATCHES "\nName=org\\.quillo\\.Quillo\\.SearchProvider\n"
   OR NOT service MATCHES "\nExec=/[^\n]*/bin/quillo --search-provider\n")
    message(FATAL_ERROR "the search provider's bus service is wrong:\n${service}")
endif()
file(READ ${prefix}/share/gnome-shell/search-providers/org.quillo.Quillo.search-provider.ini gnome)
file(READ ${prefix}/share/krunner/dbusplugins/org.quillo.Quillo.desktop krunner)
foreach(line IN ITEMS "DesktopId=org.quillo.Quillo.desktop" "BusName=org.quillo.Quillo.SearchProvider"
                      "ObjectPath=/org/quillo/Quillo/SearchProvider" "Version=2")
    if(NOT gnome MATCHES "\n${line}\n")
        message(FATAL_ERROR "the GNOME Shell search provider lacks ${line}:\n${gnome}")
    endif()
endforeach()
foreach(line IN ITEMS "X-Plasma-API=DBus" "X-Plasma-DBusRunner-Service=org.quillo.Quillo.SearchProvider"
                      "X-Plasma-DBusRunner-Path=/org/quillo/Quillo/KRunner")
    if(NOT krunner MATCHES "\n${line}\n")
        message(FATAL_ERROR "the KRunner runner lacks ${line}:\n${krunner}")
    endif()
endforeach()
# The installed program finds its translations under share/.
execute_process(COMMAND env LANGUAGE=de ${prefix}/bin/quillo --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT help MATCHES "Bildschirmfotos")
    message(FATAL_ERROR "the installed quillo does not speak German:\n${help}")
endif()
# The installed program finds its reader, and a file is read.
execute_process(COMMAND env HOME=${prefix}/home XDG_CONFIG_HOME=${prefix}/home/.config
                        XDG_DATA_HOME=${prefix}/home/.local/share XDG_CACHE_HOME=${prefix}/home/.cache
                        ${prefix}/bin/quillo name ${SOURCE_DIR}/tests/data/screenshots/c002.png
                OUTPUT_VARIABLE named ERROR_VARIABLE problem RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT named MATCHES "[a-z]+-[a-z]+")
    message(FATAL_ERROR "the installed quillo could not name a screenshot:\n${named}${problem}")
endif()
file(REMOVE_RECURSE ${prefix})
