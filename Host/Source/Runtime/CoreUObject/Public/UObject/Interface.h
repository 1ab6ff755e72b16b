// UInterface: the class every UINTERFACE's U class derives from.
#pragma once

#include "UObject/Object.h"

class COREUOBJECT_API UInterface : public UObject
{
	DECLARE_CLASS(UInterface, UObject, CLASS_Interface | CLASS_Abstract | CLASS_Intrinsic, CASTCLASS_None, TEXT("/Script/CoreUObject"), COREUOBJECT_API)
	DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(UInterface)
	static void StaticRegisterNativesUInterface() {}
	UInterface() = default;
	UInterface(const FObjectInitializer& ObjectInitializer) : UObject(ObjectInitializer) {}
};

class IInterface
{
protected:
	virtual ~IInterface() = default;

public:
	typedef UInterface UClassType;
};
