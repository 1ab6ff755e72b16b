// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

// Paths of the project and helpers on path strings. Directories end with '/'. The project
// directory is the working directory unless the host sets it (UE::Host::SetProjectDirectory).
class CORE_API FPaths
{
public:
	static FString ProjectDir();
	static FString ProjectConfigDir();
	static FString ProjectContentDir();
	static FString ProjectSavedDir();
	static FString ProjectIntermediateDir();
	static FString ProjectPluginsDir();
	static FString ProjectLogDir();
	static FString GeneratedConfigDir();
	static FString EngineDir();
	static FString LaunchDir();
	static FString RootDir();
	static FString GetProjectFilePath();

	static bool FileExists(const FString& InPath);
	static bool DirectoryExists(const FString& InPath);
	static bool IsRelative(const FString& InPath);
	static bool IsDrive(const FString& InPath) { return false; }

	// "png" for "a/b.png" (".png" with the dot); empty when there is none.
	static FString GetExtension(const FString& InPath, bool bIncludeDot = false);
	static FString GetCleanFilename(const FString& InPath);
	static FString GetBaseFilename(const FString& InPath, bool bRemovePath = true);
	static FString GetPath(const FString& InPath);
	static FString GetPathLeaf(const FString& InPath);
	static FString ChangeExtension(const FString& InPath, const FString& InNewExtension);
	static FString SetExtension(const FString& InPath, const FString& InNewExtension);

	static void NormalizeFilename(FString& InPath);
	static void NormalizeDirectoryName(FString& InPath);
	static bool CollapseRelativeDirectories(FString& InPath);
	static void RemoveDuplicateSlashes(FString& InPath);
	static FString ConvertRelativePathToFull(const FString& InPath);
	static FString ConvertRelativePathToFull(const FString& BasePath, const FString& InPath);
	static bool MakePathRelativeTo(FString& InPath, const TCHAR* InRelativeTo);
	static bool IsSamePath(const FString& PathA, const FString& PathB);

	template <typename... PathTypes>
	static FORCEINLINE FString Combine(PathTypes&&... InPaths)
	{
		const TCHAR* Paths[] = { GetTCharPtr(Forward<PathTypes>(InPaths))... };
		FString Out;
		for (const TCHAR* Path : Paths)
		{
			if (Path && *Path)
			{
				if (Out.IsEmpty())
				{
					Out = Path;
				}
				else
				{
					Out /= Path;
				}
			}
		}
		return Out;
	}

private:
	static FORCEINLINE const TCHAR* GetTCharPtr(const TCHAR* Ptr) { return Ptr; }
	static FORCEINLINE const TCHAR* GetTCharPtr(const FString& Str) { return *Str; }
};
