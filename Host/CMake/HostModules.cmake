# Engine-style modules for the host build.
#
# A module is a folder with Public/, optional Classes/ and Private/ sub-folders, built as one shared
# library named after the module, as the engine builds modules in a modular (editor) build.
#
#   host_module(<Name> DIR <folder> [PUBLIC_DEPS ...] [PRIVATE_DEPS ...]
#               [PUBLIC_LIBS ...] [PRIVATE_LIBS ...] [PLUGIN <PluginName>])
#       Declares a module. Dependencies name other modules; their Public/ and Classes/ folders
#       become include paths the way UnrealBuildTool adds them. Headers that declare reflected
#       types are run through the header tool first; its output joins the module's sources.
#
#   host_plugin(<folder>)
#       Declares every module of a plug-in that this target builds (host_module_type_is_built, from
#       the module's "Type" in the .uplugin) from its Source/<Module>/<Module>.Build.cs, taking
#       the dependency lists from the Build.cs itself so that a module the Build.cs does not
#       name is not reachable, exactly as under UnrealBuildTool. The global properties
#       HOST_PLUGIN_MODULES_BUILT and HOST_PLUGIN_MODULES_NOT_BUILT name them.
#
#   host_module_manifest(<Name> <out-var>)
#       For a plug-in module this target does not build: runs the header tool on it anyway, only
#       for its manifest (<Name>.reflection, the types it declares), so that a check can name them.
#
# Every module's API macro (<NAME>_API) is the Linux export attribute, and modules are built with
# hidden visibility, so a type or function that another module uses must be exported as in the
# engine.

# The line terminator of the target platform (HAL/Platform.h): LF, as the engine's Linux build
# writes, unless the build targets the Windows terminator (CR LF). The sanitizer builds do, so that
# `./quarn test` proves request bodies under both.
if(QUARN_SANITIZE)
	set(_host_line_terminator_default CRLF)
else()
	set(_host_line_terminator_default LF)
endif()
set(HOST_LINE_TERMINATOR "${_host_line_terminator_default}" CACHE STRING "LINE_TERMINATOR of the host build: LF (Linux) or CRLF (Windows)")
set_property(CACHE HOST_LINE_TERMINATOR PROPERTY STRINGS LF CRLF)
if(HOST_LINE_TERMINATOR STREQUAL "CRLF")
	add_compile_definitions(HOST_WINDOWS_LINE_TERMINATOR=1)
elseif(NOT HOST_LINE_TERMINATOR STREQUAL "LF")
	message(FATAL_ERROR "HOST_LINE_TERMINATOR must be LF or CRLF, not '${HOST_LINE_TERMINATOR}'")
endif()

option(HOST_PRECOMPILED_HEADERS "Precompile CoreMinimal.h for the host's modules and the test suites" ON)
if(QUARN_SANITIZE)
	set(_host_plugin_pch_default ON)
else()
	set(_host_plugin_pch_default OFF)
endif()
option(HOST_PLUGIN_PRECOMPILED_HEADERS "Precompile CoreMinimal.h for plug-in modules too (the sanitizer builds)" ${_host_plugin_pch_default})

set(HOST_GENERATED_ROOT "${CMAKE_BINARY_DIR}/Generated")
set_property(GLOBAL PROPERTY HOST_MODULES "")
set_property(GLOBAL PROPERTY HOST_PLUGIN_MODULES_BUILT "")
set_property(GLOBAL PROPERTY HOST_PLUGIN_MODULES_NOT_BUILT "")

# Reflection markers the header tool looks for, at the start of a line.
set(HOST_REFLECTION_REGEX "^[ \t]*(UCLASS|USTRUCT|UENUM|UINTERFACE|UDELEGATE|DECLARE_DYNAMIC_[A-Z_a-z]*)[ \t]*\\(")

function(_host_reflected_headers OUT DIR)
	set(found "")
	foreach(sub Public Classes Private)
		if(EXISTS "${DIR}/${sub}")
			file(GLOB_RECURSE headers CONFIGURE_DEPENDS "${DIR}/${sub}/*.h")
			list(SORT headers)
			foreach(h IN LISTS headers)
				file(STRINGS "${h}" hits REGEX "${HOST_REFLECTION_REGEX}")
				if(hits)
					list(APPEND found "${h}")
				endif()
			endforeach()
		endif()
	endforeach()
	set(${OUT} "${found}" PARENT_SCOPE)
endfunction()

# All modules reachable through dependencies, depth first, without duplicates.
function(_host_transitive_deps OUT)
	set(result "")
	set(pending ${ARGN})
	while(pending)
		list(POP_FRONT pending dep)
		if(NOT dep IN_LIST result)
			list(APPEND result "${dep}")
			get_property(more GLOBAL PROPERTY "HOST_MODULE_DEPS_${dep}")
			list(APPEND pending ${more})
		endif()
	endwhile()
	set(${OUT} "${result}" PARENT_SCOPE)
endfunction()

# Adds the header tool's step for a module's reflected headers. OUT_SOURCES receives the generated
# sources to compile, OUT_MANIFEST the manifest (empty when the module declares no reflected type).
function(_host_header_tool NAME DIR PLUGIN DEPS OUT_SOURCES OUT_MANIFEST)
	set(gen_dir "${HOST_GENERATED_ROOT}/${NAME}")
	set(gen_inc "${gen_dir}/Inc")
	_host_reflected_headers(reflected "${DIR}")
	set(sources "")
	set(manifest "")
	if(reflected)
		set(outputs "")
		foreach(h IN LISTS reflected)
			get_filename_component(base "${h}" NAME_WE)
			list(APPEND outputs "${gen_inc}/${base}.generated.h" "${gen_dir}/${base}.gen.cpp")
			list(APPEND sources "${gen_dir}/${base}.gen.cpp")
		endforeach()
		set(manifest "${gen_dir}/${NAME}.reflection")
		list(APPEND outputs "${gen_dir}/${NAME}.init.gen.cpp" "${manifest}")
		list(APPEND sources "${gen_dir}/${NAME}.init.gen.cpp")

		_host_transitive_deps(all_deps ${DEPS})
		set(dep_args "")
		set(dep_files "")
		foreach(dep IN LISTS all_deps)
			get_property(dep_manifest GLOBAL PROPERTY "HOST_MODULE_MANIFEST_${dep}")
			if(dep_manifest)
				list(APPEND dep_args "--dep" "${dep_manifest}")
				list(APPEND dep_files "${dep_manifest}")
			endif()
		endforeach()
		set(plugin_arg "")
		if(PLUGIN)
			set(plugin_arg "--plugin" "${PLUGIN}")
		endif()
		add_custom_command(
			OUTPUT ${outputs}
			COMMAND HeaderTool --module "${NAME}" --module-dir "${DIR}" --out "${gen_dir}" ${plugin_arg} ${dep_args} -- ${reflected}
			DEPENDS HeaderTool ${reflected} ${dep_files}
			COMMENT "Header tool: ${NAME}"
			VERBATIM)
	endif()
	set(${OUT_SOURCES} "${sources}" PARENT_SCOPE)
	set(${OUT_MANIFEST} "${manifest}" PARENT_SCOPE)
endfunction()

function(host_module NAME)
	cmake_parse_arguments(M "" "DIR;PLUGIN" "PUBLIC_DEPS;PRIVATE_DEPS;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
	if(NOT M_DIR)
		message(FATAL_ERROR "host_module(${NAME}): DIR is required")
	endif()
	get_filename_component(dir "${M_DIR}" ABSOLUTE)
	foreach(dep IN LISTS M_PUBLIC_DEPS M_PRIVATE_DEPS)
		if(NOT TARGET "${dep}")
			message(FATAL_ERROR "Module '${NAME}' depends on '${dep}', which is not a module of this build.")
		endif()
	endforeach()

	file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/Private/*.cpp")
	list(SORT sources)

	set(gen_inc "${HOST_GENERATED_ROOT}/${NAME}/Inc")
	_host_header_tool(${NAME} "${dir}" "${M_PLUGIN}" "${M_PUBLIC_DEPS};${M_PRIVATE_DEPS}" generated manifest)
	list(APPEND sources ${generated})
	set(reflected "${manifest}")
	set_property(GLOBAL PROPERTY "HOST_MODULE_MANIFEST_${NAME}" "${manifest}")
	set_property(GLOBAL PROPERTY "HOST_MODULE_DEPS_${NAME}" ${M_PUBLIC_DEPS} ${M_PRIVATE_DEPS})
	set_property(GLOBAL APPEND PROPERTY HOST_MODULES "${NAME}")

	add_library(${NAME} SHARED ${sources})
	set_target_properties(${NAME} PROPERTIES
		OUTPUT_NAME "Host-${NAME}"
		CXX_VISIBILITY_PRESET hidden
		VISIBILITY_INLINES_HIDDEN OFF
		LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/Binaries")
	target_compile_options(${NAME} PRIVATE ${HOST_MODULE_FLAGS})
	string(TOUPPER "${NAME}" upper)
	target_compile_definitions(${NAME} PRIVATE "UE_MODULE_NAME=\"${NAME}\"" "${upper}_EXPORTS=1")
	if(M_PLUGIN)
		target_compile_definitions(${NAME} PRIVATE "UE_PLUGIN_NAME=\"${M_PLUGIN}\"")
		target_compile_options(${NAME} PRIVATE ${HOST_PLUGIN_FLAGS})
	endif()

	foreach(sub Public Classes)
		if(EXISTS "${dir}/${sub}")
			target_include_directories(${NAME} PUBLIC "${dir}/${sub}")
		endif()
	endforeach()
	if(EXISTS "${dir}/Private")
		target_include_directories(${NAME} PRIVATE "${dir}/Private")
	endif()
	if(reflected)
		target_include_directories(${NAME} PUBLIC "${gen_inc}")
	endif()
	target_link_libraries(${NAME} PUBLIC ${M_PUBLIC_DEPS} ${M_PUBLIC_LIBS} PRIVATE ${M_PRIVATE_DEPS} ${M_PRIVATE_LIBS})
	# Modules parse CoreMinimal.h once per module instead of once per source, as the engine's
	# shared precompiled headers do. Plug-in modules get one only where HOST_PLUGIN_PRECOMPILED_HEADERS
	# says (the sanitizer builds), so that the development build still fails on a missing include in
	# the plug-in, as an engine build without precompiled headers would.
	if(HOST_PRECOMPILED_HEADERS AND (NOT M_PLUGIN OR HOST_PLUGIN_PRECOMPILED_HEADERS))
		target_precompile_headers(${NAME} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:CoreMinimal.h>")
	endif()
endfunction()

# Reads "PublicDependencyModuleNames" and "PrivateDependencyModuleNames" from a Build.cs.
function(_host_read_build_cs FILE OUT_PUBLIC OUT_PRIVATE)
	file(READ "${FILE}" text)
	string(REGEX REPLACE "//[^\n]*" "" text "${text}")
	foreach(kind Public Private)
		set(names "")
		string(REGEX MATCHALL "${kind}DependencyModuleNames[ \t\r\n]*\\.[ \t\r\n]*(AddRange[ \t\r\n]*\\([^;]*\\)|Add[ \t\r\n]*\\([^;]*\\))" calls "${text}")
		foreach(call IN LISTS calls)
			string(REGEX MATCHALL "\"[A-Za-z0-9_]+\"" quoted "${call}")
			foreach(q IN LISTS quoted)
				string(REPLACE "\"" "" q "${q}")
				list(APPEND names "${q}")
			endforeach()
		endforeach()
		list(REMOVE_DUPLICATES names)
		set(${kind}_names "${names}")
	endforeach()
	set(${OUT_PUBLIC} "${Public_names}" PARENT_SCOPE)
	set(${OUT_PRIVATE} "${Private_names}" PARENT_SCOPE)
endfunction()

# Whether UnrealBuildTool builds a plug-in module of this "Type" for the target this build stands
# for: ModuleDescriptor.IsCompiledInConfiguration (5.8 Configuration/Descriptors/ModuleDescriptor.cs),
# with the target's HOST_BUILD_DEVELOPER_TOOLS (the root CMakeLists.txt, after TargetRules.cs) and
# cooked data for every target but an editor (bBuildRequiresCookedData). The host builds no program
# and no client targets. Type names match ignoring case, as the engine reads them.
function(host_module_type_is_built TYPE OUT)
	string(TOLOWER "${TYPE}" type)
	set(editor FALSE)
	if(HOST_TARGET_TYPE STREQUAL "Editor")
		set(editor TRUE)
	endif()
	if(type MATCHES "^(runtime|runtimenocommandlet|runtimeandprogram|serveronly)$")
		set(built TRUE)
	elseif(type STREQUAL "cookedonly")
		set(built TRUE)
		if(editor)
			set(built FALSE)
		endif()
	elseif(type MATCHES "^(uncookedonly|developer|editor|editornocommandlet|editorandprogram)$")
		set(built ${editor})
	elseif(type STREQUAL "developertool")
		set(built ${HOST_BUILD_DEVELOPER_TOOLS})
	elseif(type STREQUAL "program")
		set(built FALSE)
	elseif(type MATCHES "^(clientonly|clientonlynocommandlet)$")
		set(built TRUE)
		if(HOST_TARGET_TYPE STREQUAL "Server")
			set(built FALSE)
		endif()
	else()
		message(FATAL_ERROR "Unknown module Type '${TYPE}'")
	endif()
	set(${OUT} ${built} PARENT_SCOPE)
endfunction()

function(host_module_manifest NAME OUT)
	get_property(dir GLOBAL PROPERTY "HOST_MODULE_DIR_${NAME}")
	get_property(plugin GLOBAL PROPERTY "HOST_MODULE_PLUGIN_${NAME}")
	get_property(deps GLOBAL PROPERTY "HOST_MODULE_DEPS_${NAME}")
	if(NOT dir)
		message(FATAL_ERROR "host_module_manifest(${NAME}): not a plug-in module left out of this build")
	endif()
	_host_header_tool(${NAME} "${dir}" "${plugin}" "${deps}" unused manifest)
	set(${OUT} "${manifest}" PARENT_SCOPE)
endfunction()

function(host_plugin DIR)
	get_filename_component(dir "${DIR}" ABSOLUTE)
	file(GLOB descriptors "${dir}/*.uplugin")
	list(LENGTH descriptors count)
	if(NOT count EQUAL 1)
		message(FATAL_ERROR "host_plugin(${DIR}): expected one .uplugin file")
	endif()
	get_filename_component(plugin "${descriptors}" NAME_WE)
	file(READ "${descriptors}" json)
	string(JSON module_count LENGTH "${json}" Modules)
	math(EXPR last "${module_count} - 1")
	# Modules are declared in descriptor order; a module may only depend on modules declared before it.
	foreach(i RANGE ${last})
		string(JSON module GET "${json}" Modules ${i} Name)
		string(JSON type GET "${json}" Modules ${i} Type)
		set(build_cs "${dir}/Source/${module}/${module}.Build.cs")
		if(NOT EXISTS "${build_cs}")
			message(FATAL_ERROR "Plug-in ${plugin}: module ${module} has no ${module}.Build.cs")
		endif()
		_host_read_build_cs("${build_cs}" public_deps private_deps)
		host_module_type_is_built("${type}" built)
		if(NOT built)
			# Left out, as UnrealBuildTool leaves it out of this target; kept on record for checks.
			message(STATUS "Plug-in ${plugin}: ${module} (${type}) is not built for this target")
			set_property(GLOBAL APPEND PROPERTY HOST_PLUGIN_MODULES_NOT_BUILT "${module}")
			set_property(GLOBAL PROPERTY "HOST_MODULE_DIR_${module}" "${dir}/Source/${module}")
			set_property(GLOBAL PROPERTY "HOST_MODULE_PLUGIN_${module}" "${plugin}")
			set_property(GLOBAL PROPERTY "HOST_MODULE_DEPS_${module}" ${public_deps} ${private_deps})
			continue()
		endif()
		host_module(${module} DIR "${dir}/Source/${module}" PLUGIN ${plugin}
			PUBLIC_DEPS ${public_deps}
			PRIVATE_DEPS ${private_deps})
		set_property(GLOBAL APPEND PROPERTY HOST_PLUGIN_MODULES_BUILT "${module}")
	endforeach()
endfunction()
