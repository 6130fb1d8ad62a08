# Installs the build tree into a scratch DESTDIR and checks what landed there: every file in
# its place and nothing else, icons of the size their folder names, manual pages that render
# without warnings, and installed programs that run. Run by the CTest test install.tree:
#   cmake -DBUILD_DIR=... -DSTAGE=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=...
#         -DVERSION=... -DGUI=0|1 -DCOMPANIONS="morvane-rc;..." -P check_install.cmake

file(REMOVE_RECURSE ${STAGE})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR}
  RESULT_VARIABLE result
  OUTPUT_QUIET
  ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${error}")
endif()

set(root ${STAGE}${PREFIX})
set(icon_sizes 16 32 48 64 128 256)
set(expected ${BINDIR}/morvane-cli ${MANDIR}/man1/morvane-cli.1.gz)
if(GUI)
  list(APPEND expected
    ${BINDIR}/morvane
    ${MANDIR}/man1/morvane.1.gz
    ${DATADIR}/applications/morvane.desktop
    ${DATADIR}/icons/hicolor/scalable/apps/morvane.svg)
  foreach(size IN LISTS icon_sizes)
    list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/morvane.png)
  endforeach()
endif()
foreach(companion IN LISTS COMPANIONS)
  list(APPEND expected
    ${BINDIR}/${companion}
    ${MANDIR}/man1/${companion}.1.gz
    ${DATADIR}/applications/${companion}.desktop)
endforeach()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${root} ${root}/*)
list(SORT installed)
list(SORT expected)
if(NOT installed STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${installed})
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected})
  message(FATAL_ERROR "installed tree differs\n  missing: ${missing}\n  not expected: ${extra}")
endif()

# A PNG's width and height are the big-endian words at bytes 16 and 20.
if(GUI)
  foreach(size IN LISTS icon_sizes)
    set(png ${root}/${DATADIR}/icons/hicolor/${size}x${size}/apps/morvane.png)
    file(READ ${png} header LIMIT 24 HEX)
    string(SUBSTRING "${header}" 0 16 signature)
    string(SUBSTRING "${header}" 32 16 dimensions)
    math(EXPR word "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REPLACE "0x" "" word "${word}")
    string(LENGTH "${word}" length)
    while(length LESS 8)
      string(PREPEND word "0")
      string(LENGTH "${word}" length)
    endwhile()
    string(TOLOWER "${word}${word}" want)
    if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT dimensions STREQUAL want)
      message(FATAL_ERROR "${png} is not a ${size}x${size} PNG (header ${header})")
    endif()
  endforeach()
endif()

set(programs morvane-cli ${COMPANIONS})
if(GUI)
  list(APPEND programs morvane)
endif()
foreach(program IN LISTS programs)
  execute_process(
    COMMAND ${root}/${BINDIR}/${program} --version
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE error)
  if(NOT result EQUAL 0 OR NOT output STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "installed ${program} --version gave ${result}: \"${output}\" ${error}")
  endif()
endforeach()

# groff's warnings catch roff mistakes that a reader sees only as odd spacing or lost text.
find_program(MAN man)
if(MAN)
  file(GLOB pages ${root}/${MANDIR}/man1/*.gz)
  foreach(page IN LISTS pages)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env MANWIDTH=80 ${MAN} --warnings -l ${page}
      RESULT_VARIABLE result
      OUTPUT_VARIABLE output
      ERROR_VARIABLE error)
    if(NOT result EQUAL 0 OR NOT error STREQUAL "" OR NOT output MATCHES "SYNOPSIS")
      message(FATAL_ERROR "man -l ${page} gave ${result}: ${error}")
    endif()
  endforeach()
endif()

file(REMOVE_RECURSE ${STAGE})
