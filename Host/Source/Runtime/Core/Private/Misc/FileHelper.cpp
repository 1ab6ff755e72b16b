// Copyright Quarn. All Rights Reserved.

#include "Misc/FileHelper.h"
#include "HAL/FileManager.h"
#include "Containers/StringConv.h"
#include "Logging/LogMacros.h"
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
	std::string Native(const TCHAR* Path)
	{
		return std::string(FTCHARToUTF8(Path ? Path : TEXT("")).Get());
	}

	bool StatPath(const TCHAR* Path, struct stat& Info)
	{
		return Path && *Path && stat(Native(Path).c_str(), &Info) == 0;
	}

	bool MakeTree(const std::string& Path)
	{
		if (Path.empty())
		{
			return true;
		}
		struct stat Info;
		if (stat(Path.c_str(), &Info) == 0)
		{
			return S_ISDIR(Info.st_mode);
		}
		const size_t Slash = Path.find_last_of('/');
		if (Slash != std::string::npos && Slash > 0 && !MakeTree(Path.substr(0, Slash)))
		{
			return false;
		}
		return mkdir(Path.c_str(), 0755) == 0 || errno == EEXIST;
	}
} // namespace

IFileManager& IFileManager::Get()
{
	static IFileManager* Manager = new IFileManager();
	return *Manager;
}

bool IFileManager::FileExists(const TCHAR* Filename)
{
	struct stat Info;
	return StatPath(Filename, Info) && S_ISREG(Info.st_mode);
}

bool IFileManager::DirectoryExists(const TCHAR* InDirectory)
{
	struct stat Info;
	return StatPath(InDirectory, Info) && S_ISDIR(Info.st_mode);
}

bool IFileManager::MakeDirectory(const TCHAR* Path, bool Tree)
{
	std::string NativePath = Native(Path);
	while (NativePath.size() > 1 && NativePath.back() == '/')
	{
		NativePath.pop_back();
	}
	return Tree ? MakeTree(NativePath) : (mkdir(NativePath.c_str(), 0755) == 0 || errno == EEXIST);
}

bool IFileManager::DeleteDirectory(const TCHAR* Path, bool RequireExists, bool Tree)
{
	if (Tree)
	{
		TArray<FString> Entries;
		FindFiles(Entries, Path);
		for (const FString& Entry : Entries)
		{
			const FString Full = FString(Path) / Entry;
			if (DirectoryExists(*Full))
			{
				DeleteDirectory(*Full, false, true);
			}
			else
			{
				Delete(*Full);
			}
		}
	}
	const bool bRemoved = rmdir(Native(Path).c_str()) == 0;
	return bRemoved || (!RequireExists && !DirectoryExists(Path));
}

bool IFileManager::Delete(const TCHAR* Filename, bool RequireExists, bool EvenReadOnly, bool Quiet)
{
	const bool bRemoved = unlink(Native(Filename).c_str()) == 0;
	return bRemoved || (!RequireExists && !FileExists(Filename));
}

bool IFileManager::Move(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes, bool bDoNotRetryOrError)
{
	if (!Replace && FileExists(Dest))
	{
		return false;
	}
	MakeTree(Native(*FString(Dest)).substr(0, Native(Dest).find_last_of('/')));
	return rename(Native(Src).c_str(), Native(Dest).c_str()) == 0;
}

int64 IFileManager::FileSize(const TCHAR* Filename)
{
	struct stat Info;
	return (StatPath(Filename, Info) && S_ISREG(Info.st_mode)) ? (int64)Info.st_size : INDEX_NONE;
}

void IFileManager::FindFiles(TArray<FString>& FileNames, const TCHAR* Directory, const TCHAR* FileExtension)
{
	DIR* Dir = opendir(Native(Directory).c_str());
	if (!Dir)
	{
		return;
	}
	FString Extension = FileExtension ? FString(FileExtension) : FString();
	if (Extension.StartsWith(TEXT("*")))
	{
		Extension.RightChopInline(1);
	}
	while (dirent* Entry = readdir(Dir))
	{
		if (std::strcmp(Entry->d_name, ".") == 0 || std::strcmp(Entry->d_name, "..") == 0)
		{
			continue;
		}
		const FString Name(UTF8_TO_TCHAR(Entry->d_name));
		if (Extension.IsEmpty() || Name.EndsWith(Extension))
		{
			FileNames.Add(Name);
		}
	}
	closedir(Dir);
}

FString IFileManager::ConvertToAbsolutePathForExternalAppForRead(const TCHAR* Filename)
{
	return FString(Filename);
}

bool IFileManager::ReadFile(const TCHAR* Filename, TArray<uint8>& OutBytes)
{
	FILE* File = std::fopen(Native(Filename).c_str(), "rb");
	if (!File)
	{
		return false;
	}
	OutBytes.Reset();
	uint8 Buffer[65536];
	size_t Read;
	while ((Read = std::fread(Buffer, 1, sizeof(Buffer), File)) > 0)
	{
		OutBytes.Append(Buffer, (int32)Read);
	}
	const bool bOk = !std::ferror(File);
	std::fclose(File);
	return bOk;
}

bool IFileManager::WriteFile(const TCHAR* Filename, const uint8* Data, int64 Size, uint32 WriteFlags)
{
	const std::string Path = Native(Filename);
	if ((WriteFlags & FILEWRITE_NoReplaceExisting) && FileExists(Filename))
	{
		return false;
	}
	const size_t Slash = Path.find_last_of('/');
	if (Slash != std::string::npos && Slash > 0)
	{
		MakeTree(Path.substr(0, Slash));
	}
	FILE* File = std::fopen(Path.c_str(), (WriteFlags & FILEWRITE_Append) ? "ab" : "wb");
	if (!File)
	{
		return false;
	}
	const bool bOk = Size == 0 || std::fwrite(Data, 1, (size_t)Size, File) == (size_t)Size;
	return (std::fclose(File) == 0) && bOk;
}

void FFileHelper::BufferToString(FString& Result, const uint8* Buffer, int32 Size)
{
	Result.Reset();
	if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xff && Buffer[1] == 0xfe)
	{
		const int32 Count = (Size - 2) / 2;
		TArray<TCHAR> Chars;
		Chars.SetNumUninitialized(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Chars[Index] = (TCHAR)(Buffer[2 + Index * 2] | (Buffer[3 + Index * 2] << 8));
		}
		Result = FString(Count, Chars.GetData());
	}
	else if (Size >= 2 && !(Size & 1) && Buffer[0] == 0xfe && Buffer[1] == 0xff)
	{
		const int32 Count = (Size - 2) / 2;
		TArray<TCHAR> Chars;
		Chars.SetNumUninitialized(Count);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Chars[Index] = (TCHAR)((Buffer[2 + Index * 2] << 8) | Buffer[3 + Index * 2]);
		}
		Result = FString(Count, Chars.GetData());
	}
	else
	{
		if (Size >= 3 && Buffer[0] == 0xef && Buffer[1] == 0xbb && Buffer[2] == 0xbf)
		{
			Buffer += 3;
			Size -= 3;
		}
		Result = FString(Size, (const UTF8CHAR*)Buffer);
	}
}

bool FFileHelper::LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags)
{
	if (!IFileManager::Get().ReadFile(Filename, Result))
	{
		if (!(Flags & FILEREAD_Silent))
		{
			UE_LOG(LogStreaming, Warning, TEXT("Failed to read file '%s' error."), Filename);
		}
		return false;
	}
	return true;
}

bool FFileHelper::LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags, uint32 ReadFlags)
{
	TArray<uint8> Bytes;
	if (!IFileManager::Get().ReadFile(Filename, Bytes))
	{
		return false;
	}
	BufferToString(Result, Bytes.GetData(), Bytes.Num());
	return true;
}

bool FFileHelper::LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename)
{
	FString Text;
	if (!LoadFileToString(Text, Filename))
	{
		return false;
	}
	Text.ParseIntoArrayLines(Result, false);
	return true;
}

bool FFileHelper::SaveArrayToFile(TArrayView<const uint8> Array, const TCHAR* Filename, IFileManager* FileManager, uint32 WriteFlags)
{
	return FileManager->WriteFile(Filename, Array.GetData(), Array.Num(), WriteFlags);
}

bool FFileHelper::SaveStringToFile(FStringView String, const TCHAR* Filename, EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	bool bSaveAsUnicode = EncodingOptions == EEncodingOptions::ForceUnicode;
	if (EncodingOptions == EEncodingOptions::AutoDetect)
	{
		for (TCHAR Char : String)
		{
			if (Char > 0x7f)
			{
				bSaveAsUnicode = true;
				break;
			}
		}
	}
	TArray<uint8> Bytes;
	if (EncodingOptions == EEncodingOptions::ForceUTF8 || EncodingOptions == EEncodingOptions::ForceUTF8WithoutBOM)
	{
		if (EncodingOptions == EEncodingOptions::ForceUTF8)
		{
			Bytes.Append({ 0xef, 0xbb, 0xbf });
		}
		const FTCHARToUTF8 Utf8(String.GetData(), String.Len());
		Bytes.Append((const uint8*)Utf8.Get(), Utf8.Length());
	}
	else if (bSaveAsUnicode)
	{
		Bytes.Append({ 0xff, 0xfe });
		for (TCHAR Char : String)
		{
			Bytes.Add((uint8)(Char & 0xff));
			Bytes.Add((uint8)(Char >> 8));
		}
	}
	else
	{
		for (TCHAR Char : String)
		{
			Bytes.Add(Char <= 0x7f ? (uint8)Char : (uint8)'?');
		}
	}
	return FileManager->WriteFile(Filename, Bytes.GetData(), Bytes.Num(), WriteFlags);
}

bool FFileHelper::SaveStringArrayToFile(const TArray<FString>& Lines, const TCHAR* Filename, EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	FString Text;
	for (const FString& Line : Lines)
	{
		Text += Line;
		Text += LINE_TERMINATOR;
	}
	return SaveStringToFile(Text, Filename, EncodingOptions, FileManager, WriteFlags);
}
