# Fails when a file of the plain C++ libraries includes a Qt header.
file(GLOB_RECURSE files
  ${ROOT}/src/race/*.h ${ROOT}/src/race/*.cpp
  ${ROOT}/src/records/*.h ${ROOT}/src/records/*.cpp
  ${ROOT}/src/decoder/*.h ${ROOT}/src/decoder/*.cpp
  ${ROOT}/src/results/*.h ${ROOT}/src/results/*.cpp
  ${ROOT}/src/meeting/*.h ${ROOT}/src/meeting/*.cpp)
set(bad "")
foreach(f ${files})
  file(STRINGS ${f} lines REGEX "#include[ \t]*<Q")
  if(lines)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Qt included in plain libraries: ${bad}")
endif()
message(STATUS "plain libraries are Qt-free (${CMAKE_CURRENT_LIST_FILE})")
