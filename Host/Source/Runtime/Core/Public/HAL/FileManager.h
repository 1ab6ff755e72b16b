// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Containers/Array.h"

enum EFileWrite
{
	FILEWRITE_None = 0x00,
	FILEWRITE_NoFail = 0x01,
	FILEWRITE_NoReplaceExisting = 0x02,
	FILEWRITE_EvenIfReadOnly = 0x04,
	FILEWRITE_Append = 0x08,
	FILEWRITE_AllowRead = 0x10,
	FILEWRITE_Silent = 0x20,
};

enum EFileRead
{
	FILEREAD_None = 0x00,
	FILEREAD_NoFail = 0x01,
	FILEREAD_Silent = 0x02,
	FILEREAD_AllowWrite = 0x04,
};

// File system access, on POSIX files.
class CORE_API IFileManager
{
public:
	static IFileManager& Get();
	virtual ~IFileManager() = default;

	virtual bool FileExists(const TCHAR* Filename);
	virtual bool DirectoryExists(const TCHAR* InDirectory);
	virtual bool MakeDirectory(const TCHAR* Path, bool Tree = false);
	virtual bool DeleteDirectory(const TCHAR* Path, bool RequireExists = false, bool Tree = false);
	virtual bool Delete(const TCHAR* Filename, bool RequireExists = false, bool EvenReadOnly = false, bool Quiet = false);
	virtual bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false, bool Attributes = false, bool bDoNotRetryOrError = false);
	virtual int64 FileSize(const TCHAR* Filename);
	virtual void FindFiles(TArray<FString>& FileNames, const TCHAR* Directory, const TCHAR* FileExtension = nullptr);
	virtual FString ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename);

	// Whole-file helpers used by FFileHelper; writing creates missing directories.
	virtual bool ReadFile(const TCHAR* Filename, TArray<uint8>& OutBytes);
	virtual bool WriteFile(const TCHAR* Filename, const uint8* Data, int64 Size, uint32 WriteFlags);
};
