// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"
#include "Templates/Function.h"
#include "DataTableUtils.h"
#include "DataTable.generated.h"

class UDataTable;

/**
 * Base class for all table row structs to inherit from.
 */
USTRUCT(BlueprintInternalUseOnly)
struct FTableRowBase
{
	GENERATED_USTRUCT_BODY()

	FTableRowBase() { }
	virtual ~FTableRowBase() = default;

	/**
	 * Can be overridden by subclasses; Called whenever the owning data table is imported or re-imported.
	 * Allows for custom fix-ups, parsing, etc. after initial data is read in.
	 *
	 * @param InDataTable					The data table that owns this row
	 * @param InRowName						The name of the row we're performing fix-up on
	 * @param OutCollectedImportProblems	List of problems accumulated during import; Can be added to via this method
	 */
	virtual void OnPostDataImport(const UDataTable* InDataTable, const FName InRowName, TArray<FString>& OutCollectedImportProblems) {}

	/**
	 * Can be overridden by subclasses; Called on every row when the owning data table is modified
	 * Allows for custom fix-ups, parsing, etc for user changes
	 * This will be called in addition to OnPostDataImport when importing
	 *
	 * @param InDataTable					The data table that owns this row
	 * @param InRowName						The name of the row we're performing fix-up on
	 */
	virtual void OnDataTableChanged(const UDataTable* InDataTable, const FName InRowName) {}
};

/**
 * Imported spreadsheet table.
 */
UCLASS(MinimalAPI, BlueprintType, AutoExpandCategories="DataTable,ImportOptions", Meta=(LoadBehavior="LazyOnDemand"))
class UDataTable : public UObject
{
	GENERATED_UCLASS_BODY()

	/** Structure to use for each row of the table, must inherit from FTableRowBase */
	UPROPERTY(VisibleAnywhere, Category=DataTable, meta=(DisplayThumbnail="false"))
	TObjectPtr<UScriptStruct> RowStruct;

protected:
	/** Map of name of row to row data structure. */
	TMap<FName, uint8*> RowMap;

	/** Called to add rows to the data table */
	ENGINE_API virtual void AddRowInternal(FName RowName, uint8* RowDataPtr);

	/** Deletes the row memory */
	ENGINE_API virtual void RemoveRowInternal(FName RowName);

public:
	virtual const TMap<FName, uint8*>& GetRowMap() const { return RowMap; }
	virtual const TMap<FName, uint8*>& GetRowMap() { return RowMap; }

	const UScriptStruct* GetRowStruct() const { return RowStruct; }

	//~ Begin UObject Interface.
	ENGINE_API virtual void FinishDestroy() override;
	ENGINE_API static void AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector);
	//~ End UObject Interface

	/** Get all of the rows in the table, regardless of name */
	template <class T>
	void GetAllRows(const TCHAR* ContextString, TArray<T*>& OutRowArray) const
	{
		if (CommonTypeCheck(T::StaticStruct(), TEXT("UDataTable::GetAllRows"), ContextString))
		{
			OutRowArray.Reserve(OutRowArray.Num() + GetRowMap().Num());
			for (TMap<FName, uint8*>::TConstIterator RowMapIter(GetRowMap().CreateConstIterator()); RowMapIter; ++RowMapIter)
			{
				OutRowArray.Add(reinterpret_cast<T*>(RowMapIter.Value()));
			}
		}
	}

	template <class T>
	void GetAllRows(const FString& ContextString, TArray<T*>& OutRowArray) const
	{
		GetAllRows<T>(*ContextString, OutRowArray);
	}

	/** Function to find the row of a table given its name. */
	template <class T>
	T* FindRow(FName RowName, const TCHAR* ContextString, bool bWarnIfRowMissing = true) const
	{
		return reinterpret_cast<T*>(FindRowInternal(T::StaticStruct(), RowName, ContextString, bWarnIfRowMissing));
	}

	template <class T>
	T* FindRow(FName RowName, const FString& ContextString, bool bWarnIfRowMissing = true) const
	{
		return FindRow<T>(RowName, *ContextString, bWarnIfRowMissing);
	}

	/** Perform some operation for every row. */
	template <class T>
	void ForeachRow(const TCHAR* ContextString, TFunctionRef<void (const FName& Key, const T& Value)> Predicate) const
	{
		if (CommonTypeCheck(T::StaticStruct(), TEXT("UDataTable::ForeachRow"), ContextString))
		{
			for (TMap<FName, uint8*>::TConstIterator RowMapIter(GetRowMap().CreateConstIterator()); RowMapIter; ++RowMapIter)
			{
				T* Entry = reinterpret_cast<T*>(RowMapIter.Value());
				Predicate(RowMapIter.Key(), *Entry);
			}
		}
	}

	template <class T>
	void ForeachRow(const FString& ContextString, TFunctionRef<void (const FName& Key, const T& Value)> Predicate) const
	{
		ForeachRow<T>(*ContextString, Predicate);
	}

	/** Returns the column property where PropertyName matches the name of the column property. Returns nullptr if no match is found or the match is not a supported table property */
	ENGINE_API FProperty* FindTableProperty(const FName& PropertyName) const;

	/** High performance version with no type safety */
	uint8* FindRowUnchecked(FName RowName) const
	{
		if (RowStruct == nullptr)
		{
			return nullptr;
		}

		// If is RowName is none, it won't find anything in the map
		uint8* const* RowDataPtr = GetRowMap().Find(RowName);
		if (RowDataPtr == nullptr)
		{
			return nullptr;
		}
		return *RowDataPtr;
	}

	/** Empty the table info (will not clear RowStruct) */
	ENGINE_API virtual void EmptyTable();

	ENGINE_API TArray<FName> GetRowNames() const;

	/** Removes a single row from the DataTable by name. Just returns if row is not found. */
	ENGINE_API virtual void RemoveRow(FName RowName);

	/** Copies RowData into table. That is: create Row if not found and copy data into the RowMap based on RowData. This is a "copy in" operation, so changing the passed in RowData after the fact does nothing. */
	ENGINE_API virtual void AddRow(FName RowName, const FTableRowBase& RowData);
	ENGINE_API virtual void AddRow(FName RowName, const uint8* RowData, const UScriptStruct* RowType);

protected:
	/** The struct rows are laid out as: the row struct, or the base row struct when none is set. */
	ENGINE_API UScriptStruct& GetEmptyUsingStruct() const;

	ENGINE_API bool CommonTypeCheck(UScriptStruct* Type, const TCHAR* MethodName, const TCHAR* ContextString) const;

	ENGINE_API uint8* FindRowInternal(UScriptStruct* Type, FName RowName, const TCHAR* ContextString, bool bWarnIfRowMissing) const;
};

/** Handle to a particular row in a table*/
USTRUCT(BlueprintType)
struct FDataTableRowHandle
{
	GENERATED_USTRUCT_BODY()

	FDataTableRowHandle()
		: DataTable(nullptr)
		, RowName(NAME_None)
	{
	}

	/** Pointer to table we want a row from */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=DataTableRowHandle)
	TObjectPtr<const UDataTable> DataTable;

	/** Name of row in the table that we want */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=DataTableRowHandle)
	FName RowName;

	/** Returns true if this handle is specifically pointing to nothing */
	bool IsNull() const
	{
		return DataTable == nullptr && RowName.IsNone();
	}

	/** Get the row straight from the row handle */
	template <class T>
	T* GetRow(const TCHAR* ContextString) const
	{
		if (DataTable == nullptr)
		{
			if (!RowName.IsNone())
			{
				UE_LOG(LogDataTable, Warning, TEXT("FDataTableRowHandle::FindRow : No DataTable for row %s (%s)."), *RowName.ToString(), ContextString);
			}
			return nullptr;
		}
		return DataTable->FindRow<T>(RowName, ContextString);
	}

	template <class T>
	T* GetRow(const FString& ContextString) const
	{
		return GetRow<T>(*ContextString);
	}

	bool operator==(FDataTableRowHandle const& Other) const
	{
		return DataTable == Other.DataTable && RowName == Other.RowName;
	}

	bool operator!=(FDataTableRowHandle const& Other) const
	{
		return !(*this == Other);
	}
};
