// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Components/PanelSlot.h"
#include "Components/Widget.h"
#include "UObject/ObjectMacros.h"
#include "PanelWidget.generated.h"

/** A widget that holds other widgets, each in a slot of the panel's slot class. */
UCLASS(Abstract, MinimalAPI)
class UPanelWidget : public UWidget
{
	GENERATED_UCLASS_BODY()

protected:
	/** The slots that contain the children widgets. */
	UPROPERTY(Instanced)
	TArray<TObjectPtr<UPanelSlot>> Slots;

	/** Can this panel allow for multiple children? */
	bool bCanHaveMultipleChildren;

public:
	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API int32 GetChildrenCount() const;

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API UWidget* GetChildAt(int32 Index) const;

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API TArray<UWidget*> GetAllChildren() const;

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API int32 GetChildIndex(const UWidget* Content) const;

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API bool HasChild(UWidget* Content) const;

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API virtual bool RemoveChildAt(int32 Index);

	/** Adds a child in a new slot (moving it from any parent it had); null for null content or a full single-child panel. */
	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API UPanelSlot* AddChild(UWidget* Content);

	UMG_API UPanelSlot* InsertChildAt(int32 Index, UWidget* Content);

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API bool RemoveChild(UWidget* Content);

	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API bool HasAnyChildren() const;

	/** Removes every child, the last first. */
	UFUNCTION(BlueprintCallable, Category="Widget|Panel")
	UMG_API virtual void ClearChildren();

	const TArray<UPanelSlot*>& GetSlots() const { return reinterpret_cast<const TArray<UPanelSlot*>&>(Slots); }

	bool CanHaveMultipleChildren() const { return bCanHaveMultipleChildren; }
	UMG_API bool CanAddMoreChildren() const;

	UMG_API virtual void ReleaseSlateResources(bool bReleaseChildren) override;

protected:
	/** The slot class this panel makes for its children. */
	UMG_API virtual UClass* GetSlotClass() const;

	/** A slot was added; a panel whose Slate widget exists builds the Slate slot. */
	virtual void OnSlotAdded(UPanelSlot* InSlot) {}

	/** A slot is being removed; a panel whose Slate widget exists removes the Slate slot. */
	virtual void OnSlotRemoved(UPanelSlot* InSlot) {}
};
