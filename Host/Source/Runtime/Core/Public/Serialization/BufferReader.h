// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "HAL/UnrealMemory.h"
#include "Serialization/Archive.h"

// Reads from a block of memory. Reading past the end sets the error flag and yields zero bytes
// instead of reading out of bounds.
class FBufferReaderBase : public FArchive
{
public:
	FBufferReaderBase(void* Data, int64 Size, bool bInFreeOnClose, bool bIsPersistent = false)
		: ReaderData(Data)
		, ReaderPos(0)
		, ReaderSize(Size)
		, bFreeOnClose(bInFreeOnClose)
	{
		SetIsLoading(true);
		SetIsPersistent(bIsPersistent);
	}

	virtual ~FBufferReaderBase() override { Close(); }

	virtual bool Close() override
	{
		if (bFreeOnClose)
		{
			FMemory::Free(ReaderData);
			ReaderData = nullptr;
			bFreeOnClose = false;
		}
		return !IsError();
	}

	virtual void Serialize(void* Data, int64 Num) override
	{
		if (Num <= 0)
		{
			return;
		}
		if (ReaderPos >= 0 && Num <= ReaderSize - ReaderPos)
		{
			FMemory::Memcpy(Data, (const uint8*)ReaderData + ReaderPos, (SIZE_T)Num);
			ReaderPos += Num;
		}
		else
		{
			FMemory::Memzero(Data, (SIZE_T)Num);
			SetError();
		}
	}

	virtual int64 Tell() override { return ReaderPos; }
	virtual int64 TotalSize() override { return ReaderSize; }
	virtual void Seek(int64 InPos) override
	{
		if (InPos >= 0 && InPos <= ReaderSize)
		{
			ReaderPos = InPos;
		}
		else
		{
			SetError();
		}
	}
	virtual bool AtEnd() override { return ReaderPos >= ReaderSize; }

protected:
	void* ReaderData;
	int64 ReaderPos;
	int64 ReaderSize;
	bool bFreeOnClose;
};

class FBufferReader final : public FBufferReaderBase
{
public:
	FBufferReader(void* Data, int64 Size, bool bInFreeOnClose, bool bIsPersistent = false)
		: FBufferReaderBase(Data, Size, bInFreeOnClose, bIsPersistent)
	{
	}

	virtual FString GetArchiveName() const override { return FString(TEXT("FBufferReader")); }
};
