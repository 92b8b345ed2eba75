# Runs the synthesis tool into a fresh folder and compares every sound with the committed one.
# Expects SYNTH, OUTPUT_DIR and REFERENCE_DIR; EMULATOR, when given, runs the tool (a Windows one under Wine).
set(SOUND_FILES eat.wav hit.wav gamemusic.wav)
set(MAX_SOUND_BYTES 2097152)

file(REMOVE_RECURSE "${OUTPUT_DIR}")
file(MAKE_DIRECTORY "${OUTPUT_DIR}")
execute_process(COMMAND ${EMULATOR} "${SYNTH}" "${OUTPUT_DIR}" RESULT_VARIABLE synth_result)
if(NOT synth_result EQUAL 0)
  message(FATAL_ERROR "synth failed: ${synth_result}")
endif()

foreach(name IN LISTS SOUND_FILES)
  if(NOT EXISTS "${REFERENCE_DIR}/${name}")
    message(FATAL_ERROR "missing committed sound ${REFERENCE_DIR}/${name}")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
                          "${OUTPUT_DIR}/${name}" "${REFERENCE_DIR}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${name} differs from what synth writes; regenerate game/sounds/")
  endif()
  file(SIZE "${REFERENCE_DIR}/${name}" bytes)
  if(bytes GREATER MAX_SOUND_BYTES)
    message(FATAL_ERROR "${name} is ${bytes} bytes, more than ${MAX_SOUND_BYTES}")
  endif()
endforeach()
