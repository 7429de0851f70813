# libFuzzer targets for the portable code that takes outside input, under
# AddressSanitizer and UndefinedBehaviorSanitizer. Configure with clang:
#   cmake -S . -B build/fuzz -DPELOMAR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
set(FUZZ_SECONDS 8 CACHE STRING "Seconds per fuzz target in the test command")
set(FUZZ_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -g -O1)

add_library(pelomar_core_fuzz STATIC ${CONTROL_CORE_SOURCES} ${HOST_CORE_SOURCES})
target_include_directories(pelomar_core_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(pelomar_core_fuzz PRIVATE ${WARNINGS} ${FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(pelomar_core_fuzz PUBLIC ${FUZZ_SANITIZE})

file(GLOB FUZZ_SOURCES CONFIGURE_DEPENDS tests/fuzz/*_fuzz.cpp)
foreach(src ${FUZZ_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${WARNINGS} ${FUZZ_SANITIZE} -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE pelomar_core_fuzz)
  # A short run, seeded from the corpus kept in the repository; new inputs
  # go to a scratch directory in the build tree (scripts/fuzz.sh merges
  # them into the kept corpus after longer runs).
  set(kept ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  set(scratch ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${kept} ${scratch})
  add_test(NAME Fuzz.${name}
    COMMAND $<TARGET_FILE:${name}> -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048
            -print_final_stats=1 ${scratch} ${kept})
endforeach()

# The layout arithmetic again with 32-bit offsets, as the 32-bit build has them.
add_library(pelomar_control_core_fuzz32 STATIC ${CONTROL_CORE_SOURCES})
target_include_directories(pelomar_control_core_fuzz32 PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(pelomar_control_core_fuzz32 PUBLIC PELOMAR_OFFSET_BITS=32)
target_compile_options(pelomar_control_core_fuzz32 PRIVATE ${WARNINGS} ${FUZZ_SANITIZE} -fsanitize=fuzzer-no-link)
target_link_options(pelomar_control_core_fuzz32 PUBLIC ${FUZZ_SANITIZE})
add_executable(layout_fuzz32 tests/fuzz/layout_fuzz.cpp)
target_compile_options(layout_fuzz32 PRIVATE ${WARNINGS} ${FUZZ_SANITIZE} -fsanitize=fuzzer)
target_link_options(layout_fuzz32 PRIVATE -fsanitize=fuzzer)
target_link_libraries(layout_fuzz32 PRIVATE pelomar_control_core_fuzz32)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/corpus/layout_fuzz32)
add_test(NAME Fuzz.layout_fuzz32
  COMMAND $<TARGET_FILE:layout_fuzz32> -max_total_time=${FUZZ_SECONDS} -rss_limit_mb=2048
          ${CMAKE_BINARY_DIR}/corpus/layout_fuzz32 ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/layout_fuzz)
