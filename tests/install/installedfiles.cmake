# calvenor_installed_files(<var>): every file an installation puts down, relative to its
# prefix, so that a stray rule (a library, a test program) shows too. Needs SOURCE_DIR,
# APP_ID and ICON_SIZES (16,32,...).
function(calvenor_installed_files out)
    file(GLOB languages RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/Languages/*.lng")
    file(GLOB guides RELATIVE "${SOURCE_DIR}/docs" "${SOURCE_DIR}/docs/Readme*.html")
    list(TRANSFORM languages PREPEND share/calvenor/)
    list(TRANSFORM guides PREPEND share/calvenor/)
    set(files
        bin/calvenor
        ${languages}
        ${guides}
        share/applications/${APP_ID}.desktop
        share/metainfo/${APP_ID}.metainfo.xml
        share/icons/hicolor/scalable/apps/${APP_ID}.svg
        share/man/man1/calvenor.1)
    string(REPLACE "," ";" sizes "${ICON_SIZES}")
    foreach(size IN LISTS sizes)
        list(APPEND files share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    endforeach()
    list(SORT files)
    set(${out} "${files}" PARENT_SCOPE)
endfunction()

# calvenor_private_home(): the program about to run gets a home, config folder, Wine
# prefix and temporary folder of its own under WORK_DIR, with nothing of the machine's
# file manager or display in sight.
macro(calvenor_private_home)
    set(home "${WORK_DIR}/home")
    file(MAKE_DIRECTORY "${home}" "${WORK_DIR}/wine" "${WORK_DIR}/tmp")
    set(ENV{HOME} "${home}")
    set(ENV{XDG_CONFIG_HOME} "${home}/.config")
    set(ENV{WINEPREFIX} "${WORK_DIR}/wine")
    set(ENV{TMPDIR} "${WORK_DIR}/tmp")
    foreach(name Commander_Path COMMANDER_PATH Commander_INI COMMANDER_INI DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM)
        unset(ENV{${name}})
    endforeach()
endmacro()
