# The show for the web, built with Emscripten (emcmake cmake -S . -B build-web; see tools/build-web.sh):
#   voxa7100.html        the page: one self-contained file, the program's WebAssembly inside it
#   voxa7100-record.js   the recorder for Node (node voxa7100-record.js --frames N ...), without the
#                        PNG and video writers, which need libpng and processes
# Included by the top-level CMakeLists.txt after the library.

# Emscripten's JavaScript optimiser needs Debian's node modules, which node does not search itself.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env "NODE_PATH=/usr/share/nodejs:$ENV{NODE_PATH}")

add_executable(voxa7100-record src/app/recorder/main.cpp src/app/recorder/recorder.cpp src/backends/headless.cpp)
set_target_properties(voxa7100-record PROPERTIES SUFFIX .js)
# The recorder stops the show by throwing; the library itself is built without exception support.
target_compile_options(voxa7100-record PRIVATE -fexceptions)
target_link_libraries(voxa7100-record PRIVATE voxa_recorder)
target_link_options(voxa7100-record PRIVATE -fexceptions -sENVIRONMENT=node -sNODERAWFS=1 -sEXIT_RUNTIME=1
                    -sALLOW_MEMORY_GROWTH=1 -sSINGLE_FILE=1)

# The program of the page: glue script and WebAssembly, made into the page below.
add_executable(voxa7100-web src/backends/web.cpp src/app/voxa7100_web.cpp)
set_target_properties(voxa7100-web PROPERTIES SUFFIX .js)
target_link_libraries(voxa7100-web PRIVATE voxa)
# Asyncify instruments only the functions on a direct call path to presenting, sleeping, waiting or
# exiting: the show never does those through a function pointer (scene drawing and listeners do
# not), and instrumenting every function that calls one (the error reports' printf does) would
# slow the pixel loops.
target_link_options(voxa7100-web PRIVATE -sENVIRONMENT=web -sMODULARIZE=1 -sEXPORT_NAME=createVoxa -sASYNCIFY=1
                    -sASYNCIFY_IGNORE_INDIRECT=1 -sASYNCIFY_STACK_SIZE=65536 -sALLOW_MEMORY_GROWTH=1
                    -sMALLOC=emmalloc -sFILESYSTEM=0 -sEXIT_RUNTIME=0)

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(VOXA_PAGE ${CMAKE_BINARY_DIR}/voxa7100.html)
# The parts of the page's script; make_page.py joins them in its own order. CONFIGURE_DEPENDS
# looks again at each build, so a new part is noticed too.
file(GLOB VOXA_PAGE_PARTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/web/*.js)
add_custom_command(
  OUTPUT ${VOXA_PAGE}
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_page.py ${CMAKE_SOURCE_DIR}/src/web/voxa7100.html
          ${CMAKE_SOURCE_DIR}/src/web $<TARGET_FILE:voxa7100-web>
          $<TARGET_FILE_DIR:voxa7100-web>/voxa7100-web.wasm ${CMAKE_SOURCE_DIR}/src/app/icons/voxa7100-32.png ${VOXA_PAGE}
  DEPENDS voxa7100-web ${CMAKE_SOURCE_DIR}/tools/make_page.py ${CMAKE_SOURCE_DIR}/src/web/voxa7100.html
          ${VOXA_PAGE_PARTS} ${CMAKE_SOURCE_DIR}/src/app/icons/voxa7100-32.png
  COMMENT "Making the page voxa7100.html"
  VERBATIM)
add_custom_target(voxa7100-page ALL DEPENDS ${VOXA_PAGE})
