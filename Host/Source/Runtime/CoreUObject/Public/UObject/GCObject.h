// FGCObject: a non-object that keeps objects alive by reporting them to each collection.
#pragma once

#include "CoreMinimal.h"
#include "UObject/UObjectGlobals.h"

class COREUOBJECT_API FGCObject
{
public:
	FGCObject();
	FGCObject(const FGCObject& Other);
	FGCObject(FGCObject&& Other);
	virtual ~FGCObject();
	FGCObject& operator=(const FGCObject&) { return *this; }
	FGCObject& operator=(FGCObject&&) { return *this; }

	virtual void AddReferencedObjects(FReferenceCollector& Collector) = 0;
	virtual FString GetReferencerName() const = 0;
	virtual bool GetReferencerPropertyName(UObject* Object, FString& OutPropertyName) const { return false; }

	// Host: every referencer alive now, in registration order.
	static void ForEachReferencer(TFunctionRef<void(FGCObject&)> Visit);

private:
	void Register();
	void Unregister();
};
