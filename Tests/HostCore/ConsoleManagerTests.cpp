// Copyright Quarn. All Rights Reserved.

#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HAL/IConsoleManager.h"
#include "Host/ConsoleHost.h"
#include "Host/CoreHost.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/Paths.h"
#include <gtest/gtest.h>
#include <cstdlib>

namespace
{
	// Keeps what a command or the console writes, one entry per line it logged.
	class FLines : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type, const FName&) override
		{
			Lines.Add(V);
		}
		FString Joined() const
		{
			return FString::Join(Lines, TEXT("\n"));
		}
		TArray<FString> Lines;
	};

	// Unregisters (without keeping state) what a case registered, so cases stay independent.
	struct FConsoleNames
	{
		explicit FConsoleNames(std::initializer_list<const TCHAR*> InNames)
		{
			for (const TCHAR* Name : InNames)
			{
				Names.Add(Name);
			}
		}
		~FConsoleNames()
		{
			for (const FString& Name : Names)
			{
				IConsoleManager::Get().UnregisterConsoleObject(*Name, false);
			}
		}
		TArray<FString> Names;
	};
}

TEST(HostConsoleManager, VariablesShowSetAndHelpAsTheConsoleDoes)
{
	FConsoleNames Cleanup{ TEXT("Test.Level"), TEXT("Test.Label") };
	int32 Level = 3;
	IConsoleVariable* Variable = IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Level"), Level, TEXT("How much to say."));
	ASSERT_NE(Variable, nullptr);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("test.LEVEL")), Variable);
	EXPECT_EQ(Variable->GetString(), FString(TEXT("3")));
	EXPECT_EQ(Variable->GetDefaultValue(), FString(TEXT("3")));

	FLines Out;
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("test.level 7"), Out, nullptr));
	EXPECT_EQ(Level, 7);
	ASSERT_EQ(Out.Lines.Num(), 1);
	EXPECT_EQ(Out.Lines[0], FString(TEXT("Test.Level = \"7\"")));
	EXPECT_TRUE(Variable->TestFlags(ECVF_SetByConsole));

	Out.Lines.Reset();
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Level"), Out, nullptr));
	ASSERT_EQ(Out.Lines.Num(), 1);
	EXPECT_EQ(Out.Lines[0], FString(TEXT("Test.Level = \"7\"      LastSetBy: Console")));

	Out.Lines.Reset();
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Level ?"), Out, nullptr));
	ASSERT_EQ(Out.Lines.Num(), 2);
	EXPECT_EQ(Out.Lines[0], FString(TEXT("HELP for 'Test.Level':\nHow much to say.")));
	EXPECT_EQ(Level, 7);

	// A quoted value loses its quotes; a lower priority than the console's is ignored.
	IConsoleManager::Get().RegisterConsoleVariable(TEXT("Test.Label"), TEXT("none"), TEXT("A label."));
	Out.Lines.Reset();
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Label \"two words\""), Out, nullptr));
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("Test.Label"))->GetString(), FString(TEXT("two words")));
	Variable->Set(1, ECVF_SetBySystemSettingsIni);
	EXPECT_EQ(Level, 7);
	Variable->Set(2, ECVF_SetByConsole);
	EXPECT_EQ(Level, 2);

	// Not a console object: the console has nothing to do with it.
	Out.Lines.Reset();
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Nothing 1"), Out, nullptr));
	EXPECT_TRUE(Out.Lines.IsEmpty());
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("   "), Out, nullptr));
}

TEST(HostConsoleManager, CommandsGetTheirArgumentsAndGoWhenUnregistered)
{
	FConsoleNames Cleanup{ TEXT("Test.Echo"), TEXT("Test.Kept") };
	TArray<FString> Seen;
	IConsoleCommand* Command = IConsoleManager::Get().RegisterConsoleCommand(TEXT("Test.Echo"), TEXT("Writes its arguments."),
		FConsoleCommandWithWorldArgsAndOutputDeviceDelegate::CreateLambda([&Seen](const TArray<FString>& Args, UWorld* World, FOutputDevice& Ar)
		{
			Seen = Args;
			Ar.Logf(TEXT("%d arguments"), Args.Num());
		}));
	ASSERT_NE(Command, nullptr);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleObject(TEXT("Test.Echo"))->AsCommand(), Command);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("Test.Echo")), nullptr);

	FLines Out;
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("TEST.ECHO  one \"two three\"   four"), Out, nullptr));
	ASSERT_EQ(Seen.Num(), 3);
	EXPECT_EQ(Seen[0], FString(TEXT("one")));
	EXPECT_EQ(Seen[1], FString(TEXT("two three")));
	EXPECT_EQ(Seen[2], FString(TEXT("four")));
	EXPECT_EQ(Out.Joined(), FString(TEXT("3 arguments")));

	Out.Lines.Reset();
	Seen.Reset();
	EXPECT_TRUE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Echo?"), Out, nullptr));
	EXPECT_TRUE(Seen.IsEmpty());
	EXPECT_EQ(Out.Joined(), FString(TEXT("HELP for 'Test.Echo':\nWrites its arguments.")));

	// A command goes even when asked to keep state; a variable stays, unregistered, keeping its value.
	IConsoleManager::Get().UnregisterConsoleObject(Command);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleObject(TEXT("Test.Echo")), nullptr);
	EXPECT_FALSE(IConsoleManager::Get().IsNameRegistered(TEXT("Test.Echo")));
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Echo x"), Out, nullptr));

	int32 Kept = 0;
	IConsoleVariable* Variable = IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Kept"), Kept, TEXT("Kept."));
	Variable->Set(5, ECVF_SetByConsole);
	IConsoleManager::Get().UnregisterConsoleObject(Variable);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("Test.Kept")), nullptr);
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Kept 9"), Out, nullptr));
	EXPECT_EQ(Kept, 5);
	int32 Again = 0;
	EXPECT_EQ(IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Kept"), Again, TEXT("Kept again.")), Variable);
	EXPECT_EQ(Variable->GetInt(), 5);
	EXPECT_EQ(FString(Variable->GetHelp()), FString(TEXT("Kept again.")));
}

TEST(HostConsoleManager, IniValuesReachVariablesRegisteredBeforeOrAfterThem)
{
	FConsoleNames Cleanup{ TEXT("Test.Early"), TEXT("Test.Late"), TEXT("Test.Switch"), TEXT("Test.Held") };
	char Template[] = "/tmp/HostConsoleXXXXXX";
	const FString Dir = FString(UTF8_TO_TCHAR(mkdtemp(Template)));
	const FString OldProject = FPaths::ProjectDir();
	ASSERT_TRUE(FFileHelper::SaveStringToFile(
		TEXT("[SystemSettings]\nTest.Early=4\n[ConsoleVariables]\nTest.Late=12\nTest.Switch=True\nTest.Held=3\n"),
		*(Dir / TEXT("Config/DefaultEngine.ini"))));
	UE::Host::SetProjectDirectory(Dir);

	int32 Early = 0;
	int32 Held = 0;
	IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Early"), Early, TEXT("Registered before the ini is read."));
	IConsoleVariable* HeldVariable = IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Held"), Held, TEXT("Set from code first."));
	HeldVariable->Set(8, ECVF_SetByConsole);
	UE::Host::ApplyConsoleVariablesFromConfig();
	EXPECT_EQ(Early, 4);
	EXPECT_TRUE(IConsoleManager::Get().FindConsoleVariable(TEXT("Test.Early"))->TestFlags(ECVF_SetBySystemSettingsIni));
	// The console's value outranks the file's.
	EXPECT_EQ(Held, 8);

	// Not registered yet: found by nobody until it is, then registered with the file's value.
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("Test.Late")), nullptr);
	FLines Out;
	EXPECT_FALSE(IConsoleManager::Get().ProcessUserConsoleInput(TEXT("Test.Late"), Out, nullptr));
	int32 Late = 1;
	int32 Switch = 0;
	IConsoleVariable* LateVariable = IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Late"), Late, TEXT("Registered by a module that starts later."));
	IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Switch"), Switch, TEXT("A switch."));
	EXPECT_EQ(Late, 12);
	EXPECT_EQ(Switch, 1);
	EXPECT_EQ(FString(GetConsoleVariableSetByName(LateVariable->GetFlags())), FString(TEXT("SystemSettingsIni")));
	EXPECT_EQ(LateVariable->GetDefaultValue(), FString(TEXT("1")));

	UE::Host::SetProjectDirectory(OldProject);
	IFileManager::Get().DeleteDirectory(*Dir, false, true);
}

TEST(HostConsoleManager, CommandListsRunAsExecCmdsDoes)
{
	FConsoleNames Cleanup{ TEXT("Test.Count"), TEXT("Test.Bump") };
	int32 Count = 0;
	IConsoleManager::Get().RegisterConsoleVariableRef(TEXT("Test.Count"), Count, TEXT("A number."));
	int32 Bumps = 0;
	IConsoleManager::Get().RegisterConsoleCommand(TEXT("Test.Bump"), TEXT("Counts."),
		FConsoleCommandWithArgsDelegate::CreateLambda([&Bumps](const TArray<FString>&) { ++Bumps; }));

	FLines Out;
	EXPECT_EQ(UE::Host::ExecuteCommandList(TEXT("Test.Count 6, Test.Bump,Test.Bump , Not.A.Command 1"), Out), 3);
	EXPECT_EQ(Count, 6);
	EXPECT_EQ(Bumps, 2);
	EXPECT_EQ(Out.Lines.Last(), FString(TEXT("Command not recognized: Not.A.Command 1")));
}
