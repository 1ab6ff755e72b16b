// HeaderTool --module <Name> --module-dir <dir> --out <dir> [--plugin <Plugin>] [--dep <manifest>]... -- <headers>
//
// Reads a module's reflected headers, rejects what the engine's header tool rejects, and writes
// each header's .generated.h and .gen.cpp, the module's .init.gen.cpp and its manifest.
#include "HeaderTool.h"
#include "Tokenizer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace HeaderTool;

namespace
{
	int Usage()
	{
		std::fprintf(stderr, "usage: HeaderTool --module <Name> --module-dir <dir> --out <dir> [--plugin <Plugin>] [--dep <manifest>]... -- <headers>\n");
		return 2;
	}

	std::string Generic(const fs::path& P)
	{
		return P.lexically_normal().generic_string();
	}

	// The folder FileIds are relative to: the parent of the project, found as the nearest folder
	// above the module that holds the top-level CMakeLists.txt and the Host folder.
	std::string FindProjectParent(const fs::path& ModuleDir)
	{
		for (fs::path P = ModuleDir; !P.empty() && P != P.root_path(); P = P.parent_path())
		{
			if (fs::exists(P / "CMakeLists.txt") && fs::exists(P / "Host") && fs::exists(P / "Plugins"))
			{
				return Generic(P.parent_path());
			}
		}
		return Generic(ModuleDir.parent_path());
	}

	std::string MakeFileId(const std::string& Relative)
	{
		std::string Id = "FID_";
		for (char C : Relative)
		{
			Id += std::isalnum((unsigned char)C) ? C : '_';
		}
		return Id;
	}
}

namespace
{
	/**
	 * Removes what an earlier run wrote for a header that is no longer this module's (moved to
	 * another module, say), so that an incremental build cannot include a stale .generated.h
	 * ahead of the new owner's.
	 */
	void RemoveStaleOutputs(const FSession& Session)
	{
		std::set<std::string> Current;
		for (const std::unique_ptr<FHeader>& Header : Session.Headers)
		{
			Current.insert(Header->BaseName);
		}
		const fs::path Out(Session.Module.OutDir);
		const std::string InitName = Session.Module.Name + ".init.gen.cpp";
		const auto Prune = [&Current, &InitName](const fs::path& Dir, const std::string& Suffix)
		{
			std::error_code Ec;
			for (fs::directory_iterator It(Dir, Ec), End; !Ec && It != End; It.increment(Ec))
			{
				const std::string Name = It->path().filename().string();
				if (Name == InitName || Name.size() <= Suffix.size() || Name.compare(Name.size() - Suffix.size(), Suffix.size(), Suffix) != 0)
				{
					continue;
				}
				if (Current.count(Name.substr(0, Name.size() - Suffix.size())) == 0)
				{
					std::error_code RemoveEc;
					fs::remove(It->path(), RemoveEc);
				}
			}
		};
		Prune(Out / "Inc", ".generated.h");
		Prune(Out, ".gen.cpp");
	}
}

int main(int Argc, char** Argv)
{
	FSession Session;
	std::vector<std::string> Deps;
	std::vector<std::string> HeaderPaths;
	bool bHeaders = false;
	for (int I = 1; I < Argc; ++I)
	{
		const std::string Arg = Argv[I];
		if (bHeaders)
		{
			HeaderPaths.push_back(Arg);
			continue;
		}
		auto NextValue = [&](std::string& Out) -> bool
		{
			if (I + 1 >= Argc)
			{
				return false;
			}
			Out = Argv[++I];
			return true;
		};
		if (Arg == "--")
		{
			bHeaders = true;
		}
		else if (Arg == "--module")
		{
			if (!NextValue(Session.Module.Name)) return Usage();
		}
		else if (Arg == "--module-dir")
		{
			if (!NextValue(Session.Module.Dir)) return Usage();
		}
		else if (Arg == "--out")
		{
			if (!NextValue(Session.Module.OutDir)) return Usage();
		}
		else if (Arg == "--plugin")
		{
			if (!NextValue(Session.Module.Plugin)) return Usage();
		}
		else if (Arg == "--dep")
		{
			std::string Dep;
			if (!NextValue(Dep)) return Usage();
			Deps.push_back(Dep);
		}
		else
		{
			std::fprintf(stderr, "HeaderTool: unknown argument '%s'\n", Arg.c_str());
			return Usage();
		}
	}
	if (Session.Module.Name.empty() || Session.Module.Dir.empty() || Session.Module.OutDir.empty())
	{
		return Usage();
	}
	// Plug-in modules are not engine modules: the engine tool is lenient with them about categories.
	Session.Module.bEngineModule = Session.Module.Plugin.empty();
	Session.Module.ApiMacro = ToUpper(Session.Module.Name) + "_API";
	const fs::path ModuleDir = fs::absolute(Session.Module.Dir).lexically_normal();
	Session.Module.ProjectRoot = FindProjectParent(ModuleDir);

	RegisterBuiltinTypes(Session);
	for (const std::string& Dep : Deps)
	{
		if (!ReadManifest(Session, Dep))
		{
			std::fprintf(stderr, "HeaderTool: cannot read manifest '%s'\n", Dep.c_str());
			return 1;
		}
	}

	// Parse every header; a header stops at its first error, the others are still read.
	std::set<std::string> FileNames;
	for (const std::string& Raw : HeaderPaths)
	{
		const fs::path Path = fs::absolute(Raw).lexically_normal();
		auto Header = std::make_unique<FHeader>();
		Header->Path = Generic(Path);
		Header->FileName = Path.filename().string();
		Header->BaseName = Path.stem().string();
		Header->ModuleRelative = Generic(Path.lexically_relative(ModuleDir));
		Header->IncludePath = Header->ModuleRelative;
		for (const char* Root : {"Classes/", "Public/", "Internal/", "Private/"})
		{
			if (StartsWith(Header->IncludePath, Root))
			{
				Header->IncludePath = Header->IncludePath.substr(std::string(Root).size());
				break;
			}
		}
		Header->FileId = MakeFileId(Generic(Path.lexically_relative(Session.Module.ProjectRoot)));
		Header->bNoExportTypes = Header->FileName == "NoExportTypes.h";
		if (!FileNames.insert(ToLower(Header->FileName)).second)
		{
			Session.Diag.Error(Header->Path, 1, "Two headers with the same name is not allowed. '" + Header->Path + "' conflicts with an earlier header of this module");
			continue;
		}
		std::ifstream In(Path, std::ios::binary);
		if (!In)
		{
			Session.Diag.Error(Header->Path, 1, "Unable to read the header");
			continue;
		}
		std::stringstream Text;
		Text << In.rdbuf();
		try
		{
			ParseHeader(Session, *Header, Text.str());
		}
		catch (const FParseError& E)
		{
			Session.Diag.Error(Header->Path, E.Line, E.Message);
		}
		Session.Headers.push_back(std::move(Header));
	}
	// As in the engine tool, each phase runs only when the earlier ones found no error.
	if (Session.Diag.ErrorCount() > 0)
	{
		return 1;
	}
	RegisterModuleTypes(Session);
	ResolveAndCheck(Session);
	if (Session.Diag.ErrorCount() > 0)
	{
		return 1;
	}

	std::error_code Ec;
	fs::create_directories(fs::path(Session.Module.OutDir) / "Inc", Ec);
	if (!WriteGeneratedFiles(Session))
	{
		std::fprintf(stderr, "HeaderTool: cannot write the generated files to '%s'\n", Session.Module.OutDir.c_str());
		return 1;
	}
	if (!WriteManifest(Session, (fs::path(Session.Module.OutDir) / (Session.Module.Name + ".reflection")).string()))
	{
		std::fprintf(stderr, "HeaderTool: cannot write the manifest\n");
		return 1;
	}
	RemoveStaleOutputs(Session);
	return 0;
}
