// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/ObjectPtr.h"
#include "Layout/Margin.h"
#include "Styling/SlateColor.h"
#include "Types/SlateVector2.h"
#include "SlateBrush.generated.h"

class UObject;
class FWidgetStyle;

namespace SlateBrushDefs
{
	static constexpr float DefaultImageSize = 32.0f;
}

/** How a brush is drawn. */
UENUM(BlueprintType)
namespace ESlateBrushDrawType
{
	enum Type : int
	{
		/** Don't do anything */
		NoDrawType UMETA(DisplayName="None"),
		/** Draw a 3x3 box, where the sides and the middle stretch based on the Margin */
		Box,
		/** Draw a 3x3 border where the sides tile and the middle is empty */
		Border,
		/** Draw an image; margin is ignored */
		Image,
		/** Draw a solid rectangle with an outline and corner radius */
		RoundedBox,
	};
}

/** Whether a brush image repeats. */
UENUM(BlueprintType)
namespace ESlateBrushTileType
{
	enum Type : int
	{
		/** Just stretch */
		NoTile,
		/** Tile the image horizontally */
		Horizontal,
		/** Tile the image vertically */
		Vertical,
		/** Tile in both directions */
		Both,
	};
}

/** Whether a brush image is mirrored. */
UENUM(BlueprintType)
namespace ESlateBrushMirrorType
{
	enum Type : int
	{
		/** Don't mirror anything, just draw the texture as it is. */
		NoMirror,
		/** Mirror the image horizontally. */
		Horizontal,
		/** Mirror the image vertically. */
		Vertical,
		/** Mirror in both directions. */
		Both,
	};
}

/** What kind of image a brush holds. */
UENUM()
namespace ESlateBrushImageType
{
	enum Type : int
	{
		/** No image is loaded. Color only brushes, transparent brushes etc. */
		NoImage,
		/** The image to be loaded is in full color. */
		FullColor,
		/** The image is a special texture in linear space (usually a rendering resource such as a lookup table). */
		Linear,
		/** The image is vector graphics and will be rendered and cached in full color. */
		Vector,
	};
}

/** How to draw an image or a solid area: a resource, its size, its margins and a tint. */
USTRUCT(BlueprintType)
struct FSlateBrush
{
	GENERATED_BODY()

	/** An image brush of the default size (32 x 32) with no resource and a white tint. */
	SLATECORE_API FSlateBrush();

	virtual ~FSlateBrush() {}

public:
	/** Size of the resource in Slate Units */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush)
	FDeprecateSlateVector2D ImageSize;

	/** The margin to use in Box and Border modes */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush)
	FMargin Margin;

	/** Tinting applied to the image. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush, meta=(DisplayName="Tint", sRGB="true"))
	FSlateColor TintColor;

private:
	/** The image to render for this brush, can be a UTexture or a UMaterialInterface. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category=Brush, meta=(AllowPrivateAccess="true", DisplayThumbnail="true", DisplayName="Image"))
	TObjectPtr<UObject> ResourceObject;

protected:
	/** The name of the rendering resource to use */
	UPROPERTY()
	FName ResourceName;

public:
	/** How to draw the image */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush)
	TEnumAsByte<ESlateBrushDrawType::Type> DrawAs;

	/** How to tile the image in Image mode */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush)
	TEnumAsByte<ESlateBrushTileType::Type> Tiling;

	/** How to mirror the image in Image mode. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Brush)
	TEnumAsByte<ESlateBrushMirrorType::Type> Mirroring;

	/** The type of image */
	UPROPERTY()
	TEnumAsByte<ESlateBrushImageType::Type> ImageType;

public:
	UE::Slate::FDeprecateVector2DResult GetImageSize() const { return ImageSize; }
	void SetImageSize(UE::Slate::FDeprecateVector2DParameter InImageSize) { ImageSize = InImageSize.ToVector2f(); }
	const FMargin& GetMargin() const { return Margin; }
	ESlateBrushTileType::Type GetTiling() const { return Tiling; }
	ESlateBrushMirrorType::Type GetMirroring() const { return Mirroring; }
	ESlateBrushDrawType::Type GetDrawType() const { return DrawAs; }
	ESlateBrushImageType::Type GetImageType() const { return ImageType; }
	FName GetResourceName() const { return ResourceName; }
	UObject* GetResourceObject() const { return ResourceObject; }

	/** Changes the resource; the image type follows whether there is one. */
	SLATECORE_API void SetResourceObject(UObject* InResourceObject);

	bool HasUObject() const { return ResourceObject != nullptr; }

	/** The tint under a widget style. */
	SLATECORE_API FLinearColor GetTint(const FWidgetStyle& InWidgetStyle) const;

	bool operator==(const FSlateBrush& Other) const
	{
		return ImageSize == Other.ImageSize
			&& DrawAs == Other.DrawAs
			&& Margin == Other.Margin
			&& TintColor == Other.TintColor
			&& Tiling == Other.Tiling
			&& Mirroring == Other.Mirroring
			&& ResourceObject == Other.ResourceObject
			&& ResourceName == Other.ResourceName;
	}
	bool operator!=(const FSlateBrush& Other) const { return !(*this == Other); }
};
