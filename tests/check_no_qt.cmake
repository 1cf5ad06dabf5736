# Fails when a plain C++ library links Qt, itself or through any library it
# links: LINKS names, one line each, a library and every library it reaches
# (written at configure time by tests/CMakeLists.txt). Without a Qt target
# among them no Qt header can be found either.
file(STRINGS ${LINKS} lines)
set(bad "")
foreach(line ${lines})
  if(line MATCHES "Qt")
    list(APPEND bad "${line}")
  endif()
endforeach()
if(bad)
  message(FATAL_ERROR "Qt linked by a plain library:\n${bad}")
endif()
list(LENGTH lines count)
if(count LESS 6)
  message(FATAL_ERROR "only ${count} plain libraries checked in ${LINKS}")
endif()
message(STATUS "${count} plain libraries link no Qt")
