// Developer settings: config properties from the project's DefaultGame.ini and where the editor lists them.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"

namespace
{
	class HostEngineSettings : public FEngineTest
	{
	};
}

TEST_F(HostEngineSettings, ConfigPropertiesComeFromTheProjectIniAndOthersKeepTheirDefaults)
{
	const UTestEngineSettings* const Settings = GetDefault<UTestEngineSettings>();
	ASSERT_NE(Settings, nullptr);
	EXPECT_EQ(Settings->MaxStacks, 7);
	EXPECT_EQ(Str(Settings->Endpoint), "http://127.0.0.1:8080/v1");
	EXPECT_EQ(Settings->Regions, (TArray<FString>{ TEXT("eu-west"), TEXT("us-east") }));
	EXPECT_EQ(Str(Settings->DefaultIcon.ToSoftObjectPath().ToString()), "/Game/Icons/Bandage.Bandage");
	// Not a config property: the ini line for it is ignored.
	EXPECT_EQ(Settings->NotFromConfig, 3);
	// New objects of a config class start from the config too.
	EXPECT_EQ(NewObject<UTestEngineSettings>()->MaxStacks, 7);
}

TEST_F(HostEngineSettings, SettingsAreListedUnderProjectGameAndTheClassName)
{
	const UTestEngineSettings* const Settings = GetDefault<UTestEngineSettings>();
	EXPECT_EQ(Str(Settings->GetContainerName()), "Project");
	EXPECT_EQ(Str(Settings->GetCategoryName()), "Game");
	EXPECT_EQ(Str(Settings->GetSectionName()), "TestEngineSettings");
	EXPECT_EQ(Str(Settings->GetSectionText().ToString()), "Engine Test Settings");
}
