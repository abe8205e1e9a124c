# Converts every model of the shared corpus in a few modes and compares digests of all it writes (both files,
# standard output and error, exit status) with those recorded in digests.txt, so that any change to the
# conversion of real models is seen.
#
#   cmake -DPOLVANE=<exe> -DCORPUS_DIR=<shared/corpus> -DDIGESTS=<digests.txt> -DSCRATCH_DIR=<dir>
#         [-DREGENERATE=ON] -P run_corpus.cmake
cmake_minimum_required(VERSION 3.16)

# name, options (",": a blank)
set(modes "default|" "f3dex2-optimize|--ucode,f3dex2,--optimize,--stats,-s,100")

file(GLOB models "${CORPUS_DIR}/*.obj")
list(SORT models)
set(lines "")
foreach(mode IN LISTS modes)
  string(REPLACE "|" ";" mode "${mode}")
  list(GET mode 0 name)
  list(GET mode 1 options)
  string(REPLACE "," ";" options "${options}")
  foreach(model IN LISTS models)
    get_filename_component(stem "${model}" NAME_WE)
    set(dir "${SCRATCH_DIR}/${name}")
    file(REMOVE_RECURSE "${dir}")
    file(MAKE_DIRECTORY "${dir}")
    configure_file("${model}" "${dir}/m.obj" COPYONLY)
    execute_process(COMMAND "${POLVANE}" ${options} m.obj WORKING_DIRECTORY "${dir}" RESULT_VARIABLE status
                    OUTPUT_VARIABLE out ERROR_VARIABLE err)
    set(digest "${status}")
    foreach(written m.h m.c)
      if(EXISTS "${dir}/${written}")
        file(SHA256 "${dir}/${written}" hash)
        string(APPEND digest " ${hash}")
      endif()
    endforeach()
    string(SHA256 digest "${digest}|${out}|${err}")
    string(SUBSTRING "${digest}" 0 24 digest)
    string(APPEND lines "${name} ${stem} ${digest}\n")
  endforeach()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")

if(REGENERATE)
  file(WRITE "${DIGESTS}" "${lines}")
  return()
endif()
file(READ "${DIGESTS}" expected)
if(NOT lines STREQUAL expected)
  file(WRITE "${SCRATCH_DIR}.txt" "${lines}")
  execute_process(COMMAND diff "${DIGESTS}" "${SCRATCH_DIR}.txt" OUTPUT_VARIABLE differences)
  message(FATAL_ERROR "the conversion of corpus models changed (expected < > now):\n${differences}")
endif()
