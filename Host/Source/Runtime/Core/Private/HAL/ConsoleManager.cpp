// Copyright Quarn. All Rights Reserved.

#include "HAL/IConsoleManager.h"
#include "Host/ConsoleHost.h"
#include "HAL/CriticalSection.h"
#include "Containers/Map.h"
#include "Logging/LogMacros.h"
#include "Misc/CString.h"
#include "Misc/Char.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/OutputDevice.h"
#include "Misc/ScopeLock.h"

DEFINE_LOG_CATEGORY_STATIC(LogConsoleManager, Log, All);

const TCHAR* GetConsoleVariableSetByName(EConsoleVariableFlags ConsoleVariableFlags)
{
	switch ((uint32)ConsoleVariableFlags & (uint32)ECVF_SetByMask)
	{
	case ECVF_SetByConstructor: return TEXT("Constructor");
	case ECVF_SetByScalability: return TEXT("Scalability");
	case ECVF_SetByGameSetting: return TEXT("GameSetting");
	case ECVF_SetByProjectSetting: return TEXT("ProjectSetting");
	case ECVF_SetBySystemSettingsIni: return TEXT("SystemSettingsIni");
	case ECVF_SetByPluginLowPriority: return TEXT("PluginLowPriority");
	case ECVF_SetByDeviceProfile: return TEXT("DeviceProfile");
	case ECVF_SetByPluginHighPriority: return TEXT("PluginHighPriority");
	case ECVF_SetByGameOverride: return TEXT("GameOverride");
	case ECVF_SetByConsoleVariablesIni: return TEXT("ConsoleVariablesIni");
	case ECVF_SetByHotfix: return TEXT("Hotfix");
	case ECVF_SetByPreview: return TEXT("Preview");
	case ECVF_SetByCommandline: return TEXT("Commandline");
	case ECVF_SetByCode: return TEXT("Code");
	case ECVF_SetByTemp: return TEXT("Temp");
	case ECVF_SetByConsole: return TEXT("Console");
	default: return TEXT("<UNKNOWN>");
	}
}

namespace ConsoleManager
{
	static bool IsSpace(TCHAR Value)
	{
		return Value == TCHAR(' ');
	}

	/** The next word of console input, up to a space; the spaces after it are skipped. */
	static FString TextSection(const TCHAR*& It)
	{
		FString Result;
		while (*It && !IsSpace(*It))
		{
			Result.AppendChar(*It++);
		}
		while (IsSpace(*It))
		{
			++It;
		}
		return Result;
	}

	/** A command argument as FParse::Token reads one: a quoted run without its quotes, or a word. */
	static bool Token(const TCHAR*& It, FString& Arg)
	{
		Arg.Reset();
		while (*It && TChar<TCHAR>::IsWhitespace(*It))
		{
			++It;
		}
		if (*It == TCHAR('"'))
		{
			++It;
			while (*It && *It != TCHAR('"'))
			{
				Arg.AppendChar(*It++);
			}
			if (*It == TCHAR('"'))
			{
				++It;
			}
			return true;
		}
		while (*It && !TChar<TCHAR>::IsWhitespace(*It))
		{
			Arg.AppendChar(*It++);
		}
		return !Arg.IsEmpty();
	}
}

/** Help, flags and the priority rule shared by every variable. */
class FConsoleVariableBase : public IConsoleVariable
{
public:
	FConsoleVariableBase(const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: Help(InHelp)
		, Flags(InFlags)
	{
	}

	virtual const TCHAR* GetHelp() const override { return *Help; }
	virtual void SetHelp(const TCHAR* Value) override { Help = Value; }
	virtual EConsoleVariableFlags GetFlags() const override { return Flags; }
	virtual void SetFlags(const EConsoleVariableFlags Value) override { Flags = Value; }
	virtual IConsoleVariable* AsVariable() override { return this; }

	virtual FResolvedContext ResolveContext(const FSetContext& Context) override
	{
		return FResolvedContext{ Context.Flags, Context.Tag };
	}

	virtual void Set(const TCHAR* InValue, const FResolvedContext& Context) override
	{
		const EConsoleVariableFlags SetBy = (EConsoleVariableFlags)((uint32)Context.Flags & (uint32)ECVF_SetByMask);
		if (!CanChange(SetBy))
		{
			return;
		}
		SetValue(InValue);
		Flags = (EConsoleVariableFlags)(((uint32)Flags & (uint32)ECVF_FlagMask) | (uint32)SetBy);
	}

	using IConsoleVariable::Set;

protected:
	virtual void SetValue(const TCHAR* InValue) = 0;

	bool CanChange(EConsoleVariableFlags SetBy) const
	{
		const uint32 OldPri = (uint32)Flags & (uint32)ECVF_SetByMask;
		const uint32 NewPri = (uint32)SetBy & (uint32)ECVF_SetByMask;
		if (NewPri >= OldPri)
		{
			return true;
		}
		const FString Name = IConsoleManager::Get().FindConsoleObjectName(this);
		const FString Message = FString::Printf(TEXT("Setting the console variable '%s' with 'SetBy%s' was ignored as it is lower priority than the previous 'SetBy%s'. Value remains '%s'"),
			Name.IsEmpty() ? TEXT("unknown?") : *Name, GetConsoleVariableSetByName((EConsoleVariableFlags)NewPri), GetConsoleVariableSetByName((EConsoleVariableFlags)OldPri), *GetString());
		if (OldPri == ECVF_SetByConsoleVariablesIni || OldPri == ECVF_SetByCommandline || OldPri == ECVF_SetBySystemSettingsIni || OldPri == ECVF_SetByHotfix)
		{
			// A hand-edited file won: deliberate, not worth a warning.
			UE_LOG(LogConsoleManager, Verbose, TEXT("%s"), *Message);
		}
		else
		{
			UE_LOG(LogConsoleManager, Warning, TEXT("%s"), *Message);
		}
		return false;
	}

	FString Help;
	EConsoleVariableFlags Flags;
};

/** An int variable over storage it owns or over the caller's. */
class FConsoleVariableInt : public FConsoleVariableBase
{
public:
	FConsoleVariableInt(int32* InRef, int32 InDefault, const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: FConsoleVariableBase(InHelp, InFlags)
		, Value(InRef != nullptr ? InRef : &Owned)
		, Owned(InDefault)
		, Default(InRef != nullptr ? *InRef : InDefault)
	{
	}

	virtual bool IsVariableInt() const override { return true; }
	virtual bool GetBool() const override { return *Value != 0; }
	virtual int32 GetInt() const override { return *Value; }
	virtual float GetFloat() const override { return (float)*Value; }
	virtual FString GetString() const override { return FString::Printf(TEXT("%d"), *Value); }
	virtual FString GetDefaultValue() override { return FString::Printf(TEXT("%d"), Default); }

private:
	virtual void SetValue(const TCHAR* InValue) override { *Value = FCString::Atoi(InValue); }
	virtual void Release() override { delete this; }

	int32* Value;
	int32 Owned;
	int32 Default;
};

/** A string variable over storage it owns or over the caller's. */
class FConsoleVariableString : public FConsoleVariableBase
{
public:
	FConsoleVariableString(FString* InRef, const FString& InDefault, const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: FConsoleVariableBase(InHelp, InFlags)
		, Value(InRef != nullptr ? InRef : &Owned)
		, Owned(InDefault)
		, Default(InRef != nullptr ? *InRef : InDefault)
	{
	}

	virtual bool IsVariableString() const override { return true; }
	virtual bool GetBool() const override { return FCString::ToBool(**Value); }
	virtual int32 GetInt() const override { return FCString::Atoi(**Value); }
	virtual float GetFloat() const override { return FCString::Atof(**Value); }
	virtual FString GetString() const override { return *Value; }
	virtual FString GetDefaultValue() override { return Default; }

private:
	virtual void SetValue(const TCHAR* InValue) override { *Value = InValue; }
	virtual void Release() override { delete this; }

	FString* Value;
	FString Owned;
	FString Default;
};

/** A command over one of the delegate kinds. */
template <typename DelegateType>
class FConsoleCommandOf : public IConsoleCommand
{
public:
	FConsoleCommandOf(const DelegateType& InDelegate, const TCHAR* InHelp, EConsoleVariableFlags InFlags)
		: Delegate(InDelegate)
		, Help(InHelp)
		, Flags(InFlags)
	{
	}

	virtual const TCHAR* GetHelp() const override { return *Help; }
	virtual void SetHelp(const TCHAR* Value) override { Help = Value; }
	virtual EConsoleVariableFlags GetFlags() const override { return Flags; }
	virtual void SetFlags(const EConsoleVariableFlags Value) override { Flags = Value; }
	virtual IConsoleCommand* AsCommand() override { return this; }

	virtual bool Execute(const TArray<FString>& Args, UWorld* InWorld, FOutputDevice& OutputDevice) override
	{
		if constexpr (std::is_same_v<DelegateType, FConsoleCommandDelegate>)
		{
			return Delegate.ExecuteIfBound();
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithArgsDelegate>)
		{
			return Delegate.ExecuteIfBound(Args);
		}
		else if constexpr (std::is_same_v<DelegateType, FConsoleCommandWithArgsAndOutputDeviceDelegate>)
		{
			return Delegate.ExecuteIfBound(Args, OutputDevice);
		}
		else
		{
			return Delegate.ExecuteIfBound(Args, InWorld, OutputDevice);
		}
	}

private:
	virtual void Release() override { delete this; }

	DelegateType Delegate;
	FString Help;
	EConsoleVariableFlags Flags;
};

class FConsoleManager : public IConsoleManager
{
public:
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariableInt(nullptr, DefaultValue, Help, (EConsoleVariableFlags)Flags))->AsVariable();
	}

	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return RegisterConsoleVariable(Name, FString(DefaultValue), Help, Flags);
	}

	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariableString(nullptr, DefaultValue, Help, (EConsoleVariableFlags)Flags))->AsVariable();
	}

	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, int32& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariableInt(&RefValue, 0, Help, (EConsoleVariableFlags)Flags))->AsVariable();
	}

	virtual IConsoleVariable* RegisterConsoleVariableRef(const TCHAR* Name, FString& RefValue, const TCHAR* Help, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleVariableString(&RefValue, FString(), Help, (EConsoleVariableFlags)Flags))->AsVariable();
	}

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandDelegate& Command, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleCommandOf<FConsoleCommandDelegate>(Command, Help, (EConsoleVariableFlags)Flags))->AsCommand();
	}

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsDelegate& Command, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleCommandOf<FConsoleCommandWithArgsDelegate>(Command, Help, (EConsoleVariableFlags)Flags))->AsCommand();
	}

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithArgsAndOutputDeviceDelegate& Command, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleCommandOf<FConsoleCommandWithArgsAndOutputDeviceDelegate>(Command, Help, (EConsoleVariableFlags)Flags))->AsCommand();
	}

	virtual IConsoleCommand* RegisterConsoleCommand(const TCHAR* Name, const TCHAR* Help, const FConsoleCommandWithWorldArgsAndOutputDeviceDelegate& Command, uint32 Flags) override
	{
		return AddConsoleObject(Name, new FConsoleCommandOf<FConsoleCommandWithWorldArgsAndOutputDeviceDelegate>(Command, Help, (EConsoleVariableFlags)Flags))->AsCommand();
	}

	virtual void UnregisterConsoleObject(IConsoleObject* Object, bool bKeepState) override
	{
		if (Object == nullptr)
		{
			return;
		}
		FScopeLock Lock(&Mutex);
		const FString Name = FindConsoleObjectName(Object);
		if (!Name.IsEmpty())
		{
			UnregisterConsoleObject(*Name, bKeepState);
		}
	}

	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState) override
	{
		FScopeLock Lock(&Mutex);
		IConsoleObject* Object = FindConsoleObject(Name, true);
		if (Object == nullptr)
		{
			return;
		}
		IConsoleVariable* Variable = Object->AsVariable();
		if (Variable != nullptr && bKeepState)
		{
			// Kept so that a module registering it again finds its value.
			Variable->SetFlags(ECVF_Unregistered);
		}
		else
		{
			Objects.Remove(Name);
			Object->Release();
		}
	}

	virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls) const override
	{
		IConsoleObject* Object = FindConsoleObject(Name, bTrackFrequentCalls);
		if (Object == nullptr || Object->TestFlags(ECVF_Unregistered))
		{
			return nullptr;
		}
		return Object->AsVariable();
	}

	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls) const override
	{
		FScopeLock Lock(&Mutex);
		IConsoleObject* const* Found = Objects.Find(FString(Name));
		IConsoleObject* Object = Found != nullptr ? *Found : nullptr;
		// A value read from an ini before its variable exists is nobody's variable yet.
		if (Object != nullptr && Object->TestFlags(ECVF_CreatedFromIni))
		{
			return nullptr;
		}
		return Object;
	}

	virtual FString FindConsoleObjectName(const IConsoleObject* Object) const override
	{
		check(Object);
		FScopeLock Lock(&Mutex);
		for (const TPair<FString, IConsoleObject*>& Pair : Objects)
		{
			if (Pair.Value == Object)
			{
				return Pair.Key;
			}
		}
		return FString();
	}

	virtual bool ProcessUserConsoleInput(const TCHAR* InInput, FOutputDevice& Ar, UWorld* InWorld) override
	{
		check(InInput);
		const TCHAR* It = InInput;
		FString Name = ConsoleManager::TextSection(It);
		if (Name.IsEmpty())
		{
			return false;
		}
		const bool bEndedInQuestion = Name.EndsWith(TEXT("?"), ESearchCase::CaseSensitive);
		if (bEndedInQuestion)
		{
			Name.LeftChopInline(1);
		}

		IConsoleObject* Object = FindConsoleObject(*Name, true);
		if (Object == nullptr || !Object->IsEnabled())
		{
			return false;
		}
		// The registered spelling, for the printout.
		Name = FindConsoleObjectName(Object);

		if (IConsoleCommand* Command = Object->AsCommand())
		{
			TArray<FString> Args;
			FString Arg;
			while (ConsoleManager::Token(It, Arg))
			{
				Args.Add(Arg);
			}
			if (bEndedInQuestion || (Args.Num() == 1 && Args[0] == TEXT("?")))
			{
				Ar.Logf(TEXT("HELP for '%s':\n%s"), *Name, Command->GetHelp());
				return true;
			}
			return Command->Execute(Args, InWorld, Ar);
		}

		IConsoleVariable* Variable = Object->AsVariable();
		bool bShowHelp = bEndedInQuestion;
		bool bShowState = false;
		if (*It == 0)
		{
			bShowState = true;
		}
		else
		{
			FString Value = FString(It).TrimStartAndEnd();
			if (Value.Len() >= 2)
			{
				if (Value[0] == TCHAR('"') && Value[Value.Len() - 1] == TCHAR('"'))
				{
					Value = Value.Mid(1, Value.Len() - 2);
				}
				if (Value.Len() > 0 && Value[0] == TCHAR('='))
				{
					Ar.Logf(TEXT("Warning: Processing the console input parameters the leading '=' is ignored (only needed for ini files)."));
					Value = Value.Mid(1);
				}
			}
			if (Value == TEXT("?"))
			{
				bShowHelp = true;
			}
			else if (Variable->TestFlags(ECVF_ReadOnly))
			{
				Ar.Logf(TEXT("Error: %s is read only!"), *Name);
			}
			else
			{
				Variable->Set(*Value, ECVF_SetByConsole);
				Ar.Logf(TEXT("%s = \"%s\""), *Name, *Variable->GetString());
			}
		}
		if (bShowHelp)
		{
			Ar.Logf(TEXT("HELP for '%s'%s:\n%s"), *Name, Variable->TestFlags(ECVF_ReadOnly) ? TEXT("(ReadOnly)") : TEXT(""), Variable->GetHelp());
			bShowState = true;
		}
		if (bShowState)
		{
			Ar.Logf(TEXT("%s = \"%s\"      LastSetBy: %s"), *Name, *Variable->GetString(), GetConsoleVariableSetByName(Variable->GetFlags()));
		}
		return true;
	}

	virtual bool IsNameRegistered(const TCHAR* Name) const override
	{
		FScopeLock Lock(&Mutex);
		return Objects.Contains(FString(Name));
	}

private:
	IConsoleObject* AddConsoleObject(const TCHAR* Name, IConsoleObject* Object)
	{
		check(Name != nullptr && *Name != 0 && Object != nullptr);
		FScopeLock Lock(&Mutex);
		IConsoleObject** Found = Objects.Find(FString(Name));
		if (Found == nullptr)
		{
			Objects.Add(Name, Object);
			return Object;
		}

		IConsoleObject* Existing = *Found;
		if (!(Existing->AsVariable() != nullptr && Existing->TestFlags(ECVF_Unregistered)))
		{
			UE_LOG(LogConsoleManager, Warning, TEXT("Console object named '%s' already exists but is being registered again, but we weren't expected it to be! (FConsoleManager::AddConsoleObject)"), Name);
		}
		IConsoleVariable* ExistingVariable = Existing->AsVariable();
		IConsoleVariable* Variable = Object->AsVariable();
		if ((ExistingVariable != nullptr) != (Variable != nullptr))
		{
			UE_LOG(LogConsoleManager, Fatal, TEXT("Console object named '%s' can't be replaced with the new one of different type!"), Name);
		}
		if (ExistingVariable != nullptr)
		{
			if (ExistingVariable->TestFlags(ECVF_CreatedFromIni))
			{
				// The ini's value, at the ini's priority, goes into the real variable; a cheat keeps its own.
				if (!Variable->TestFlags(ECVF_Cheat))
				{
					Variable->Set(*ExistingVariable->GetString(), (EConsoleVariableFlags)((uint32)ExistingVariable->GetFlags() & (uint32)ECVF_SetByMask));
				}
				ExistingVariable->Release();
				*Found = Variable;
				return Variable;
			}
			// Registered again after it was unregistered: the old object keeps its value and
			// takes the new flags and help, so pointers to it stay good.
			ExistingVariable->SetFlags(Variable->GetFlags());
			ExistingVariable->SetHelp(Variable->GetHelp());
			Object->Release();
			return ExistingVariable;
		}
		*Found = Object;
		Existing->Release();
		return Object;
	}

	TMap<FString, IConsoleObject*> Objects;
	mutable FCriticalSection Mutex;
};

IConsoleManager* IConsoleManager::Singleton = nullptr;

void IConsoleManager::SetupSingleton()
{
	// Never destroyed, as in the engine: modules unregister into it during their shutdown.
	Singleton = new FConsoleManager();
}

namespace UE::Host
{
	namespace ConsoleHost
	{
		static const TCHAR* HumanFriendlyValue(const TCHAR* Value)
		{
			if (FCString::Stricmp(Value, TEXT("True")) == 0 || FCString::Stricmp(Value, TEXT("Yes")) == 0 || FCString::Stricmp(Value, TEXT("On")) == 0)
			{
				return TEXT("1");
			}
			if (FCString::Stricmp(Value, TEXT("False")) == 0 || FCString::Stricmp(Value, TEXT("No")) == 0 || FCString::Stricmp(Value, TEXT("Off")) == 0)
			{
				return TEXT("0");
			}
			return Value;
		}
	}

	void SetConsoleVariableFromIni(const TCHAR* IniFile, const TCHAR* Key, const TCHAR* InValue, uint32 SetBy)
	{
		const TCHAR* Value = ConsoleHost::HumanFriendlyValue(InValue);
		IConsoleVariable* Variable = IConsoleManager::Get().FindConsoleVariable(Key, false);
		if (Variable != nullptr)
		{
			if (Variable->TestFlags(ECVF_Cheat))
			{
				UE_LOG(LogConfig, Warning, TEXT("The ini file '%s' tries to set the console variable '%s' marked with ECVF_Cheat, this is only allowed in consolevariables.ini"), IniFile, Key);
				return;
			}
			const bool bFirstSet = ((uint32)Variable->GetFlags() & (uint32)ECVF_SetByMask) == (uint32)ECVF_SetByConstructor;
			const FString Before = Variable->GetString();
			Variable->Set(Value, (EConsoleVariableFlags)SetBy);
			UE_CLOG(bFirstSet || Before != Variable->GetString(), LogConfig, Log, TEXT("Set CVar [[%s:%s]]"), Key, Value);
			return;
		}
		// Kept until the variable is registered (a plug-in module starts later); it then takes
		// this value at this priority.
		IConsoleManager::Get().RegisterConsoleVariable(Key, Value, TEXT("IAmNoRealVariable"), (uint32)ECVF_Unregistered | (uint32)ECVF_CreatedFromIni | SetBy);
		UE_LOG(LogConfig, Log, TEXT("CVar [[%s:%s]] deferred - dummy variable created"), Key, Value);
	}

	void ApplyCVarSettingsFromIni(const TCHAR* SectionName, const FString& IniFilename, uint32 SetBy)
	{
		UE_LOG(LogConfig, Log, TEXT("Applying CVar settings from Section [%s] File [%s]"), SectionName, *IniFilename);
		TArray<FString> Lines;
		if (GConfig == nullptr || !GConfig->GetSection(SectionName, Lines, IniFilename))
		{
			return;
		}
		for (const FString& Line : Lines)
		{
			FString Key;
			FString Value;
			if (Line.Split(TEXT("="), &Key, &Value, ESearchCase::CaseSensitive) && !Key.IsEmpty())
			{
				SetConsoleVariableFromIni(*IniFilename, *Key, *Value, SetBy);
			}
		}
	}

	void ApplyConsoleVariablesFromConfig()
	{
		ApplyCVarSettingsFromIni(TEXT("SystemSettings"), GEngineIni, ECVF_SetBySystemSettingsIni);
		ApplyCVarSettingsFromIni(TEXT("ConsoleVariables"), GEngineIni, ECVF_SetBySystemSettingsIni);
	}

	bool ExecuteConsoleCommand(const FString& Command, FOutputDevice& Ar, UWorld* World)
	{
		const FString Trimmed = Command.TrimStartAndEnd();
		if (Trimmed.IsEmpty())
		{
			return false;
		}
		if (IConsoleManager::Get().ProcessUserConsoleInput(*Trimmed, Ar, World))
		{
			return true;
		}
		Ar.Logf(TEXT("Command not recognized: %s"), *Trimmed);
		return false;
	}

	int32 ExecuteCommandList(const FString& Commands, FOutputDevice& Ar, UWorld* World)
	{
		TArray<FString> Lines;
		Commands.ParseIntoArray(Lines, TEXT(","), true);
		int32 Recognized = 0;
		for (const FString& Line : Lines)
		{
			if (ExecuteConsoleCommand(Line, Ar, World))
			{
				++Recognized;
			}
		}
		return Recognized;
	}
}
