// Runs the header tool on headers written into a scratch module folder.
#pragma once

#include <string>
#include <vector>

namespace HeaderToolTest
{
	struct FToolRun
	{
		int ExitCode = -1;
		std::string Output;     // stdout and stderr
		std::string HeaderPath; // absolute path of the (first) header
		std::string OutDir;
		std::string Command; // the command line, so that a test can run the tool again on the same folders

		std::string Read(const std::string& RelativeToOut) const;
	};

	struct FHeaderFile
	{
		std::string RelativePath; // e.g. Public/Foo.h
		std::string Text;
	};

	// Writes the headers into a fresh module "TestMod" and runs the tool on them. Dependency
	// manifests are written from ManifestLines (one line each) when given.
	FToolRun RunTool(const std::vector<FHeaderFile>& Headers, const std::vector<std::string>& ManifestLines = {}, bool bPlugin = true);

	// One header Public/TestHeader.h with the given body, after the includes every header has.
	FToolRun RunOne(const std::string& Body, const std::vector<std::string>& ManifestLines = {});

	// Lines of the includes RunOne writes before Body (so a test can count lines).
	constexpr int PreambleLines = 3;

	// The expected diagnostic text "<file>(<line>): Error: <message>".
	std::string ErrorLine(const FToolRun& Run, int Line, const std::string& Message);
	std::string WarningLine(const FToolRun& Run, int Line, const std::string& Message);
}
