// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "SlateWrapperTypes.generated.h"

/** Is an entity visible? */
UENUM(BlueprintType)
enum class ESlateVisibility : uint8
{
	/** Visible and hit-testable (can interact with cursor). Default value. */
	Visible,
	/** Not visible and takes up no space in the layout (obviously not hit-testable). */
	Collapsed,
	/** Not visible but occupies layout space (obviously not hit-testable). */
	Hidden,
	/** Visible but not hit-testable (cannot interact with cursor) and children in the hierarchy (if any) are also not hit-testable. */
	HitTestInvisible UMETA(DisplayName = "Not Hit-Testable (Self & All Children)"),
	/** Visible but not hit-testable (cannot interact with cursor) and doesn't affect hit-testing on children (if any). */
	SelfHitTestInvisible UMETA(DisplayName = "Not Hit-Testable (Self Only)"),
};

/** The sizing options of UWidgets */
UENUM(BlueprintType)
namespace ESlateSizeRule
{
	enum Type : int
	{
		/** Only requests as much room as it needs based on the widgets desired size. */
		Automatic,
		/** Greedily attempts to fill all available room based on the percentage value 0..1 */
		Fill,
	};
}

/** How a slot of a box panel is sized along the panel: automatically, or a share of what is left. */
USTRUCT(BlueprintType)
struct FSlateChildSize
{
	GENERATED_BODY()

	/** The parameter of the size rule. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance, meta=(UIMin="0", UIMax="1"))
	float Value;

	/** The sizing rule of the content. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Appearance)
	TEnumAsByte<ESlateSizeRule::Type> SizeRule;

	/** Fill, with a value of 1. */
	FSlateChildSize()
		: Value(1.0f)
		, SizeRule(ESlateSizeRule::Fill)
	{
	}

	FSlateChildSize(ESlateSizeRule::Type InSizeRule)
		: Value(1.0f)
		, SizeRule(InSizeRule)
	{
	}

	bool operator==(const FSlateChildSize& Other) const { return Value == Other.Value && SizeRule == Other.SizeRule; }
	bool operator!=(const FSlateChildSize& Other) const { return !(*this == Other); }
};
