// Host-only: classes and structs made at run time, standing in for what the editor makes from
// assets: a Blueprint-generated subclass whose events run native callables instead of script,
// and a user-defined struct whose member names carry the editor's "_<N>_<GUID>" suffix.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "Host/CodeGen.h"

class UUserDefinedStruct;

namespace UE::Host
{
	class COREUOBJECT_API FBlueprintClassBuilder
	{
	public:
		// A subclass of Parent named "<Name>_C" in package "/Game/<Name>".
		FBlueprintClassBuilder(UClass* Parent, const TCHAR* Name);

		// Gives a BlueprintImplementableEvent (or BlueprintNativeEvent) of the parent an
		// implementation; Body receives the object and the event's parameter memory.
		FBlueprintClassBuilder& OverrideEvent(FName EventName, TFunction<void(UObject* Self, void* Parms)> Body);
		UClass* Finish();

	private:
		UClass* Class = nullptr;
	};

	class COREUOBJECT_API FUserDefinedStructBuilder
	{
	public:
		// A struct "<Name>" in package "/Game/<Name>", as the editor saves one.
		explicit FUserDefinedStructBuilder(const TCHAR* Name);

		// Adds a member named "<BaseName>_<Counter>_<32 hex digits>"; returns its full name.
		// Kinds: scalars, strings, names, text, enums, structs, objects and arrays of those.
		FName AddMember(const TCHAR* BaseName, CodeGen::EPropertyKind Kind, const CodeGen::FPropertyParams* Inner = nullptr,
			UObject* TypeObject = nullptr);
		UUserDefinedStruct* Finish();

	private:
		UUserDefinedStruct* Struct = nullptr;
		uint32 Counter = 0;
	};
}
