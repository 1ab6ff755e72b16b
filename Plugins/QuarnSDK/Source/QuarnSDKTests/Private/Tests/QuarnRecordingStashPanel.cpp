// Copyright Quarn. All Rights Reserved.

#include "QuarnRecordingStashPanel.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

namespace QuarnRecordingStashPanel
{
	template<class TProperty, class TValue>
	const TValue* Parameter(const UFunction* Function, const TCHAR* Name, void* Parms)
	{
		const TProperty* const Property = FindFProperty<TProperty>(Function, Name);
		return Property != nullptr ? Property->template ContainerPtrToValuePtr<TValue>(Parms) : nullptr;
	}
}

void UQuarnRecordingStashPanel::ProcessEvent(UFunction* Function, void* Parms)
{
	using namespace QuarnRecordingStashPanel;
	if (Function != nullptr && Parms != nullptr && Watcher != nullptr)
	{
		const FName Event = Function->GetFName();
		if (Event == FName(TEXT("OnDeposited")))
		{
			const FName* const ItemId = Parameter<FNameProperty, FName>(Function, TEXT("ItemId"), Parms);
			const int32* const Quantity = Parameter<FIntProperty, int32>(Function, TEXT("Quantity"), Parms);
			const int32* const SourceSlot = Parameter<FIntProperty, int32>(Function, TEXT("SourceSlot"), Parms);
			if (ItemId != nullptr && Quantity != nullptr && SourceSlot != nullptr)
			{
				Watcher->Record(FString::Printf(TEXT("Deposited %s %d %d"), *ItemId->ToString(), *Quantity, *SourceSlot));
			}
		}
		else if (Event == FName(TEXT("OnWithdrawn")) || Event == FName(TEXT("OnTransferred")))
		{
			if (const FQuarnItemInstance* const Instance = Parameter<FStructProperty, FQuarnItemInstance>(Function, TEXT("Instance"), Parms))
			{
				Watcher->Record((Event == FName(TEXT("OnWithdrawn")) ? TEXT("Withdrawn ") : TEXT("Transferred ")) + Instance->InstanceId);
			}
		}
	}
	Super::ProcessEvent(Function, Parms);
}
