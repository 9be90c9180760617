# quillmoor_library(<name> [UI] SOURCES ... [LIBS ...])
# One static library; include paths rooted at the repository root.
function(quillmoor_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;RESOURCES" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# quillmoor_add_test(<name> SOURCES ... LIBS ... [LABELS ...] [TIMEOUT s] [XVFB])
# One test executable registered with CTest, run with the offscreen platform and
# the WebEngine flags this machine needs. XVFB runs it under xvfb-run instead.
# The shared corpus sits beside the checkout; worktrees one level deeper find it above.
set(QUILLMOOR_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../shared/corpus")
if(NOT EXISTS "${QUILLMOOR_CORPUS_DIR}" AND EXISTS "${PROJECT_SOURCE_DIR}/../../shared/corpus")
  set(QUILLMOOR_CORPUS_DIR "${PROJECT_SOURCE_DIR}/../../shared/corpus")
endif()

function(quillmoor_add_test name)
  cmake_parse_arguments(ARG "XVFB" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
      QUILLMOOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      QUILLMOOR_CORPUS_DIR="${QUILLMOOR_CORPUS_DIR}")
  if(ARG_XVFB)
    add_test(NAME ${name} COMMAND xvfb-run -a -s "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
    set(platform xcb)
    list(APPEND ARG_LABELS xvfb)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set(platform offscreen)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES
      TIMEOUT ${ARG_TIMEOUT}
      LABELS "${ARG_LABELS}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
      ENVIRONMENT "QT_QPA_PLATFORM=${platform};QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu")
endfunction()
