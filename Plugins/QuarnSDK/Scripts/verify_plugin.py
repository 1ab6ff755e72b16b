#!/usr/bin/env python3
"""Builds the Quarn SDK with a studio's own Unreal Engine and runs its automation tests headless.

    python3 verify_plugin.py --engine <engine root> [--platforms Win64+Linux] [--out <folder>]

1. The engine's own `RunUAT BuildPlugin` builds the plug-in as a marketplace package: the editor
   (Development) for this machine, and the game (Development and Shipping) for each target platform.
   The test module `QuarnSDKTests` (type DeveloperTool) is built for the editor and the Development
   game only; the build tool leaves it out of Shipping by itself.
2. A throw-away project with the packaged plug-in enabled is written next to the package.
3. The editor opens that project without a window and runs `Automation RunTests Quarn.` (the editor
   loads the test module, so every test of the plug-in is found), writing its report; the script
   reads the report and exits 0 only when tests ran and none failed.

The engine root is the folder that holds `Engine/` (for an installed engine, for example
`C:\\Program Files\\Epic Games\\UE_5.8` or `/Users/Shared/Epic Games/UE_5.8`). Only the standard
library is used, so the engine's own Python (`Engine/Binaries/ThirdParty/Python3/...`) runs it too.
"""

import argparse
import json
import os
import platform
import shutil
import subprocess
import sys

PLUGIN_NAME = "QuarnSDK"
HERE = os.path.dirname(os.path.abspath(__file__))
PLUGIN_DIR = os.path.normpath(os.path.join(HERE, ".."))
PLUGIN_FILE = os.path.join(PLUGIN_DIR, PLUGIN_NAME + ".uplugin")


def host_platform():
	"""The engine's name for this machine's platform."""
	system = platform.system()
	if system == "Windows":
		return "Win64"
	if system == "Darwin":
		return "Mac"
	return "Linux"


def run_uat_path(engine, host):
	script = "RunUAT.bat" if host == "Win64" else "RunUAT.sh"
	return os.path.join(engine, "Engine", "Build", "BatchFiles", script)


def editor_candidates(engine, host):
	"""Where a headless editor lives for this host, the command-line build first."""
	binaries = os.path.join(engine, "Engine", "Binaries", host)
	if host == "Win64":
		return [os.path.join(binaries, "UnrealEditor-Cmd.exe"), os.path.join(binaries, "UnrealEditor.exe")]
	if host == "Mac":
		return [os.path.join(binaries, "UnrealEditor-Cmd"), os.path.join(binaries, "UnrealEditor.app", "Contents", "MacOS", "UnrealEditor")]
	return [os.path.join(binaries, "UnrealEditor-Cmd"), os.path.join(binaries, "UnrealEditor")]


def is_inside(path, folder):
	path = os.path.normcase(os.path.abspath(path))
	folder = os.path.normcase(os.path.abspath(folder))
	return path == folder or path.startswith(folder + os.sep)


def build_plugin_command(run_uat, package_dir, platforms, strict_includes):
	command = [run_uat, "BuildPlugin", "-Plugin=" + PLUGIN_FILE, "-Package=" + package_dir]
	if platforms:
		command.append("-TargetPlatforms=" + platforms)
	if strict_includes:
		# Without precompiled headers and unity files, so that every file's own includes are checked.
		command.append("-StrictIncludes")
	return command


def test_command(editor, project_file, report_dir, log_name, test_filter):
	return [
		editor,
		project_file,
		"-ExecCmds=Automation RunTests " + test_filter + "; Quit",
		"-ReportExportPath=" + report_dir,
		"-unattended",
		"-nullrhi",
		"-nosplash",
		"-nosound",
		"-nopause",
		"-stdout",
		"-log=" + log_name,
	]


def write_test_project(project_dir, package_dir, base_url):
	"""A project of nothing but the packaged plug-in, and a Base Url when one is given."""
	if os.path.isdir(project_dir):
		shutil.rmtree(project_dir)
	os.makedirs(os.path.join(project_dir, "Config"))
	project_file = os.path.join(project_dir, "QuarnVerify.uproject")
	with open(project_file, "w", encoding="utf-8") as f:
		json.dump({"FileVersion": 3, "Plugins": [{"Name": PLUGIN_NAME, "Enabled": True}]}, f, indent="\t")
		f.write("\n")
	if base_url:
		with open(os.path.join(project_dir, "Config", "DefaultGame.ini"), "w", encoding="utf-8") as f:
			f.write("[/Script/QuarnCore.QuarnSettings]\nBaseUrl=" + base_url + "\n")
	if os.path.isdir(package_dir):
		shutil.copytree(package_dir, os.path.join(project_dir, "Plugins", PLUGIN_NAME))
	return project_file


def read_report(report_dir):
	"""The counts of the editor's automation report, or None when it wrote none."""
	index = os.path.join(report_dir, "index.json")
	if not os.path.isfile(index):
		return None
	# The report is UTF-8, sometimes with a byte-order mark.
	with open(index, "r", encoding="utf-8-sig") as f:
		report = json.load(f)
	failed_names = [test.get("fullTestPath", test.get("testDisplayName", "?")) for test in report.get("tests", []) if test.get("state") == "Fail"]
	return {
		"succeeded": int(report.get("succeeded", 0)),
		"succeededWithWarnings": int(report.get("succeededWithWarnings", 0)),
		"failed": int(report.get("failed", 0)),
		"notRun": int(report.get("notRun", 0)),
		"failedNames": failed_names,
	}


def windows_argument(part):
	"""
	One argument of a Windows command line. The engine's tools read the raw command line and take an
	option's value in quotes only when the quotes follow the "=": -ExecCmds="a b", never "-ExecCmds=a b".
	"""
	if part.startswith("-") and "=" in part:
		key, value = part.split("=", 1)
		if any(c in value for c in ' \t"'):
			return key + '="' + value.replace('"', '\\"') + '"'
		return part
	return subprocess.list2cmdline([part])


def posix_argument(part):
	"""One argument as a POSIX shell needs it written, for showing the command."""
	if part and all(c.isalnum() or c in "-_=./:+,@%" for c in part):
		return part
	return "'" + part.replace("'", "'\\''") + "'"


def command_line(command):
	"""The command as this system runs it: a string on Windows, the argument list elsewhere."""
	if os.name == "nt":
		return " ".join(windows_argument(part) for part in command)
	return command


def show(command):
	text = command_line(command) if os.name == "nt" else " ".join(posix_argument(part) for part in command)
	print("> " + text, flush=True)


def main(argv):
	parser = argparse.ArgumentParser(description="Build the Quarn SDK with RunUAT BuildPlugin, then run its automation tests headless.")
	parser.add_argument("--engine", required=True, help="the engine's root folder, the one that holds Engine/")
	parser.add_argument("--platforms", default="", help="target platforms joined by '+', for example Win64+Android (default: every platform the engine can build code for on this machine)")
	parser.add_argument("--out", default="", help="working folder for the package, the test project and the report (default: Saved/QuarnSDKVerify next to the project or repository that holds Plugins/)")
	parser.add_argument("--filter", default="Quarn.", help="automation test filter (default: Quarn.)")
	parser.add_argument("--base-url", default="", help="Base Url for the test project, so that Quarn.Core.Platform signs in there (default: none; that test is then skipped)")
	parser.add_argument("--editor", default="", help="the editor executable, when it is not where the engine keeps it")
	parser.add_argument("--strict-includes", action="store_true", help="build without precompiled headers or unity files")
	parser.add_argument("--skip-build", action="store_true", help="reuse the package of an earlier run")
	parser.add_argument("--skip-tests", action="store_true", help="only build the package")
	parser.add_argument("--dry-run", action="store_true", help="print the commands and write nothing")
	args = parser.parse_args(argv)

	engine = os.path.abspath(args.engine)
	host = host_platform()
	out = os.path.abspath(args.out) if args.out else os.path.normpath(os.path.join(PLUGIN_DIR, "..", "..", "Saved", "QuarnSDKVerify"))
	package_dir = os.path.join(out, "Package", PLUGIN_NAME)
	project_dir = os.path.join(out, "TestProject")
	report_dir = os.path.join(out, "Report")

	# BuildPlugin empties its package folder first and refuses one inside the plug-in or the engine.
	if is_inside(out, PLUGIN_DIR) or is_inside(out, os.path.join(engine, "Engine")):
		print("error: --out must lie outside the plug-in and the engine: " + out, file=sys.stderr)
		return 2

	run_uat = run_uat_path(engine, host)
	if not args.skip_build:
		command = build_plugin_command(run_uat, package_dir, args.platforms, args.strict_includes)
		show(command)
		if not args.dry_run:
			if not os.path.isfile(run_uat):
				print("error: no " + os.path.basename(run_uat) + " under " + engine + "; --engine names the folder that holds Engine/", file=sys.stderr)
				return 2
			if subprocess.call(command_line(command)) != 0:
				print("FAILED: RunUAT BuildPlugin did not build the plug-in (its log above says why).", file=sys.stderr)
				return 1
			print("Built: " + package_dir, flush=True)

	if args.skip_tests:
		return 0

	editor = args.editor or next((path for path in editor_candidates(engine, host) if os.path.isfile(path)), editor_candidates(engine, host)[0])
	project_file = os.path.join(project_dir, "QuarnVerify.uproject")
	command = test_command(editor, project_file, report_dir, "QuarnVerify.log", args.filter)
	show(command)
	if args.dry_run:
		return 0
	if not os.path.isfile(editor):
		print("error: no editor at " + editor + "; name it with --editor", file=sys.stderr)
		return 2
	if not os.path.isdir(package_dir):
		print("error: no package at " + package_dir + "; run without --skip-build first", file=sys.stderr)
		return 2
	write_test_project(project_dir, package_dir, args.base_url)
	if os.path.isdir(report_dir):
		shutil.rmtree(report_dir)
	status = subprocess.call(command_line(command))

	counts = read_report(report_dir)
	if counts is None:
		print("FAILED: the editor (exit status %d) wrote no automation report to %s; see %s" % (status, report_dir, os.path.join(project_dir, "Saved", "Logs", "QuarnVerify.log")), file=sys.stderr)
		return 1
	passed = counts["succeeded"] + counts["succeededWithWarnings"]
	print("Automation %s: %d passed (%d with warnings), %d failed, %d not run; report in %s" % (args.filter, passed, counts["succeededWithWarnings"], counts["failed"], counts["notRun"], report_dir))
	for name in counts["failedNames"]:
		print("  failed: " + name)
	if counts["failed"] > 0 or passed == 0:
		print("FAILED", file=sys.stderr)
		return 1
	print("PASSED: the plug-in builds with this engine and its tests pass.")
	return 0


if __name__ == "__main__":
	sys.exit(main(sys.argv[1:]))
