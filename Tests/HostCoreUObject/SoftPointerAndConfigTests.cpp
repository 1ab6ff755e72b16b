// Soft pointers resolve loaded objects or load through the registered loaders; config classes
// read their defaults from the project's config.
#include "TestSupport.h"
#include "UObject/SoftObjectPtr.h"
#include "Host/ObjectLoading.h"
#include "Host/CoreHost.h"
#include "UObject/GarbageCollection.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

TEST(HostCoreUObjectSoftPointers, NullLoadedAndGone)
{
	TSoftObjectPtr<UReflectionTestObject> Soft;
	EXPECT_TRUE(Soft.IsNull());
	EXPECT_EQ(Soft.Get(), nullptr);
	EXPECT_EQ(Soft.LoadSynchronous(), nullptr);

	UReflectionTestObject* Object = NewObject<UReflectionTestObject>(GetTransientPackage(), TEXT("SoftTarget"));
	Soft = Object;
	EXPECT_FALSE(Soft.IsNull());
	EXPECT_EQ(Soft.Get(), Object);
	EXPECT_EQ(Str(Soft.ToString()), "/Engine/Transient.SoftTarget");
	// A path alone finds the object already in memory.
	TSoftObjectPtr<UReflectionTestObject> ByPath(FSoftObjectPath(TEXT("/Engine/Transient.SoftTarget")));
	EXPECT_EQ(ByPath.Get(), Object);
	EXPECT_TRUE(ByPath == Soft);
	// A soft pointer keeps nothing alive.
	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	EXPECT_EQ(Soft.Get(), nullptr);
	EXPECT_TRUE(Soft.IsPending());
}

TEST(HostCoreUObjectSoftPointers, PathsSplitIntoPackageAssetAndSubobject)
{
	FSoftObjectPath Path(TEXT("/Game/Icons/Sword.Sword:Mip0"));
	EXPECT_EQ(Str(Path.GetLongPackageName()), "/Game/Icons/Sword");
	EXPECT_EQ(Str(Path.GetAssetName()), "Sword");
	EXPECT_EQ(Str(Path.GetSubPathString()), "Mip0");
	EXPECT_EQ(Str(Path.ToString()), "/Game/Icons/Sword.Sword:Mip0");
	EXPECT_TRUE(Path.IsSubobject());
	EXPECT_TRUE(FSoftObjectPath(TEXT("")).IsNull());
	EXPECT_TRUE(FSoftObjectPath(TEXT("None")).IsNull());
}

TEST(HostCoreUObjectSoftPointers, LoadSynchronousUsesTheRegisteredLoader)
{
	int32 Calls = 0;
	const FDelegateHandle Handle = UE::Host::RegisterAssetLoader([&Calls](UClass* Class, const FString& Path) -> UObject*
	{
		if (Path != TEXT("/Game/Data/Table.Table"))
		{
			return nullptr;
		}
		++Calls;
		UPackage* Package = CreatePackage(TEXT("/Game/Data/Table"));
		return NewObject<UReflectionTestObject>(Package, TEXT("Table"));
	});
	TSoftObjectPtr<UReflectionTestObject> Soft(FSoftObjectPath(TEXT("/Game/Data/Table.Table")));
	EXPECT_EQ(Soft.Get(), nullptr);
	UReflectionTestObject* Loaded = Soft.LoadSynchronous();
	ASSERT_NE(Loaded, nullptr);
	EXPECT_EQ(Str(Loaded->GetPathName()), "/Game/Data/Table.Table");
	EXPECT_EQ(Soft.LoadSynchronous(), Loaded);
	EXPECT_EQ(Calls, 1);
	EXPECT_EQ(LoadObject<UReflectionTestObject>(nullptr, TEXT("/Game/Data/Table.Table")), Loaded);
	EXPECT_EQ(LoadObject<UReflectionTestObject>(nullptr, TEXT("/Game/Data/Missing.Missing"), {}, LOAD_NoWarn), nullptr);
	UE::Host::UnregisterAssetLoader(Handle);
	Loaded->MarkAsGarbage();
}

TEST(HostCoreUObjectConfig, DefaultObjectReadsItsSectionOfTheGameConfig)
{
	// Each test runs in its own process under CTest, so the default object is made here.
	ASSERT_EQ(UConfigTestSettings::StaticClass()->GetDefaultObject(false), nullptr);
	const std::filesystem::path Dir = std::filesystem::path(testing::TempDir()) / ("uobject_config_" + std::to_string(getpid()));
	std::filesystem::create_directories(Dir / "Config");
	{
		std::ofstream Ini(Dir / "Config" / "DefaultGame.ini");
		Ini << "[/Script/HostUObjectTestTypes.ConfigTestSettings]\r\n"
			<< "BaseAddress=https://qa.example.invalid/api\r\n"
			<< "TimeoutSeconds=25\r\n"
			<< "bAllowInsecure=True\r\n"
			<< "IconTable=/Game/Data/Icons.Icons\r\n"
			<< "+Mirrors=https://a.invalid\r\n"
			<< "+Mirrors=https://b.invalid\r\n"
			<< "NotFromConfig=99\r\n"
			<< "[/Script/HostUObjectTestTypes.OtherClass]\r\n"
			<< "TimeoutSeconds=1\r\n";
	}
	UE::Host::SetProjectDirectory(UTF8_TO_TCHAR(Dir.string().c_str()));

	const UConfigTestSettings* Settings = GetDefault<UConfigTestSettings>();
	EXPECT_EQ(Str(Settings->BaseAddress), "https://qa.example.invalid/api");
	EXPECT_EQ(Settings->TimeoutSeconds, 25);
	EXPECT_TRUE(Settings->bAllowInsecure);
	EXPECT_EQ(Str(Settings->IconTable.ToString()), "/Game/Data/Icons.Icons");
	ASSERT_EQ(Settings->Mirrors.Num(), 2);
	EXPECT_EQ(Str(Settings->Mirrors[1]), "https://b.invalid");
	// Only config properties are read.
	EXPECT_EQ(Settings->NotFromConfig, 7);

	// Instances take the config values from the default object.
	UConfigTestSettings* Instance = NewObject<UConfigTestSettings>();
	EXPECT_EQ(Instance->TimeoutSeconds, 25);
	EXPECT_EQ(Str(Instance->BaseAddress), "https://qa.example.invalid/api");
	std::filesystem::remove_all(Dir);
}
