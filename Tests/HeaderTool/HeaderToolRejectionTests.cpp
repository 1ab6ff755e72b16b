// Every rejection the engine's header tool makes that the plug-in could run into, each proven
// with a small bad header: the exact message, the line, and a failing exit code.
#include "HeaderToolTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace HeaderToolTest;
using testing::HasSubstr;
using testing::Not;

namespace
{
	// Bodies are written as raw strings that start with a newline: line 1 is the line after it.
	std::string Body(const char* Raw)
	{
		std::string S = Raw;
		if (!S.empty() && S[0] == '\n')
		{
			S.erase(0, 1);
		}
		return S;
	}

	void ExpectRejected(const char* Raw, int BodyLine, const std::string& Message, const std::vector<std::string>& Manifest = {})
	{
		const FToolRun Run = RunOne(Body(Raw), Manifest);
		EXPECT_NE(Run.ExitCode, 0) << Run.Output;
		EXPECT_THAT(Run.Output, HasSubstr(ErrorLine(Run, PreambleLines + BodyLine, Message)));
	}

	void ExpectAccepted(const char* Raw, const std::vector<std::string>& Manifest = {})
	{
		const FToolRun Run = RunOne(Body(Raw), Manifest);
		EXPECT_EQ(Run.ExitCode, 0) << Run.Output;
		EXPECT_THAT(Run.Output, Not(HasSubstr("Error:")));
	}

	const std::vector<std::string> EngineTypes = {
		"class\tname=AActor\tmodule=Engine\tsuper=UObject\tinclude=GameFramework/Actor.h\tbp=1\tflags=00000080",
		"class\tname=UWidget\tmodule=Engine\tsuper=UObject\tinclude=Components/Widget.h\tbp=1\tflags=00200080",
	};
}

TEST(HeaderTool, UnknownClassSpecifierIsRejected)
{
	ExpectRejected(R"(
UCLASS(Blueprintabel)
class UFoo : public UObject
{
	GENERATED_BODY()
};
)", 1, "Unknown specifier 'Blueprintabel' found while parsing class specifiers");
}

TEST(HeaderTool, SpecifierLookupIgnoresCase)
{
	ExpectAccepted(R"(
UCLASS(blueprinttype)
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(blueprintcallable)
	void Run();
};
)");
}

TEST(HeaderTool, UnknownFunctionAndPropertySpecifiersAreRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintCalable)
	void Run();
};
)", 6, "Unknown specifier 'BlueprintCalable' found while parsing function specifiers");
	ExpectRejected(R"(
USTRUCT()
struct FFoo
{
	GENERATED_BODY()

	UPROPERTY(EditAnywere)
	int32 Count = 0;
};
)", 6, "Unknown specifier 'EditAnywere' found while parsing variable specifiers");
}

TEST(HeaderTool, ClassSpecifierWithUnexpectedValueIsRejected)
{
	ExpectRejected(R"(
UCLASS(Abstract=true)
class UFoo : public UObject
{
	GENERATED_BODY()
};
)", 1, "The specifier 'Abstract' found a value when none was expected");
}

TEST(HeaderTool, CategoryWithoutValueIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(EditAnywhere, Category)
	int32 Count = 0;
};
)", 6, "The specifier 'Category' expects a value");
}

TEST(HeaderTool, BlueprintPureWithoutOutputsIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintPure)
	void DoNothing();
};
)", 6, "BlueprintPure specifier is not allowed for functions with no return value and no output parameters.");
}

TEST(HeaderTool, BlueprintPureWithOnlyAnOutParameterIsAccepted)
{
	ExpectAccepted(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintPure)
	void GetCount(int32& OutCount) const;
};
)");
}

TEST(HeaderTool, PrivateBlueprintVisibleMemberNeedsAllowPrivateAccess)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
private:
	UPROPERTY(BlueprintReadOnly, Category="A")
	int32 Count = 0;
};
)", 6, "BlueprintReadOnly should not be used on private members");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadWrite, meta=(AllowPrivateAccess=false))
	int32 Count = 0;
};
)", 6, "BlueprintReadWrite should not be used on private members");
}

TEST(HeaderTool, AllowPrivateAccessWorksInAnyOrder)
{
	ExpectAccepted(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
private:
	UPROPERTY(meta=(AllowPrivateAccess="true"), BlueprintReadOnly)
	int32 A = 0;
	UPROPERTY(BlueprintReadWrite, meta=(AllowPrivateAccess))
	int32 B = 0;
protected:
	UPROPERTY(BlueprintReadWrite)
	int32 C = 0;
};
)");
}

TEST(HeaderTool, BlueprintAssignableNeedsAMulticastDelegate)
{
	ExpectRejected(R"(
DECLARE_DYNAMIC_DELEGATE(FSingle);

UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(BlueprintAssignable)
	FSingle OnSingle;
};
)", 9, "'BlueprintAssignable' is only allowed on multicast delegate properties");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(BlueprintAssignable)
	int32 Count;
};
)", 7, "'BlueprintAssignable' is only allowed on multicast delegate properties");
}

TEST(HeaderTool, MissingGeneratedBodyIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
public:
	int32 X = 0;
};
)", 2, "Expected a GENERATED_BODY() at the start of the class");
	ExpectRejected(R"(
USTRUCT()
struct FFoo
{
	int32 X = 0;
};
)", 2, "Expected a GENERATED_BODY() at the start of the struct");
}

TEST(HeaderTool, StructGeneratedBodyMustBePublic)
{
	ExpectRejected(R"(
USTRUCT()
struct FFoo
{
private:
	GENERATED_BODY()
};
)", 5, "GENERATED_BODY must be in the public scope of 'FFoo', not private or protected.");
}

TEST(HeaderTool, IncludeAfterGeneratedHeaderIsRejected)
{
	const FToolRun Run = RunTool({{"Public/Late.h", "#pragma once\n#include \"Late.generated.h\"\n#include \"Other.h\"\nUCLASS()\nclass ULate : public UObject\n{\n\tGENERATED_BODY()\n};\n"}});
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr(ErrorLine(Run, 3,
		"#include found after .generated.h file - the .generated.h file should always be the last #include in a header")));
}

TEST(HeaderTool, MissingGeneratedHeaderIsRejected)
{
	const FToolRun Run = RunTool({{"Public/NoGen.h", "#pragma once\n#include \"CoreMinimal.h\"\n\nUCLASS()\nclass UNoGen : public UObject\n{\n\tGENERATED_BODY()\n};\n"}});
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr(ErrorLine(Run, 5,
		"The given include must appear at the top of the header following all other includes: '#include \"NoGen.generated.h\"'")));
}

TEST(HeaderTool, GeneratedHeaderWithAPathPrefixDoesNotCount)
{
	const FToolRun Run = RunTool({{"Public/Pre.h", "#pragma once\n#include \"Sub/Pre.generated.h\"\nUCLASS()\nclass UPre : public UObject\n{\n\tGENERATED_BODY()\n};\n"}});
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr("The given include must appear at the top of the header"));
}

TEST(HeaderTool, WrongClassPrefixIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class FThing : public UObject
{
	GENERATED_BODY()
};
)", 2, "Class 'FThing' has an invalid Unreal prefix, expecting 'UThing'");
	ExpectRejected(R"(
UCLASS()
class UMyActor : public AActor
{
	GENERATED_BODY()
};
)", 2, "Class 'UMyActor' has an invalid Unreal prefix, expecting 'AMyActor'", EngineTypes);
}

TEST(HeaderTool, ClassWithoutSuperIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UAlone
{
	GENERATED_BODY()
};
)", 2, "UClass 'UAlone' should derive from UObject or another UClass");
}

TEST(HeaderTool, TypesBlueprintCannotHoldAreRejectedWhenExposed)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(BlueprintReadWrite)
	int16 Small = 0;
};
)", 7, "Type 'int16' is not supported by blueprint. Class: UFoo Property: Small");
	ExpectRejected(R"(
USTRUCT(BlueprintType)
struct FFoo
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly)
	TArray<uint32> Values;
};
)", 7, "Type 'TArray<uint32>' is not supported by blueprint. Struct: FFoo Property: Values");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintCallable)
	void Take(uint64 Big);
};
)", 7, "Type 'uint64' is not supported by blueprint. Function:  Take Parameter Big");
}

TEST(HeaderTool, NonBlueprintTypesAreFineWithoutBlueprintExposure)
{
	ExpectAccepted(R"(
USTRUCT()
struct FPlain
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere)
	int16 Small = 0;
	UPROPERTY()
	uint32 Big = 0;
	UPROPERTY()
	uint8 bFlag : 1;
};
)");
}

TEST(HeaderTool, StructWithoutBlueprintTypeIsRejectedAsBlueprintParameter)
{
	ExpectRejected(R"(
USTRUCT()
struct FPlain
{
	GENERATED_BODY()
};

UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintCallable)
	void Take(const FPlain& Plain);
};
)", 13, "Type 'FPlain' is not supported by blueprint. Function:  Take Parameter Plain");
	ExpectRejected(R"(
USTRUCT()
struct FPlain
{
	GENERATED_BODY()

	UPROPERTY(BlueprintReadOnly)
	int32 Value = 0;
};
)", 7, "Cannot expose property to blueprints in a struct that is not a BlueprintType. Struct: FPlain Property: Value");
}

TEST(HeaderTool, ObjectPtrInFunctionSignatureIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION()
	void Take(TObjectPtr<UObject> Thing);
};
)", 7, "UFunctions cannot take a TObjectPtr as a function parameter or return value.");
}

TEST(HeaderTool, DefaultValuesMustBeLiterals)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintCallable)
	void Place(int32 X = INDEX_NONE);
};
)", 7, "C++ Default parameter not parsed: X 'INDEX_NONE'");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintCallable)
	void Name(const FString& Label = FString());
};
)", 7, "C++ Default parameter not parsed: Label 'FString()'");
}

TEST(HeaderTool, DefaultValuesOfNonBlueprintFunctionsAreIgnored)
{
	ExpectAccepted(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION()
	void Place(int32 X = INDEX_NONE);
};
)");
}

TEST(HeaderTool, PrivateBlueprintImplementableEventIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
private:
	UFUNCTION(BlueprintImplementableEvent)
	void OnThing();
};
)", 6, "A Private function cannot be a BlueprintImplementableEvent!");
}

TEST(HeaderTool, VirtualBlueprintNativeEventIsRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintNativeEvent)
	virtual void OnThing();
	virtual void OnThing_Implementation();
};
)", 6, "BlueprintNativeEvent functions must be non-virtual.");
}

TEST(HeaderTool, VirtualBlueprintImplementableEventOnlyWarns)
{
	const FToolRun Run = RunOne(Body(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintImplementableEvent)
	virtual void OnThing();
};
)"));
	EXPECT_EQ(Run.ExitCode, 0) << Run.Output;
	EXPECT_THAT(Run.Output, HasSubstr(WarningLine(Run, PreambleLines + 6, "BlueprintImplementableEvents should not be virtual. Use BlueprintNativeEvent instead.")));
}

TEST(HeaderTool, BothEventKindsOnOneFunctionAreRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION(BlueprintImplementableEvent, BlueprintNativeEvent)
	void OnThing();
};
)", 6, "A function cannot be both BlueprintNativeEvent and BlueprintImplementableEvent!");
}

TEST(HeaderTool, DuplicateFunctionNamesAreRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
public:
	UFUNCTION()
	void Refresh();
	UFUNCTION()
	void refresh(int32 Count);
};
)", 8, "'refresh' conflicts with 'Function /Script/TestMod.Foo:Refresh'");
}

TEST(HeaderTool, ReflectionMacrosInUnrecognisedPreprocessorBlocksAreRejected)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
#if PLATFORM_WINDOWS
	UPROPERTY()
	int32 WindowsOnly = 0;
#endif
};
)", 6, "'UPROPERTY' must not be inside preprocessor blocks, except for WITH_EDITORONLY_DATA");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
#if WITH_ENGINE
	UFUNCTION()
	void Run();
#endif
};
)", 6, "'UFUNCTION' must not be inside preprocessor blocks, except for WITH_EDITOR, WITH_EDITORONLY_DATA, WITH_TESTS, WITH_VERSE_BPVM, or WITH_VERSE_VM");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
#if WITH_EDITOR
	UPROPERTY()
	int32 EditorValue = 0;
#endif
};
)", 6, "UProperties should not be wrapped by WITH_EDITOR, use WITH_EDITORONLY_DATA instead.");
}

TEST(HeaderTool, ZeroBlocksAndEditorOnlyDataAreAccepted)
{
	ExpectAccepted(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
#if 0
	UPROPERTY()
	int32 Never = 0;
#endif
#if WITH_EDITORONLY_DATA
	UPROPERTY()
	int32 EditorOnly = 0;
#endif
#if WITH_EDITOR
	UFUNCTION()
	void EditorFunction();
#endif
};
)");
}

TEST(HeaderTool, UnbalancedDirectivesAreRejected)
{
	ExpectRejected(R"(
#if WITH_EDITOR
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
};
)", 1, "Missing #endif");
	ExpectRejected(R"(
#endif
)", 1, "Unmatched '#endif'");
}

TEST(HeaderTool, DelegateMacroMustMatchItsParameterCount)
{
	ExpectRejected(R"(
DECLARE_DYNAMIC_MULTICAST_DELEGATE_OneParam(FOnTwo, int32, A, int32, B);
)", 1, "Expected 1 parameters but found 2 parameters");
	ExpectRejected(R"(
DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParam(FOnTwo, int32, A, int32, B);
)", 1, "Unable to parse delegate declaration; expected 'DECLARE_DYNAMIC_MULTICAST_DELEGATE' but found 'DECLARE_DYNAMIC_MULTICAST_DELEGATE_TwoParam'.");
	ExpectRejected(R"(
DECLARE_DYNAMIC_MULTICAST_DELEGATE_RetVal_OneParam(int32, FOnValue, int32, A);
)", 1, "Multi-cast delegates function signatures must not return a value");
	ExpectRejected(R"(
DECLARE_DYNAMIC_DELEGATE(OnNoPrefix);
)", 1, "Delegate type declarations must start with F");
}

TEST(HeaderTool, EnumBaseRules)
{
	ExpectRejected(R"(
UENUM(BlueprintType)
enum class EWide
{
	A,
};
)", 1, "Invalid BlueprintType enum base - currently only uint8 supported");
	ExpectRejected(R"(
UENUM()
enum class EOdd : char
{
	A,
};
)", 2, "Unsupported enum underlying base type 'char'");
	ExpectRejected(R"(
UENUM(Flags)
enum EPlain
{
	A,
};
)", 1, "The 'Flags' specifier can only be used on enum classes");
	ExpectRejected(R"(
UENUM()
enum class EBool : uint8
{
	True,
};
)", 4, "Enumerations can't have any elements named 'true' or 'false' regardless of case");
}

TEST(HeaderTool, BlueprintEnumWithoutZeroEntryWarns)
{
	const FToolRun Run = RunOne(Body(R"(
UENUM(BlueprintType)
enum class EOne : uint8
{
	A = 1,
};
)"));
	EXPECT_EQ(Run.ExitCode, 0) << Run.Output;
	EXPECT_THAT(Run.Output, HasSubstr(WarningLine(Run, PreambleLines + 1, "'EOne' does not have a 0 entry! (This is a problem when the enum is initialized by default)")));
}

TEST(HeaderTool, UFunctionInsideAStructIsRejected)
{
	ExpectRejected(R"(
USTRUCT()
struct FFoo
{
	GENERATED_BODY()

	UFUNCTION()
	void Run();
};
)", 6, "Invalid use of keyword 'UFUNCTION'.  It may only appear in Class, IInterface, Interface, and VModule scopes");
}

TEST(HeaderTool, PropertyShapeRejections)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY(EditAnywhere, VisibleAnywhere)
	int32 Both = 0;
};
)", 5, "Found more than one edit/visibility specifier (VisibleAnywhere), only one is allowed");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY()
	int32 A, B;
};
)", 6, "Comma delimited properties are not supported");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY()
	uint8 bWide : 2;
};
)", 6, "Bad or missing bit field size for 'bWide', must be 1.");
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY()
	FMystery Thing;
};
)", 6, "Unable to find 'class', 'delegate', 'enum', or 'struct' with name 'FMystery'");
	ExpectRejected(R"(
USTRUCT()
struct FFoo
{
	GENERATED_BODY()
	UPROPERTY()
	FFoo* Self;
};
)", 6, "Inappropriate '*' on variable of type 'FFoo*', cannot have an exposed pointer to this type.");
}

TEST(HeaderTool, RawEnumMemberIsRejected)
{
	ExpectRejected(R"(
UENUM()
enum ERaw
{
	RawA,
};

UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY()
	ERaw Value;
};
)", 12, "You cannot use the raw enum name as a type for member variables, instead use TEnumAsByte or a C++11 enum class with an explicit underlying type.");
}

TEST(HeaderTool, ConfigPropertyNeedsAConfigClass)
{
	ExpectRejected(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY(Config)
	FString Address;
};
)", 2, "Classes with config / globalconfig member variables need to specify config file.");
	ExpectAccepted(R"(
UCLASS(Config=Game, DefaultConfig)
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY(Config)
	FString Address;
};
)");
}

TEST(HeaderTool, CategoryWithoutExposureWarns)
{
	const FToolRun Run = RunOne(Body(R"(
UCLASS()
class UFoo : public UObject
{
	GENERATED_BODY()
	UPROPERTY(Category="Velmora")
	int32 Hidden = 0;
};
)"));
	EXPECT_EQ(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr("Warning: Property has a Category set but is not exposed to the editor or Blueprints"));
}

TEST(HeaderTool, EngineModulesNeedCategories)
{
	const std::string Text = "#pragma once\n#include \"EngineThing.generated.h\"\nUCLASS()\nclass UEngineThing : public UObject\n{\n\tGENERATED_BODY()\npublic:\n\tUPROPERTY(EditAnywhere)\n\tint32 Count = 0;\n};\n";
	const FToolRun Run = RunTool({{"Public/EngineThing.h", Text}}, {}, /*bPlugin*/ false);
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr(ErrorLine(Run, 9, "An explicit Category specifier is required for any property exposed to the editor or Blueprints in an Engine module.")));
}

TEST(HeaderTool, ParseErrorsStopBeforeValidation)
{
	// The first header fails to parse; the second's validation error is therefore not reported.
	const FToolRun Run = RunTool({
		{"Public/Broken.h", "#pragma once\n#include \"Broken.generated.h\"\nUCLASS(Nope)\nclass UBroken : public UObject\n{\n\tGENERATED_BODY()\n};\n"},
		{"Public/Invalid.h", "#pragma once\n#include \"Invalid.generated.h\"\nUCLASS()\nclass FInvalid : public UObject\n{\n\tGENERATED_BODY()\n};\n"}});
	EXPECT_NE(Run.ExitCode, 0);
	EXPECT_THAT(Run.Output, HasSubstr("Unknown specifier 'Nope'"));
	EXPECT_THAT(Run.Output, Not(HasSubstr("invalid Unreal prefix")));
}
