// Copyright Quarn. All Rights Reserved.

// The core's records, layout enum, nodes and settings as Blueprint and the editor see them through
// the reflection data the header tool writes. Metadata exists only where the target keeps it (an
// editor, not a packaged game or server), so those cases are left out elsewhere.

#include "Tests/QuarnTestDoubles.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "QuarnAuthenticatePlayer.h"
#include "QuarnTypes.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

BEGIN_DEFINE_SPEC(FQuarnCoreReflectionSpec, "Quarn.Core.Reflection", QuarnTests::TestFlags)
END_DEFINE_SPEC(FQuarnCoreReflectionSpec)

void FQuarnCoreReflectionSpec::Define()
{
#if WITH_METADATA
	It(TEXT("records are Blueprint types with every member in the Velmora category"), [this]()
	{
		for (UScriptStruct* Struct : {FQuarnItemInstance::StaticStruct(), FQuarnContainer::StaticStruct(), FQuarnError::StaticStruct(), FQuarnPlayer::StaticStruct()})
		{
			TestEqualSensitive(*(Struct->GetName() + TEXT(" BlueprintType")), Struct->GetMetaData(TEXT("BlueprintType")), FString(TEXT("true")));
			int32 Members = 0;
			for (TFieldIterator<FProperty> It(Struct); It; ++It)
			{
				++Members;
				TestEqualSensitive(*(Struct->GetName() + TEXT(".") + It->GetName() + TEXT(" category")), It->GetMetaData(TEXT("Category")), FString(TEXT("Velmora")));
			}
			TestTrue(*(Struct->GetName() + TEXT(" has members")), Members > 0);
		}
	});

	It(TEXT("the sign-in node is an asynchronous node with a world context"), [this]()
	{
		const UFunction* const SignIn = UQuarnAuthenticatePlayer::StaticClass()->FindFunctionByName(TEXT("AuthenticatePlayer"));
		if (!TestNotNull(TEXT("AuthenticatePlayer"), SignIn))
		{
			return;
		}
		TestEqualSensitive(TEXT("display name"), SignIn->GetMetaData(TEXT("DisplayName")), FString(TEXT("Quarn - Authenticate Player")));
		TestEqualSensitive(TEXT("BlueprintInternalUseOnly"), SignIn->GetMetaData(TEXT("BlueprintInternalUseOnly")), FString(TEXT("true")));
		TestEqualSensitive(TEXT("WorldContext"), SignIn->GetMetaData(TEXT("WorldContext")), FString(TEXT("WorldContextObject")));
	});
#endif // WITH_METADATA

	It(TEXT("the layout enum keeps its values"), [this]()
	{
		const UEnum* const Layout = StaticEnum<EQuarnContainerLayout>();
		if (!TestNotNull(TEXT("layout enum"), Layout))
		{
			return;
		}
		TestEqual(TEXT("Grid"), Layout->GetValueByName(TEXT("EQuarnContainerLayout::Grid")), static_cast<int64>(0));
		TestEqual(TEXT("Slots"), Layout->GetValueByName(TEXT("EQuarnContainerLayout::Slots")), static_cast<int64>(1));
	});

	It(TEXT("the settings are a project config page under Plugins"), [this]()
	{
		const UQuarnSettings* const Settings = UQuarnSettings::Get();
		if (!TestNotNull(TEXT("settings"), Settings))
		{
			return;
		}
		TestTrue(TEXT("config class"), UQuarnSettings::StaticClass()->HasAnyClassFlags(CLASS_Config | CLASS_DefaultConfig));
		TestEqualSensitive(TEXT("container"), Settings->GetContainerName().ToString(), FString(TEXT("Project")));
		TestEqualSensitive(TEXT("category"), Settings->GetCategoryName().ToString(), FString(TEXT("Plugins")));
	});
}

#endif // WITH_DEV_AUTOMATION_TESTS
