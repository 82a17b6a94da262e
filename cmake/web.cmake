# The browser page: the portable core and the page's entry points built as
# WebAssembly (kelvarin.js, an ES module, and kelvarin.wasm, run in a Web
# Worker), and the static files of web/ beside them in
# build/web/page, ready for any static host.
set(page_dir ${CMAKE_BINARY_DIR}/page)

# The page's half in C++ (web/wasm/: its entry points, decode sink and
# system seam) and the parallel read-ahead of parallel/, with the page's
# pool of workers in place of threads.
file(GLOB wasm_sources CONFIGURE_DEPENDS web/wasm/*.cpp)
add_executable(kelvarin_web ${wasm_sources} parallel/parallel_block_source.cpp)
target_link_libraries(kelvarin_web PRIVATE kelvarin_core)
set_target_properties(kelvarin_web PROPERTIES OUTPUT_NAME kelvarin SUFFIX .js
                      RUNTIME_OUTPUT_DIRECTORY ${page_dir})
target_compile_options(kelvarin_core PRIVATE -O3)
target_compile_options(kelvarin_web PRIVATE -O3)
# Asyncify lets an output call wait for the page, and the walk wait for a
# block from the pool; only the calls named in web/wasm/page_calls.cpp and
# web/wasm/pool_decoders.cpp suspend, so the decoder's loops stay plain.
target_link_options(kelvarin_web PRIVATE
  -O3 -sASYNCIFY -sMODULARIZE -sEXPORT_ES6 -sEXPORT_NAME=KelvarinModule -sENVIRONMENT=worker
  -sFILESYSTEM=0 -sALLOW_MEMORY_GROWTH -sINITIAL_MEMORY=4MB -sTOTAL_STACK=1MB
  -sEXPORTED_FUNCTIONS=_kelvarin_locate,_kelvarin_check,_kelvarin_read,_kelvarin_decode,_kelvarin_block_buffer,_kelvarin_decode_block,_kelvarin_decoded_block,_kelvarin_decoded_block_broken,_malloc,_free
  -sEXPORTED_RUNTIME_METHODS=ccall)

# The page's own files; index.html and the hosts' header files come from
# web/headers.txt.
file(GLOB page_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/web/*.css ${PROJECT_SOURCE_DIR}/web/*.js
     ${PROJECT_SOURCE_DIR}/web/*.svg)
set(page_copies)
foreach(source ${page_sources})
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${page_dir}/${name} COMMAND ${CMAKE_COMMAND} -E copy ${source} ${page_dir}/${name}
                     DEPENDS ${source})
  list(APPEND page_copies ${page_dir}/${name})
endforeach()
set(headers ${PROJECT_SOURCE_DIR}/web/headers.txt)
set(index ${PROJECT_SOURCE_DIR}/web/index.html)
add_custom_command(OUTPUT ${page_dir}/index.html ${page_dir}/_headers ${page_dir}/.htaccess
                   COMMAND ${CMAKE_COMMAND} -DHEADERS=${headers} -DINDEX=${index} -DPAGE=${page_dir}
                           -P ${PROJECT_SOURCE_DIR}/cmake/page_headers.cmake
                   DEPENDS ${headers} ${index} ${PROJECT_SOURCE_DIR}/cmake/page_headers.cmake)
add_custom_target(web_page ALL DEPENDS ${page_copies} ${page_dir}/index.html)

# The page's tests: Node's test runner drives the built page in headless
# Chromium (page_driver/); they open archives made by the native build's
# make_web_archives, so the native preset is built first.
find_program(NODE_PROGRAM node REQUIRED NO_CMAKE_FIND_ROOT_PATH)
file(GLOB page_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/web/*.test.mjs)
foreach(test ${page_tests})
  get_filename_component(name ${test} NAME_WE)
  add_test(NAME page.${name} COMMAND ${NODE_PROGRAM} --test ${test} WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
  # One browser at a time: the big-zip test alone writes gigabytes.
  set_tests_properties(page.${name} PROPERTIES RUN_SERIAL TRUE TIMEOUT 1200)
endforeach()
