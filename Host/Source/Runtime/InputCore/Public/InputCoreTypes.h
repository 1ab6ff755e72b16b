// Copyright Quarn. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "InputCoreTypes.generated.h"

/** A key on a keyboard, a mouse button or a gamepad control, identified by name. */
USTRUCT(BlueprintType, Blueprintable)
struct FKey
{
	GENERATED_BODY()

	FKey() = default;
	FKey(const FName InName) : KeyName(InName) {}
	FKey(const TCHAR* InName) : KeyName(FName(InName)) {}

	/** Whether the key is one that EKeys defines. */
	INPUTCORE_API bool IsValid() const;
	INPUTCORE_API bool IsMouseButton() const;
	INPUTCORE_API FString ToString() const;
	FName GetFName() const { return KeyName; }

	friend bool operator==(const FKey& KeyA, const FKey& KeyB) { return KeyA.KeyName == KeyB.KeyName; }
	friend bool operator!=(const FKey& KeyA, const FKey& KeyB) { return KeyA.KeyName != KeyB.KeyName; }
	friend uint32 GetTypeHash(const FKey& Key) { return GetTypeHash(Key.KeyName); }

private:
	UPROPERTY(EditAnywhere, Category="Input")
	FName KeyName;
};

/** The keys the host knows: the pointer buttons a widget sees. */
struct INPUTCORE_API EKeys
{
	static const FKey AnyKey;
	static const FKey Invalid;

	static const FKey LeftMouseButton;
	static const FKey RightMouseButton;
	static const FKey MiddleMouseButton;
	static const FKey ThumbMouseButton;
	static const FKey ThumbMouseButton2;
	static const FKey MouseWheelAxis;

	static const FKey Escape;
	static const FKey Enter;
	static const FKey SpaceBar;
};
