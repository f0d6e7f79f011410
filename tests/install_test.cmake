# cmake --install into a fresh prefix: the menu entry starts the installed
# program and names its icon, which is there in every hicolor size.
#   cmake -DBUILD=<build folder> -DPREFIX=<scratch folder> -P install_test.cmake
cmake_minimum_required(VERSION 3.22)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install: ${rc}")
endif()
file(STRINGS ${PREFIX}/share/applications/zubrica98.desktop entry)
foreach(line "Exec=\"${PREFIX}/bin/zubrica98\"" "Icon=zubrica98" "StartupWMClass=zubrica98")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "zubrica98.desktop lacks ${line}: ${entry}")
  endif()
endforeach()
foreach(size 16 24 32 48 64 128 256)
  # A PNG's width and height: big-endian, at bytes 16 and 20.
  file(READ ${PREFIX}/share/icons/hicolor/${size}x${size}/apps/zubrica98.png hex
    OFFSET 16 LIMIT 8 HEX)
  string(SUBSTRING ${hex} 0 8 width)
  string(SUBSTRING ${hex} 8 8 height)
  math(EXPR width "0x${width}")
  math(EXPR height "0x${height}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "hicolor ${size}x${size}: the icon is ${width}x${height}")
  endif()
endforeach()
