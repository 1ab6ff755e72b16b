// Copyright Quarn. All Rights Reserved.

#include "Misc/Paths.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/CoreGlobals.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProcess.h"
#include "Containers/StringConv.h"
#include "Host/CoreHost.h"
#include "Math/UnrealMathUtility.h"
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
	std::mutex& PathMutex()
	{
		static std::mutex Mutex;
		return Mutex;
	}

	FString& ProjectDirStorage()
	{
		static FString Dir = []()
		{
			char Buffer[4096];
			FString Result = getcwd(Buffer, sizeof(Buffer)) ? FString(UTF8_TO_TCHAR(Buffer)) : FString(TEXT("."));
			FPaths::NormalizeDirectoryName(Result);
			return Result + TEXT("/");
		}();
		return Dir;
	}
} // namespace

FString FPaths::ProjectDir()
{
	std::lock_guard<std::mutex> Lock(PathMutex());
	return ProjectDirStorage();
}

FString FPaths::ProjectConfigDir() { return ProjectDir() + TEXT("Config/"); }
FString FPaths::ProjectContentDir() { return ProjectDir() + TEXT("Content/"); }
FString FPaths::ProjectSavedDir() { return ProjectDir() + TEXT("Saved/"); }
FString FPaths::ProjectIntermediateDir() { return ProjectDir() + TEXT("Intermediate/"); }
FString FPaths::ProjectPluginsDir() { return ProjectDir() + TEXT("Plugins/"); }
FString FPaths::ProjectLogDir() { return ProjectSavedDir() + TEXT("Logs/"); }
FString FPaths::GeneratedConfigDir() { return ProjectSavedDir() + TEXT("Config/"); }
FString FPaths::EngineDir() { return FString(FPlatformProcess::BaseDir()); }
FString FPaths::LaunchDir() { return ProjectDir(); }
FString FPaths::RootDir() { return ProjectDir(); }
FString FPaths::GetProjectFilePath() { return FString(); }

bool FPaths::FileExists(const FString& InPath)
{
	return IFileManager::Get().FileExists(*InPath);
}

bool FPaths::DirectoryExists(const FString& InPath)
{
	return IFileManager::Get().DirectoryExists(*InPath);
}

bool FPaths::IsRelative(const FString& InPath)
{
	return !(InPath.StartsWith(TEXT("/")) || InPath.StartsWith(TEXT("\\")));
}

namespace
{
	int32 LastSeparator(const FString& InPath)
	{
		int32 Slash = INDEX_NONE;
		int32 Backslash = INDEX_NONE;
		InPath.FindLastChar(TEXT('/'), Slash);
		InPath.FindLastChar(TEXT('\\'), Backslash);
		return FMath::Max(Slash, Backslash);
	}
}

FString FPaths::GetExtension(const FString& InPath, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(InPath);
	int32 DotPos = INDEX_NONE;
	if (Filename.FindLastChar(TEXT('.'), DotPos))
	{
		return Filename.Mid(DotPos + (bIncludeDot ? 0 : 1));
	}
	return FString();
}

FString FPaths::GetCleanFilename(const FString& InPath)
{
	const int32 Separator = LastSeparator(InPath);
	return Separator == INDEX_NONE ? InPath : InPath.Mid(Separator + 1);
}

FString FPaths::GetBaseFilename(const FString& InPath, bool bRemovePath)
{
	FString Wk = bRemovePath ? GetCleanFilename(InPath) : InPath;
	const int32 ExtPos = Wk.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (ExtPos != INDEX_NONE)
	{
		// A dot before the last separator is part of a folder name, not an extension.
		const int32 Separator = LastSeparator(Wk);
		if (Separator == INDEX_NONE || Separator < ExtPos)
		{
			Wk.LeftInline(ExtPos);
		}
	}
	return Wk;
}

FString FPaths::GetPath(const FString& InPath)
{
	const int32 Separator = LastSeparator(InPath);
	return Separator == INDEX_NONE ? FString() : InPath.Left(Separator);
}

FString FPaths::GetPathLeaf(const FString& InPath)
{
	FString Path = InPath;
	while (Path.EndsWith(TEXT("/")) || Path.EndsWith(TEXT("\\")))
	{
		Path.LeftChopInline(1);
	}
	return GetCleanFilename(Path);
}

FString FPaths::ChangeExtension(const FString& InPath, const FString& InNewExtension)
{
	int32 Pos = InPath.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (Pos != INDEX_NONE && Pos > LastSeparator(InPath))
	{
		FString Result = InPath.Left(Pos);
		if (!InNewExtension.IsEmpty())
		{
			if (!InNewExtension.StartsWith(TEXT(".")))
			{
				Result += TEXT(".");
			}
			Result += InNewExtension;
		}
		return Result;
	}
	return InPath;
}

FString FPaths::SetExtension(const FString& InPath, const FString& InNewExtension)
{
	FString Result = GetBaseFilename(InPath, false);
	if (!InNewExtension.IsEmpty())
	{
		if (!InNewExtension.StartsWith(TEXT(".")))
		{
			Result += TEXT(".");
		}
		Result += InNewExtension;
	}
	return Result;
}

void FPaths::NormalizeFilename(FString& InPath)
{
	InPath.ReplaceCharInline(TEXT('\\'), TEXT('/'), ESearchCase::CaseSensitive);
}

void FPaths::NormalizeDirectoryName(FString& InPath)
{
	NormalizeFilename(InPath);
	if (InPath.Len() > 1 && InPath.EndsWith(TEXT("/")) && !InPath.EndsWith(TEXT("//")))
	{
		InPath.LeftChopInline(1);
	}
}

void FPaths::RemoveDuplicateSlashes(FString& InPath)
{
	while (InPath.Contains(TEXT("//"), ESearchCase::CaseSensitive))
	{
		InPath.ReplaceInline(TEXT("//"), TEXT("/"), ESearchCase::CaseSensitive);
	}
}

bool FPaths::CollapseRelativeDirectories(FString& InPath)
{
	NormalizeFilename(InPath);
	const bool bAbsolute = InPath.StartsWith(TEXT("/"));
	const bool bTrailing = InPath.EndsWith(TEXT("/"));
	TArray<FString> Parts;
	InPath.ParseIntoArray(Parts, TEXT("/"), true);
	TArray<FString> Out;
	for (const FString& Part : Parts)
	{
		if (Part == TEXT("."))
		{
			continue;
		}
		if (Part == TEXT(".."))
		{
			if (Out.Num() == 0 || Out.Last() == TEXT(".."))
			{
				if (bAbsolute)
				{
					return false;
				}
				Out.Add(Part);
			}
			else
			{
				Out.Pop();
			}
			continue;
		}
		Out.Add(Part);
	}
	InPath = (bAbsolute ? FString(TEXT("/")) : FString()) + FString::Join(Out, TEXT("/"));
	if (bTrailing && !InPath.EndsWith(TEXT("/")))
	{
		InPath += TEXT("/");
	}
	return true;
}

FString FPaths::ConvertRelativePathToFull(const FString& InPath)
{
	return ConvertRelativePathToFull(ProjectDir(), InPath);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& InPath)
{
	FString Full = IsRelative(InPath) ? BasePath / InPath : InPath;
	CollapseRelativeDirectories(Full);
	RemoveDuplicateSlashes(Full);
	return Full;
}

bool FPaths::MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo)
{
	FString Target = ConvertRelativePathToFull(InPath);
	FString Base = GetPath(ConvertRelativePathToFull(FString(InRelativeTo)));
	TArray<FString> TargetParts;
	TArray<FString> BaseParts;
	Target.ParseIntoArray(TargetParts, TEXT("/"), true);
	Base.ParseIntoArray(BaseParts, TEXT("/"), true);
	int32 Common = 0;
	while (Common < TargetParts.Num() && Common < BaseParts.Num() && TargetParts[Common].Equals(BaseParts[Common]))
	{
		++Common;
	}
	FString Result;
	for (int32 Index = Common; Index < BaseParts.Num(); ++Index)
	{
		Result += TEXT("../");
	}
	for (int32 Index = Common; Index < TargetParts.Num(); ++Index)
	{
		Result += TargetParts[Index];
		if (Index + 1 < TargetParts.Num())
		{
			Result += TEXT("/");
		}
	}
	InPath = Result;
	return true;
}

bool FPaths::IsSamePath(const FString& PathA, const FString& PathB)
{
	FString A = ConvertRelativePathToFull(PathA);
	FString B = ConvertRelativePathToFull(PathB);
	NormalizeDirectoryName(A);
	NormalizeDirectoryName(B);
	return A.Equals(B, ESearchCase::CaseSensitive);
}

namespace UE::Host
{
	void SetProjectDirectory(const FString& Directory)
	{
		FString Dir = FPaths::ConvertRelativePathToFull(Directory);
		FPaths::NormalizeDirectoryName(Dir);
		{
			std::lock_guard<std::mutex> Lock(PathMutex());
			ProjectDirStorage() = Dir + TEXT("/");
		}
		extern void ReloadProjectConfig();
		ReloadProjectConfig();
	}
} // namespace UE::Host
