# Fails when a source of the core includes a Qt header.
file(GLOB_RECURSE sources ${ROOT}/usul/*.cpp ${ROOT}/usul/*.h ${ROOT}/notation/*.cpp
     ${ROOT}/notation/*.h ${ROOT}/sound/*.cpp ${ROOT}/sound/*.h ${ROOT}/plans/*.cpp ${ROOT}/plans/*.h
     ${ROOT}/exchange/*.cpp ${ROOT}/exchange/*.h)
set(bad "")
foreach(f ${sources})
  if(f MATCHES "_window\\.(cpp|h)$")
    continue()
  endif()
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|qt)")
  if(lines)
    list(APPEND bad "${f}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Qt headers in the core: ${bad}")
endif()
message(STATUS "core sources free of Qt")
