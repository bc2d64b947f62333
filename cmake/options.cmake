# Build options shared by both configurations.
option(MZ_BUILD_TESTS "Build the test executables" ON)
option(MZ_SANITIZE "Build with address and undefined-behaviour sanitizers (native only)" OFF)

if(WIN32)
  add_compile_options(-Wall -Wextra -Werror -Wno-cast-function-type)
  # Static runtime: the exe must import system DLLs only.
  set(MZ_WIN_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
  if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel" OR CMAKE_BUILD_TYPE STREQUAL "Release")
    add_compile_options(-Os -ffunction-sections -fdata-sections)
    # The program uses no exceptions, run-time types or threads. Built without them, and with the standard
    # strings instantiated in its own objects (the library's prebuilt ones throw), it links none of the
    # exception runtime, unwinder and thread library (src/app/win32/runtime.cpp answers the rest).
    add_compile_options(-fno-exceptions -fno-rtti -fno-threadsafe-statics -fno-asynchronous-unwind-tables
                        "SHELL:-include ${CMAKE_CURRENT_LIST_DIR}/no_extern_templates.h")
    add_link_options(-Wl,--gc-sections)
  endif()
else()
  add_compile_options(-Wall -Wextra -Werror)
  if(MZ_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()
