#!/usr/bin/python3
"""Checks that the plug-in uses only engine declarations that the engine itself has.

Parses every plug-in source in a build's compile_commands.json with libclang, collects each host
declaration the plug-in's own code names (a type, function, member, enumerator, variable or macro
declared in a header under Host/Source), and fails, naming each with where it is used, when one is
not in the list of engine declarations (Host/EngineApi/PluginEngineApi.txt). The list says, for
every entry, the engine header that declares it, so a declaration the host has and the engine
lacks cannot be used by accident: using it fails here before it fails in a studio's editor.

    EngineApiCheck.py --build <build dir> [--list <file>] [--jobs N] [--write-used <file>]
"""
import argparse
import concurrent.futures
import json
import os
import shlex
import sys

import clang.cindex as ci

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Every module folder under Source/ counts, the test module's included; paths are compared resolved,
# as the sources' are.
PLUGIN = os.path.join(os.path.realpath(ROOT), 'Plugins', 'QuarnSDK', 'Source') + os.sep
HOST = os.path.join(os.path.realpath(ROOT), 'Host', 'Source') + os.sep
DEFAULT_LIST = os.path.join(ROOT, 'Host', 'EngineApi', 'PluginEngineApi.txt')

K = ci.CursorKind
# What a reference may name. Parameters, locals and template parameters are the code's own.
NAMED_KINDS = {
	K.CLASS_DECL, K.STRUCT_DECL, K.UNION_DECL, K.ENUM_DECL, K.TYPEDEF_DECL, K.TYPE_ALIAS_DECL,
	K.CLASS_TEMPLATE, K.CLASS_TEMPLATE_PARTIAL_SPECIALIZATION, K.TYPE_ALIAS_TEMPLATE_DECL,
	K.FUNCTION_DECL, K.FUNCTION_TEMPLATE, K.CXX_METHOD, K.CONVERSION_FUNCTION,
	K.FIELD_DECL, K.VAR_DECL, K.ENUM_CONSTANT_DECL, K.NAMESPACE, K.MACRO_DEFINITION,
	K.CONSTRUCTOR, K.DESTRUCTOR,
}
SCOPE_KINDS = {
	K.NAMESPACE, K.CLASS_DECL, K.STRUCT_DECL, K.UNION_DECL, K.ENUM_DECL, K.CLASS_TEMPLATE,
	K.CLASS_TEMPLATE_PARTIAL_SPECIALIZATION,
}


def qualified_name(decl):
	"""Namespace::Class::Member, without template arguments; constructors and destructors name their class."""
	if decl.kind == K.MACRO_DEFINITION:
		return decl.spelling
	kind = decl.kind
	if kind in (K.CONSTRUCTOR, K.DESTRUCTOR):
		decl = decl.semantic_parent
	elif kind == K.CONVERSION_FUNCTION:
		# "operator UMyClass *" names the plug-in's type; the engine declares one template conversion.
		parent = qualified_name(decl.semantic_parent)
		return parent + '::operator (conversion)' if parent else None
	parts = []
	cursor = decl
	while cursor is not None and cursor.kind != K.TRANSLATION_UNIT:
		# Strip template arguments, but not the '<' of an operator's own name (operator<, operator<=).
		name = cursor.spelling if cursor.spelling.startswith('operator') else cursor.spelling.split('<')[0]
		if cursor.kind == K.NAMESPACE and name == '':
			name = '(anonymous)'
		if name:
			parts.append(name)
		cursor = cursor.semantic_parent
		if cursor is not None and cursor.kind not in SCOPE_KINDS and cursor.kind != K.TRANSLATION_UNIT:
			# A declaration inside a function body is not an engine name.
			return None
	return '::'.join(reversed(parts)) if parts else None


def in_plugin(location):
	return location.file is not None and os.path.realpath(location.file.name).startswith(PLUGIN)


def in_host(location):
	return location.file is not None and os.path.realpath(location.file.name).startswith(HOST)


def host_header(location):
	"""The host header that declares it, as the engine path it stands for (Runtime/<Module>/Public/...)."""
	return os.path.relpath(os.path.realpath(location.file.name), HOST)


def scan(entry):
	"""(name, plug-in file:line) for every host declaration the TU's plug-in code names."""
	args = entry.get('arguments') or shlex.split(entry['command'])
	# Keep the flags that decide what is declared; drop the compiler, the output and precompiled headers.
	kept = []
	skip = False
	for arg in args[1:]:
		if skip:
			skip = False
			continue
		if arg in ('-o', '-MF', '-MT', '-MQ', '-c'):
			skip = arg != '-c'
			continue
		if arg == '-Xclang' or arg.startswith('-Winvalid-pch') or arg.endswith('.pch') or arg.endswith('cmake_pch.hxx'):
			continue
		if arg in ('-include-pch', '-include'):
			continue
		if os.path.realpath(os.path.join(entry['directory'], arg)) == os.path.realpath(os.path.join(entry['directory'], entry['file'])):
			continue
		kept.append(arg)
	# The precompiled header's own flags come in pairs after -Xclang; drop any left over.
	kept = [a for a in kept if not a.endswith('.pch') and not a.endswith('.hxx')]
	index = ci.Index.create()
	tu = index.parse(entry['file'], args=kept + ['-Wno-everything'],
		options=ci.TranslationUnit.PARSE_DETAILED_PROCESSING_RECORD)
	errors = [d for d in tu.diagnostics if d.severity >= ci.Diagnostic.Error]
	found = []
	macro_ranges = {}
	# Names inside a macro's expansion are the macro's business, not the plug-in's: only the macro counts.
	for cursor in tu.cursor.get_children():
		if cursor.kind == K.MACRO_INSTANTIATION and in_plugin(cursor.location):
			macro_ranges.setdefault(cursor.location.file.name, []).append((cursor.extent.start.offset, cursor.extent.end.offset))
			ref = cursor.referenced
			if ref is not None and in_host(ref.location):
				found.append((ref.spelling, '%s:%d' % (os.path.relpath(cursor.location.file.name, ROOT), cursor.location.line), host_header(ref.location)))

	def inside_macro(location):
		for start, end in macro_ranges.get(location.file.name, ()):
			if start <= location.offset < end:
				return True
		return False

	def walk(cursor):
		for child in cursor.get_children():
			location = child.location
			if location.file is None:
				continue
			if not in_plugin(location):
				# Host headers hold no plug-in code; plug-in headers come in through includes.
				continue
			if not inside_macro(location):
				ref = child.referenced
				if ref is not None and ref != child and ref.kind in NAMED_KINDS and in_host(ref.location):
					name = qualified_name(ref)
					if name:
						found.append((name, '%s:%d' % (os.path.relpath(location.file.name, ROOT), location.line), host_header(ref.location)))
			walk(child)

	walk(tu.cursor)
	return entry['file'], found, ['%s' % d for d in errors[:3]]


def read_list(path):
	names = {}
	for number, line in enumerate(open(path, encoding='utf-8'), 1):
		line = line.rstrip('\n')
		if not line.strip() or line.startswith('#'):
			continue
		fields = line.split('\t')
		if len(fields) < 2 or not fields[1].strip():
			sys.exit('%s:%d: an entry is "<name><TAB><engine header>[<TAB>note]": %r' % (path, number, line))
		names[fields[0].strip()] = fields[2].strip() if len(fields) > 2 else ''
	return names


def main():
	parser = argparse.ArgumentParser()
	parser.add_argument('--build', required=True)
	parser.add_argument('--list', default=DEFAULT_LIST)
	parser.add_argument('--jobs', type=int, default=2)
	parser.add_argument('--write-used', help='also write every name used, one a line with one place of use')
	options = parser.parse_args()

	entries = json.load(open(os.path.join(options.build, 'compile_commands.json')))
	sources = [e for e in entries if os.path.realpath(e['file']).startswith(PLUGIN) and e['file'].endswith('.cpp')]
	if not sources:
		sys.exit('No plug-in source in %s/compile_commands.json' % options.build)
	used = {}
	broken = []
	with concurrent.futures.ProcessPoolExecutor(max_workers=max(1, options.jobs)) as pool:
		for source, found, errors in pool.map(scan, sources):
			if errors:
				broken.append((source, errors))
			for name, where, header in found:
				used.setdefault(name, (where, header))
	if broken:
		for source, errors in broken:
			print('%s did not parse: %s' % (os.path.relpath(source, ROOT), '; '.join(errors)))
		return 2
	if options.write_used:
		with open(options.write_used, 'w', encoding='utf-8') as out:
			for name in sorted(used):
				out.write('%s\t%s\t%s\n' % (name, used[name][1], used[name][0]))
	listed = read_list(options.list)
	missing = sorted(name for name in used if name not in listed)
	unread = sum(1 for name in used if listed.get(name, '').startswith('host layout'))
	modules = {}
	for e in sources:
		module = os.path.relpath(os.path.realpath(e['file']), PLUGIN).split(os.sep)[0]
		modules[module] = modules.get(module, 0) + 1
	print('%d plug-in sources (%s), %d host declarations used, %d listed with their engine header.' % (
		len(sources), ', '.join('%s %d' % (m, modules[m]) for m in sorted(modules)), len(used), len(listed)))
	if unread:
		print('%d of those in use rest on the host\'s layout only: their engine declarations are still to be read.' % unread)
	if missing:
		print('The plug-in uses %d host declaration(s) that the engine list does not hold:' % len(missing))
		for name in missing:
			print('  %s  (used at %s; the host declares it in %s)' % (name, used[name][0], used[name][1]))
		print('Read each in the engine; add it to %s with its header if the engine has it, otherwise stop using it.' % os.path.relpath(options.list, ROOT))
		return 1
	return 0


if __name__ == '__main__':
	sys.exit(main())
