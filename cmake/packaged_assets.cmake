# The three blocks the launcher embeds. A site packs its own lesson by setting
# the three paths; left empty, the build makes the samples under assets/.

set(LAUNCHER_TUTORIAL_IMAGE "" CACHE FILEPATH "The lesson program to pack (a 32-bit Windows GUI executable); empty: the sample lesson")
set(LAUNCHER_SUBMISSION_NOTICE "" CACHE FILEPATH "The submission notice, GBK text with CR LF lines; empty: assets/tougao.txt.utf8")
set(LAUNCHER_TUTORIAL_NOTES "" CACHE FILEPATH "The tutorial notes, GBK text with CR LF lines; empty: assets/shuoming.txt.utf8")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(asset_dir ${CMAKE_BINARY_DIR}/assets)
set(staged_dir ${asset_dir}/staged)
file(MAKE_DIRECTORY ${asset_dir} ${staged_dir})

# The lesson must run where the tests run it: a 64-bit test build packs a
# 64-bit sample.
if(WIN32 AND CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(lesson_machine amd64)
  set(lesson_compiler x86_64-w64-mingw32-g++-posix)
else()
  set(lesson_machine i386)
  set(lesson_compiler i686-w64-mingw32-g++-posix)
endif()

set(tutorial_image ${LAUNCHER_TUTORIAL_IMAGE})
if(NOT tutorial_image)
  find_program(LESSON_COMPILER ${lesson_compiler} REQUIRED)
  set(tutorial_image ${asset_dir}/velto77.exe)
  set(lesson_source ${CMAKE_SOURCE_DIR}/assets/lesson/lesson_program.cpp)
  add_custom_command(OUTPUT ${tutorial_image}
    COMMAND ${LESSON_COMPILER} -std=c++20 -Os -Wall -Wextra -finput-charset=UTF-8 -fexec-charset=GBK
            "-ffile-prefix-map=${CMAKE_SOURCE_DIR}=." -mwindows -static -s -Wl,--no-insert-timestamp
            -o ${asset_dir}/lesson_program.exe ${lesson_source}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/assets/pad_image.py
            ${asset_dir}/lesson_program.exe ${tutorial_image} 15739242
    DEPENDS ${lesson_source} ${CMAKE_SOURCE_DIR}/assets/pad_image.py
    COMMENT "Building the sample lesson")
endif()

function(sample_document variable name)
  if(NOT ${variable})
    set(${variable} ${asset_dir}/${name} PARENT_SCOPE)
    add_custom_command(OUTPUT ${asset_dir}/${name}
      COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/assets/make_gbk_text.py
              ${CMAKE_SOURCE_DIR}/assets/${name}.utf8 ${asset_dir}/${name}
      DEPENDS ${CMAKE_SOURCE_DIR}/assets/${name}.utf8 ${CMAKE_SOURCE_DIR}/assets/make_gbk_text.py)
  else()
    set(${variable} ${${variable}} PARENT_SCOPE)
  endif()
endfunction()
set(submission_notice ${LAUNCHER_SUBMISSION_NOTICE})
set(tutorial_notes ${LAUNCHER_TUTORIAL_NOTES})
sample_document(submission_notice tougao.txt)
sample_document(tutorial_notes shuoming.txt)

set(check ${CMAKE_SOURCE_DIR}/content/check_asset.py)
function(stage_asset source staged kind)
  add_custom_command(OUTPUT ${staged}
    COMMAND ${CMAKE_COMMAND} -DPYTHON=${Python3_EXECUTABLE} -DCHECKER=${check} -DKIND=${kind}
            -DSOURCE=${source} -DSTAGED=${staged} "-DMACHINE=${ARGN}" -P ${CMAKE_SOURCE_DIR}/cmake/stage_asset.cmake
    DEPENDS ${source} ${check} ${CMAKE_SOURCE_DIR}/cmake/stage_asset.cmake
    COMMENT "Checking ${source}")
endfunction()
stage_asset(${tutorial_image} ${staged_dir}/velto77.exe image ${lesson_machine})
stage_asset(${submission_notice} ${staged_dir}/tougao.txt document)
stage_asset(${tutorial_notes} ${staged_dir}/shuoming.txt document)

set(LAUNCHER_STAGED_IMAGE ${staged_dir}/velto77.exe)
set(LAUNCHER_STAGED_NOTICE ${staged_dir}/tougao.txt)
set(LAUNCHER_STAGED_NOTES ${staged_dir}/shuoming.txt)
set_source_files_properties(${CMAKE_SOURCE_DIR}/content/embedded_blocks.S PROPERTIES
  COMPILE_DEFINITIONS "TUTORIAL_IMAGE=\"${LAUNCHER_STAGED_IMAGE}\";SUBMISSION_NOTICE=\"${LAUNCHER_STAGED_NOTICE}\";TUTORIAL_NOTES=\"${LAUNCHER_STAGED_NOTES}\""
  OBJECT_DEPENDS "${LAUNCHER_STAGED_IMAGE};${LAUNCHER_STAGED_NOTICE};${LAUNCHER_STAGED_NOTES}")
