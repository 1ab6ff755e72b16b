// TStrongObjectPtr: owns a reference to an object from outside the object graph.
#pragma once

#include "UObject/GCObject.h"

template<typename ObjectType>
class TStrongObjectPtr
{
public:
	TStrongObjectPtr() = default;
	TStrongObjectPtr(TYPE_OF_NULLPTR) {}
	explicit TStrongObjectPtr(ObjectType* InObject) { Reset(InObject); }
	TStrongObjectPtr(const TStrongObjectPtr& Other) { Reset(Other.Get()); }
	TStrongObjectPtr& operator=(const TStrongObjectPtr& Other) { Reset(Other.Get()); return *this; }
	~TStrongObjectPtr() { Reset(); }

	ObjectType* Get() const { return Referencer ? (ObjectType*)Referencer->Object : nullptr; }
	ObjectType* operator->() const { return Get(); }
	ObjectType& operator*() const { return *Get(); }
	explicit operator bool() const { return Get() != nullptr; }
	bool IsValid() const { return Get() != nullptr; }

	void Reset(ObjectType* InNewObject = nullptr)
	{
		if (InNewObject)
		{
			if (!Referencer)
			{
				Referencer = MakeUnique<FReferencer>();
			}
			Referencer->Object = (UObject*)InNewObject;
		}
		else
		{
			Referencer.Reset();
		}
	}

private:
	class FReferencer : public FGCObject
	{
	public:
		UObject* Object = nullptr;
		virtual void AddReferencedObjects(FReferenceCollector& Collector) override { Collector.AddReferencedObject(Object); }
		virtual FString GetReferencerName() const override { return TEXT("TStrongObjectPtr"); }
	};
	TUniquePtr<FReferencer> Referencer;
};
