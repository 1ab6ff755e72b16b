// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/SlateWrapperTypes.h"
#include "Components/Visual.h"
#include "Internationalization/Text.h"
#include "Layout/Geometry.h"
#include "Layout/Visibility.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "Widget.generated.h"

class SObjectWidget;
class SWidget;
class UGameInstance;
class UPanelSlot;
class UPanelWidget;
class UWorld;

/** Flags a widget carries while the widget designer shows it. */
enum class EWidgetDesignFlags : uint8
{
	None = 0,
	Designing = 1 << 0,
	ShowOutline = 1 << 1,
	ExecutePreConstruct = 1 << 2,
	Previewing = 1 << 3,
};

ENUM_CLASS_FLAGS(EWidgetDesignFlags);

/**
 * The base of every UMG widget: a UObject that builds a Slate widget on demand (TakeWidget) and
 * keeps only a weak pointer to it, so the Slate tree (a parent, the viewport) owns what it shows.
 * Properties set before the Slate widget exists are pushed to it when it is built.
 */
UCLASS(Abstract, BlueprintType, Blueprintable, CustomFieldNotify, MinimalAPI)
class UWidget : public UVisual
{
	GENERATED_UCLASS_BODY()

public:
	/** The slot that holds this widget in its parent panel; null outside a panel. */
	UPROPERTY(Instanced, TextExportTransient, EditAnywhere, BlueprintReadOnly, Category=Layout, meta=(ShowOnlyInnerProperties))
	TObjectPtr<UPanelSlot> Slot;

	/** Sets whether this widget can be modified interactively by the user. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Behavior")
	uint8 bIsEnabled : 1;

	/** Whether the widget is a variable of its Blueprint. */
	UPROPERTY()
	uint8 bIsVariable : 1;

	/** Tooltip text to show when the user hovers over the widget with the mouse. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Behavior", meta=(MultiLine=true))
	FText ToolTipText;

	/** A widget to show as the tooltip instead of the text. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Behavior", AdvancedDisplay)
	TObjectPtr<UWidget> ToolTipWidget;

	/** The visibility of the widget. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Behavior")
	ESlateVisibility Visibility;

	/** The opacity of the widget. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Rendering", meta=(UIMin="0", UIMax="1"))
	float RenderOpacity;

public:
	/** The Slate widget, built on the first call (RebuildWidget, then SynchronizeProperties and OnWidgetRebuilt). */
	UMG_API TSharedRef<SWidget> TakeWidget();

	/** The Slate widget if one is alive (for a user widget, its SObjectWidget wrapper); null before TakeWidget. */
	UMG_API TSharedPtr<SWidget> GetCachedWidget() const;

	/** Whether the Slate widget is alive. */
	UMG_API bool IsConstructed() const;

	/** The geometry of the last layout pass in desktop space; a default geometry when not constructed. */
	UMG_API const FGeometry& GetCachedGeometry() const;
	UMG_API const FGeometry& GetTickSpaceGeometry() const;
	UMG_API const FGeometry& GetPaintSpaceGeometry() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API virtual void SetVisibility(ESlateVisibility InVisibility);

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API ESlateVisibility GetVisibility() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API bool IsVisible() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API void SetToolTipText(const FText& InToolTipText);

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API FText GetToolTipText() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API void SetToolTip(UWidget* Widget);

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API UWidget* GetToolTip() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API void SetIsEnabled(bool bInIsEnabled);

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API bool GetIsEnabled() const;

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API void SetRenderOpacity(float InOpacity);

	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API float GetRenderOpacity() const;

	/** The panel holding this widget, through its slot. */
	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API UPanelWidget* GetParent() const;

	/** Takes the widget out of the viewport or of its parent panel. */
	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API virtual void RemoveFromParent();

	/** The Slate widget's desired size from the last layout pass; zero when not constructed. */
	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API FVector2D GetDesiredSize() const;

	/** Whether the widget was added to the viewport (through the game viewport subsystem). */
	UFUNCTION(BlueprintCallable, Category="Widget")
	UMG_API bool IsInViewport() const;

	UMG_API virtual UWorld* GetWorld() const override;
	UMG_API UGameInstance* GetGameInstance() const;

	/** Pushes the stored properties to the Slate widget; a subclass calls Super. */
	UMG_API virtual void SynchronizeProperties();

	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;
	UMG_API virtual void BeginDestroy() override;

	/** Whether the widget is being shown in the widget designer: never outside an editor build. */
	bool IsDesignTime() const
	{
#if WITH_EDITOR
		return HasAnyDesignerFlags(EWidgetDesignFlags::Designing);
#else
		return false;
#endif
	}

	EWidgetDesignFlags GetDesignerFlags() const { return DesignerFlags; }
	bool HasAnyDesignerFlags(EWidgetDesignFlags FlagsToCheck) const { return EnumHasAnyFlags(DesignerFlags, FlagsToCheck); }
	UMG_API virtual void SetDesignerFlags(EWidgetDesignFlags NewFlags);

	static UMG_API EVisibility ConvertSerializedVisibilityToRuntime(ESlateVisibility Input);
	static UMG_API ESlateVisibility ConvertRuntimeToSerializedVisibility(const EVisibility& Input);

	/** Set by the game viewport subsystem while it shows this widget. */
	uint8 bIsManagedByGameViewportSubsystem : 1;

protected:
	/** Builds the Slate widget; each widget class makes its own (the base one is an error and a spacer). */
	UMG_API virtual TSharedRef<SWidget> RebuildWidget();

	/** Called once a new Slate widget is built and synchronised. */
	UMG_API virtual void OnWidgetRebuilt();

	/** The Slate widget, or SNullWidget-like emptiness when gone; kept weak, owned by the Slate tree. */
	TWeakPtr<SWidget> MyWidget;

	/** A user widget's wrapper, which keeps the UObject alive while Slate shows it. */
	TWeakPtr<SObjectWidget> MyGCWidget;

	EWidgetDesignFlags DesignerFlags;

	friend class UGameViewportSubsystem;

private:
	TSharedRef<SWidget> TakeWidget_Private();
};
