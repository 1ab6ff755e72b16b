// TScriptInterface: an object and its native interface pointer.
#pragma once

#include "CoreMinimal.h"

class UObject;

class FScriptInterface
{
public:
	FScriptInterface() = default;
	FScriptInterface(UObject* InObjectPointer, void* InInterfacePointer = nullptr) : ObjectPointer(InObjectPointer), InterfacePointer(InInterfacePointer) {}

	UObject* GetObject() const { return ObjectPointer; }
	UObject*& GetObjectRef() { return ObjectPointer; }
	void* GetInterface() const { return ObjectPointer ? InterfacePointer : nullptr; }
	void SetObject(UObject* InObjectPointer) { ObjectPointer = InObjectPointer; if (!ObjectPointer) { InterfacePointer = nullptr; } }
	void SetInterface(void* InInterfacePointer) { InterfacePointer = InInterfacePointer; }
	explicit operator bool() const { return GetInterface() != nullptr; }
	bool operator==(const FScriptInterface& Other) const { return GetInterface() == Other.GetInterface() && ObjectPointer == Other.GetObject(); }
	bool operator!=(const FScriptInterface& Other) const { return !(*this == Other); }

private:
	UObject* ObjectPointer = nullptr;
	void* InterfacePointer = nullptr;
};

template<class InterfaceType>
class TScriptInterface : public FScriptInterface
{
public:
	TScriptInterface() = default;
	TScriptInterface(TYPE_OF_NULLPTR) {}
	InterfaceType* operator->() const { return (InterfaceType*)GetInterface(); }
	InterfaceType& operator*() const { return *(InterfaceType*)GetInterface(); }
};
