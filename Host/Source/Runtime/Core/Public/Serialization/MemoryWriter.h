// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Serialization/Archive.h"

// Writes into a caller-owned byte array, growing it as needed; Seek moves the write offset.
class FMemoryWriter : public FArchive
{
public:
	explicit FMemoryWriter(TArray<uint8>& InBytes, bool bIsPersistent = false, bool bSetOffset = false)
		: Bytes(InBytes)
		, Offset(bSetOffset ? InBytes.Num() : 0)
	{
		SetIsSaving(true);
		SetIsPersistent(bIsPersistent);
	}

	virtual void Serialize(void* Data, int64 Num) override
	{
		if (Num <= 0)
		{
			return;
		}
		const int64 NumBytesToAdd = Offset + Num - Bytes.Num();
		if (NumBytesToAdd > 0)
		{
			if (Offset + Num > (int64)MAX_int32)
			{
				// A TArray<uint8> cannot hold more than 2 GiB.
				SetError();
				return;
			}
			Bytes.AddUninitialized((int32)NumBytesToAdd);
		}
		FMemory::Memcpy(Bytes.GetData() + Offset, Data, (SIZE_T)Num);
		Offset += Num;
	}

	virtual int64 Tell() override { return Offset; }
	virtual int64 TotalSize() override { return Bytes.Num(); }
	virtual void Seek(int64 InPos) override { Offset = InPos < 0 ? 0 : InPos; }
	virtual FString GetArchiveName() const override { return FString(TEXT("FMemoryWriter")); }

protected:
	TArray<uint8>& Bytes;
	int64 Offset;
};
