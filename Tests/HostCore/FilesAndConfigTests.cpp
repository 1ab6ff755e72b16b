// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "Host/CoreHost.h"
#include "HAL/FileManager.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace
{
	// A scratch project directory, restored and removed afterwards.
	struct FScratchProject
	{
		FScratchProject()
		{
			char Template[] = "/tmp/HostCoreProjectXXXXXX";
			Dir = FString(UTF8_TO_TCHAR(mkdtemp(Template)));
			OldProject = FPaths::ProjectDir();
		}
		~FScratchProject()
		{
			UE::Host::SetProjectDirectory(OldProject);
			IFileManager::Get().DeleteDirectory(*Dir, false, true);
		}
		FString Dir;
		FString OldProject;
	};
}

TEST(HostCorePaths, StringHelpers)
{
	EXPECT_EQ(FPaths::GetExtension(TEXT("a/b/icon.png")), FString(TEXT("png")));
	EXPECT_EQ(FPaths::GetExtension(TEXT("a/b/icon.png"), true), FString(TEXT(".png")));
	EXPECT_EQ(FPaths::GetExtension(TEXT("a.dir/file")), FString());
	EXPECT_EQ(FPaths::GetBaseFilename(TEXT("a/b/icon.tar.gz")), FString(TEXT("icon.tar")));
	EXPECT_EQ(FPaths::GetBaseFilename(TEXT("a/b/icon.png"), false), FString(TEXT("a/b/icon")));
	EXPECT_EQ(FPaths::GetCleanFilename(TEXT("a/b/icon.png")), FString(TEXT("icon.png")));
	EXPECT_EQ(FPaths::GetPath(TEXT("a/b/icon.png")), FString(TEXT("a/b")));
	EXPECT_EQ(FPaths::Combine(TEXT("a"), TEXT("b"), FString(TEXT("c.txt"))), FString(TEXT("a/b/c.txt")));
	EXPECT_EQ(FPaths::Combine(TEXT("a/"), TEXT("b")), FString(TEXT("a/b")));
	FString Messy(TEXT("/x/./y/../z/"));
	EXPECT_TRUE(FPaths::CollapseRelativeDirectories(Messy));
	EXPECT_EQ(Messy, FString(TEXT("/x/z/")));
	EXPECT_TRUE(FPaths::ProjectDir().EndsWith(TEXT("/")));
	EXPECT_EQ(FPaths::ProjectConfigDir(), FPaths::ProjectDir() + TEXT("Config/"));
}

TEST(HostCoreFiles, SaveAndLoadKeepTextAndBytes)
{
	FScratchProject Project;
	const FString AsciiPath = Project.Dir / TEXT("deep/dir/ascii.txt");
	EXPECT_TRUE(FFileHelper::SaveStringToFile(TEXT("plain\r\ntext"), *AsciiPath));
	EXPECT_TRUE(FPaths::FileExists(AsciiPath));
	EXPECT_TRUE(FPaths::DirectoryExists(Project.Dir / TEXT("deep/dir")));
	EXPECT_EQ(IFileManager::Get().FileSize(*AsciiPath), 11);
	FString Loaded;
	EXPECT_TRUE(FFileHelper::LoadFileToString(Loaded, *AsciiPath));
	EXPECT_EQ(Loaded, FString(TEXT("plain\r\ntext")));

	// Non-ASCII text is written as UTF-16 with a byte order mark and read back intact.
	const FString UnicodePath = Project.Dir / TEXT("unicode.txt");
	const FString Unicode(TEXT("caf\u00e9 \U0001F600"));
	EXPECT_TRUE(FFileHelper::SaveStringToFile(Unicode, *UnicodePath));
	TArray<uint8> Bytes;
	EXPECT_TRUE(FFileHelper::LoadFileToArray(Bytes, *UnicodePath));
	EXPECT_EQ(Bytes[0], 0xff);
	EXPECT_EQ(Bytes[1], 0xfe);
	EXPECT_TRUE(FFileHelper::LoadFileToString(Loaded, *UnicodePath));
	EXPECT_TRUE(Loaded.Equals(Unicode));

	EXPECT_TRUE(FFileHelper::SaveStringToFile(Unicode, *UnicodePath, FFileHelper::EEncodingOptions::ForceUTF8WithoutBOM));
	EXPECT_TRUE(FFileHelper::LoadFileToString(Loaded, *UnicodePath));
	EXPECT_TRUE(Loaded.Equals(Unicode));

	EXPECT_FALSE(FFileHelper::LoadFileToString(Loaded, *(Project.Dir / TEXT("missing.txt"))));
	EXPECT_FALSE(FPaths::FileExists(Project.Dir / TEXT("missing.txt")));
}

TEST(HostCoreConfig, ReadsProjectDefaultIniFiles)
{
	FScratchProject Project;
	const FString Game =
		TEXT("; comment\r\n")
		TEXT("[/Script/QuarnCore.QuarnSettings]\r\n")
		TEXT("BaseUrl=\"http://127.0.0.1:8080\"\r\n")
		TEXT("RequestTimeoutSeconds=12.5\r\n")
		TEXT("bAllowInsecure=True\r\n")
		TEXT("Retries=3\r\n")
		TEXT("+Tags=a\r\n")
		TEXT("+Tags=b\r\n")
		TEXT("+Tags=a\r\n")
		TEXT("Retries=4\r\n")
		TEXT("[Other]\n")
		TEXT("Quoted=\"say \\\"hi\\\"\"\n");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(Game, *(Project.Dir / TEXT("Config/DefaultGame.ini"))));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("[Core.Log]\nLogQuarn=Verbose\n"), *(Project.Dir / TEXT("Config/DefaultEngine.ini"))));
	UE::Host::SetProjectDirectory(Project.Dir);
	EXPECT_TRUE(FPaths::ProjectDir().StartsWith(Project.Dir));

	const TCHAR* Section = TEXT("/Script/QuarnCore.QuarnSettings");
	FString BaseUrl;
	EXPECT_TRUE(GConfig->GetString(Section, TEXT("BaseUrl"), BaseUrl, GGameIni));
	EXPECT_EQ(BaseUrl, FString(TEXT("http://127.0.0.1:8080")));
	EXPECT_TRUE(GConfig->GetString(Section, TEXT("baseurl"), BaseUrl, GGameIni));
	float Timeout = 0;
	EXPECT_TRUE(GConfig->GetFloat(Section, TEXT("RequestTimeoutSeconds"), Timeout, GGameIni));
	EXPECT_EQ(Timeout, 12.5f);
	double TimeoutD = 0;
	EXPECT_TRUE(GConfig->GetDouble(Section, TEXT("RequestTimeoutSeconds"), TimeoutD, GGameIni));
	bool bAllow = false;
	EXPECT_TRUE(GConfig->GetBool(Section, TEXT("bAllowInsecure"), bAllow, GGameIni));
	EXPECT_TRUE(bAllow);
	int32 Retries = 0;
	EXPECT_TRUE(GConfig->GetInt(Section, TEXT("Retries"), Retries, GGameIni));
	EXPECT_EQ(Retries, 4);
	TArray<FString> Tags;
	EXPECT_EQ(GConfig->GetArray(Section, TEXT("Tags"), Tags, GGameIni), 2);
	FString Quoted;
	EXPECT_TRUE(GConfig->GetString(TEXT("Other"), TEXT("Quoted"), Quoted, GGameIni));
	EXPECT_EQ(Quoted, FString(TEXT("say \"hi\"")));
	FString Missing = TEXT("unchanged");
	EXPECT_FALSE(GConfig->GetString(Section, TEXT("Nope"), Missing, GGameIni));
	EXPECT_EQ(Missing, FString(TEXT("unchanged")));
	FString Verbosity;
	EXPECT_TRUE(GConfig->GetString(TEXT("Core.Log"), TEXT("LogQuarn"), Verbosity, GEngineIni));
	EXPECT_FALSE(GConfig->GetString(TEXT("Core.Log"), TEXT("LogQuarn"), Verbosity, GGameIni));

	GConfig->SetString(Section, TEXT("BaseUrl"), TEXT("https://example.invalid"), GGameIni);
	EXPECT_TRUE(GConfig->GetString(Section, TEXT("BaseUrl"), BaseUrl, GGameIni));
	EXPECT_EQ(BaseUrl, FString(TEXT("https://example.invalid")));
	EXPECT_TRUE(GConfig->GetString(Section, TEXT("Retries"), BaseUrl, TEXT("Game")));
}
