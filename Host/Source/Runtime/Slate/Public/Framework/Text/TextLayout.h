// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "TextLayout.generated.h"

/** How the lines of a text are placed across its width. */
UENUM(BlueprintType)
namespace ETextJustify
{
	enum Type : int
	{
		/** Justify the text logically to the left. */
		Left,
		/** Justify the text in the center. */
		Center,
		/** Justify the text logically to the right. */
		Right,
		/** Always justify the text to the left, regardless of the flow direction. */
		InvariantLeft,
		/** Always justify the text to the right, regardless of the flow direction. */
		InvariantRight,
	};
}

/** What a line may be broken at when text wraps. */
UENUM(BlueprintType)
enum class ETextWrappingPolicy : uint8
{
	/** No fallback, just use the given line-break iterator */
	DefaultWrapping = 0,
	/** Fallback to per-character wrapping if a word is too long to fit on a line */
	AllowPerCharacterWrapping,
};
