// Copyright Quarn. All Rights Reserved.

#pragma once

// Console variables and commands, after the engine's HAL/IConsoleManager.h: the flags with their
// set-by priorities, the command delegates, the object interfaces and the manager. The host keeps
// the part its modules and the plug-in use: int and string variables (plain and by reference),
// commands with arguments (with or without a world and an output device), finding, unregistering
// and the console's input.

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Delegates/Delegate.h"
#include "Delegates/DelegateCombinations.h"
#include "Misc/AssertionMacros.h"
#include "UObject/NameTypes.h"

class FOutputDevice;
class UWorld;

#define SETBY_ERROR ((EConsoleVariableFlags)0x01000000)

enum EConsoleVariableFlags
{
	ECVF_FlagMask = 0x0000ffff,
	ECVF_Default = 0x0,
	ECVF_Cheat = 0x1,
	ECVF_ReadOnly = 0x4,
	ECVF_Unregistered = 0x8,
	ECVF_CreatedFromIni = 0x10,
	ECVF_RenderThreadSafe = 0x20,
	ECVF_Scalability = 0x40,
	ECVF_ScalabilityGroup = 0x80,
	ECVF_Preview = 0x100,
	ECVF_GeneralShaderChange = 0x200,
	ECVF_MobileShaderChange = 0x400,
	ECVF_DesktopShaderChange = 0x800,
	ECVF_ExcludeFromPreview = 0x1000,
	ECVF_SaveForNextBoot = 0x2000,

	ECVF_SetFlagMask = 0x00ff0000,
	ECVF_Set_NoSinkCall_Unsafe = 0x00010000,
	ECVF_Set_SetOnly_Unsafe = 0x00020000,
	ECVF_Set_ReplaceExistingTag = 0x00040000,

	// Weak to strong: a value set with a lower priority than the last one is ignored.
	ECVF_SetByMask = 0xff000000,
	ECVF_SetByConstructor = 0x00000000,
	ECVF_SetByScalability = 0x02000000,
	ECVF_SetByGameSetting = 0x03000000,
	ECVF_SetByProjectSetting = 0x04000000,
	ECVF_SetBySystemSettingsIni = 0x05000000,
	ECVF_SetByPluginLowPriority = 0x06000000,
	ECVF_SetByDeviceProfile = 0x07000000,
	ECVF_SetByPluginHighPriority = 0x08000000,
	ECVF_SetByGameOverride = 0x09000000,
	ECVF_SetByConsoleVariablesIni = 0x0A000000,
	ECVF_SetByHotfix = 0x0B000000,
	ECVF_SetByPreview = 0x0C000000,
	ECVF_SetByCommandline = 0x0D000000,
	ECVF_SetByCode = 0x0E000000,
	ECVF_SetByTemp = 0x0F000000,
	ECVF_SetByConsole = 0x10000000,
};

/** The ECVF_SetBy name of the flags ("Console", "SystemSettingsIni", ...). */
extern CORE_API const TCHAR* GetConsoleVariableSetByName(EConsoleVariableFlags ConsoleVariableFlags);

class IConsoleObject;
class IConsoleVariable;

DECLARE_DELEGATE_OneParam(FConsoleVariableDelegate, IConsoleVariable*);
DECLARE_DELEGATE(FConsoleCommandDelegate);
DECLARE_DELEGATE_OneParam(FConsoleCommandWithArgsDelegate, const TArray<FString>&);
DECLARE_DELEGATE_TwoParams(FConsoleCommandWithArgsAndOutputDeviceDelegate, const TArray<FString>&, FOutputDevice&);
DECLARE_DELEGATE_ThreeParams(FConsoleCommandWithWorldArgsAndOutputDeviceDelegate, const TArray<FString>&, UWorld*, FOutputDevice&);

/** A console variable or command. */
class IConsoleObject
{
public:
	IConsoleObject() = default;
	virtual ~IConsoleObject() = default;

	virtual const TCHAR* GetHelp() const = 0;
	virtual void SetHelp(const TCHAR* Value) = 0;
	virtual EConsoleVariableFlags GetFlags() const = 0;
	virtual void SetFlags(const EConsoleVariableFlags Value) = 0;

	void ClearFlags(const EConsoleVariableFlags Value)
	{
		SetFlags((EConsoleVariableFlags)((uint32)GetFlags() & ~(uint32)Value));
	}

	bool TestFlags(const EConsoleVariableFlags Value) const
	{
		return ((uint32)GetFlags() & (uint32)Value) != 0;
	}

	/** False once unregistered. */
	bool IsEnabled() const
	{
		return !TestFlags(ECVF_Unregistered);
	}

	virtual class IConsoleVariable* AsVariable()
	{
		return nullptr;
	}

	virtual bool IsVariableInt() const { return false; }
	virtual bool IsVariableString() const { return false; }

	virtual struct IConsoleCommand* AsCommand()
	{
		return nullptr;
	}

private:
	/** Only the manager destroys objects. */
	virtual void Release() = 0;

	friend class FConsoleManager;
};

/** A console variable. */
class IConsoleVariable : public IConsoleObject
{
public:
	struct FResolvedContext
	{
		EConsoleVariableFlags Flags;
		FName Tag;
	};

	struct FSetContext
	{
		FSetContext()
		{
		}

		FSetContext(EConsoleVariableFlags InFlags, FName InTag)
			: Flags(InFlags)
			, Tag(InTag)
		{
		}

		EConsoleVariableFlags Flags = ECVF_SetByCode;
		FName Tag = NAME_None;
	};

	virtual FResolvedContext ResolveContext(const FSetContext& Context) = 0;

	/** Sets the value from text, unless the last value came with a higher priority. */
	virtual void Set(const TCHAR* InValue, const FResolvedContext& Context) = 0;

	virtual bool GetBool() const = 0;
	virtual int32 GetInt() const = 0;
	virtual float GetFloat() const = 0;
	virtual FString GetString() const = 0;

	/** The value the variable was made with. */
	virtual FString GetDefaultValue() = 0;

	void Set(const TCHAR* InValue, const FSetContext& Context)
	{
		Set(InValue, this->ResolveContext(Context));
	}

	void Set(bool InValue, const FSetContext& Context)
	{
		Set(InValue ? TEXT("1") : TEXT("0"), Context);
	}

	void Set(int32 InValue, const FSetContext& Context)
	{
		Set(*FString::Printf(TEXT("%d"), InValue), Context);
	}

	template <typename T>
	void Set(T Value, EConsoleVariableFlags Flags = ECVF_SetByCode, FName Tag = NAME_None)
	{
		Set(Value, FSetContext(Flags, Tag));
	}
};

/** A console command. */
struct IConsoleCommand : public IConsoleObject
{
	/** True when a bound delegate ran. */
	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, class FOutputDevice& OutputDevice) = 0;
};

/** Holds every console variable and command of the process; names ignore case. */
struct IConsoleManager
{
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags = ECVF_Default) = 0;

	/**
	 * Removes the object. With bKeepState a variable stays, marked unregistered (not found, not run
	 * from the console), so that registering it again keeps its value; a command always goes.
	 */
	virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState = true) = 0;
	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState = true) = 0;

	/** Null when absent or unregistered. */
	virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	virtual FString FindConsoleObjectName(const IConsoleObject* Obj) const = 0;

	/**
	 * One line of console input: "Name" shows a variable, "Name Value" sets it (by the console),
	 * "Name ?" shows the help; a command gets the remaining tokens as arguments. False when no
	 * enabled object has the name, or a command's delegate did not run.
	 */
	virtual bool ProcessUserConsoleInput(const TCHAR* Input, FOutputDevice& Ar, UWorld* InWorld) = 0;

	virtual bool IsNameRegistered(const TCHAR* Name) const = 0;

	static IConsoleManager& Get()
	{
		if (!Singleton)
		{
			SetupSingleton();
			check(Singleton != nullptr);
		}
		return *Singleton;
	}

protected:
	virtual ~IConsoleManager() = default;

private:
	static CORE_API IConsoleManager* Singleton;
	static CORE_API void SetupSingleton();
};
