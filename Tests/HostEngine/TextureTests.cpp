// Textures: PNG files under the project's Content folder loaded through soft object paths.
#include "EngineTestSupport.h"
#include "EngineTestTypes.h"
#include "Engine/Texture2D.h"
#include "Host/EngineAssets.h"
#include "Host/TextureData.h"
#include "Misc/Paths.h"
#include "UObject/SoftObjectPtr.h"

namespace
{
	class HostEngineTexture : public FEngineTest
	{
	};

	// B, G, R, A of pixel (X, Y).
	TArray<uint8> PixelAt(const UE::Host::FTexturePixels& Pixels, int32 X, int32 Y)
	{
		const int32 Offset = (Y * Pixels.SizeX + X) * 4;
		return TArray<uint8>(Pixels.Data.GetData() + Offset, 4);
	}
}

TEST_F(HostEngineTexture, PngLoadsThroughASoftPathWithItsSizeAndPixelsInBgraRowsFromTheTop)
{
	const TSoftObjectPtr<UTexture2D> Soft(FSoftObjectPath(TEXT("/Game/Icons/Bandage.Bandage")));
	UTexture2D* const Texture = Soft.LoadSynchronous();
	ASSERT_NE(Texture, nullptr);
	EXPECT_EQ(Texture->GetSizeX(), 3);
	EXPECT_EQ(Texture->GetSizeY(), 2);
	EXPECT_EQ(Texture->GetPixelFormat(), PF_B8G8R8A8);
	EXPECT_EQ(Str(Texture->GetPathName()), "/Game/Icons/Bandage.Bandage");
	// Loaded once: the second load finds the object in memory.
	EXPECT_EQ(Soft.LoadSynchronous(), Texture);
	EXPECT_EQ(Soft.Get(), Texture);

	const UE::Host::FTexturePixels Pixels = UE::Host::GetTexturePixels(Texture);
	ASSERT_EQ(Pixels.Data.Num(), 3 * 2 * 4);
	// The file's rows: red, green, blue / (10,20,30,40), transparent white, (1,2,3).
	EXPECT_EQ(PixelAt(Pixels, 0, 0), (TArray<uint8>{ 0, 0, 255, 255 }));
	EXPECT_EQ(PixelAt(Pixels, 1, 0), (TArray<uint8>{ 0, 255, 0, 255 }));
	EXPECT_EQ(PixelAt(Pixels, 2, 0), (TArray<uint8>{ 255, 0, 0, 255 }));
	EXPECT_EQ(PixelAt(Pixels, 0, 1), (TArray<uint8>{ 30, 20, 10, 40 }));
	EXPECT_EQ(PixelAt(Pixels, 1, 1), (TArray<uint8>{ 255, 255, 255, 0 }));
	EXPECT_EQ(PixelAt(Pixels, 2, 1), (TArray<uint8>{ 3, 2, 1, 255 }));
}

TEST_F(HostEngineTexture, PngWithoutAlphaLoadsOpaque)
{
	UTexture2D* const Texture = LoadObject<UTexture2D>(nullptr, TEXT("/Game/Icons/Flask.Flask"));
	ASSERT_NE(Texture, nullptr);
	const UE::Host::FTexturePixels Pixels = UE::Host::GetTexturePixels(Texture);
	ASSERT_EQ(Pixels.SizeX, 2);
	ASSERT_EQ(Pixels.SizeY, 1);
	EXPECT_EQ(PixelAt(Pixels, 0, 0), (TArray<uint8>{ 7, 8, 9, 255 }));
	EXPECT_EQ(PixelAt(Pixels, 1, 0), (TArray<uint8>{ 200, 150, 100, 255 }));
}

TEST_F(HostEngineTexture, MissingBrokenAndEscapingPathsLoadNothingAndSaySo)
{
	UE::Host::FLogCapture Texture(TEXT("LogTexture"));
	UE::Host::FLogCapture Uobject(NAME_None);
	EXPECT_EQ(TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Game/Icons/Nothing.Nothing"))).LoadSynchronous(), nullptr);
	EXPECT_GE(Uobject.Count(TEXT("Failed to find object")), 1);

	EXPECT_EQ(TSoftObjectPtr<UTexture2D>(FSoftObjectPath(TEXT("/Game/Icons/Broken.Broken"))).LoadSynchronous(), nullptr);
	EXPECT_EQ(Texture.Count(TEXT("Failed to load texture '/Game/Icons/Broken.Broken'"), ELogVerbosity::Warning), 1);

	// A package name never leaves the Content folder, and an asset must be named after its package.
	EXPECT_EQ(UE::Host::GetContentFilename(TEXT("/Game/../Config/DefaultGame.DefaultGame"), TEXT("ini")), FString());
	EXPECT_EQ(UE::Host::GetContentFilename(TEXT("/Engine/Icons/Bandage.Bandage"), TEXT("png")), FString());
	EXPECT_EQ(LoadObject<UTexture2D>(nullptr, TEXT("/Game/Icons/Bandage.Other"), nullptr, LOAD_Quiet), nullptr);
	EXPECT_EQ(Str(UE::Host::GetContentFilename(TEXT("/Game/Icons/Bandage.Bandage"), TEXT("png"))),
		Str(FPaths::Combine(FPaths::ProjectContentDir(), TEXT("Icons/Bandage.png"))));
}

TEST_F(HostEngineTexture, TransientTexturesHaveTheirSizeAndData)
{
	const TArray<uint8> Data = { 1, 2, 3, 4, 5, 6, 7, 8 };
	UTexture2D* const Texture = UTexture2D::CreateTransient(2, 1, PF_B8G8R8A8, NAME_None, Data);
	ASSERT_NE(Texture, nullptr);
	EXPECT_EQ(Texture->GetSizeX(), 2);
	EXPECT_EQ(Texture->GetSizeY(), 1);
	const UE::Host::FTexturePixels Pixels = UE::Host::GetTexturePixels(Texture);
	EXPECT_EQ(TArray<uint8>(Pixels.Data.GetData(), Pixels.Data.Num()), Data);
	// Sizes that cannot hold a texture are refused.
	EXPECT_EQ(UTexture2D::CreateTransient(0, 4), nullptr);
	EXPECT_EQ(UTexture2D::CreateTransient(-1, 4), nullptr);
}

TEST_F(HostEngineTexture, SettingsSoftPathLoadsTheConfiguredIcon)
{
	const UTestEngineSettings* const Settings = GetDefault<UTestEngineSettings>();
	UTexture2D* const Icon = Settings->DefaultIcon.LoadSynchronous();
	ASSERT_NE(Icon, nullptr);
	EXPECT_EQ(Icon->GetSizeX(), 3);
}
