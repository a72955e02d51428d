# What `cmake --install` puts down: the program, its data, and what desktops and
# software centres look for. Files named after CALVENOR_APP_ID, the reverse-DNS name the
# desktop knows the program by.
include(GNUInstallDirs)
# Folders as a package wants them whatever the umask: readable by all, written by root.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The program looks for its data in ../share/calvenor/ beside its bin/ folder (DataFolder),
# so this place is fixed, whatever the data root is set to.
set(_calvenor_data share/calvenor)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/Languages/ DESTINATION ${_calvenor_data}/Languages
        FILES_MATCHING PATTERN "*.lng")
# The guide, and any translation of it ("Readme Deutsch.html") that joins it later.
file(GLOB _calvenor_guides CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/Readme*.html)
install(FILES ${_calvenor_guides} DESTINATION ${_calvenor_data})

install(FILES ${PROJECT_SOURCE_DIR}/resources/${CALVENOR_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/${CALVENOR_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/docs/calvenor.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(_calvenor_svg ${PROJECT_SOURCE_DIR}/resources/${CALVENOR_APP_ID}.svg)
install(FILES ${_calvenor_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Fixed-size pictures for desktops that do not scale the SVG, made only when a converter
# is at hand: none is needed to build or install. The sizes made are listed in
# CALVENOR_ICON_SIZES (empty without a converter).
find_program(CALVENOR_RSVG_CONVERT rsvg-convert)
find_program(CALVENOR_INKSCAPE inkscape)
find_program(CALVENOR_IMAGEMAGICK NAMES magick convert)
set(_calvenor_magick FALSE)
if(CALVENOR_IMAGEMAGICK)
    # A "convert" that is not ImageMagick's, or cannot run, is no converter.
    execute_process(COMMAND ${CALVENOR_IMAGEMAGICK} -version OUTPUT_VARIABLE _calvenor_version
                    ERROR_QUIET RESULT_VARIABLE _calvenor_result)
    if(_calvenor_result EQUAL 0 AND _calvenor_version MATCHES "Version: ImageMagick")
        set(_calvenor_magick TRUE)
    endif()
endif()

set(CALVENOR_ICON_SIZES "")
set(_calvenor_pngs "")
foreach(_size 16 22 24 32 48 64 128 256)
    set(_png ${PROJECT_BINARY_DIR}/icons/${_size}x${_size}/${CALVENOR_APP_ID}.png)
    if(CALVENOR_RSVG_CONVERT)
        set(_convert ${CALVENOR_RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_calvenor_svg})
    elseif(CALVENOR_INKSCAPE)
        set(_convert ${CALVENOR_INKSCAPE} -w ${_size} -h ${_size} --export-filename=${_png} ${_calvenor_svg})
    elseif(_calvenor_magick)
        set(_convert ${CALVENOR_IMAGEMAGICK} -background none -density 384 ${_calvenor_svg} -resize ${_size}x${_size} ${_png})
    else()
        break()
    endif()
    add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${_size}x${_size}
        COMMAND ${_convert}
        DEPENDS ${_calvenor_svg}
        VERBATIM)
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
    list(APPEND _calvenor_pngs ${_png})
    list(APPEND CALVENOR_ICON_SIZES ${_size})
endforeach()
if(_calvenor_pngs)
    add_custom_target(calvenor_icons ALL DEPENDS ${_calvenor_pngs})
    # Building the program alone is enough to install it.
    add_dependencies(calvenor calvenor_icons)
endif()
