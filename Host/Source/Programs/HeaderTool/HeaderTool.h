// The header tool's model of reflected declarations, shared by the parser, the checks, the
// manifest and the code generator.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace HeaderTool
{
	// Metadata is keyed case-insensitively in the engine (FName keys); a sorted map keeps the
	// generated tables in a stable order.
	using FMetaData = std::map<std::string, std::string>;

	enum class EAccess
	{
		Public,
		Protected,
		Private
	};

	enum class ETypeKind
	{
		Void,
		Int8,
		Int16,
		Int32,
		Int64,
		Byte,
		UInt16,
		UInt32,
		UInt64,
		Float,
		Double,
		Bool,
		Str,
		Name,
		Text,
		Enum,        // enum class / namespaced / regular enum used directly
		EnumAsByte,  // TEnumAsByte<E>
		Struct,
		Object,      // UFoo*
		ObjectPtr,   // TObjectPtr<UFoo>
		Class,       // UClass* or TSubclassOf<UFoo>
		WeakObject,
		SoftObject,
		SoftClass,
		Interface,   // TScriptInterface<IFoo>
		Array,
		Map,
		Set,
		Delegate,
		MulticastDelegate
	};

	// A resolved property or parameter type.
	struct FType
	{
		ETypeKind Kind = ETypeKind::Void;
		std::string TypeName;      // struct, enum, class or delegate name where the kind has one
		std::string MetaClassName; // TSubclassOf<X> / TSoftClassPtr<X>: X
		bool bSubclassOf = false;
		std::vector<FType> Inner;  // container element types (Map: key, value)
		bool bConst = false;       // a leading or trailing const on the outermost type
		bool bInnerConst = false;  // const on a template argument (NativeConstTemplateArg)
		bool bReference = false;
		bool bPointer = false;
		std::string Decl;          // user-facing declaration for messages, e.g. TArray<int16>
		std::string CppType;       // the C++ value type, without const or reference
		int Line = 0;
		bool bNeedsResolve = false; // TypeName names a user type not yet looked up
		bool bStaticArray = false;
	};

	enum class EDeclKind
	{
		Class,
		Struct,
		Enum,
		Delegate,
		Interface
	};

	struct FProperty
	{
		std::string Name;
		FType Type;
		uint64_t Flags = 0;
		FMetaData Meta;
		EAccess Access = EAccess::Public;
		int Line = 0;
		int ArrayDim = 1;
		std::string ArrayDimText;
		bool bBitfield = false;
		std::string RepNotify;
		bool bEditorOnly = false;
		// What the specifier list said, for the checks that run once the type is known.
		bool bBlueprintVisible = false;
		bool bBlueprintAssignable = false;
		bool bBlueprintCallableSpec = false;
		bool bBlueprintAuthorityOnlySpec = false;
		bool bHasCategory = false;
		bool bEdit = false;
		bool bInstanced = false;
		bool bConfig = false;
		int SpecifierLine = 0;
		std::string DefaultText; // function parameters: the raw default value text
		bool bHasDefault = false;
		bool bRefParam = false;  // UPARAM(ref)
	};

	struct FFunction
	{
		std::string Name;
		std::vector<FProperty> Params; // in declaration order; the return value last, named ReturnValue
		std::optional<FProperty> Return;
		uint32_t Flags = 0;
		FMetaData Meta;
		EAccess Access = EAccess::Public;
		int Line = 0;
		bool bStatic = false;
		bool bVirtual = false;
		bool bConst = false;
		bool bFinal = false;
		bool bBlueprintPureFalse = false;
		bool bBlueprintPureSpec = false;
		bool bEditorOnly = false;
		bool bCustomThunk = false;
		bool bApi = false;
		std::string RetCppType;   // declared C++ return type, for the event body
		std::vector<std::string> ParamCppDecls; // declared C++ parameter declarations, for bodies
		// Delegates
		bool bDelegate = false;
		bool bMulticast = false;
		std::string DelegateName; // FName of the delegate type (with the F)
		std::string OuterClass;   // class name for class-nested delegates, empty at file scope
		int MacroEndLine = 0;
	};

	struct FEnumEntry
	{
		std::string Name;
		int64_t Value = 0;
		bool bValueKnown = true;
		FMetaData Meta;
		int Line = 0;
	};

	enum class EEnumForm
	{
		Regular,
		Namespaced,
		EnumClass
	};

	struct FEnum
	{
		std::string Name;
		EEnumForm Form = EEnumForm::EnumClass;
		std::string Underlying; // empty when not given
		std::vector<FEnumEntry> Entries;
		FMetaData Meta;
		bool bFlags = false;
		int Line = 0;
	};

	struct FClass
	{
		std::string Name;
		std::string SuperName;
		std::vector<std::string> Interfaces;
		bool bStruct = false;
		bool bInterface = false;       // UINTERFACE (the U class)
		bool bNativeInterface = false; // the I class
		bool bNoExport = false;
		bool bApi = false;
		uint32_t ClassFlags = 0;       // own specifier flags
		uint32_t StructFlags = 0;
		std::string ConfigName;
		std::string WithinName;
		FMetaData Meta;
		std::vector<FProperty> Properties;
		std::vector<FFunction> Functions;
		std::vector<FFunction> Delegates; // class-nested delegates
		int Line = 0;
		int GeneratedBodyLine = 0;
		bool bLegacyBody = false;
		bool bHasObjectInitializerCtor = false;
		bool bHasDefaultCtor = false;
		bool bHasDestructor = false;
		bool bHasAddReferencedObjects = false;
		bool bHasPostInitProperties = false;
		bool bHasGetLifetimeReplicatedProps = false;
		bool bAbstract = false;
	};

	struct FHeader
	{
		std::string Path;          // absolute
		std::string FileName;      // Foo.h
		std::string BaseName;      // Foo
		std::string ModuleRelative; // Public/Foo.h
		std::string IncludePath;   // Foo.h
		std::string FileId;
		std::vector<std::unique_ptr<FClass>> Classes; // classes and structs in source order
		std::vector<std::unique_ptr<FEnum>> Enums;
		std::vector<std::unique_ptr<FFunction>> Delegates; // file-scope delegates
		bool bIncludesGenerated = false;
		bool bNoExportTypes = false;
		// Order of declaration, for the generated files: kind and index into the vectors above.
		std::vector<std::pair<EDeclKind, size_t>> Order;
	};

	// A type known to this run: declared in this module or read from a dependency's manifest.
	struct FKnownType
	{
		EDeclKind Kind = EDeclKind::Class;
		std::string Name;
		std::string Module;
		std::string Super;
		std::string IncludePath;
		bool bBlueprintType = false;
		uint32_t ClassFlags = 0; // with inherited flags
		std::string ConfigName;
		std::string Underlying;  // enums
		EEnumForm EnumForm = EEnumForm::EnumClass;
		bool bMulticast = false; // delegates
		std::string Signature;   // delegates: the parameter list
		bool bIntrinsic = false;
		bool bNoExport = false;
		// Only for types of this module.
		const FClass* Class = nullptr;
		const FEnum* Enum = nullptr;
		const FFunction* Delegate = nullptr;
		const FHeader* Header = nullptr;
	};

	// Engine flag values (ObjectMacros.h).
	namespace Flags
	{
		constexpr uint64_t CPF_Edit = 0x1ull;
		constexpr uint64_t CPF_ConstParm = 0x2ull;
		constexpr uint64_t CPF_BlueprintVisible = 0x4ull;
		constexpr uint64_t CPF_ExportObject = 0x8ull;
		constexpr uint64_t CPF_BlueprintReadOnly = 0x10ull;
		constexpr uint64_t CPF_Net = 0x20ull;
		constexpr uint64_t CPF_EditFixedSize = 0x40ull;
		constexpr uint64_t CPF_Parm = 0x80ull;
		constexpr uint64_t CPF_OutParm = 0x100ull;
		constexpr uint64_t CPF_ReturnParm = 0x400ull;
		constexpr uint64_t CPF_DisableEditOnTemplate = 0x800ull;
		constexpr uint64_t CPF_Transient = 0x2000ull;
		constexpr uint64_t CPF_Config = 0x4000ull;
		constexpr uint64_t CPF_RequiredParm = 0x8000ull;
		constexpr uint64_t CPF_DisableEditOnInstance = 0x10000ull;
		constexpr uint64_t CPF_EditConst = 0x20000ull;
		constexpr uint64_t CPF_GlobalConfig = 0x40000ull;
		constexpr uint64_t CPF_InstancedReference = 0x80000ull;
		constexpr uint64_t CPF_DuplicateTransient = 0x200000ull;
		constexpr uint64_t CPF_SaveGame = 0x1000000ull;
		constexpr uint64_t CPF_NoClear = 0x2000000ull;
		constexpr uint64_t CPF_ReferenceParm = 0x8000000ull;
		constexpr uint64_t CPF_BlueprintAssignable = 0x10000000ull;
		constexpr uint64_t CPF_Deprecated = 0x20000000ull;
		constexpr uint64_t CPF_RepSkip = 0x80000000ull;
		constexpr uint64_t CPF_RepNotify = 0x100000000ull;
		constexpr uint64_t CPF_Interp = 0x200000000ull;
		constexpr uint64_t CPF_NonTransactional = 0x400000000ull;
		constexpr uint64_t CPF_EditorOnly = 0x800000000ull;
		constexpr uint64_t CPF_AssetRegistrySearchable = 0x10000000000ull;
		constexpr uint64_t CPF_SimpleDisplay = 0x20000000000ull;
		constexpr uint64_t CPF_AdvancedDisplay = 0x40000000000ull;
		constexpr uint64_t CPF_Protected = 0x80000000000ull;
		constexpr uint64_t CPF_BlueprintCallable = 0x100000000000ull;
		constexpr uint64_t CPF_BlueprintAuthorityOnly = 0x200000000000ull;
		constexpr uint64_t CPF_TextExportTransient = 0x400000000000ull;
		constexpr uint64_t CPF_NonPIEDuplicateTransient = 0x800000000000ull;
		constexpr uint64_t CPF_ExposeOnSpawn = 0x1000000000000ull;
		constexpr uint64_t CPF_UObjectWrapper = 0x4000000000000ull;
		constexpr uint64_t CPF_NativeAccessSpecifierPublic = 0x10000000000000ull;
		constexpr uint64_t CPF_NativeAccessSpecifierProtected = 0x20000000000000ull;
		constexpr uint64_t CPF_NativeAccessSpecifierPrivate = 0x40000000000000ull;
		constexpr uint64_t CPF_SkipSerialization = 0x80000000000000ull;
		constexpr uint64_t CPF_TObjectPtr = 0x100000000000000ull;

		constexpr uint32_t FUNC_Final = 0x00000001;
		constexpr uint32_t FUNC_RequiredAPI = 0x00000002;
		constexpr uint32_t FUNC_BlueprintAuthorityOnly = 0x00000004;
		constexpr uint32_t FUNC_BlueprintCosmetic = 0x00000008;
		constexpr uint32_t FUNC_Net = 0x00000040;
		constexpr uint32_t FUNC_NetReliable = 0x00000080;
		constexpr uint32_t FUNC_Exec = 0x00000200;
		constexpr uint32_t FUNC_Native = 0x00000400;
		constexpr uint32_t FUNC_Event = 0x00000800;
		constexpr uint32_t FUNC_Static = 0x00002000;
		constexpr uint32_t FUNC_NetMulticast = 0x00004000;
		constexpr uint32_t FUNC_MulticastDelegate = 0x00010000;
		constexpr uint32_t FUNC_Public = 0x00020000;
		constexpr uint32_t FUNC_Private = 0x00040000;
		constexpr uint32_t FUNC_Protected = 0x00080000;
		constexpr uint32_t FUNC_Delegate = 0x00100000;
		constexpr uint32_t FUNC_NetServer = 0x00200000;
		constexpr uint32_t FUNC_HasOutParms = 0x00400000;
		constexpr uint32_t FUNC_HasDefaults = 0x00800000;
		constexpr uint32_t FUNC_NetClient = 0x01000000;
		constexpr uint32_t FUNC_BlueprintCallable = 0x04000000;
		constexpr uint32_t FUNC_BlueprintEvent = 0x08000000;
		constexpr uint32_t FUNC_BlueprintPure = 0x10000000;
		constexpr uint32_t FUNC_EditorOnly = 0x20000000;
		constexpr uint32_t FUNC_Const = 0x40000000;

		constexpr uint32_t CLASS_Abstract = 0x00000001;
		constexpr uint32_t CLASS_DefaultConfig = 0x00000002;
		constexpr uint32_t CLASS_Config = 0x00000004;
		constexpr uint32_t CLASS_Transient = 0x00000008;
		constexpr uint32_t CLASS_Optional = 0x00000010;
		constexpr uint32_t CLASS_MatchedSerializers = 0x00000020;
		constexpr uint32_t CLASS_ProjectUserConfig = 0x00000040;
		constexpr uint32_t CLASS_Native = 0x00000080;
		constexpr uint32_t CLASS_NotPlaceable = 0x00000200;
		constexpr uint32_t CLASS_PerObjectConfig = 0x00000400;
		constexpr uint32_t CLASS_EditInlineNew = 0x00001000;
		constexpr uint32_t CLASS_CollapseCategories = 0x00002000;
		constexpr uint32_t CLASS_Interface = 0x00004000;
		constexpr uint32_t CLASS_Const = 0x00010000;
		constexpr uint32_t CLASS_NeedsDeferredDependencyLoading = 0x00020000;
		constexpr uint32_t CLASS_MinimalAPI = 0x00080000;
		constexpr uint32_t CLASS_RequiredAPI = 0x00100000;
		constexpr uint32_t CLASS_DefaultToInstanced = 0x00200000;
		constexpr uint32_t CLASS_HasInstancedReference = 0x00800000;
		constexpr uint32_t CLASS_Hidden = 0x01000000;
		constexpr uint32_t CLASS_Deprecated = 0x02000000;
		constexpr uint32_t CLASS_HideDropDown = 0x04000000;
		constexpr uint32_t CLASS_GlobalUserConfig = 0x08000000;
		constexpr uint32_t CLASS_Intrinsic = 0x10000000;
		constexpr uint32_t CLASS_ConfigDoNotCheckDefaults = 0x40000000;
		// Flags a class takes over from its parent (EClassFlags CLASS_Inherit).
		constexpr uint32_t CLASS_Inherit = CLASS_Transient | CLASS_Optional | CLASS_DefaultConfig | CLASS_Config
			| CLASS_PerObjectConfig | CLASS_ConfigDoNotCheckDefaults | CLASS_NotPlaceable | CLASS_Const
			| CLASS_HasInstancedReference | CLASS_Deprecated | CLASS_DefaultToInstanced | CLASS_GlobalUserConfig
			| CLASS_ProjectUserConfig | CLASS_NeedsDeferredDependencyLoading;

		constexpr uint32_t STRUCT_Native = 0x00000001;
		constexpr uint32_t STRUCT_Atomic = 0x00000010;
		constexpr uint32_t STRUCT_Immutable = 0x00000020;
		constexpr uint32_t STRUCT_NoExport = 0x00000008;
	}

	// Raised by the parser on the first error in a header: the header's parse stops there, as the
	// engine's tool stops a header at its first error.
	struct FParseError
	{
		int Line;
		std::string Message;
	};

	// Diagnostics in the engine tool's format: "<file>(<line>): Error: <message>".
	class FDiagnostics
	{
	public:
		void Error(const std::string& File, int Line, const std::string& Message);
		void Warning(const std::string& File, int Line, const std::string& Message);
		int ErrorCount() const { return Errors; }

	private:
		int Errors = 0;
	};

	struct FModuleInfo
	{
		std::string Name;
		std::string Dir;
		std::string OutDir;
		std::string Plugin;
		bool bEngineModule = true;
		std::string ApiMacro; // NAME_API
		std::string ProjectRoot; // parent of the folder FileIds are relative to
	};

	struct FSession
	{
		FModuleInfo Module;
		std::vector<std::unique_ptr<FHeader>> Headers;
		std::map<std::string, FKnownType> Types; // by name
		FDiagnostics Diag;
	};

	// Parser.cpp
	void ParseHeader(FSession& Session, FHeader& Header, const std::string& Text);

	// Checks.cpp
	void ResolveAndCheck(FSession& Session);
	void RegisterBuiltinTypes(FSession& Session);
	void RegisterModuleTypes(FSession& Session);

	// Manifest.cpp
	bool ReadManifest(FSession& Session, const std::string& Path);
	bool WriteManifest(const FSession& Session, const std::string& Path);

	// CodeGen.cpp
	bool WriteGeneratedFiles(const FSession& Session);

	// Comments.cpp
	std::string FormatCommentForToolTip(const std::string& Comment);

	// Small helpers (Util.cpp)
	std::string ToLower(const std::string& S);
	std::string ToUpper(const std::string& S);
	bool EqualsIgnoreCase(const std::string& A, const std::string& B);
	bool StartsWith(const std::string& S, const std::string& Prefix);
	std::string Trim(const std::string& S);
	std::string EngineName(const std::string& SourceName);
	std::string EscapeCppString(const std::string& S);
	bool WriteFileIfChanged(const std::string& Path, const std::string& Contents);
}
