// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Rendering/DrawElements.h"
#include "Widgets/SWindow.h"

namespace UE::Host
{
	/**
	 * Whether the process has a Slate application, as FSlateApplication::IsInitialized() answers:
	 * true unless the engine loop starts as a server or a commandlet does (a server build never has one).
	 */
	SLATE_API void SetSlateApplicationInitialized(bool bInitialized);

	/**
	 * What the engine's Slate application does for the host's windows each frame: lay each one
	 * out (a prepass at its DPI scale) and paint it into its element list, which caches every
	 * painted widget's geometry. The engine loop ticks it; the renderer draws the element lists.
	 */
	class SLATE_API FHostSlateApplication
	{
	public:
		static FHostSlateApplication& Get();

		void AddWindow(const TSharedRef<SWindow>& Window);
		void RemoveWindow(const TSharedRef<SWindow>& Window);
		TArray<TSharedRef<SWindow>> GetWindows() const;

		/** One frame for every window. */
		void Tick(float DeltaTime);

		/** One frame for one window (it need not be registered). */
		void DrawWindow(const TSharedRef<SWindow>& Window, float DeltaTime);

		/** What the window's last frame drew; null if it has not been drawn. */
		const FSlateWindowElementList* GetDrawElements(const SWindow& Window) const;

		double GetCurrentTime() const { return CurrentTime; }
		uint64 GetFrameCount() const { return FrameCount; }

	private:
		struct FWindowEntry
		{
			TSharedRef<SWindow> Window;
			TUniquePtr<FSlateWindowElementList> Elements;
		};

		FWindowEntry& FindOrAddEntry(const TSharedRef<SWindow>& Window);

		TArray<FWindowEntry> Windows;
		/** Element lists of windows drawn without being registered. */
		TArray<FWindowEntry> Unregistered;
		double CurrentTime = 0.0;
		uint64 FrameCount = 0;
	};
}
