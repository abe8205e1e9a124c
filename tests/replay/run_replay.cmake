# Converts one model in every mode below (with -DMATERIALS=ON: those of run_material_modes), compiles each generated
# source with the C compiler against the stand-in graphics definitions of its microcode into replay_main.c, and
# replays the display list over the vertex cache.
#
#   cmake -DPOLVANE=<exe> -DCC=<C compiler> -DSOURCE_DIR=<tests/replay> -DSCRATCH_DIR=<dir>
#         -DMODEL=<obj file, or "<shape> <attributes> <triangles>" for -DGENERATOR=<generate_models>>
#         [-DMATERIALS=ON [-DARGS_FILE=<a golden case's args>] [-DOPTIONS=<more options, ","-separated>]
#          [-DEXPECT_STATUS=<the conversion's exit status>]] -P run_replay.cmake
#
# Besides the replay's own checks of every command: a mode without --optimize must draw exactly what the default
# run draws, row for row; with --optimize the rows come in a new order, so the drawn triangles, as the values of
# their corners turned to a fixed first corner, must be the default run's as a multiset, and the list must end in
# its one sync.
cmake_minimum_required(VERSION 3.16)

# name, options (",": a blank), stand-in definitions, cache slots
set(modes
  "f3d||NONE|16"
  "f3dex|--ucode,f3dex|REPLAY_F3DEX|32"
  "f3dex2|--ucode,f3dex2|REPLAY_F3DEX2|32"
  "f3dex3|--ucode,f3dex3|REPLAY_F3DEX3|56"
  "f3dex2-cache5|--ucode,f3dex2,--cache,5|REPLAY_F3DEX2|5"
  "f3d-optimize|--optimize|NONE|16"
  "f3dex-optimize|--ucode,f3dex,--optimize|REPLAY_F3DEX|32"
  "f3dex2-optimize|--optimize,--ucode,f3dex2|REPLAY_F3DEX2|32"
  "f3dex3-optimize|--ucode,f3dex3,--optimize|REPLAY_F3DEX3|56"
  "f3dex3-cache3-optimize|--ucode,f3dex3,--cache,3,--optimize|REPLAY_F3DEX3|3"
  "f3dex3-cache8-optimize|--ucode,f3dex3,--optimize,--cache,8|REPLAY_F3DEX3|8"
  "f3dex3-cache56-optimize|--cache,56,--ucode,f3dex3,--optimize|REPLAY_F3DEX3|56"
  "f3d-cache4-optimize|--cache,4,--optimize|NONE|4")

# Runs a command in the folder; stops the test when it fails.
function(run what dir out)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${dir}" RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${dir}: ${what} failed (${status}): ${errors}")
  endif()
  string(REGEX REPLACE "end ([0-9 ]+)\n$" "" drawn "${output}")
  set(${out} "${drawn}" PARENT_SCOPE)
  set(${out}_END "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# Converts MODEL with --materials in each of a few modes into folders of SCRATCH_DIR, compiles and replays it; the
# drawn triangles with their material state must be the same multiset in every mode. MODEL is an OBJ file, or a
# folder holding one (a set of the textured corpus), which must convert with exit status EXPECT_STATUS (default
# 0). The first mode's source is compiled once more, fully braced and without -w, to show it is warning-free.
function(run_material_modes)
  set(material_modes
    "f3d||NONE|16"
    "f3dex2|--ucode,f3dex2|REPLAY_F3DEX2|32"
    "f3dex2-optimize|--ucode,f3dex2,--optimize|REPLAY_F3DEX2|32"
    "f3dex3|--ucode,f3dex3|REPLAY_F3DEX3|56"
    "f3dex3-optimize|--ucode,f3dex3,--optimize|REPLAY_F3DEX3|56")
  set(model "${MODEL}")
  if(IS_DIRECTORY "${model}")
    file(GLOB_RECURSE model "${model}/*.obj")
    list(LENGTH model count)
    if(NOT count EQUAL 1)
      message(FATAL_ERROR "${MODEL}: expected one OBJ file, found ${count}")
    endif()
  endif()
  # A golden case's own options, without its input and without what the modes choose.
  set(extra "")
  if(ARGS_FILE)
    file(STRINGS "${ARGS_FILE}" extra)
    list(REMOVE_ITEM extra --materials --optimize --stats)
    list(FIND extra --ucode at)
    if(at GREATER -1)
      math(EXPR value "${at} + 1")
      list(REMOVE_AT extra ${at} ${value})
    endif()
    list(FILTER extra EXCLUDE REGEX "\\.obj$")
  endif()
  if(OPTIONS)
    string(REPLACE "," ";" OPTIONS "${OPTIONS}")
    list(APPEND extra ${OPTIONS})
  endif()
  if(NOT DEFINED EXPECT_STATUS)
    set(EXPECT_STATUS 0)
  endif()
  foreach(mode IN LISTS material_modes)
    string(REPLACE "|" ";" mode "${mode}")
    list(GET mode 0 name)
    list(GET mode 1 options)
    list(GET mode 2 define)
    list(GET mode 3 slots)
    string(REPLACE "," ";" options "${options}")
    set(dir "${SCRATCH_DIR}/${name}")
    file(MAKE_DIRECTORY "${dir}")
    execute_process(COMMAND "${POLVANE}" -q --materials ${extra} ${options} --name replay -o "${dir}" "${model}"
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT status EQUAL EXPECT_STATUS)
      message(FATAL_ERROR "${name}: the conversion of ${model} ended with ${status}, not ${EXPECT_STATUS}: ${errors}")
    elseif(NOT status EQUAL 0)
      message(STATUS "${model}: refused as expected (${status}): ${errors}")
      return()
    endif()
    file(GLOB source "${dir}/*.c")
    file(GLOB header "${dir}/*.h")
    get_filename_component(header_name "${header}" NAME)
    if(header_name STREQUAL "model.h")
      message(FATAL_ERROR "${model}: the generated header is named model.h, the name of the game's header that it "
                          "includes, so it includes itself and the source cannot compile")
    endif()
    file(RENAME "${source}" "${dir}/replay.c")
    file(STRINGS "${header}" parts REGEX "^extern Gfx replayPart_[A-Za-z0-9_]*\\[\\];$")
    list(TRANSFORM parts REPLACE "^extern Gfx (replayPart_[A-Za-z0-9_]*).*" "REPLAY_PART(\\1)")
    string(REPLACE ";" "" parts "${parts}")
    file(STRINGS "${dir}/replay.c" images REGEX "^u64 replay[A-Za-z0-9_]*\\[\\]")
    list(TRANSFORM images REPLACE "^u64 (replay[A-Za-z0-9_]*).*" "REPLAY_IMAGE(\\1)")
    string(REPLACE ";" "" images "${images}")
    set(arrays "-DREPLAY_PARTS=${parts}" "-DREPLAY_IMAGES=${images}")
    run("compiling" "${dir}" ignored "${CC}" -w -D${define} ${arrays} "-I${SOURCE_DIR}/stand_in" "-I${dir}"
        "${SOURCE_DIR}/replay_main.c" -o replay_prog)
    run("the replay" "${dir}" turned "${dir}/replay_prog" ${slots} turned)
    string(REPLACE "\n" ";" turned "${turned}")
    list(SORT turned)
    # With F3DEX3, vertex colours keep the lighting on, the normals packed into the flag field: such lists are
    # compared among the F3DEX3 modes only.
    set(group all)
    file(STRINGS "${dir}/replay.c" packed REGEX "G_PACKED_NORMALS")
    if(packed)
      set(group packed)
    endif()
    if(NOT DEFINED reference_${group})
      set(reference_${group} "${turned}")
      set(reference_name_${group} "${name}")
    endif()
    if(name STREQUAL "f3d")
      file(MAKE_DIRECTORY "${dir}/braced")
      execute_process(COMMAND "${POLVANE}" -q --materials --full-braces ${extra} ${options} --name replay
                              -o "${dir}/braced" "${model}" OUTPUT_QUIET ERROR_QUIET)
      file(GLOB source "${dir}/braced/*.c")
      file(RENAME "${source}" "${dir}/braced/replay.c")
      run("compiling with warnings" "${dir}" ignored "${CC}" -Wall -Wextra -Werror -D${define} ${arrays}
          "-I${SOURCE_DIR}/stand_in" "-I${dir}/braced" "${SOURCE_DIR}/replay_main.c" -o replay_prog_braced)
    elseif(NOT turned STREQUAL reference_${group})
      message(FATAL_ERROR "${name}: the drawn triangles with their material state differ from "
                          "${reference_name_${group}}'s; "
                          "see ${SCRATCH_DIR}")
    endif()
  endforeach()
  file(REMOVE_RECURSE "${SCRATCH_DIR}")
endfunction()

file(REMOVE_RECURSE "${SCRATCH_DIR}")
if(MATERIALS)
  run_material_modes()
  return()
endif()
if(NOT EXISTS "${MODEL}")
  separate_arguments(shape UNIX_COMMAND "${MODEL}")
  set(MODEL "${SCRATCH_DIR}/model.obj")
  file(MAKE_DIRECTORY "${SCRATCH_DIR}")
  run("generating ${shape}" "." ignored "${GENERATOR}" ${shape} "${MODEL}")
endif()
foreach(mode IN LISTS modes)
  string(REPLACE "|" ";" mode "${mode}")
  list(GET mode 0 name)
  list(GET mode 1 options)
  list(GET mode 2 define)
  list(GET mode 3 slots)
  string(REPLACE "," ";" options "${options}")
  set(dir "${SCRATCH_DIR}/${name}")
  configure_file("${MODEL}" "${dir}/replay.obj" COPYONLY)
  run("conversion" "${dir}" ignored "${POLVANE}" ${options} replay.obj)
  run("compiling" "${dir}" ignored "${CC}" -w -D${define} "-I${SOURCE_DIR}/stand_in" "-I${dir}" "${SOURCE_DIR}/replay_main.c"
      -o replay_prog)
  run("the replay" "${dir}" turned "${dir}/replay_prog" ${slots} turned)
  string(REPLACE "\n" ";" turned "${turned}")
  list(SORT turned)
  if(name STREQUAL "f3d")
    run("the replay" "${dir}" replay "${dir}/replay_prog" ${slots})
    set(reference "${replay}")
    set(reference_turned "${turned}")
  elseif(options MATCHES "optimize")
    if(NOT turned STREQUAL reference_turned OR NOT turned_END MATCHES "^[0-9]+ [0-9]+ 1 1 ")
      message(FATAL_ERROR "${name}: the drawn triangles differ from the default run's, or the list does not end "
                          "in one sync (end ${turned_END}); see ${dir}")
    endif()
  else()
    run("the replay" "${dir}" replay "${dir}/replay_prog" ${slots})
    if(NOT replay STREQUAL reference)
      message(FATAL_ERROR "${name}: the drawn triangles differ from the default run's; see ${dir}")
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
