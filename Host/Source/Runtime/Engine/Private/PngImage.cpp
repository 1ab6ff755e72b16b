// Copyright Quarn. All Rights Reserved.

#include "PngImage.h"
#include "Containers/StringConv.h"
#include <png.h>

namespace UE::Engine::Private
{
	// Images larger than this are refused rather than allocated: no texture of a game needs more.
	static constexpr int32 MaxPngDimension = 16384;

	bool DecodePng(TConstArrayView<uint8> FileData, FDecodedImage& OutImage, FString& OutError)
	{
		OutImage = FDecodedImage();
		if (FileData.Num() < 8 || png_sig_cmp(FileData.GetData(), 0, 8) != 0)
		{
			OutError = TEXT("not a PNG file");
			return false;
		}

		png_image Image;
		FMemory::Memzero(&Image, sizeof(Image));
		Image.version = PNG_IMAGE_VERSION;
		// The simplified API reports errors through its return value; libpng's own longjmp stays inside it.
		if (!png_image_begin_read_from_memory(&Image, FileData.GetData(), (size_t)FileData.Num()))
		{
			OutError = FString::Printf(TEXT("unreadable PNG header (%s)"), UTF8_TO_TCHAR(Image.message));
			png_image_free(&Image);
			return false;
		}
		if (Image.width == 0 || Image.height == 0 || Image.width > (png_uint_32)MaxPngDimension || Image.height > (png_uint_32)MaxPngDimension)
		{
			OutError = FString::Printf(TEXT("unsupported PNG size %ux%u"), (uint32)Image.width, (uint32)Image.height);
			png_image_free(&Image);
			return false;
		}

		Image.format = PNG_FORMAT_BGRA;
		const int32 SizeX = (int32)Image.width;
		const int32 SizeY = (int32)Image.height;
		TArray<uint8> Pixels;
		Pixels.SetNumUninitialized(SizeX * SizeY * 4);
		if (!png_image_finish_read(&Image, nullptr, Pixels.GetData(), 0, nullptr))
		{
			OutError = FString::Printf(TEXT("corrupt PNG data (%s)"), UTF8_TO_TCHAR(Image.message));
			png_image_free(&Image);
			return false;
		}
		png_image_free(&Image);

		OutImage.SizeX = SizeX;
		OutImage.SizeY = SizeY;
		OutImage.BGRA = MoveTemp(Pixels);
		return true;
	}
}
