// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

// The base of every archive: a byte stream that is either loaded from or saved to. Only the
// byte-level part of the engine's archive is offered (no object or name serialisation).
class FArchive
{
public:
	FArchive() = default;
	FArchive(const FArchive&) = default;
	FArchive& operator=(const FArchive&) = default;
	virtual ~FArchive() = default;

	virtual void Serialize(void* V, int64 Length) {}

	virtual int64 Tell() { return INDEX_NONE; }
	virtual int64 TotalSize() { return INDEX_NONE; }
	virtual bool AtEnd()
	{
		const int64 Pos = Tell();
		return Pos != INDEX_NONE && Pos >= TotalSize();
	}
	virtual void Seek(int64 InPos) {}
	virtual void Flush() {}
	virtual bool Close() { return !ArIsError; }
	virtual FString GetArchiveName() const { return FString(TEXT("FArchive")); }

	FORCEINLINE bool IsLoading() const { return ArIsLoading; }
	FORCEINLINE bool IsSaving() const { return ArIsSaving; }
	FORCEINLINE bool IsPersistent() const { return ArIsPersistent; }
	FORCEINLINE bool IsError() const { return ArIsError; }
	FORCEINLINE bool GetError() const { return ArIsError; }

	void SetError() { ArIsError = true; }
	void ClearError() { ArIsError = false; }
	void SetIsLoading(bool bInIsLoading) { ArIsLoading = bInIsLoading; }
	void SetIsSaving(bool bInIsSaving) { ArIsSaving = bInIsSaving; }
	void SetIsPersistent(bool bInIsPersistent) { ArIsPersistent = bInIsPersistent; }

private:
	bool ArIsLoading = false;
	bool ArIsSaving = false;
	bool ArIsPersistent = false;
	bool ArIsError = false;
};
