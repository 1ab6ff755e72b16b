// Copyright Quarn. All Rights Reserved.

#include "Host/SlateApplicationHost.h"
#include "Framework/Application/SlateApplication.h"

#include <atomic>

namespace UE::Host
{
	namespace
	{
		// A server build has no Slate application at all.
		std::atomic<bool> bSlateApplicationInitialized{ !UE_SERVER };
	}

	void SetSlateApplicationInitialized(bool bInitialized)
	{
		bSlateApplicationInitialized = bInitialized && !UE_SERVER;
	}

	FHostSlateApplication& FHostSlateApplication::Get()
	{
		static FHostSlateApplication Application;
		return Application;
	}

	void FHostSlateApplication::AddWindow(const TSharedRef<SWindow>& Window)
	{
		for (const FWindowEntry& Entry : Windows)
		{
			if (Entry.Window == Window)
			{
				return;
			}
		}
		Windows.Add(FWindowEntry{Window, MakeUnique<FSlateWindowElementList>(Window)});
	}

	void FHostSlateApplication::RemoveWindow(const TSharedRef<SWindow>& Window)
	{
		Windows.RemoveAll([&Window](const FWindowEntry& Entry) { return Entry.Window == Window; });
		Unregistered.RemoveAll([&Window](const FWindowEntry& Entry) { return Entry.Window == Window; });
	}

	TArray<TSharedRef<SWindow>> FHostSlateApplication::GetWindows() const
	{
		TArray<TSharedRef<SWindow>> Result;
		for (const FWindowEntry& Entry : Windows)
		{
			Result.Add(Entry.Window);
		}
		return Result;
	}

	FHostSlateApplication::FWindowEntry& FHostSlateApplication::FindOrAddEntry(const TSharedRef<SWindow>& Window)
	{
		for (FWindowEntry& Entry : Windows)
		{
			if (Entry.Window == Window)
			{
				return Entry;
			}
		}
		for (FWindowEntry& Entry : Unregistered)
		{
			if (Entry.Window == Window)
			{
				return Entry;
			}
		}
		return Unregistered.Add_GetRef(FWindowEntry{Window, MakeUnique<FSlateWindowElementList>(Window)});
	}

	void FHostSlateApplication::Tick(float DeltaTime)
	{
		CurrentTime += DeltaTime;
		++FrameCount;
		// A copy: painting may add or remove windows.
		for (const TSharedRef<SWindow>& Window : GetWindows())
		{
			DrawWindow(Window, 0.0f);
		}
	}

	void FHostSlateApplication::DrawWindow(const TSharedRef<SWindow>& Window, float DeltaTime)
	{
		CurrentTime += DeltaTime;
		FWindowEntry& Entry = FindOrAddEntry(Window);
		Entry.Elements->ResetElementList();
		Window->PaintWindow(CurrentTime, DeltaTime, *Entry.Elements, FWidgetStyle(), true);
	}

	const FSlateWindowElementList* FHostSlateApplication::GetDrawElements(const SWindow& Window) const
	{
		for (const FWindowEntry& Entry : Windows)
		{
			if (&Entry.Window.Get() == &Window)
			{
				return Entry.Elements.Get();
			}
		}
		for (const FWindowEntry& Entry : Unregistered)
		{
			if (&Entry.Window.Get() == &Window)
			{
				return Entry.Elements.Get();
			}
		}
		return nullptr;
	}
}

bool FSlateApplication::IsInitialized()
{
	return UE::Host::bSlateApplicationInitialized.load();
}
