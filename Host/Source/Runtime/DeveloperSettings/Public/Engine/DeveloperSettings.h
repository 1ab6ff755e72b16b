// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "Templates/SharedPointer.h"
#include "DeveloperSettings.generated.h"

class SWidget;
struct FPropertyChangedEvent;

/**
 * The base class of auto-discovered settings objects: each subclass appears as a section of the
 * project or editor settings, and its config properties come from the class's config file.
 */
UCLASS(Abstract, MinimalAPI)
class UDeveloperSettings : public UObject
{
	GENERATED_BODY()

public:
	DEVELOPERSETTINGS_API UDeveloperSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	/** The settings container: "Editor" for editor config files, otherwise "Project". */
	DEVELOPERSETTINGS_API virtual FName GetContainerName() const;

	/** The category within the container; taken from the class's config file unless set. */
	DEVELOPERSETTINGS_API virtual FName GetCategoryName() const;

	/** The section within the category; the class name unless set. */
	DEVELOPERSETTINGS_API virtual FName GetSectionName() const;

#if WITH_EDITOR
	/** The section's display name: the class's display name. */
	DEVELOPERSETTINGS_API virtual FText GetSectionText() const;

	/** The section's description: the class's tooltip. */
	DEVELOPERSETTINGS_API virtual FText GetSectionDescription() const;

	/** Whether the settings module registers this class by itself. */
	virtual bool SupportsAutoRegistration() const { return true; }

	DECLARE_MULTICAST_DELEGATE_TwoParams(FOnSettingChanged, UObject*, struct FPropertyChangedEvent&);

	/** Broadcast when a property of these settings is edited. */
	DEVELOPERSETTINGS_API FOnSettingChanged& OnSettingChanged();
#endif

	/** A widget to show instead of the generated property list; none by default. */
	DEVELOPERSETTINGS_API virtual TSharedPtr<SWidget> GetCustomSettingsWidget() const;

protected:
	/** The category to show the settings under, when the config file does not decide it. */
	FName CategoryName;

	/** The section name, when the class name is not the one to show. */
	FName SectionName;

#if WITH_EDITOR
private:
	FOnSettingChanged SettingChangedDelegate;
#endif
};
