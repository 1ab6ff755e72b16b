# Runs automation tests without a Slate application (as a dedicated server or a commandlet runs
# them) and checks what such a run must show: every case passes, the cases that build Slate widgets
# end with their "Skipped: ..." warning and nothing else, and the cases that need no Slate still
# run (pass without that warning).
#
#   cmake -DRUNNER=<AutomationRunner> -DPLUGIN=<file.uplugin> -DFILTER=<filter> -DSKIP_MESSAGE=<text>
#         [-DNO_SLATE=OFF] -P CheckAutomationSkips.cmake
foreach(_var RUNNER PLUGIN FILTER SKIP_MESSAGE)
	if(NOT DEFINED ${_var})
		message(FATAL_ERROR "CheckAutomationSkips.cmake needs -D${_var}=...")
	endif()
endforeach()

# -DNO_SLATE=OFF leaves the runner's --no-slate out, for a build without Slate of its own (a server).
if(NOT DEFINED NO_SLATE OR NO_SLATE)
	set(_no_slate --no-slate)
else()
	set(_no_slate "")
endif()
execute_process(
	COMMAND "${RUNNER}" --plugin "${PLUGIN}" ${_no_slate} --timeout 120 "${FILTER}"
	OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _rc TIMEOUT 600)
message("${_out}")
if(NOT _rc EQUAL 0)
	message(FATAL_ERROR "The run without Slate failed (exit ${_rc}): ${_err}")
endif()

# One block per case: its result line, then its indented errors and warnings.
string(REPLACE ";" "\\;" _out "${_out}")
string(REPLACE "\n" ";" _lines "${_out}")
set(_skipped 0)
set(_ran 0)
set(_case "")
set(_case_lines "")
macro(_finish_case)
	if(NOT _case STREQUAL "")
		string(FIND "${_case_lines}" "Warning: ${SKIP_MESSAGE}" _at)
		if(_at GREATER -1)
			math(EXPR _skipped "${_skipped} + 1")
			string(REPLACE "Warning: ${SKIP_MESSAGE}" "" _rest "${_case_lines}")
			if(_rest MATCHES "(Warning|Error): ")
				message(FATAL_ERROR "${_case} skipped but also reported: ${_case_lines}")
			endif()
		elseif(_case_lines MATCHES "(Warning|Error): ")
			message(FATAL_ERROR "${_case} reported without being skipped: ${_case_lines}")
		else()
			math(EXPR _ran "${_ran} + 1")
		endif()
	endif()
endmacro()
foreach(_line IN LISTS _lines)
	if(_line MATCHES "^\\[ (PASSED|FAILED) \\] ")
		_finish_case()
		set(_case "${_line}")
		set(_case_lines "")
		if(_line MATCHES "^\\[ FAILED \\]")
			message(FATAL_ERROR "Failed without Slate: ${_line}")
		endif()
	elseif(_line MATCHES "^    ")
		string(APPEND _case_lines "${_line}\n")
	endif()
endforeach()
_finish_case()

if(_skipped EQUAL 0)
	message(FATAL_ERROR "No case skipped with '${SKIP_MESSAGE}': the skip path did not run.")
endif()
if(_ran EQUAL 0)
	message(FATAL_ERROR "Every case skipped: none of the cases that need no Slate ran.")
endif()
message("${_skipped} case(s) skipped without Slate, ${_ran} ran and passed.")
