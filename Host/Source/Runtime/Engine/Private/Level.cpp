// Copyright Quarn. All Rights Reserved.

#include "Engine/Level.h"
#include "GameFramework/Actor.h"

ULevel::ULevel(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
}

void ULevel::AddReferencedObjects(UObject* InThis, FReferenceCollector& Collector)
{
	ULevel* This = CastChecked<ULevel>(InThis);
	// Null entries (destroyed actors) are skipped by the collector.
	Collector.AddReferencedObjects(This->Actors, This);
	Super::AddReferencedObjects(This, Collector);
}
