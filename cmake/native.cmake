# Native Linux build of the portable core and its tests, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set(SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(pelomar_core STATIC ${CONTROL_CORE_SOURCES} ${HOST_CORE_SOURCES})
target_include_directories(pelomar_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(pelomar_core PRIVATE ${WARNINGS} -Werror ${SANITIZE} -g)
target_link_options(pelomar_core PUBLIC ${SANITIZE})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS tests/native/*.cpp)
add_executable(core_tests ${NATIVE_TEST_SOURCES})
target_compile_options(core_tests PRIVATE ${WARNINGS} ${SANITIZE} -g)
target_link_libraries(core_tests PRIVATE pelomar_core GTest::gtest_main)
# The shipped theme files are checked where they live in the sources.
target_compile_definitions(core_tests PRIVATE PELOMAR_THEMES_DIR="${CMAKE_SOURCE_DIR}/Themes")
gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)

# The control's core again with 32-bit offsets, as the 32-bit build has
# them, and its tests from the same sources: every rule runs at both widths.
add_library(pelomar_control_core32 STATIC ${CONTROL_CORE_SOURCES})
target_include_directories(pelomar_control_core32 PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(pelomar_control_core32 PUBLIC PELOMAR_OFFSET_BITS=32)
target_compile_options(pelomar_control_core32 PRIVATE ${WARNINGS} -Werror ${SANITIZE} -g)
target_link_options(pelomar_control_core32 PUBLIC ${SANITIZE})
set(CONTROL_TEST_SOURCES ${NATIVE_TEST_SOURCES})
list(FILTER CONTROL_TEST_SOURCES EXCLUDE REGEX "/host_[^/]*$")
add_executable(core_tests32 ${CONTROL_TEST_SOURCES})
target_compile_options(core_tests32 PRIVATE ${WARNINGS} ${SANITIZE} -g)
target_link_libraries(core_tests32 PRIVATE pelomar_control_core32 GTest::gtest_main)
gtest_discover_tests(core_tests32 TEST_PREFIX "Offset32." DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES)

# Benchmarks: the same core, optimised and without sanitizers. Not tests.
file(GLOB NATIVE_BENCH_SOURCES CONFIGURE_DEPENDS bench/native/*_bench.cpp)
if(NATIVE_BENCH_SOURCES)
  add_library(pelomar_core_fast STATIC ${CONTROL_CORE_SOURCES} ${HOST_CORE_SOURCES})
  target_include_directories(pelomar_core_fast PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(pelomar_core_fast PRIVATE ${WARNINGS} -O2 -msse2)
  foreach(src ${NATIVE_BENCH_SOURCES})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_compile_options(${name} PRIVATE ${WARNINGS} -O2)
    target_link_libraries(${name} PRIVATE pelomar_core_fast)
  endforeach()
endif()
