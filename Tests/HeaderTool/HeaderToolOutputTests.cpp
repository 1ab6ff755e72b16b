// Good headers: the manifest a dependent module reads, and what the generated code registers
// (metadata, flags, pin kinds, defaults, tooltips), read from the generated files.
#include "HeaderToolTestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace HeaderToolTest;
using testing::HasSubstr;
using testing::Not;

namespace
{
	const char* const ItemHeader = R"(#pragma once
#include "CoreMinimal.h"
#include "ItemTypes.generated.h"

/** Layout of a container. */
UENUM(BlueprintType)
enum class EItemLayout : uint8
{
	/** Cells of a grid. */
	Grid = 0,
	Slots = 1 UMETA(DisplayName="Flat slots"),
};

/** One stack. */
USTRUCT(BlueprintType)
struct TESTMOD_API FItemStack
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly, Category="Velmora")
	FString InstanceId;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, meta=(ClampMin="1"))
	int32 Quantity = 1;
};

DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParams(FItemDone, const FItemStack&, Stack,
	int32, Code);

/**
 * Moves stacks.
 *
 * Second paragraph.
 */
UCLASS(BlueprintType, Blueprintable, Config=Game, meta=(DisplayName="Velmora Mover"))
class TESTMOD_API UItemMover : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(BlueprintAssignable, Category="Velmora")
	FItemDone OnDone;

	UPROPERTY(Config, EditAnywhere)
	FString Address;

	/** Splits a stack. */
	UFUNCTION(BlueprintPure, Category="Velmora|USME", meta=(DisplayName="Velmora - Split"))
	static FItemStack Split(const FItemStack& Item, FName& OutId, UPARAM(ref) TArray<FString>& Values, const FString& Label, int32 Count = -1, float Scale = 0.5f, FName Tag = NAME_None);

	UFUNCTION(BlueprintCallable)
	bool IsReady() const;

	UFUNCTION(BlueprintImplementableEvent, Category="Velmora|Interaction")
	void OnMoved(const FItemStack& Stack, int32 Count);

	UFUNCTION(BlueprintCallable)
	void Place(EItemLayout Layout = EItemLayout::Slots, const FString& Label = TEXT("x"));

private:
	UPROPERTY()
	TObjectPtr<UObject> Context;

	UPROPERTY()
	TArray<UWidget*> Widgets;

	UPROPERTY()
	uint8 bFlag : 1;
};
)";

	const std::vector<std::string> EngineTypes = {
		"class\tname=UWidget\tmodule=UMG\tsuper=UObject\tinclude=Components/Widget.h\tbp=1\tflags=00200080",
	};

	FToolRun RunItems()
	{
		return RunTool({{"Public/ItemTypes.h", ItemHeader}}, EngineTypes);
	}

	std::string Quoted(const std::string& S)
	{
		return "TEXT(\"" + S + "\")";
	}

	std::string MetaPair(const std::string& Key, const std::string& Value)
	{
		return "{ " + Quoted(Key) + ", " + Quoted(Value) + " }";
	}
}

TEST(HeaderToolOutput, ManifestListsEveryTypeForDependentModules)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Manifest = Run.Read("TestMod.reflection");
	EXPECT_THAT(Manifest, HasSubstr("enum\tname=EItemLayout\tmodule=TestMod\tsuper=\tinclude=ItemTypes.h\tbp=1\tunderlying=uint8\tform=class"));
	EXPECT_THAT(Manifest, HasSubstr("struct\tname=FItemStack\tmodule=TestMod\tsuper=\tinclude=ItemTypes.h\tbp=1"));
	EXPECT_THAT(Manifest, HasSubstr("delegate\tname=FItemDone\tmodule=TestMod\tsuper=\tinclude=ItemTypes.h\tbp=0\tmulticast=1\tsignature=const FItemStack& Stack, int32 Code"));
	// Config comes with the class flags (CLASS_Config | CLASS_Native).
	EXPECT_THAT(Manifest, HasSubstr("class\tname=UItemMover\tmodule=TestMod\tsuper=UObject\tinclude=ItemTypes.h\tbp=1\tflags=00000084\tconfig=Game"));
	// Types of the dependency are not repeated.
	EXPECT_THAT(Manifest, Not(HasSubstr("UWidget")));
}

// A header moved to another module must not leave its .generated.h here, where an incremental
// build would find it ahead of the new owner's.
TEST(HeaderToolOutput, ARunRemovesWhatItWroteForHeadersNoLongerInTheModule)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::filesystem::path Out(Run.OutDir);
	const auto Touch = [](const std::filesystem::path& Path)
	{
		std::ofstream(Path) << "// left by an earlier run\n";
	};
	Touch(Out / "Inc" / "MovedAway.generated.h");
	Touch(Out / "MovedAway.gen.cpp");
	Touch(Out / "Inc" / "Notes.txt");
	ASSERT_EQ(std::system(Run.Command.c_str()), 0);
	EXPECT_FALSE(std::filesystem::exists(Out / "Inc" / "MovedAway.generated.h"));
	EXPECT_FALSE(std::filesystem::exists(Out / "MovedAway.gen.cpp"));
	EXPECT_TRUE(std::filesystem::exists(Out / "Inc" / "Notes.txt"));
	EXPECT_TRUE(std::filesystem::exists(Out / "Inc" / "ItemTypes.generated.h"));
	EXPECT_TRUE(std::filesystem::exists(Out / "ItemTypes.gen.cpp"));
	EXPECT_TRUE(std::filesystem::exists(Out / "TestMod.init.gen.cpp"));
}

TEST(HeaderToolOutput, DependentModuleResolvesTypesFromTheManifest)
{
	const FToolRun First = RunItems();
	ASSERT_EQ(First.ExitCode, 0) << First.Output;
	std::vector<std::string> Lines = EngineTypes;
	const std::string Manifest = First.Read("TestMod.reflection");
	size_t Start = 0;
	while (Start < Manifest.size())
	{
		const size_t End = Manifest.find('\n', Start);
		const std::string Line = Manifest.substr(Start, End - Start);
		if (!Line.empty() && Line[0] != '#' && Line.rfind("module", 0) != 0)
		{
			Lines.push_back(Line);
		}
		Start = End == std::string::npos ? Manifest.size() : End + 1;
	}
	const FToolRun Second = RunOne(R"(
UCLASS()
class UUser : public UItemMover
{
	GENERATED_BODY()
public:
	UPROPERTY(EditAnywhere, BlueprintReadWrite)
	TArray<FItemStack> Stacks;
	UPROPERTY(EditAnywhere, BlueprintReadWrite)
	EItemLayout Layout = EItemLayout::Grid;
	UPROPERTY(BlueprintAssignable)
	FItemDone OnOther;
};
)", Lines);
	ASSERT_EQ(Second.ExitCode, 0) << Second.Output;
	const std::string Cpp = Second.Read("TestHeader.gen.cpp");
	EXPECT_THAT(Cpp, HasSubstr("TESTMOD_API UScriptStruct* Z_Construct_UScriptStruct_FItemStack();"));
	EXPECT_THAT(Cpp, HasSubstr("TESTMOD_API UEnum* Z_Construct_UEnum_TestMod_EItemLayout();"));
	EXPECT_THAT(Cpp, HasSubstr("TESTMOD_API UFunction* Z_Construct_UDelegateFunction_TestMod_ItemDone__DelegateSignature();"));
	// Without a category in a plug-in module the property takes the class's name.
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("Category", "User")));
}

TEST(HeaderToolOutput, ClassMetadataCarriesPathsAndToolTip)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("IncludePath", "ItemTypes.h")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("ModuleRelativePath", "Public/ItemTypes.h")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("ToolTip", "Moves stacks.\\n\\nSecond paragraph.")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("IsBlueprintBase", "true")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("DisplayName", "Velmora Mover")));
}

// The generated code is the same for every configuration, as the engine's: metadata compiles only
// where the target keeps it, comments not in Shipping.
TEST(HeaderToolOutput, MetadataIsCompiledOnlyWhereTheTargetKeepsIt)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	std::vector<std::string> Open;
	int32_t Arrays = 0;
	int32_t Uses = 0;
	int32_t Comments = 0;
	size_t Start = 0;
	while (Start < Cpp.size())
	{
		size_t End = Cpp.find('\n', Start);
		End = End == std::string::npos ? Cpp.size() : End;
		const std::string Line = Cpp.substr(Start, End - Start);
		Start = End + 1;
		const std::string Trimmed = Line.substr(std::min(Line.find_first_not_of(" \t"), Line.size()));
		if (Trimmed.rfind("#if", 0) == 0)
		{
			Open.push_back(Trimmed);
			continue;
		}
		if (Trimmed.rfind("#endif", 0) == 0)
		{
			ASSERT_FALSE(Open.empty()) << "unbalanced #endif";
			Open.pop_back();
			continue;
		}
		const auto Inside = [&Open](const std::string& Directive)
		{
			for (const std::string& D : Open)
			{
				if (D == Directive)
				{
					return true;
				}
			}
			return false;
		};
		if (Line.find("FMetaDataPairParam") != std::string::npos)
		{
			++Arrays;
			EXPECT_TRUE(Inside("#if WITH_METADATA")) << Line;
		}
		if (Line.find(".MetaData = ") != std::string::npos || Line.find(".NumMetaData = ") != std::string::npos)
		{
			++Uses;
			EXPECT_TRUE(Inside("#if WITH_METADATA")) << Line;
			EXPECT_THAT(Line, Not(HasSubstr("NumMetaData = 0"))) << "the count comes from the array";
		}
		if (Line.find("{ TEXT(\"Comment\")") != std::string::npos)
		{
			++Comments;
			EXPECT_TRUE(Inside("#if !UE_BUILD_SHIPPING")) << Line;
		}
	}
	EXPECT_TRUE(Open.empty()) << "unbalanced #if";
	EXPECT_GT(Arrays, 0);
	EXPECT_EQ(Uses, 2 * Arrays) << "each array is pointed at once, with its count";
	EXPECT_GT(Comments, 0);
}

TEST(HeaderToolOutput, PinKindsFollowReferencesAndConst)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	// const FItemStack&: Parm|OutParm|ReferenceParm|ConstParm and NativeConst.
	EXPECT_THAT(Cpp, HasSubstr("P0.Name = TEXT(\"Item\");\n\t\tP0.Flags = 0x0010000008000182ull;"));
	// FName&: an output pin.
	EXPECT_THAT(Cpp, HasSubstr("P1.Name = TEXT(\"OutId\");\n\t\tP1.Flags = 0x0010000000000180ull;"));
	// UPARAM(ref) TArray<FString>&: passed by reference, read and written.
	EXPECT_THAT(Cpp, HasSubstr("P2.Name = TEXT(\"Values\");\n\t\tP2.Flags = 0x0010000008000180ull;"));
	// const FString&: a plain input.
	EXPECT_THAT(Cpp, HasSubstr("P4.Name = TEXT(\"Label\");\n\t\tP4.Flags = 0x0010000000000080ull;"));
	EXPECT_THAT(Cpp, HasSubstr("P8.Name = TEXT(\"ReturnValue\");\n\t\tP8.Flags = 0x0010000000000580ull;"));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("NativeConst", "")));
}

TEST(HeaderToolOutput, DefaultsAreStoredAsCppDefaultMetadata)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("CPP_Default_Count", "-1")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("CPP_Default_Scale", "0.500000")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("CPP_Default_Tag", "None")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("CPP_Default_Layout", "Slots")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("CPP_Default_Label", "x")));
}

TEST(HeaderToolOutput, FunctionFlagsIncludeAutomaticPurity)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	// IsReady: const BlueprintCallable with a result becomes pure:
	// Final|Native|Public|HasOutParms|BlueprintCallable|BlueprintPure|Const.
	EXPECT_THAT(Cpp, HasSubstr("Params.Name = TEXT(\"IsReady\");\n\t\tParams.FunctionFlags = 0x54420401u;"));
	// OnMoved: Event|Public|BlueprintEvent, not native; its const reference parameter counts as an output.
	EXPECT_THAT(Cpp, HasSubstr("Params.Name = TEXT(\"OnMoved\");\n\t\tParams.FunctionFlags = 0x08420800u;"));
	// Split: static, with defaults.
	EXPECT_THAT(Cpp, HasSubstr("Params.Name = TEXT(\"Split\");\n\t\tParams.FunctionFlags = 0x14C22401u;"));
}

TEST(HeaderToolOutput, EventBodyDispatchesThroughProcessEvent)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	EXPECT_THAT(Cpp, HasSubstr("void UItemMover::OnMoved(const FItemStack& Stack, int32 Count)\n{\n"
		"\tUFunction* Func = FindFunctionChecked(NAME_UItemMover_OnMoved);\n"
		"\tItemMover_eventOnMoved_Parms Parms{};\n\tParms.Stack=Stack;\n\tParms.Count=Count;\n\tProcessEvent(Func,&Parms);\n}"));
	// Events have no native thunk.
	EXPECT_THAT(Cpp, Not(HasSubstr("execOnMoved")));
	EXPECT_THAT(Cpp, HasSubstr("DEFINE_FUNCTION(UItemMover::execSplit)"));
}

TEST(HeaderToolOutput, PropertyFlagsAndTypeDerivedMetadata)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	// TObjectPtr member: private access, TObjectPtr and UObjectWrapper bits.
	EXPECT_THAT(Cpp, HasSubstr("TEXT(\"Context\");\n\t\tP2.Flags = 0x0144000000000000ull;"));
	// An array of a DefaultToInstanced class is edited inline.
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("EditInline", "true")));
	// Config member of a config class.
	EXPECT_THAT(Cpp, HasSubstr("TEXT(\"Address\");\n\t\tP1.Flags = 0x0010000000004001ull;"));
	// Bitfields are set through a helper, not an offset.
	EXPECT_THAT(Cpp, HasSubstr("->bFlag = 1; };"));
}

TEST(HeaderToolOutput, EnumEntriesCarryNamesAndMetadata)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	EXPECT_THAT(Cpp, HasSubstr("{ TEXT(\"EItemLayout::Grid\"), (int64)EItemLayout::Grid }"));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("Grid.ToolTip", "Cells of a grid.")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("Slots.DisplayName", "Flat slots")));
	EXPECT_THAT(Cpp, HasSubstr(MetaPair("Slots.Name", "EItemLayout::Slots")));
}

TEST(HeaderToolOutput, GeneratedHeaderKeysBodiesOnTheirLines)
{
	const FToolRun Run = RunItems();
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	const std::string H = Run.Read("Inc/ItemTypes.generated.h");
	const std::string Cpp = Run.Read("ItemTypes.gen.cpp");
	// The struct's GENERATED_BODY is on line 18, the class's on line 38.
	EXPECT_THAT(H, HasSubstr("_ItemTypes_h_18_GENERATED_BODY \\\n\tfriend struct Z_Construct_UScriptStruct_FItemStack_Statics;"));
	EXPECT_THAT(H, HasSubstr("_ItemTypes_h_38_GENERATED_BODY \\\n"));
	// A delegate macro spanning two lines is keyed on both.
	EXPECT_THAT(H, HasSubstr("_ItemTypes_h_27_DELEGATE \\\nTESTMOD_API void FItemDone_DelegateWrapper(const FMulticastScriptDelegate& ItemDone, const FItemStack& Stack, int32 Code);"));
	EXPECT_THAT(H, HasSubstr("_ItemTypes_h_28_DELEGATE"));
	EXPECT_THAT(H, HasSubstr("static const TCHAR* StaticConfigName() {return TEXT(\"Game\");}"));
	EXPECT_THAT(H, HasSubstr("#define CURRENT_FILE_ID FID_"));
	EXPECT_THAT(Cpp, HasSubstr("ItemDone.ProcessMulticastDelegate<UObject>(&Parms);"));
}

TEST(HeaderToolOutput, WithinClassIsDeclaredAndIncluded)
{
	const FToolRun Run = RunOne(R"(
UCLASS(Within=GameInstance)
class UOwnedThing : public UObject
{
	GENERATED_BODY()
};
)", {"class\tname=UGameInstance\tmodule=Engine\tsuper=UObject\tinclude=Engine/GameInstance.h\tbp=1\tflags=00000084\tconfig=Game"});
	ASSERT_EQ(Run.ExitCode, 0) << Run.Output;
	EXPECT_THAT(Run.Read("Inc/TestHeader.generated.h"), HasSubstr("DECLARE_WITHIN(UGameInstance)"));
	// Registration names the Within class's StaticClass, so its header is included.
	EXPECT_THAT(Run.Read("TestHeader.gen.cpp"), HasSubstr("#include \"Engine/GameInstance.h\""));
}
