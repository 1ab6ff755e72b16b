#!/usr/bin/env python3
"""Every error code the plug-in and the local platform give is documented.

Collects the codes the plug-in's sources raise (an FQuarnError's Code set from a literal, or an
error made by UQuarnErrorLibrary::MakePluginError) and the codes the emulator's game API and HTTP
front refuse with (ApiError, refusal, makeRefusal), then fails, naming each code and where it is
raised, when a code has no row in README.md's error table or no entry in the error library's
table (QuarnErrorLibrary.cpp). Tests are left out: their codes are made up on purpose. So is the
emulator's admin API, whose codes the game never meets (README says so under the table).
"""

import argparse
import pathlib
import re
import sys

PLUGIN_SOURCES = "Plugins/QuarnSDK/Source"
EMULATOR_SOURCES = "Emulator/Source"
LIBRARY = "Plugins/QuarnSDK/Source/QuarnCore/Private/QuarnErrorLibrary.cpp"
README = "README.md"

# Codes the plug-in names only as the cause inside another error's message, never as the code a
# game receives: each must be mentioned in the row of the code that carries it.
CAUSES = {"no_ticket": "token_expired"}

# Emulator files whose codes the game never meets.
EMULATOR_EXCLUDED = {"AdminApi.cpp", "AdminApi.h"}

CODE = r"([a-z][a-z0-9_]*)"
PLUGIN_PATTERNS = [
    re.compile(r"\bCode\s*=\s*TEXT\(\s*\"" + CODE + r"\"\s*\)"),
    re.compile(r"\bMakePluginError\(\s*TEXT\(\s*\"" + CODE + r"\"\s*\)"),
]
EMULATOR_PATTERN = re.compile(r"\b(?:ApiError|refusal|makeRefusal)\b(?:\s+\w+)?\s*\(\s*\d{3}\s*,\s*\"" + CODE + r"\"")
LIBRARY_PATTERN = re.compile(r"\b(?:Plugin|Platform)\(\s*TEXT\(\s*\"" + CODE + r"\"\s*\)")


def line_of(text, offset):
    return text.count("\n", 0, offset) + 1


def raised_codes(root):
    """code -> first place it is raised, as 'path:line'."""
    found = {}

    def scan(path, patterns):
        text = path.read_text(encoding="utf-8", errors="replace")
        for pattern in patterns:
            for match in pattern.finditer(text):
                place = f"{path.relative_to(root)}:{line_of(text, match.start())}"
                found.setdefault(match.group(1), place)

    for path in sorted((root / PLUGIN_SOURCES).rglob("*")):
        if path.suffix in (".cpp", ".h") and "Tests" not in path.relative_to(root).parts:
            scan(path, PLUGIN_PATTERNS)
    for path in sorted((root / EMULATOR_SOURCES).rglob("*")):
        if path.suffix in (".cpp", ".h") and path.name not in EMULATOR_EXCLUDED:
            scan(path, [EMULATOR_PATTERN])
    return found


def readme_table(root):
    """The rows of the table under '## Errors': {code: row text}, codes taken from the first cell."""
    text = (root / README).read_text(encoding="utf-8")
    section = re.search(r"^## Errors\n(.*?)(?=^## )", text, re.S | re.M)
    if section is None:
        raise SystemExit(f"{README} has no '## Errors' section")
    rows = {}
    for line in section.group(1).splitlines():
        if not line.startswith("| `"):
            continue
        first = line.split("|")[1]
        for code in re.findall(r"`([^`]+)`", first):
            rows[code] = line
    if not rows:
        raise SystemExit(f"{README}'s '## Errors' section has no table of codes")
    return rows


def library_codes(root):
    text = (root / LIBRARY).read_text(encoding="utf-8")
    return set(LIBRARY_PATTERN.findall(text))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=str(pathlib.Path(__file__).resolve().parents[2]), help="the repository")
    root = pathlib.Path(parser.parse_args().root).resolve()

    raised = raised_codes(root)
    table = readme_table(root)
    library = library_codes(root)
    if not raised or not library:
        print("ErrorCodeTable: found no codes in the sources or the library; the patterns no longer match how codes are written")
        return 1

    problems = []
    for code, place in sorted(raised.items()):
        if code in CAUSES:
            carrier = CAUSES[code]
            if f"`{code}`" not in table.get(carrier, ""):
                problems.append(f"{code} ({place}): a cause inside {carrier}'s message, not mentioned in {carrier}'s row of {README}'s error table")
            continue
        if code not in table:
            problems.append(f"{code} ({place}): no row in {README}'s error table")
        if code not in library:
            problems.append(f"{code} ({place}): not in the error library's table ({LIBRARY})")
    for code in sorted(library - set(table) - set(raised)):
        problems.append(f"{code} ({LIBRARY}): in the error library's table but has no row in {README}'s error table")

    for problem in problems:
        print(f"ErrorCodeTable: {problem}")
    print(f"ErrorCodeTable: {len(raised)} codes raised, {len(table)} in {README}'s table, {len(library)} in the library; {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
