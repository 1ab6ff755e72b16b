// Copyright Quarn. All Rights Reserved.

#include "Host/UMGHost.h"
#include "Engine/Engine.h"
#include "Engine/GameInstance.h"
#include "Engine/GameViewportClient.h"
#include "Engine/Texture2D.h"
#include "Engine/World.h"
#include "Host/HostRenderer.h"
#include "Host/SlateApplicationHost.h"
#include "Host/TextureData.h"
#include "UMGPrivate.h"
#include "Widgets/SOverlay.h"
#include "Widgets/SWindow.h"

namespace UE::Host
{
	namespace UMGHostPrivate
	{
		/** The renderer reads a UTexture2D's pixels, whatever 8-bit format it keeps them in. */
		bool ReadTexture(const UObject* Resource, FHostImage& OutImage)
		{
			const UTexture2D* Texture = Cast<UTexture2D>(Resource);
			const FTexturePixels Pixels = GetTexturePixels(Texture);
			const int32 BytesPerPixel = GetBytesPerPixel(Pixels.Format);
			if (Pixels.SizeX <= 0 || Pixels.SizeY <= 0 || BytesPerPixel == 0
				|| Pixels.Data.Num() < (int64)Pixels.SizeX * Pixels.SizeY * BytesPerPixel)
			{
				return false;
			}
			OutImage.Width = Pixels.SizeX;
			OutImage.Height = Pixels.SizeY;
			OutImage.Pixels.SetNumUninitialized(Pixels.SizeX * Pixels.SizeY);
			for (int32 Index = 0; Index < OutImage.Pixels.Num(); ++Index)
			{
				const uint8* Pixel = Pixels.Data.GetData() + (int64)Index * BytesPerPixel;
				switch (Pixels.Format)
				{
				case PF_B8G8R8A8:
					OutImage.Pixels[Index] = FColor(Pixel[2], Pixel[1], Pixel[0], Pixel[3]);
					break;
				case PF_R8G8B8A8:
					OutImage.Pixels[Index] = FColor(Pixel[0], Pixel[1], Pixel[2], Pixel[3]);
					break;
				default:
					OutImage.Pixels[Index] = FColor(Pixel[0], Pixel[0], Pixel[0], 255);
					break;
				}
			}
			return true;
		}

		TSharedPtr<SWindow> FindViewportWindow(UWorld* World)
		{
			UGameViewportClient* const Client = World ? World->GetGameViewport() : nullptr;
			return Client ? Client->GetWindow() : nullptr;
		}
	}

	void SetDesignerFlags(UWidget* Widget, EWidgetDesignFlags Flags)
	{
		if (Widget)
		{
			Widget->SetDesignerFlags(Flags);
		}
	}

	UGameViewportClient* CreateGameViewport(UWorld* World, FVector2D SizeInPixels, float DPIScale, FVector2D ScreenPosition)
	{
		FWorldContext* const Context = (GEngine && World) ? GEngine->GetWorldContextFromWorld(World) : nullptr;
		if (Context == nullptr)
		{
			UE_LOG(LogUMG, Error, TEXT("A game viewport needs a world the engine knows."));
			return nullptr;
		}
		if (!(SizeInPixels.X > 0.0) || !(SizeInPixels.Y > 0.0) || !(DPIScale > 0.0f))
		{
			UE_LOG(LogUMG, Error, TEXT("A game viewport of %s pixels at DPI scale %f cannot be made."), *SizeInPixels.ToString(), DPIScale);
			return nullptr;
		}
		if (Context->GameViewport != nullptr)
		{
			DestroyGameViewport(World);
		}

		UGameViewportClient* const Client = NewObject<UGameViewportClient>(GEngine);
		Client->Init(*Context, World->GetGameInstance());
		GEngine->GameViewport = Client;

		const TSharedRef<SOverlay> Overlay = SNew(SOverlay);
		const TSharedRef<SWindow> Window = SNew(SWindow)
			.ClientSize(SizeInPixels)
			.ScreenPosition(ScreenPosition)
			.DPIScaleFactor(DPIScale)
			[
				Overlay
			];
		Client->SetViewportOverlayWidget(Window, Overlay);
		FHostSlateApplication::Get().AddWindow(Window);

		// The engine loop ticks the Slate application's windows each frame, this one included.
		FHostRenderer::SetTextureReader(&UMGHostPrivate::ReadTexture);
		return Client;
	}

	void DestroyGameViewport(UWorld* World)
	{
		FWorldContext* const Context = (GEngine && World) ? GEngine->GetWorldContextFromWorld(World) : nullptr;
		UGameViewportClient* const Client = Context ? Context->GameViewport.Get() : nullptr;
		if (Client == nullptr)
		{
			return;
		}
		if (const TSharedPtr<SWindow> Window = Client->GetWindow())
		{
			FHostSlateApplication::Get().RemoveWindow(Window.ToSharedRef());
		}
		Client->RemoveAllViewportWidgets();
		Context->GameViewport = nullptr;
		if (GEngine->GameViewport == Client)
		{
			GEngine->GameViewport = nullptr;
		}
	}

	bool DrawGameViewport(UWorld* World, float DeltaSeconds)
	{
		const TSharedPtr<SWindow> Window = UMGHostPrivate::FindViewportWindow(World);
		if (!Window.IsValid())
		{
			UE_LOG(LogUMG, Error, TEXT("The world has no game viewport to draw."));
			return false;
		}
		FHostSlateApplication::Get().DrawWindow(Window.ToSharedRef(), DeltaSeconds);
		return true;
	}

	const FSlateWindowElementList* GetGameViewportDrawElements(UWorld* World)
	{
		const TSharedPtr<SWindow> Window = UMGHostPrivate::FindViewportWindow(World);
		return Window.IsValid() ? FHostSlateApplication::Get().GetDrawElements(*Window) : nullptr;
	}

	bool SaveGameViewportToPng(UWorld* World, const FString& FilePath)
	{
		if (!DrawGameViewport(World))
		{
			return false;
		}
		const TSharedPtr<SWindow> Window = UMGHostPrivate::FindViewportWindow(World);
		const FSlateWindowElementList* const Elements = FHostSlateApplication::Get().GetDrawElements(*Window);
		const FVector2D Size = Window->GetSizeInScreen();
		return Elements != nullptr && FHostRenderer::RenderToPng(*Elements, FIntPoint(FMath::RoundToInt(Size.X), FMath::RoundToInt(Size.Y)), FilePath);
	}
}
