// Copyright Quarn. All Rights Reserved.

#include "Engine/DataTable.h"
#include "StructUtils/UserDefinedStruct.h"
#include "UObject/Package.h"

UDataTable::UDataTable(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

void UDataTable::FinishDestroy()
{
	Super::FinishDestroy();
	if (!IsTemplate())
	{
		// Free memory when UObject goes away
		EmptyTable();
	}
}

void UDataTable::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	UDataTable* This = CastChecked<UDataTable>(InThis);

	// Need to emit references for referenced rows (unless there's no properties that reference UObjects)
	if (This->RowStruct != nullptr && This->RowStruct->ContainsObjectReference())
	{
		// Now iterate over each row
		for (auto RowIt = This->RowMap.CreateIterator(); RowIt; ++RowIt)
		{
			uint8* RowData = RowIt.Value();
			Collector.AddPropertyReferences(This->RowStruct, RowData, This);
		}
	}

	Super::AddReferencedObjects(This, Collector);
}

UScriptStruct& UDataTable::GetEmptyUsingStruct() const
{
	UScriptStruct* EmptyUsingStruct = RowStruct;
	if (!EmptyUsingStruct)
	{
		if (!HasAnyFlags(RF_ClassDefaultObject) && GetOutermost() != GetTransientPackage())
		{
			UE_LOG(LogDataTable, Error, TEXT("Missing RowStruct while emptying DataTable '%s'!"), *GetPathName());
		}
		EmptyUsingStruct = FTableRowBase::StaticStruct();
	}
	return *EmptyUsingStruct;
}

void UDataTable::EmptyTable()
{
	UScriptStruct& EmptyUsingStruct = GetEmptyUsingStruct();

	// Iterate over all rows in table and free mem
	for (auto RowIt = RowMap.CreateIterator(); RowIt; ++RowIt)
	{
		uint8* RowData = RowIt.Value();
		EmptyUsingStruct.DestroyStruct(RowData);
		FMemory::Free(RowData);
	}

	// Finally empty the map
	RowMap.Empty();
}

TArray<FName> UDataTable::GetRowNames() const
{
	TArray<FName> Keys;
	RowMap.GetKeys(Keys);
	return Keys;
}

void UDataTable::RemoveRow(FName RowName)
{
	RemoveRowInternal(RowName);
}

void UDataTable::RemoveRowInternal(FName RowName)
{
	uint8* RowData = nullptr;
	RowMap.RemoveAndCopyValue(RowName, RowData);
	if (RowData)
	{
		UScriptStruct& EmptyUsingStruct = GetEmptyUsingStruct();
		EmptyUsingStruct.DestroyStruct(RowData);
		FMemory::Free(RowData);
	}
}

void UDataTable::AddRow(FName RowName, const FTableRowBase& RowData)
{
	UScriptStruct& EmptyUsingStruct = GetEmptyUsingStruct();

	// We want to delete the row memory even for child classes that override remove
	RemoveRowInternal(RowName);

	uint8* NewRawRowData = (uint8*)FMemory::Malloc(EmptyUsingStruct.GetStructureSize(), FMath::Max(EmptyUsingStruct.GetMinAlignment(), 16));
	EmptyUsingStruct.InitializeStruct(NewRawRowData);
	EmptyUsingStruct.CopyScriptStruct(NewRawRowData, &RowData);

	// Add to map
	AddRowInternal(RowName, NewRawRowData);
}

void UDataTable::AddRow(FName RowName, const uint8* RowData, const UScriptStruct* RowType)
{
	UScriptStruct& EmptyUsingStruct = GetEmptyUsingStruct();

	checkf(RowType == &EmptyUsingStruct, TEXT("AddRow called with an incompatible row type! Got '%s', but expected '%s'"), *GetPathNameSafe(RowType), *EmptyUsingStruct.GetPathName());

	// We want to delete the row memory even for child classes that override remove
	RemoveRowInternal(RowName);

	uint8* NewRawRowData = (uint8*)FMemory::Malloc(EmptyUsingStruct.GetStructureSize(), FMath::Max(EmptyUsingStruct.GetMinAlignment(), 16));
	EmptyUsingStruct.InitializeStruct(NewRawRowData);
	EmptyUsingStruct.CopyScriptStruct(NewRawRowData, RowData);

	// Add to map
	AddRowInternal(RowName, NewRawRowData);
}

void UDataTable::AddRowInternal(FName RowName, uint8* RowData)
{
	RowMap.Add(RowName, RowData);
}

FProperty* UDataTable::FindTableProperty(const FName& PropertyName) const
{
	if (!RowStruct || PropertyName.IsNone())
	{
		return nullptr;
	}
	if (FProperty* Property = FindFProperty<FProperty>(RowStruct, PropertyName))
	{
		return Property;
	}
	// Columns of a user-defined struct are also found by the name the designer typed.
	if (const UUserDefinedStruct* UserStruct = Cast<UUserDefinedStruct>(RowStruct))
	{
		const FString Wanted = PropertyName.ToString();
		for (TFieldIterator<FProperty> It(UserStruct); It; ++It)
		{
			if (UserStruct->GetAuthoredNameForField(*It) == Wanted)
			{
				return *It;
			}
		}
	}
	return nullptr;
}

bool UDataTable::CommonTypeCheck(UScriptStruct* Type, const TCHAR* MethodName, const TCHAR* ContextString) const
{
	if (RowStruct == nullptr)
	{
		UE_LOG(LogDataTable, Error, TEXT("%s : DataTable '%s' has no RowStruct specified (%s)."), MethodName, *GetPathName(), ContextString);
		return false;
	}
	if (!RowStruct->IsChildOf(Type))
	{
		UE_LOG(LogDataTable, Error, TEXT("%s : Incorrect type specified for DataTable '%s' (%s)."), MethodName, *GetPathName(), ContextString);
		return false;
	}
	return true;
}

uint8* UDataTable::FindRowInternal(UScriptStruct* Type, FName RowName, const TCHAR* ContextString, bool bWarnIfRowMissing) const
{
	// NOTE: not quite the same as CommonTypeCheck - if the IsChildOf() test below fails, only warn if bWarnIfRowMissing.
	if (RowStruct == nullptr)
	{
		UE_LOG(LogDataTable, Error, TEXT("UDataTable::FindRow : '%s' specified no row for DataTable '%s'."), ContextString, *GetPathName());
		return nullptr;
	}

	if (!RowStruct->IsChildOf(Type))
	{
		UE_CLOG(bWarnIfRowMissing, LogDataTable, Error, TEXT("UDataTable::FindRow : '%s' specified incorrect type for DataTable '%s'."), ContextString, *GetPathName());
		return nullptr;
	}

	if (RowName.IsNone())
	{
		UE_CLOG(bWarnIfRowMissing, LogDataTable, Warning, TEXT("UDataTable::FindRow : '%s' requested invalid row 'None' from DataTable '%s'."), ContextString, *GetPathName());
		return nullptr;
	}

	uint8* const* RowDataPtr = GetRowMap().Find(RowName);
	if (RowDataPtr == nullptr)
	{
		if (bWarnIfRowMissing)
		{
			UE_LOG(LogDataTable, Warning, TEXT("UDataTable::FindRow : '%s' requested row '%s' not in DataTable '%s'."), ContextString, *RowName.ToString(), *GetPathName());
		}
		return nullptr;
	}

	uint8* RowData = *RowDataPtr;
	check(RowData);
	return RowData;
}
