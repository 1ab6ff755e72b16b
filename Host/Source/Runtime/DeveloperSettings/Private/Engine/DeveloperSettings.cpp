// Copyright Quarn. All Rights Reserved.

#include "Engine/DeveloperSettings.h"
#include "UObject/Class.h"

UDeveloperSettings::UDeveloperSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	CategoryName = NAME_None;
	SectionName = NAME_None;
}

FName UDeveloperSettings::GetContainerName() const
{
	static const FName ProjectName(TEXT("Project"));
	static const FName EditorName(TEXT("Editor"));

	const FName ConfigName = GetClass()->ClassConfigName;
	if (ConfigName == FName(TEXT("EditorSettings")) || ConfigName == FName(TEXT("EditorPerProjectUserSettings")))
	{
		return EditorName;
	}
	return ProjectName;
}

FName UDeveloperSettings::GetCategoryName() const
{
	static const FName GeneralName(TEXT("General"));
	static const FName EditorName(TEXT("Editor"));
	static const FName EngineName(TEXT("Engine"));
	static const FName GameName(TEXT("Game"));

	if (CategoryName != NAME_None)
	{
		return CategoryName;
	}

	const FName ConfigName = GetClass()->ClassConfigName;
	if (ConfigName == FName(TEXT("Engine")) || ConfigName == FName(TEXT("Input")))
	{
		return EngineName;
	}
	if (ConfigName == FName(TEXT("EditorSettings")) || ConfigName == FName(TEXT("EditorPerProjectUserSettings")))
	{
		return GeneralName;
	}
	if (ConfigName == FName(TEXT("Editor")) || ConfigName == FName(TEXT("EditorLayout")) || ConfigName == FName(TEXT("EditorKeyBindings")))
	{
		return EditorName;
	}
	if (ConfigName == FName(TEXT("Game")))
	{
		return GameName;
	}
	return EngineName;
}

FName UDeveloperSettings::GetSectionName() const
{
	if (SectionName != NAME_None)
	{
		return SectionName;
	}
	return GetClass()->GetFName();
}

#if WITH_EDITOR
FText UDeveloperSettings::GetSectionText() const
{
	return GetClass()->GetDisplayNameText();
}

FText UDeveloperSettings::GetSectionDescription() const
{
	return GetClass()->GetToolTipText();
}

UDeveloperSettings::FOnSettingChanged& UDeveloperSettings::OnSettingChanged()
{
	return SettingChangedDelegate;
}
#endif

TSharedPtr<SWidget> UDeveloperSettings::GetCustomSettingsWidget() const
{
	return TSharedPtr<SWidget>();
}
