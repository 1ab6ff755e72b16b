// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/ContentWidget.h"
#include "UObject/ObjectMacros.h"
#include "SizeBox.generated.h"

class SBox;

/**
 * A widget that allows you to specify the size it reports to have and desire. Not all widgets
 * report a desired size that you actually desire. Wrapping them in a SizeBox lets you have the
 * Size Box force them to be a particular size.
 *
 * * Single Child
 * * Fixed Size
 */
UCLASS(MinimalAPI)
class USizeBox : public UContentWidget
{
	GENERATED_UCLASS_BODY()

public:
	/** When specified, ignore the content's desired size and report the WidthOverride as the Box's desired width. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_WidthOverride"))
	float WidthOverride;

	/** When specified, ignore the content's desired size and report the HeightOverride as the Box's desired height. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_HeightOverride"))
	float HeightOverride;

	/** When specified, will report the MinDesiredWidth if larger than the content's desired width. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MinDesiredWidth"))
	float MinDesiredWidth;

	/** When specified, will report the MinDesiredHeight if larger than the content's desired height. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MinDesiredHeight"))
	float MinDesiredHeight;

	/** When specified, will report the MaxDesiredWidth if smaller than the content's desired width. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MaxDesiredWidth"))
	float MaxDesiredWidth;

	/** When specified, will report the MaxDesiredHeight if smaller than the content's desired height. */
	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MaxDesiredHeight"))
	float MaxDesiredHeight;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MinAspectRatio"))
	float MinAspectRatio;

	UPROPERTY(EditAnywhere, BlueprintReadOnly, Category="Child Layout", meta=(editcondition="bOverride_MaxAspectRatio"))
	float MaxAspectRatio;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_WidthOverride : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_HeightOverride : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MinDesiredWidth : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MinDesiredHeight : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MaxDesiredWidth : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MaxDesiredHeight : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MinAspectRatio : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category="Child Layout", meta=(InlineEditConditionToggle))
	uint8 bOverride_MaxAspectRatio : 1;

public:
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetWidthOverride(float InWidthOverride);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearWidthOverride();
	UMG_API float GetWidthOverride() const;
	UMG_API bool IsWidthOverride() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetHeightOverride(float InHeightOverride);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearHeightOverride();
	UMG_API float GetHeightOverride() const;
	UMG_API bool IsHeightOverride() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMinDesiredWidth(float InMinDesiredWidth);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMinDesiredWidth();
	UMG_API float GetMinDesiredWidth() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMinDesiredHeight(float InMinDesiredHeight);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMinDesiredHeight();
	UMG_API float GetMinDesiredHeight() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMaxDesiredWidth(float InMaxDesiredWidth);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMaxDesiredWidth();
	UMG_API float GetMaxDesiredWidth() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMaxDesiredHeight(float InMaxDesiredHeight);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMaxDesiredHeight();
	UMG_API float GetMaxDesiredHeight() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMinAspectRatio(float InMinAspectRatio);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMinAspectRatio();
	UMG_API float GetMinAspectRatio() const;

	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void SetMaxAspectRatio(float InMaxAspectRatio);
	UFUNCTION(BlueprintCallable, Category="Layout|Size Box")
	UMG_API void ClearMaxAspectRatio();
	UMG_API float GetMaxAspectRatio() const;

	UMG_API virtual void SynchronizeProperties() override;
	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	UMG_API virtual UClass* GetSlotClass() const override;
	UMG_API virtual void OnSlotAdded(UPanelSlot* InSlot) override;
	UMG_API virtual void OnSlotRemoved(UPanelSlot* InSlot) override;
	UMG_API virtual TSharedRef<SWidget> RebuildWidget() override;

	TSharedPtr<SBox> MySizeBox;
};
