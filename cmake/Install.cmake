# What `cmake --install` puts where, in one place:
#   bin/                              pendlar, pendlar-tool
#   share/pendlar/                    the manual and help (QuilmoPendlar.html, admin.html),
#                                     its pictures (manual/*.png), the icons
#   share/applications/               pendlar.desktop
#   share/icons/hicolor/<size>/apps/  the icon, drawn as SVG with PNG renderings
# The installed program finds share/pendlar beside its own bin/ folder (util/Profile.cpp),
# so a prefix can be moved or unpacked anywhere.
#
# The PNG icons are renderings of data/icons/pendlar.svg at each size (any SVG renderer
# gives them; they are committed because a build machine need not have one).

if(TARGET pendlar)
    install(TARGETS pendlar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS pendlar-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(PENDLAR_DATA_DEST ${CMAKE_INSTALL_DATADIR}/pendlar)
# The manual, which is also the help that F1 opens, and any page it links to.
file(GLOB pendlar_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*.html)
install(FILES ${pendlar_pages} DESTINATION ${PENDLAR_DATA_DEST})
# Pictures the manual shows (made by scripts/manual-shots), found by relative path.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/manual/ DESTINATION ${PENDLAR_DATA_DEST}/manual)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/pendlar.svg DESTINATION ${PENDLAR_DATA_DEST}/icons)

if(TARGET pendlar)
    install(FILES ${PROJECT_SOURCE_DIR}/data/pendlar.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/pendlar.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
foreach(size 16 32 48 64 128 256)
    set(png ${PROJECT_SOURCE_DIR}/data/icons/hicolor/${size}x${size}/apps/pendlar.png)
    install(FILES ${png} DESTINATION ${PENDLAR_DATA_DEST}/icons RENAME pendlar-${size}.png)
    if(TARGET pendlar)
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endif()
endforeach()
