#include "HeaderToolTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace HeaderToolTest
{
	namespace
	{
		std::string ScratchDir()
		{
			static std::atomic<int> Counter{0};
			const testing::TestInfo* Info = testing::UnitTest::GetInstance()->current_test_info();
			const std::string Name = Info ? std::string(Info->test_suite_name()) + "_" + Info->name() : "run";
			const fs::path Dir = fs::path(testing::TempDir()) / ("headertool_" + std::to_string(getpid()) + "_" + Name + "_" + std::to_string(Counter++));
			fs::remove_all(Dir);
			fs::create_directories(Dir);
			return fs::absolute(Dir).lexically_normal().generic_string();
		}

		void WriteFile(const fs::path& Path, const std::string& Text)
		{
			fs::create_directories(Path.parent_path());
			std::ofstream Out(Path, std::ios::binary);
			Out << Text;
		}
	}

	std::string FToolRun::Read(const std::string& RelativeToOut) const
	{
		std::ifstream In(fs::path(OutDir) / RelativeToOut, std::ios::binary);
		std::stringstream S;
		S << In.rdbuf();
		return S.str();
	}

	FToolRun RunTool(const std::vector<FHeaderFile>& Headers, const std::vector<std::string>& ManifestLines, bool bPlugin)
	{
		FToolRun Run;
		const std::string Root = ScratchDir();
		const std::string ModuleDir = Root + "/TestMod";
		Run.OutDir = Root + "/Generated";
		std::string Command = std::string(HEADER_TOOL_PATH) + " --module TestMod --module-dir " + ModuleDir + " --out " + Run.OutDir;
		if (bPlugin)
		{
			Command += " --plugin TestPlugin";
		}
		if (!ManifestLines.empty())
		{
			std::string Manifest = "module\tEngine\n";
			for (const std::string& L : ManifestLines)
			{
				Manifest += L + "\n";
			}
			WriteFile(Root + "/Engine.reflection", Manifest);
			Command += " --dep " + Root + "/Engine.reflection";
		}
		Command += " --";
		for (const FHeaderFile& H : Headers)
		{
			const std::string Path = ModuleDir + "/" + H.RelativePath;
			WriteFile(Path, H.Text);
			Command += " " + Path;
			if (Run.HeaderPath.empty())
			{
				Run.HeaderPath = Path;
			}
		}
		Command += " 2>&1";
		Run.Command = Command;
		FILE* Pipe = popen(Command.c_str(), "r");
		if (!Pipe)
		{
			return Run;
		}
		char Buffer[4096];
		size_t N;
		while ((N = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0)
		{
			Run.Output.append(Buffer, N);
		}
		const int Status = pclose(Pipe);
		Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
		return Run;
	}

	FToolRun RunOne(const std::string& Body, const std::vector<std::string>& ManifestLines)
	{
		const std::string Text = "#pragma once\n#include \"CoreMinimal.h\"\n#include \"TestHeader.generated.h\"\n" + Body;
		return RunTool({{"Public/TestHeader.h", Text}}, ManifestLines);
	}

	std::string ErrorLine(const FToolRun& Run, int Line, const std::string& Message)
	{
		return Run.HeaderPath + "(" + std::to_string(Line) + "): Error: " + Message;
	}

	std::string WarningLine(const FToolRun& Run, int Line, const std::string& Message)
	{
		return Run.HeaderPath + "(" + std::to_string(Line) + "): Warning: " + Message;
	}
}
