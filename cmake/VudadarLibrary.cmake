# One static library per source folder; every .cpp of the folder belongs to it.
function(vudadar_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # Main.cpp (the program's one application object) and WinMain.cpp (its
  # entry point) belong to the executable only, so test programs can make
  # their own; the C run-time must also find the entry point before the
  # libraries are searched.
  list(FILTER sources EXCLUDE REGEX "/(Main|WinMain)\\.cpp$")
  if(NOT sources)
    # A folder whose subsystem has no code yet still yields a linkable target.
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${sources})
  if(name STREQUAL "framework")
    target_precompile_headers(framework PUBLIC ${CMAKE_SOURCE_DIR}/framework/pch.h)
  else()
    target_precompile_headers(${name} REUSE_FROM framework)
  endif()
endfunction()
