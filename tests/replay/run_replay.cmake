# Converts one model in every mode below, compiles each generated source with the C compiler against the stand-in
# graphics definitions of its microcode into replay_main.c, and replays the display list over the vertex cache.
#
#   cmake -DPOLVANE=<exe> -DCC=<C compiler> -DSOURCE_DIR=<tests/replay> -DSCRATCH_DIR=<dir>
#         -DMODEL=<obj file, or "<shape> <attributes> <triangles>" for -DGENERATOR=<generate_models>>
#         -P run_replay.cmake
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

file(REMOVE_RECURSE "${SCRATCH_DIR}")
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
