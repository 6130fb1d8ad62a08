# The program icon, drawn once as resources/icons/morvane.svg. At build time a small Qt tool
# renders the PNG sizes of the desktop's icon theme from it; the program carries the PNGs as
# its window icon (":/icons/morvane-SIZE.png"), so it needs no SVG support when it runs.
# Included from gui/CMakeLists.txt, after the morvane_gui target.

include(GNUInstallDirs)
find_package(Qt6 6.2 REQUIRED COMPONENTS Gui Svg)

set(MORVANE_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/icons/morvane.svg)
set(MORVANE_ICON_SIZES 16 32 48 64 128 256)
set(MORVANE_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)

add_executable(morvane_render_icon ${PROJECT_SOURCE_DIR}/tools/render_icon.cpp)
target_link_libraries(morvane_render_icon PRIVATE Qt6::Gui Qt6::Svg)

set(MORVANE_ICON_PNGS)
foreach(size IN LISTS MORVANE_ICON_SIZES)
  list(APPEND MORVANE_ICON_PNGS ${MORVANE_ICON_DIR}/morvane-${size}.png)
endforeach()
# Leak checking of a sanitizer build would fail the build on Qt's caches, not on ours.
add_custom_command(
  OUTPUT ${MORVANE_ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:morvane_render_icon> ${MORVANE_ICON_SVG} ${MORVANE_ICON_DIR}
          ${MORVANE_ICON_SIZES}
  DEPENDS morvane_render_icon ${MORVANE_ICON_SVG}
  COMMENT "Rendering the program icon"
  VERBATIM)

qt_add_resources(morvane_gui morvane_icons
  PREFIX /icons
  BASE ${MORVANE_ICON_DIR}
  FILES ${MORVANE_ICON_PNGS})

install(FILES ${MORVANE_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS MORVANE_ICON_SIZES)
  install(FILES ${MORVANE_ICON_DIR}/morvane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME morvane.png)
endforeach()
