# Checks one asset and, only when it passes, copies it to where the build
# embeds it from. A failed check leaves nothing staged, so no build goes on
# with an old or bad copy.
#   cmake -DPYTHON=python3 -DCHECKER=check_asset.py -DKIND=image|document
#         -DSOURCE=... -DSTAGED=... [-DMACHINE=i386|amd64] -P stage_asset.cmake
file(REMOVE "${STAGED}" "${STAGED}.tmp")
execute_process(COMMAND "${PYTHON}" "${CHECKER}" ${KIND} "${SOURCE}" ${MACHINE} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "asset rejected: ${SOURCE}")
endif()
file(COPY_FILE "${SOURCE}" "${STAGED}.tmp")
file(RENAME "${STAGED}.tmp" "${STAGED}")
