# Fails when FILE is larger than LIMIT bytes; prints the size either way.
#   cmake -DFILE=<path> -DLIMIT=<bytes> -P CheckSize.cmake
if(NOT EXISTS "${FILE}")
  message(FATAL_ERROR "${FILE} does not exist")
endif()
file(SIZE "${FILE}" size)
if(size GREATER LIMIT)
  message(FATAL_ERROR "${FILE} is ${size} bytes, more than the ${LIMIT} allowed")
endif()
message(STATUS "${FILE}: ${size} bytes (at most ${LIMIT})")
