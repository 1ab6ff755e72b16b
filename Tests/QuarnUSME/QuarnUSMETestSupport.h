// Helpers for the sync node tests: a signed-in player, a node started with its pins recorded, and
// the intents of a transaction body in a compact form.
#pragma once

#include "QuarnTest/PluginTestSupport.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Engine/GameInstance.h"
#include "Engine/World.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "QuarnStashSync.h"
#include "QuarnSubsystem.h"
#include "QuarnSyncPinRecorder.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"
#include "UObject/Package.h"

namespace QuarnUSMETest
{
	using namespace QuarnTest;
	using FPinRecorder = UQuarnSyncPinRecorder;

	/** "grant:<item>:<quantity>", "consume:<instance>:<quantity>" or "move:<instance>:<condensed to>" per intent. */
	inline TArray<FString> DescribeIntents(const FString& Body)
	{
		TArray<FString> Result;
		TSharedPtr<FJsonObject> Root;
		if (!FJsonSerializer::Deserialize(TJsonReaderFactory<TCHAR>::Create(Body), Root) || !Root.IsValid())
		{
			Result.Add(TEXT("<unreadable body>"));
			return Result;
		}
		const TArray<TSharedPtr<FJsonValue>>* Intents = nullptr;
		if (!Root->TryGetArrayField(TEXT("intents"), Intents))
		{
			return Result;
		}
		for (const TSharedPtr<FJsonValue>& Value : *Intents)
		{
			const TSharedPtr<FJsonObject> Intent = Value->AsObject();
			const FString Kind = Intent->GetStringField(TEXT("kind"));
			if (Kind == TEXT("grant"))
			{
				Result.Add(FString::Printf(TEXT("grant:%s:%lld"), *Intent->GetStringField(TEXT("item_id")), static_cast<long long>(Intent->GetNumberField(TEXT("quantity")))));
			}
			else if (Kind == TEXT("consume"))
			{
				Result.Add(FString::Printf(TEXT("consume:%s:%lld"), *Intent->GetStringField(TEXT("instance_id")), static_cast<long long>(Intent->GetNumberField(TEXT("quantity")))));
			}
			else
			{
				FString To;
				FJsonSerializer::Serialize(Intent->GetObjectField(TEXT("to")).ToSharedRef(), TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&To));
				Result.Add(FString::Printf(TEXT("%s:%s:%s"), *Kind, *Intent->GetStringField(TEXT("instance_id")), *To));
			}
		}
		return Result;
	}

	class FSyncTest : public FClientTest
	{
	protected:
		virtual void TearDown() override
		{
			for (UQuarnSyncPinRecorder* Recorder : Recorders)
			{
				Recorder->RemoveFromRoot();
			}
			Recorders.Reset();
			if (UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Engine().GetWorld()))
			{
				for (const FString& Player : SignedIn)
				{
					Subsystem->SetAccessToken(Player, FString());
				}
			}
			FClientTest::TearDown();
			CollectGarbage();
		}

		void SignIn(const FString& PlayerId)
		{
			UQuarnSubsystem* Subsystem = UQuarnSubsystem::Get(Engine().GetWorld());
			ASSERT_NE(Subsystem, nullptr);
			Subsystem->SetAccessToken(PlayerId, TEXT("token-") + PlayerId);
			SignedIn.Add(PlayerId);
		}

		FPinRecorder& StartWithContext(UObject* Context, const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
		{
			UQuarnSyncPinRecorder* Recorder = NewObject<UQuarnSyncPinRecorder>(GetTransientPackage());
			Recorder->AddToRoot();
			Recorders.Add(Recorder);
			UQuarnSyncStash* Action = UQuarnSyncStash::SyncStash(Context, PlayerId, ContainerId, Items);
			Recorder->Bind(Action);
			Action->Activate();
			return *Recorder;
		}

		FPinRecorder& Start(const FString& PlayerId, const FString& ContainerId, const TArray<FQuarnItemInstance>& Items)
		{
			return StartWithContext(Engine().GetWorld(), PlayerId, ContainerId, Items);
		}

		void CollectGarbage()
		{
			Engine().CollectGarbage();
		}

	private:
		TArray<UQuarnSyncPinRecorder*> Recorders;
		TArray<FString> SignedIn;
	};
}
