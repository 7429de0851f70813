# Cross build of the two deliverables and of the tests that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

set(HARDEN_COMPILE -fstack-protector-strong -D_FORTIFY_SOURCE=2 -ffunction-sections -fdata-sections)
# No link time stamp in the images: the same sources give the same bytes.
set(HARDEN_LINK -fstack-protector-strong -static -static-libgcc -static-libstdc++ -s -Wl,--gc-sections
    -Wl,--dynamicbase,--nxcompat,--no-insert-timestamp)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PELOMAR_ARCH win64)
  list(APPEND HARDEN_LINK -Wl,--high-entropy-va)
  set(LARGE_ADDRESSES "")
  set(DLL_BASE -Wl,--image-base=0x180000000)
else()
  set(PELOMAR_ARCH win32)
  # Large-address-aware: a 32-bit process on 64-bit Windows then has 4 GiB
  # of address space, room to map files of more than a gigabyte whole.
  set(LARGE_ADDRESSES -Wl,--large-address-aware)
  set(DLL_BASE -Wl,--image-base=0x10000000)
endif()
# A fixed preferred base for the library (it is relocatable all the same):
# the linker would otherwise derive one from the output's path.
# Tells scripts/wine-env.sh which Wine this tree needs.
file(WRITE ${CMAKE_BINARY_DIR}/wine-arch "${PELOMAR_ARCH}\n")
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# --- Pelomar.dll ------------------------------------------------------------
file(GLOB CONTROL_SOURCES CONFIGURE_DEPENDS control/*.cpp)
add_library(pelomar_control_core STATIC ${CONTROL_CORE_SOURCES})
target_include_directories(pelomar_control_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(pelomar_control_core PRIVATE ${WARNINGS} -Werror ${HARDEN_COMPILE})

add_library(pelomar_dll_objects OBJECT ${CONTROL_SOURCES} control/pelomar.rc)
target_include_directories(pelomar_dll_objects PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/control)
target_compile_options(pelomar_dll_objects PRIVATE ${WARNINGS} -Werror ${HARDEN_COMPILE})

# The library, and a second link of the same objects into bin/again that
# the distribution check compares byte for byte.
function(pelomar_dll target dir)
  add_library(${target} SHARED $<TARGET_OBJECTS:pelomar_dll_objects>)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME Pelomar
    RUNTIME_OUTPUT_DIRECTORY ${dir} LIBRARY_OUTPUT_DIRECTORY ${dir})
  target_link_options(${target} PRIVATE ${HARDEN_LINK} ${DLL_BASE} -Wl,--exclude-all-symbols)
  target_link_libraries(${target} PRIVATE pelomar_control_core user32 gdi32 kernel32)
endfunction()
pelomar_dll(Pelomar ${CMAKE_BINARY_DIR}/bin)

# --- Pelomar.exe ------------------------------------------------------------
file(GLOB HOST_SOURCES CONFIGURE_DEPENDS host/*.cpp)
list(FILTER HOST_SOURCES EXCLUDE REGEX "/main\\.cpp$")
if(HOST_SOURCES)
  add_library(pelomar_host STATIC ${HOST_SOURCES} ${HOST_CORE_SOURCES})
  target_include_directories(pelomar_host PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/host)
  target_compile_options(pelomar_host PRIVATE ${WARNINGS} -Werror ${HARDEN_COMPILE})
  target_link_libraries(pelomar_host PUBLIC user32 gdi32 comdlg32 shell32 kernel32 comctl32)
  # Its hardened objects need the stack protector's runtime in every image.
  target_link_options(pelomar_host INTERFACE -fstack-protector-strong)

  add_library(pelomar_exe_objects OBJECT host/main.cpp host/host.rc)
  target_include_directories(pelomar_exe_objects PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/host)
  target_compile_options(pelomar_exe_objects PRIVATE ${WARNINGS} -Werror ${HARDEN_COMPILE})

  function(pelomar_exe target dir)
    add_executable(${target} WIN32 $<TARGET_OBJECTS:pelomar_exe_objects>)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME Pelomar RUNTIME_OUTPUT_DIRECTORY ${dir})
    target_link_options(${target} PRIVATE ${HARDEN_LINK} -Wl,--tsaware ${LARGE_ADDRESSES})
    target_link_libraries(${target} PRIVATE pelomar_host)
  endfunction()
  pelomar_exe(PelomarExe ${CMAKE_BINARY_DIR}/bin)
  add_dependencies(PelomarExe Pelomar)
  # Themes travel beside the program.
  if(EXISTS ${CMAKE_SOURCE_DIR}/Themes)
    add_custom_command(TARGET PelomarExe POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/Themes
              $<TARGET_FILE_DIR:PelomarExe>/Themes)
  endif()
endif()

# --- Sample host: examples/embed (built, tested, not shipped) ----------------
# A C program, so the protocol header is compiled as C in every build; the
# header is also compiled alone as strict C99.
add_executable(EmbedSample WIN32 examples/embed/embed.c)
set_target_properties(EmbedSample PROPERTIES OUTPUT_NAME embed)
target_include_directories(EmbedSample PRIVATE ${CMAKE_SOURCE_DIR}/shared)
target_compile_options(EmbedSample PRIVATE ${WARNINGS} -Werror ${HARDEN_COMPILE})
target_link_options(EmbedSample PRIVATE ${HARDEN_LINK} -Wl,--tsaware)
target_link_libraries(EmbedSample PRIVATE user32 kernel32)
add_dependencies(EmbedSample Pelomar)
add_library(pelomar_header_c OBJECT shared/pelomar_check.c)
target_compile_options(pelomar_header_c PRIVATE -std=c99 -pedantic-errors ${WARNINGS} -Werror)

# --- Distribution: Pelomar-<version>-win32.zip / -win64.zip -----------------
# The program, the library and the themes in one folder; both images are
# linked statically and import only system DLLs, so the folder runs as it is.
# A second zip packed from a second link of the same objects must come out
# byte for byte the same: the distribution check compares the two.
if(HOST_SOURCES)
  file(STRINGS ${CMAKE_SOURCE_DIR}/control/pelomar.rc version_line REGEX "^FILEVERSION ")
  string(REGEX MATCH "([0-9]+),([0-9]+),([0-9]+)" _ "${version_line}")
  set(PELOMAR_VERSION ${CMAKE_MATCH_1}.${CMAKE_MATCH_2}.${CMAKE_MATCH_3})
  set(DIST_NAME Pelomar-${PELOMAR_VERSION}-${PELOMAR_ARCH})
  set(DIST_ZIP ${CMAKE_BINARY_DIR}/${DIST_NAME}.zip)
  set(AGAIN_ZIP ${CMAKE_BINARY_DIR}/again/${DIST_NAME}.zip)
  file(GLOB DIST_THEMES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Themes/*.ini)

  pelomar_dll(PelomarAgain ${CMAKE_BINARY_DIR}/again/bin)
  pelomar_exe(PelomarExeAgain ${CMAKE_BINARY_DIR}/again/bin)

  set(PACK sh ${CMAKE_SOURCE_DIR}/scripts/pack-dist.sh)
  add_custom_command(OUTPUT ${DIST_ZIP}
    COMMAND ${PACK} ${DIST_ZIP} $<TARGET_FILE:PelomarExe> $<TARGET_FILE:Pelomar> ${CMAKE_SOURCE_DIR}/Themes
    DEPENDS PelomarExe Pelomar ${DIST_THEMES} ${CMAKE_SOURCE_DIR}/scripts/pack-dist.sh
    COMMENT "Packing ${DIST_NAME}.zip"
    VERBATIM)
  add_custom_command(OUTPUT ${AGAIN_ZIP}
    COMMAND ${PACK} ${AGAIN_ZIP} $<TARGET_FILE:PelomarExeAgain> $<TARGET_FILE:PelomarAgain> ${CMAKE_SOURCE_DIR}/Themes
    DEPENDS PelomarExeAgain PelomarAgain ${DIST_THEMES} ${CMAKE_SOURCE_DIR}/scripts/pack-dist.sh
    COMMENT "Packing ${DIST_NAME}.zip again from a second link"
    VERBATIM)
  add_custom_target(dist ALL DEPENDS ${DIST_ZIP} ${AGAIN_ZIP})
  add_test(NAME Dist.Zip
    COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/check-dist.sh ${DIST_ZIP} ${CMAKE_SOURCE_DIR}/Themes ${AGAIN_ZIP})
  set_tests_properties(Dist.Zip PROPERTIES TIMEOUT 300)
endif()

# --- Tests under Wine -------------------------------------------------------
option(PELOMAR_TESTS "Build the tests that run under Wine" ON)
if(PELOMAR_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

  file(GLOB WINE_SUPPORT CONFIGURE_DEPENDS tests/wine/support/*.cpp)
  add_library(wine_support STATIC ${WINE_SUPPORT})
  target_include_directories(wine_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests/wine)
  target_link_libraries(wine_support PUBLIC GTest::gtest user32 gdi32 kernel32 psapi)

  # A program that runs under Wine: host_* files drive the host's own code
  # (its library and resources), the others the control through its DLL.
  function(pelomar_wine_program name src)
    if(name MATCHES "^host_")
      add_executable(${name} ${src} host/host.rc)
      target_link_libraries(${name} PRIVATE pelomar_host)
      add_dependencies(${name} PelomarExe)
    else()
      add_executable(${name} ${src})
    endif()
    target_link_libraries(${name} PRIVATE wine_support pelomar_control_core)
    add_dependencies(${name} Pelomar)
  endfunction()

  file(GLOB WINE_TESTS CONFIGURE_DEPENDS tests/wine/*_test.cpp)
  foreach(src ${WINE_TESTS})
    get_filename_component(name ${src} NAME_WE)
    if(name MATCHES "^host_" AND NOT HOST_SOURCES)
      continue()
    endif()
    pelomar_wine_program(${name} ${src})
    target_compile_options(${name} PRIVATE ${WARNINGS})
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    # The clipboard and the focus belong to the whole desktop, and ctest
    # runs two programs at once: programs that use either take turns.
    file(READ ${src} body)
    set(desktop "")
    if(body MATCHES "Clipboard|PMC_COPY|menu_support\\.h|GetFocus|SetFocus|GetActiveWindow|GetForegroundWindow")
      set(desktop RESOURCE_LOCK desktop)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
      DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300 ${desktop})
  endforeach()
  # A stand-in msimg32.dll that the end-to-end test plants beside a copy of
  # the program; kept in a folder of its own, away from every other test.
  add_library(planted_msimg32 SHARED tests/wine/planted/msimg32.c tests/wine/planted/msimg32.def)
  set_target_properties(planted_msimg32 PROPERTIES PREFIX "" OUTPUT_NAME msimg32
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/planted)
  target_link_options(planted_msimg32 PRIVATE -static-libgcc)
  add_dependencies(host_e2e_test planted_msimg32)
  # The sample's test starts the sample from the same directory.
  if(TARGET embed_sample_test)
    add_dependencies(embed_sample_test EmbedSample)
  endif()
endif()

# --- Benchmarks under Wine (not tests) ---------------------------------------
file(GLOB WINE_BENCH_SOURCES CONFIGURE_DEPENDS bench/wine/*_bench.cpp)
if(PELOMAR_TESTS)
  foreach(src ${WINE_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    if(name MATCHES "^host_" AND NOT HOST_SOURCES)
      continue()
    endif()
    pelomar_wine_program(${name} ${src})
    target_compile_options(${name} PRIVATE ${WARNINGS} -O2)
    # Large-address-aware, so that a 1 GiB file view finds room to map.
    target_link_options(${name} PRIVATE -static -static-libgcc -static-libstdc++ ${LARGE_ADDRESSES})
  endforeach()
endif()

# The shipped images are hardened and the library exports nothing.
add_test(NAME Images.Hardened
  COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/check-images.sh ${CMAKE_BINARY_DIR}/bin)
