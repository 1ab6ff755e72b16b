// Parses the reflected declarations of one header: UCLASS, USTRUCT, UENUM, UINTERFACE, dynamic
// delegates and their members, applying each macro's specifier table.
#include "Specifiers.h"
#include "TypeParser.h"

#include <cctype>

namespace HeaderTool
{
	using namespace Flags;

	namespace
	{
		const char* const AllowedBlockList = "WITH_EDITOR, WITH_EDITORONLY_DATA, WITH_TESTS, WITH_VERSE_BPVM, or WITH_VERSE_VM";

		const char* const DelegateCountSuffixes[] = {"_OneParam", "_TwoParams", "_ThreeParams", "_FourParams", "_FiveParams",
			"_SixParams", "_SevenParams", "_EightParams", "_NineParams"};

		void SetComment(FMetaData& Meta, const FToken& Tok)
		{
			if (Tok.Comment.empty() || Meta.count("ToolTip"))
			{
				return;
			}
			const std::string ToolTip = FormatCommentForToolTip(Tok.Comment);
			if (ToolTip.empty())
			{
				return;
			}
			Meta["Comment"] = Tok.Comment;
			Meta["ToolTip"] = ToolTip;
		}

		bool IsApiMacro(const FToken& Tok)
		{
			return Tok.IsIdentifier() && Tok.Text.size() > 4 && Tok.Text.compare(Tok.Text.size() - 4, 4, "_API") == 0;
		}

		class FParser
		{
		public:
			FParser(FSession& InSession, FHeader& InHeader, const FTokenizeResult& InTokens)
				: Session(InSession)
				, Header(InHeader)
				, Reader(InTokens.Tokens)
			{
			}

			void Run()
			{
				ParseScope(/*bFileScope*/ true);
			}

		private:
			FSession& Session;
			FHeader& Header;
			FTokenReader Reader;
			std::string LastInterfaceName; // U name of the last UINTERFACE, for its I class

			const std::string& File() const { return Header.Path; }

			void CheckBlocks(const FToken& Tok)
			{
				if (Tok.Blocks & BLOCK_Restricted)
				{
					throw FParseError{Tok.Line, "'" + Tok.Text + "' must not be inside preprocessor blocks, except for " + AllowedBlockList};
				}
			}

			void ParseScope(bool bFileScope)
			{
				while (!Reader.AtEnd())
				{
					const FToken& Tok = Reader.Peek();
					if (!bFileScope && Tok.Is("}"))
					{
						Reader.Next();
						return;
					}
					if (Tok.IsIdentifier())
					{
						if (Tok.Text == "UCLASS")
						{
							CheckBlocks(Tok);
							ParseClass(false);
							continue;
						}
						if (Tok.Text == "USTRUCT")
						{
							CheckBlocks(Tok);
							ParseClass(true);
							continue;
						}
						if (Tok.Text == "UINTERFACE")
						{
							CheckBlocks(Tok);
							ParseInterface();
							continue;
						}
						if (Tok.Text == "UENUM")
						{
							CheckBlocks(Tok);
							ParseEnum();
							continue;
						}
						if (Tok.Text == "UDELEGATE")
						{
							CheckBlocks(Tok);
							const FToken& MacroTok = Reader.Next();
							std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
							if (!Reader.Peek().IsIdentifier() || !StartsWith(Reader.Peek().Text, "DECLARE_DYNAMIC_"))
							{
								Reader.Fail("UDELEGATE must be followed by a DECLARE_DYNAMIC_ delegate macro");
							}
							ParseDelegate(nullptr, &Specs, &MacroTok);
							continue;
						}
						if (StartsWith(Tok.Text, "DECLARE_DYNAMIC_"))
						{
							ParseDelegate(nullptr, nullptr, nullptr);
							continue;
						}
						if (Tok.Text == "UPROPERTY" || Tok.Text == "UFUNCTION")
						{
							throw FParseError{Tok.Line, "Invalid use of keyword '" + Tok.Text + "'.  It may only appear in Class, IInterface, Interface, and VModule scopes"};
						}
						if (Tok.Text == "namespace")
						{
							Reader.Next();
							while (!Reader.AtEnd() && !Reader.Peek().Is("{") && !Reader.Peek().Is(";") && !Reader.Peek().Is("="))
							{
								Reader.Next();
							}
							if (Reader.Accept("{"))
							{
								ParseScope(false);
							}
							else
							{
								SkipStatement();
							}
							continue;
						}
						if (Tok.Text == "class" && !LastInterfaceName.empty() && Reader.Peek(1).IsIdentifier())
						{
							size_t NameAt = 1;
							if (IsApiMacro(Reader.Peek(1)))
							{
								NameAt = 2;
							}
							const FToken& NameTok = Reader.Peek(NameAt);
							if (NameTok.IsIdentifier() && NameTok.Text == "I" + LastInterfaceName.substr(1) && !Reader.Peek(NameAt + 1).Is(";"))
							{
								ParseNativeInterface();
								continue;
							}
						}
					}
					SkipStatement();
				}
			}

			// Skips one declaration or statement at the current scope, including any body.
			void SkipStatement()
			{
				while (!Reader.AtEnd())
				{
					const FToken& T = Reader.Peek();
					if (T.Is(";"))
					{
						Reader.Next();
						return;
					}
					if (T.Is("}"))
					{
						return;
					}
					if (T.Is("{"))
					{
						Reader.SkipGroup();
						Reader.Accept(";");
						return;
					}
					if (T.Is("(") || T.Is("["))
					{
						Reader.SkipGroup();
						continue;
					}
					Reader.Next();
				}
			}

			// ----------------------------------------------------------------------------------
			// Classes and structs

			void ApplyClassSpecifiers(FClass& Class, const std::vector<FSpecifier>& Specs)
			{
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Class.Meta, Session, File()))
					{
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					auto Flag = [&](uint32_t F)
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Class.ClassFlags |= F;
					};
					if (N == "noexport") { Flag(0); Class.bNoExport = true; }
					else if (N == "intrinsic") Flag(CLASS_Intrinsic);
					else if (N == "componentwrapperclass") { Flag(0); Class.Meta["IgnoreCategoryKeywordsInSubclasses"] = "true"; }
					else if (N == "editinlinenew") Flag(CLASS_EditInlineNew);
					else if (N == "noteditinlinenew") Flag(0);
					else if (N == "placeable") Flag(0);
					else if (N == "notplaceable") Flag(CLASS_NotPlaceable);
					else if (N == "defaulttoinstanced") Flag(CLASS_DefaultToInstanced);
					else if (N == "hidedropdown") Flag(CLASS_HideDropDown);
					else if (N == "hidden") Flag(CLASS_Hidden);
					else if (N == "dependson")
						throw FParseError{Spec.Line, "The dependsOn specifier is deprecated. Please use #include \"ClassHeaderFilename.h\" instead."};
					else if (N == "minimalapi") Flag(CLASS_MinimalAPI);
					else if (N == "const") Flag(CLASS_Const);
					else if (N == "partial") Flag(0);
					else if (N == "perobjectconfig") Flag(CLASS_PerObjectConfig);
					else if (N == "perplatformconfig") Flag(0);
					else if (N == "configdonotcheckdefaults") Flag(CLASS_ConfigDoNotCheckDefaults);
					else if (N == "abstract") { Flag(CLASS_Abstract); Class.bAbstract = true; }
					else if (N == "deprecated") Flag(CLASS_Deprecated | CLASS_NotPlaceable);
					else if (N == "transient") Flag(CLASS_Transient);
					else if (N == "nontransient") { Flag(0); Class.ClassFlags &= ~CLASS_Transient; }
					else if (N == "optional") Flag(CLASS_Optional);
					else if (N == "customconstructor") Flag(0);
					else if (N == "defaultconfig") Flag(CLASS_DefaultConfig);
					else if (N == "globaluserconfig") Flag(CLASS_GlobalUserConfig);
					else if (N == "projectuserconfig") Flag(CLASS_ProjectUserConfig);
					else if (N == "collapsecategories") Flag(CLASS_CollapseCategories);
					else if (N == "dontcollapsecategories") { Flag(0); Class.ClassFlags &= ~CLASS_CollapseCategories; }
					else if (N == "advancedclassdisplay") { Flag(0); Class.Meta["AdvancedClassDisplay"] = "true"; }
					else if (N == "conversionroot") { Flag(0); Class.Meta["IsConversionRoot"] = "true"; }
					else if (N == "needsdeferreddependencyloading") Flag(CLASS_NeedsDeferredDependencyLoading);
					else if (N == "matchedserializers" || N == "interface")
					{
						if (!Header.bNoExportTypes)
						{
							throw FParseError{Spec.Line, "The '" + std::string(N == "interface" ? "Interface" : "MatchedSerializers") + "' class specifier is only valid in the NoExportTypes.h file"};
						}
						Flag(N == "interface" ? CLASS_Interface : CLASS_MatchedSerializers);
					}
					else if (N == "customfieldnotify") Flag(0);
					else if (N == "within")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Class.WithinName = Spec.Values[0];
					}
					else if (N == "config")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Class.ConfigName = Spec.Values[0];
						Class.ClassFlags |= CLASS_Config;
					}
					else if (N == "editorconfig")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Class.Meta["EditorConfig"] = Spec.Values[0];
					}
					else if (N == "sparseclassdatatypes")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Class.Meta["SparseClassDataTypes"] = Spec.Values[0];
					}
					else if (N == "showcategories" || N == "hidecategories" || N == "showfunctions" || N == "hidefunctions"
						|| N == "classgroup" || N == "autoexpandcategories" || N == "autocollapsecategories"
						|| N == "prioritizecategories" || N == "dontautocollapsecategories")
					{
						CheckSpecifierValue(Spec, ESpecValue::NonEmptyList, Session, File());
						static const std::map<std::string, std::string> Keys = {{"showcategories", ""}, {"hidecategories", "HideCategories"},
							{"showfunctions", ""}, {"hidefunctions", "HideFunctions"}, {"classgroup", "ClassGroupNames"},
							{"autoexpandcategories", "AutoExpandCategories"}, {"autocollapsecategories", "AutoCollapseCategories"},
							{"prioritizecategories", "PrioritizeCategories"}, {"dontautocollapsecategories", ""}};
						const std::string& Key = Keys.at(N);
						if (!Key.empty())
						{
							std::string Joined;
							for (const std::string& V : Spec.Values)
							{
								Joined += (Joined.empty() ? "" : " ") + V;
							}
							Class.Meta[Key] = Joined;
						}
					}
					else if (N == "verse") {}
					else
					{
						UnknownSpecifier(Spec, "class");
					}
				}
			}

			void ApplyStructSpecifiers(FClass& Struct, const std::vector<FSpecifier>& Specs)
			{
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Struct.Meta, Session, File()))
					{
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					if (N == "noexport")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Struct.bNoExport = true;
						Struct.StructFlags |= STRUCT_NoExport;
					}
					else if (N == "atomic")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Struct.StructFlags |= STRUCT_Atomic;
					}
					else if (N == "immutable")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Struct.StructFlags |= STRUCT_Atomic | STRUCT_Immutable;
					}
					else if (N == "minimalapi")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
					}
					else if (N == "hasdefaults" || N == "hasnoopconstructor" || N == "isalwaysaccessible" || N == "iscoretype")
					{
						if (!Header.bNoExportTypes)
						{
							static const std::map<std::string, std::string> Names = {{"hasdefaults", "HasDefaults"},
								{"hasnoopconstructor", "HasNoOpConstructor"}, {"isalwaysaccessible", "IsAlwaysAccessible"}, {"iscoretype", "IsCoreType"}};
							throw FParseError{Spec.Line, "The '" + Names.at(N) + "' struct specifier is only valid in the NoExportTypes.h file"};
						}
					}
					else if (N == "verse") {}
					else
					{
						UnknownSpecifier(Spec, "struct");
					}
				}
			}

			void ParseClass(bool bStruct)
			{
				const FToken& MacroTok = Reader.Next();
				std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
				auto Class = std::make_unique<FClass>();
				Class->bStruct = bStruct;
				Class->Line = MacroTok.Line;
				if (bStruct)
				{
					ApplyStructSpecifiers(*Class, Specs);
				}
				else
				{
					ApplyClassSpecifiers(*Class, Specs);
				}
				SetComment(Class->Meta, MacroTok);

				const char* Keyword = bStruct ? "struct" : "class";
				if (!Reader.Accept(Keyword))
				{
					if (bStruct && Reader.Accept("class"))
					{
					}
					else
					{
						Reader.Fail(std::string("Missing '") + Keyword + "' after " + MacroTok.Text);
					}
				}
				ParseClassHead(*Class);
				ParseBody(*Class, bStruct ? EAccess::Public : EAccess::Private);
				FinishClass(*Class, bStruct);
				Header.Order.emplace_back(bStruct ? EDeclKind::Struct : EDeclKind::Class, Header.Classes.size());
				Header.Classes.push_back(std::move(Class));
			}

			void ParseClassHead(FClass& Class)
			{
				// Alignment and deprecation attributes may stand between the keyword and the name.
				while (Reader.Peek().Is("alignas") || Reader.Peek().Is("UE_DEPRECATED") || Reader.Peek().Is("DEPRECATED"))
				{
					Reader.Next();
					if (Reader.Peek().Is("("))
					{
						Reader.SkipGroup();
					}
				}
				if (IsApiMacro(Reader.Peek()))
				{
					Reader.Next();
					Class.bApi = true;
				}
				Class.Name = Reader.RequireIdentifier("class declaration").Text;
				Class.Line = Reader.At(Reader.Position() - 1).Line;
				Reader.Accept("final");
				if (Reader.Accept(":"))
				{
					bool bFirst = true;
					while (true)
					{
						Reader.Accept("public");
						Reader.Accept("protected");
						Reader.Accept("private");
						Reader.Accept("virtual");
						std::string Base = Reader.RequireIdentifier("base class list").Text;
						while (Reader.Accept("::"))
						{
							Base += "::" + Reader.RequireIdentifier("base class list").Text;
						}
						if (Reader.Peek().Is("<"))
						{
							const size_t Start = Reader.Position();
							Reader.SkipGroup();
							for (size_t I = Start; I < Reader.Position(); ++I)
							{
								Base += Reader.At(I).Text;
							}
						}
						if (bFirst)
						{
							Class.SuperName = Base;
						}
						else
						{
							Class.Interfaces.push_back(Base);
						}
						bFirst = false;
						if (!Reader.Accept(","))
						{
							break;
						}
					}
				}
				if (!Reader.Peek().Is("{"))
				{
					Reader.Fail("Missing '{' in class definition of '" + Class.Name + "'");
				}
			}

			void ParseBody(FClass& Class, EAccess Access)
			{
				Reader.Require("{", "class body");
				bool bSeenGeneratedBody = false;
				while (true)
				{
					if (Reader.AtEnd())
					{
						Reader.Fail("Unexpected end of file in the body of '" + Class.Name + "'");
					}
					const FToken& Tok = Reader.Peek();
					if (Tok.Is("}"))
					{
						Reader.Next();
						break;
					}
					if (Tok.Is("public") && Reader.Peek(1).Is(":"))
					{
						Reader.Next();
						Reader.Next();
						Access = EAccess::Public;
						continue;
					}
					if (Tok.Is("protected") && Reader.Peek(1).Is(":"))
					{
						Reader.Next();
						Reader.Next();
						Access = EAccess::Protected;
						continue;
					}
					if (Tok.Is("private") && Reader.Peek(1).Is(":"))
					{
						Reader.Next();
						Reader.Next();
						Access = EAccess::Private;
						continue;
					}
					if (Tok.IsIdentifier())
					{
						const std::string& K = Tok.Text;
						const bool bGenerated = K == "GENERATED_BODY" || (!Class.bStruct && (K == "GENERATED_UCLASS_BODY" || K == "GENERATED_UINTERFACE_BODY" || K == "GENERATED_IINTERFACE_BODY"))
							|| (Class.bStruct && K == "GENERATED_USTRUCT_BODY");
						if (bGenerated)
						{
							Reader.Next();
							if (Reader.Peek().Is("("))
							{
								Reader.SkipGroup();
							}
							Reader.Accept(";");
							if (Class.bStruct)
							{
								if (Access != EAccess::Public)
								{
									throw FParseError{Tok.Line, K + " must be in the public scope of '" + Class.Name + "', not private or protected."};
								}
								if (bSeenGeneratedBody)
								{
									throw FParseError{Tok.Line, "Multiple " + K + " declarations found in '" + Class.Name + "'"};
								}
							}
							bSeenGeneratedBody = true;
							Class.GeneratedBodyLine = Tok.Line;
							Class.bLegacyBody = K != "GENERATED_BODY";
							if (Class.bLegacyBody && !Class.bStruct)
							{
								Access = EAccess::Public;
							}
							continue;
						}
						if (K == "UPROPERTY")
						{
							CheckBlocks(Tok);
							if (Class.bNativeInterface)
							{
								throw FParseError{Tok.Line, "Invalid use of keyword 'UPROPERTY'.  It may only appear in Class, ScriptStruct, and VModule scopes"};
							}
							ParseProperty(Class, Access);
							continue;
						}
						if (K == "UFUNCTION")
						{
							CheckBlocks(Tok);
							if (Class.bStruct)
							{
								throw FParseError{Tok.Line, "Invalid use of keyword 'UFUNCTION'.  It may only appear in Class, IInterface, Interface, and VModule scopes"};
							}
							ParseFunction(Class, Access);
							continue;
						}
						if (K == "UENUM" || K == "UCLASS" || K == "USTRUCT" || K == "UINTERFACE")
						{
							throw FParseError{Tok.Line, "Invalid use of keyword '" + K + "'.  It may only appear in Global and Namespace scopes"};
						}
						if (StartsWith(K, "DECLARE_DYNAMIC_"))
						{
							ParseDelegate(&Class, nullptr, nullptr);
							continue;
						}
						if (K == "UDELEGATE")
						{
							const FToken& MacroTok = Reader.Next();
							std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
							ParseDelegate(&Class, &Specs, &MacroTok);
							continue;
						}
					}
					ScanMemberDeclaration(Class);
				}
				Reader.Accept(";");
				if (!bSeenGeneratedBody && !Class.bNoExport)
				{
					const char* What = Class.bStruct ? "struct" : Class.bNativeInterface ? "native interface" : "class";
					throw FParseError{Class.Line, std::string("Expected a GENERATED_BODY() at the start of the ") + What};
				}
			}

			// Looks at a non-reflected member declaration only for what generated code needs to
			// know: user-declared constructors and destructors.
			void ScanMemberDeclaration(FClass& Class)
			{
				const size_t Start = Reader.Position();
				size_t I = Start;
				while (Reader.At(I).Is("explicit") || Reader.At(I).Is("virtual") || Reader.At(I).Is("inline") || Reader.At(I).Is("FORCEINLINE") || IsApiMacro(Reader.At(I)))
				{
					++I;
				}
				if (Reader.At(I).Is("~") && Reader.At(I + 1).Text == Class.Name)
				{
					Class.bHasDestructor = true;
				}
				else if (Reader.At(I).Text == Class.Name && Reader.At(I + 1).Is("("))
				{
					// A constructor: which kind?
					size_t J = I + 2;
					int Depth = 1;
					bool bInitializer = false;
					bool bEmpty = Reader.At(J).Is(")") || (Reader.At(J).Is("void") && Reader.At(J + 1).Is(")"));
					bool bOnlyInitializerParam = true;
					int Commas = 0;
					while (Depth > 0 && Reader.At(J).Type != ETokenType::End)
					{
						const FToken& T = Reader.At(J);
						if (T.Is("("))
						{
							++Depth;
						}
						else if (T.Is(")"))
						{
							--Depth;
						}
						else if (T.Is(",") && Depth == 1)
						{
							++Commas;
						}
						else if (T.Text == "FObjectInitializer")
						{
							bInitializer = true;
						}
						++J;
					}
					if (Commas > 0)
					{
						bOnlyInitializerParam = false;
					}
					if (bInitializer && bOnlyInitializerParam)
					{
						Class.bHasObjectInitializerCtor = true;
					}
					else if (bEmpty)
					{
						Class.bHasDefaultCtor = true;
					}
				}
				Reader.Seek(Start);
				SkipStatement();
				if (Reader.Position() == Start)
				{
					// A stray '}' would have ended the body; anything else must make progress.
					Reader.Next();
				}
			}

			void FinishClass(FClass& Class, bool bStruct)
			{
				Class.Meta["ModuleRelativePath"] = Header.ModuleRelative;
				if (!bStruct && !Class.bNativeInterface)
				{
					Class.Meta["IncludePath"] = Header.IncludePath;
				}
			}

			// ----------------------------------------------------------------------------------
			// Interfaces

			void ParseInterface()
			{
				const FToken& MacroTok = Reader.Next();
				std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
				auto Class = std::make_unique<FClass>();
				Class->bInterface = true;
				Class->ClassFlags |= CLASS_Interface | CLASS_Abstract;
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Class->Meta, Session, File()))
					{
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					if (N == "dependson")
					{
						throw FParseError{Spec.Line, "The dependsOn specifier is deprecated. Please use #include \"ClassHeaderFilename.h\" instead."};
					}
					if (N == "minimalapi")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Class->ClassFlags |= CLASS_MinimalAPI;
					}
					else if (N == "conversionroot")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Class->Meta["IsConversionRoot"] = "true";
					}
					else if (N != "verse")
					{
						UnknownSpecifier(Spec, "interface");
					}
				}
				SetComment(Class->Meta, MacroTok);
				Reader.Require("class", "UINTERFACE");
				ParseClassHead(*Class);
				if (Class->SuperName.empty())
				{
					throw FParseError{Class->Line, "Interface '" + Class->Name + "' must derive from an interface or UInterface"};
				}
				ParseBody(*Class, EAccess::Private);
				FinishClass(*Class, false);
				LastInterfaceName = Class->Name;
				Header.Order.emplace_back(EDeclKind::Interface, Header.Classes.size());
				Header.Classes.push_back(std::move(Class));
			}

			void ParseNativeInterface()
			{
				Reader.Require("class", "native interface");
				auto Class = std::make_unique<FClass>();
				Class->bNativeInterface = true;
				ParseClassHead(*Class);
				ParseBody(*Class, EAccess::Private);
				// The I class is registered through its U class; its functions are accepted only.
				Class->Functions.clear();
				LastInterfaceName.clear();
				Header.Order.emplace_back(EDeclKind::Interface, Header.Classes.size());
				Header.Classes.push_back(std::move(Class));
			}

			// ----------------------------------------------------------------------------------
			// Properties

			void ApplyPropertySpecifiers(FProperty& Prop, const std::vector<FSpecifier>& Specs, EAccess Access)
			{
				std::string SeenEdit;
				bool bSeenReadOnly = false;
				bool bSeenReadWrite = false;
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Prop.Meta, Session, File()))
					{
						if (EqualsIgnoreCase(Spec.Name, "Category"))
						{
							Prop.bHasCategory = true;
						}
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					auto Flag = [&](uint64_t F)
					{
						CheckSpecifierValue(Spec, ESpecValue::Legacy, Session, File());
						Prop.Flags |= F;
					};
					auto EditGroup = [&](uint64_t F)
					{
						CheckSpecifierValue(Spec, ESpecValue::Legacy, Session, File());
						if (!SeenEdit.empty())
						{
							throw FParseError{Spec.Line, "Found more than one edit/visibility specifier (" + Spec.Name + "), only one is allowed"};
						}
						SeenEdit = Spec.Name;
						Prop.Flags |= F;
						Prop.bEdit = true;
					};
					if (N == "editanywhere") EditGroup(CPF_Edit);
					else if (N == "editinstanceonly") EditGroup(CPF_Edit | CPF_DisableEditOnTemplate);
					else if (N == "editdefaultsonly") EditGroup(CPF_Edit | CPF_DisableEditOnInstance);
					else if (N == "visibleanywhere") EditGroup(CPF_Edit | CPF_EditConst);
					else if (N == "visibleinstanceonly") EditGroup(CPF_Edit | CPF_EditConst | CPF_DisableEditOnTemplate);
					else if (N == "visibledefaultsonly") EditGroup(CPF_Edit | CPF_EditConst | CPF_DisableEditOnInstance);
					else if (N == "blueprintreadwrite")
					{
						CheckSpecifierValue(Spec, ESpecValue::Legacy, Session, File());
						if (bSeenReadOnly)
						{
							throw FParseError{Spec.Line, "Cannot specify a property as being both BlueprintReadOnly and BlueprintReadWrite."};
						}
						bSeenReadWrite = true;
						Prop.Flags |= CPF_BlueprintVisible;
						Prop.bBlueprintVisible = true;
					}
					else if (N == "blueprintreadonly")
					{
						CheckSpecifierValue(Spec, ESpecValue::Legacy, Session, File());
						if (bSeenReadWrite)
						{
							throw FParseError{Spec.Line, "Cannot specify both BlueprintReadOnly and BlueprintReadWrite or BlueprintSetter."};
						}
						bSeenReadOnly = true;
						Prop.Flags |= CPF_BlueprintVisible | CPF_BlueprintReadOnly;
						Prop.bBlueprintVisible = true;
					}
					else if (N == "blueprintsetter" || N == "blueprintgetter")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Prop.Flags |= CPF_BlueprintVisible;
						Prop.bBlueprintVisible = true;
						Prop.Meta[N == "blueprintsetter" ? "BlueprintSetter" : "BlueprintGetter"] = Spec.Values[0];
					}
					else if (N == "blueprintassignable") { Flag(CPF_BlueprintAssignable); Prop.bBlueprintAssignable = true; }
					else if (N == "blueprintcallable") { Flag(CPF_BlueprintCallable); Prop.bBlueprintCallableSpec = true; }
					else if (N == "blueprintauthorityonly") { Flag(CPF_BlueprintAuthorityOnly); Prop.bBlueprintAuthorityOnlySpec = true; }
					else if (N == "config") { Flag(CPF_Config); Prop.bConfig = true; }
					else if (N == "globalconfig") { Flag(CPF_GlobalConfig | CPF_Config); Prop.bConfig = true; }
					else if (N == "transient") Flag(CPF_Transient);
					else if (N == "duplicatetransient") Flag(CPF_DuplicateTransient);
					else if (N == "textexporttransient") Flag(CPF_TextExportTransient);
					else if (N == "nonpietransient")
					{
						Session.Diag.Warning(File(), Spec.Line, "NonPIETransient is deprecated - NonPIEDuplicateTransient should be used instead");
						Flag(CPF_NonPIEDuplicateTransient);
					}
					else if (N == "nonpieduplicatetransient") Flag(CPF_NonPIEDuplicateTransient);
					else if (N == "export") Flag(CPF_ExportObject);
					else if (N == "noclear") Flag(CPF_NoClear);
					else if (N == "editfixedsize") Flag(CPF_EditFixedSize);
					else if (N == "replicated") Flag(CPF_Net);
					else if (N == "replicatedusing")
					{
						CheckSpecifierValue(Spec, ESpecValue::SingleString, Session, File());
						Prop.Flags |= CPF_Net | CPF_RepNotify;
						Prop.RepNotify = Spec.Values[0];
					}
					else if (N == "notreplicated") Flag(CPF_RepSkip);
					else if (N == "interp") Flag(CPF_Edit | CPF_BlueprintVisible | CPF_Interp);
					else if (N == "nontransactional") Flag(CPF_NonTransactional);
					else if (N == "instanced")
					{
						Flag(CPF_InstancedReference | CPF_ExportObject);
						Prop.bInstanced = true;
						Prop.Meta["EditInline"] = "true";
					}
					else if (N == "assetregistrysearchable") Flag(CPF_AssetRegistrySearchable);
					else if (N == "simpledisplay") Flag(CPF_SimpleDisplay);
					else if (N == "advanceddisplay") Flag(CPF_AdvancedDisplay);
					else if (N == "savegame") Flag(CPF_SaveGame);
					else if (N == "skipserialization") Flag(CPF_SkipSerialization);
					else if (N == "experimentaloverridablelogic" || N == "experimentalalwaysoverriden" || N == "experimentalneveroverriden"
						|| N == "experimentalexternalobjects" || N == "fieldnotify")
					{
						Flag(0);
					}
					else if (N == "getter" || N == "setter")
					{
						CheckSpecifierValue(Spec, ESpecValue::Optional, Session, File());
						Prop.Meta[N == "getter" ? "GetterFunc" : "SetterFunc"] = Spec.Values.empty() ? std::string() : Spec.Values[0];
					}
					else if (N == "localized") throw FParseError{Spec.Line, "The Localized specifier is deprecated"};
					else if (N == "editinline") throw FParseError{Spec.Line, "EditInline is deprecated. Remove it, or use Instanced instead."};
					else if (N == "represtry") throw FParseError{Spec.Line, "'RepRetry' is deprecated."};
					else if (N == "verse") {}
					else UnknownSpecifier(Spec, "variable");
				}

				// Deferred checks: they run once the whole list is read, so order does not matter.
				if (Access == EAccess::Private && Prop.bBlueprintVisible)
				{
					const auto Allow = Prop.Meta.find("AllowPrivateAccess");
					const bool bAllowed = Allow != Prop.Meta.end() && !EqualsIgnoreCase(Allow->second, "false");
					if (!bAllowed)
					{
						const char* Which = (Prop.Flags & CPF_BlueprintReadOnly) ? "BlueprintReadOnly" : "BlueprintReadWrite";
						throw FParseError{Prop.SpecifierLine, std::string(Which) + " should not be used on private members"};
					}
				}
			}

			void ParseProperty(FClass& Class, EAccess Access)
			{
				const FToken& MacroTok = Reader.Next();
				FProperty Prop;
				Prop.SpecifierLine = MacroTok.Line;
				Prop.Access = Access;
				if (MacroTok.Blocks & BLOCK_Editor && !(MacroTok.Blocks & BLOCK_EditorOnlyData))
				{
					throw FParseError{MacroTok.Line, "UProperties should not be wrapped by WITH_EDITOR, use WITH_EDITORONLY_DATA instead."};
				}
				Prop.bEditorOnly = (MacroTok.Blocks & BLOCK_EditorOnlyData) != 0;
				std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
				ApplyPropertySpecifiers(Prop, Specs, Access);
				SetComment(Prop.Meta, MacroTok);
				if (Prop.bEditorOnly)
				{
					Prop.Flags |= CPF_EditorOnly;
				}

				if (Reader.Peek().Is("static"))
				{
					Reader.Fail("Static variables cannot be exposed to the engine");
				}
				if (Reader.Peek().Is("const") && !Reader.Peek(1).IsIdentifier())
				{
					Reader.Fail("Const properties are not supported.");
				}
				const int TypeLine = Reader.Line();
				Prop.Type = ParseType(Reader);
				if (Prop.Type.bConst && !Prop.Type.bPointer)
				{
					throw FParseError{TypeLine, "Const properties are not supported."};
				}
				if (Prop.Type.bReference)
				{
					throw FParseError{TypeLine, "Inappropriate '&' on variable of type '" + Prop.Type.Decl + "'"};
				}
				if (Prop.Type.Kind == ETypeKind::Void && !Prop.Type.bNeedsResolve)
				{
					throw FParseError{TypeLine, "'void' is not a valid property type"};
				}
				const FToken& NameTok = Reader.RequireIdentifier("property declaration");
				Prop.Name = NameTok.Text;
				Prop.Line = NameTok.Line;
				Prop.Type.Line = NameTok.Line;

				if (Reader.Peek().Is("["))
				{
					Reader.Next();
					std::string Dim;
					while (!Reader.AtEnd() && !Reader.Peek().Is("]"))
					{
						Dim += Reader.Next().Text;
					}
					Reader.Require("]", "static array");
					Prop.ArrayDimText = Dim;
					Prop.Type.bStaticArray = true;
					if (Prop.Type.Kind == ETypeKind::Bool)
					{
						throw FParseError{Prop.Line, "Bool arrays are not allowed"};
					}
					if (Prop.Type.Kind == ETypeKind::Array || Prop.Type.Kind == ETypeKind::Map || Prop.Type.Kind == ETypeKind::Set)
					{
						throw FParseError{Prop.Line, "Static arrays of containers are not allowed"};
					}
				}
				if (Reader.Peek().Is(":"))
				{
					Reader.Next();
					const FToken& Size = Reader.Next();
					if (Size.Text != "1")
					{
						throw FParseError{Size.Line, "Bad or missing bit field size for '" + Prop.Name + "', must be 1."};
					}
					if (Prop.Type.Kind == ETypeKind::Bool)
					{
						throw FParseError{Size.Line, "bool bitfields are not supported."};
					}
					if (Prop.Type.Kind != ETypeKind::Byte && Prop.Type.Kind != ETypeKind::UInt16 && Prop.Type.Kind != ETypeKind::UInt32
						&& Prop.Type.Kind != ETypeKind::UInt64)
					{
						throw FParseError{Size.Line, "Bad or missing bit field size for '" + Prop.Name + "', must be 1."};
					}
					Prop.bBitfield = true;
					Prop.Type.Kind = ETypeKind::Bool;
				}
				// Initialisers are the C++ compiler's business.
				if (Reader.Peek().Is("=") || Reader.Peek().Is("{"))
				{
					int Depth = 0;
					while (!Reader.AtEnd())
					{
						const FToken& T = Reader.Peek();
						if (Depth == 0 && (T.Is(";") || T.Is(",")))
						{
							break;
						}
						if (T.Is("(") || T.Is("{") || T.Is("["))
						{
							++Depth;
						}
						else if (T.Is(")") || T.Is("}") || T.Is("]"))
						{
							--Depth;
						}
						Reader.Next();
					}
				}
				if (Reader.Peek().Is(","))
				{
					throw FParseError{Reader.Line(), "Comma delimited properties are not supported"};
				}
				// UE_DEPRECATED and similar trailing macros.
				Reader.Require(";", "property declaration");

				switch (Access)
				{
				case EAccess::Public: Prop.Flags |= CPF_NativeAccessSpecifierPublic; break;
				case EAccess::Protected: Prop.Flags |= CPF_NativeAccessSpecifierProtected | CPF_Protected; break;
				case EAccess::Private: Prop.Flags |= CPF_NativeAccessSpecifierPrivate; break;
				}
				// UHT records the protected-access flag only for Blueprint-visible members.
				if (!(Prop.Flags & CPF_BlueprintVisible))
				{
					Prop.Flags &= ~CPF_Protected;
				}
				Prop.Meta["ModuleRelativePath"] = Header.ModuleRelative;
				Class.Properties.push_back(std::move(Prop));
			}

			// ----------------------------------------------------------------------------------
			// Functions

			void ApplyFunctionSpecifiers(FFunction& Func, const std::vector<FSpecifier>& Specs)
			{
				bool bSeenPureTrue = false;
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Func.Meta, Session, File()))
					{
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					auto Flag = [&](uint32_t F)
					{
						CheckSpecifierValue(Spec, ESpecValue::Legacy, Session, File());
						Func.Flags |= F;
					};
					if (N == "blueprintauthorityonly") Flag(FUNC_BlueprintAuthorityOnly);
					else if (N == "blueprintcallable") Flag(FUNC_BlueprintCallable);
					else if (N == "blueprintcosmetic") Flag(FUNC_BlueprintCosmetic);
					else if (N == "blueprintgetter" || N == "blueprintsetter")
					{
						if (Func.Flags & FUNC_Event)
						{
							throw FParseError{Spec.Line, std::string("Function cannot be a blueprint event and a blueprint ") + (N == "blueprintgetter" ? "getter." : "setter.")};
						}
						Flag(FUNC_BlueprintCallable);
						if (N == "blueprintgetter")
						{
							Func.Flags |= FUNC_BlueprintPure;
							Func.Meta["BlueprintGetter"] = "";
						}
						else
						{
							Func.Meta["BlueprintSetter"] = "";
						}
					}
					else if (N == "blueprintimplementableevent")
					{
						Flag(FUNC_Event | FUNC_BlueprintEvent);
						Func.Meta["__BIE"] = "";
					}
					else if (N == "blueprintnativeevent")
					{
						Flag(FUNC_Event | FUNC_BlueprintEvent);
						Func.Meta["__BNE"] = "";
					}
					else if (N == "customthunk") { Flag(0); Func.bCustomThunk = true; }
					else if (N == "exec") Flag(FUNC_Exec);
					else if (N == "netmulticast") Flag(FUNC_Net | FUNC_NetMulticast);
					else if (N == "reliable") Flag(FUNC_NetReliable);
					else if (N == "unreliable") Flag(0);
					else if (N == "sealedevent") Flag(0);
					else if (N == "fieldnotify") Flag(0);
					else if (N == "blueprintpure")
					{
						CheckSpecifierValue(Spec, ESpecValue::Optional, Session, File());
						const bool bFalse = !Spec.Values.empty() && EqualsIgnoreCase(Spec.Values[0], "false");
						if (bFalse)
						{
							if (bSeenPureTrue)
							{
								throw FParseError{Spec.Line, "BlueprintPure (or BlueprintPure=true) and BlueprintPure=false should not both appear on the same function, they are mutually exclusive"};
							}
							Func.bBlueprintPureFalse = true;
							Func.Flags |= FUNC_BlueprintCallable;
						}
						else
						{
							if (Func.bBlueprintPureFalse)
							{
								throw FParseError{Spec.Line, "BlueprintPure (or BlueprintPure=true) and BlueprintPure=false should not both appear on the same function, they are mutually exclusive"};
							}
							bSeenPureTrue = true;
							Func.bBlueprintPureSpec = true;
							Func.Flags |= FUNC_BlueprintCallable | FUNC_BlueprintPure;
						}
					}
					else if (N == "client" || N == "server" || N == "remote")
					{
						CheckSpecifierValue(Spec, ESpecValue::Optional, Session, File());
						Func.Flags |= FUNC_Net | (N == "client" ? FUNC_NetClient : N == "server" ? FUNC_NetServer : 0);
					}
					else if (N == "withvalidation") { CheckSpecifierValue(Spec, ESpecValue::StringList, Session, File()); }
					else if (N == "servicerequest" || N == "serviceresponse") { CheckSpecifierValue(Spec, ESpecValue::StringList, Session, File()); }
					else if (N == "verse") {}
					else UnknownSpecifier(Spec, "function");
				}
				const bool bBIE = Func.Meta.count("__BIE") != 0;
				const bool bBNE = Func.Meta.count("__BNE") != 0;
				if (bBIE && bBNE)
				{
					throw FParseError{Specs.empty() ? Func.Line : Specs.back().Line, "A function cannot be both BlueprintNativeEvent and BlueprintImplementableEvent!"};
				}
				if ((bBIE || bBNE) && (Func.Flags & FUNC_Net))
				{
					throw FParseError{Func.Line, bBIE ? "BlueprintImplementableEvent functions cannot be replicated!" : "BlueprintNativeEvent functions cannot be replicated!"};
				}
				if ((Func.Flags & FUNC_Exec) && (Func.Flags & FUNC_Net))
				{
					throw FParseError{Func.Line, "Exec functions cannot be replicated!"};
				}
			}

			FProperty ParseParameter(const std::vector<FToken>& Tokens, bool bDelegateStyle)
			{
				(void)bDelegateStyle;
				FTokenReader Sub(Tokens);
				FProperty Param;
				Param.Line = Tokens.empty() ? Reader.Line() : Tokens.front().Line;
				if (Sub.Peek().Is("UPARAM"))
				{
					Sub.Next();
					std::vector<FSpecifier> Specs = ReadSpecifiers(Sub);
					for (const FSpecifier& Spec : Specs)
					{
						if (ApplyDefaultSpecifier(Spec, Param.Meta, Session, File()))
						{
							continue;
						}
						const std::string N = ToLower(Spec.Name);
						if (N == "const")
						{
							CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
							Param.Flags |= CPF_ConstParm;
						}
						else if (N == "ref")
						{
							CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
							Param.bRefParam = true;
						}
						else if (N == "notreplicated")
						{
							throw FParseError{Spec.Line, "Only parameters in service request functions can be marked NotReplicated"};
						}
						else if (N == "required")
						{
							CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
							Param.Flags |= CPF_RequiredParm;
						}
						else if (N != "verse")
						{
							UnknownSpecifier(Spec, "parameter");
						}
					}
				}
				Param.Type = ParseType(Sub);
				if (Sub.Peek().IsIdentifier())
				{
					const FToken& NameTok = Sub.Next();
					Param.Name = NameTok.Text;
					Param.Line = NameTok.Line;
				}
				if (Sub.Peek().Is("["))
				{
					throw FParseError{Param.Line, "Arrays aren't allowed as function parameters"};
				}
				if (Sub.Accept("="))
				{
					Param.bHasDefault = true;
					const FToken* Previous = nullptr;
					while (!Sub.AtEnd())
					{
						const FToken& T = Sub.Next();
						if (Previous && (Previous->IsIdentifier() || Previous->Type == ETokenType::Number) && (T.IsIdentifier() || T.Type == ETokenType::Number))
						{
							Param.DefaultText += ' ';
						}
						Param.DefaultText += T.Text;
						Previous = &T;
					}
				}
				if (!Sub.AtEnd())
				{
					throw FParseError{Sub.Line(), "Unexpected '" + Sub.Peek().Text + "' in parameter list"};
				}
				return Param;
			}

			// Splits "(a, b<c, d>, e = f(g, h))" into top-level parameter token lists.
			std::vector<std::vector<FToken>> ReadParameterTokens()
			{
				std::vector<std::vector<FToken>> Params;
				Reader.Require("(", "function declaration");
				std::vector<FToken> Current;
				int Depth = 0;
				int Angle = 0;
				while (true)
				{
					if (Reader.AtEnd())
					{
						Reader.Fail("Unexpected end of file in parameter list");
					}
					const FToken& T = Reader.Next();
					if (Depth == 0 && T.Is(")"))
					{
						break;
					}
					if (T.Is("(") || T.Is("{") || T.Is("["))
					{
						++Depth;
					}
					else if (T.Is(")") || T.Is("}") || T.Is("]"))
					{
						--Depth;
					}
					else if (T.Is("<") && Depth == 0)
					{
						++Angle;
					}
					else if (T.Is(">") && Depth == 0 && Angle > 0)
					{
						--Angle;
					}
					if (Depth == 0 && Angle == 0 && T.Is(","))
					{
						Params.push_back(std::move(Current));
						Current.clear();
						continue;
					}
					Current.push_back(T);
				}
				if (!Current.empty())
				{
					Params.push_back(std::move(Current));
				}
				if (Params.size() == 1 && Params[0].size() == 1 && Params[0][0].Is("void"))
				{
					Params.clear();
				}
				return Params;
			}

			std::string TokensText(const std::vector<FToken>& Tokens)
			{
				std::string Out;
				const FToken* Previous = nullptr;
				int SkipDepth = -1;
				for (size_t Index = 0; Index < Tokens.size(); ++Index)
				{
					const FToken& T = Tokens[Index];
					if (SkipDepth >= 0)
					{
						SkipDepth += T.Is("(") ? 1 : T.Is(")") ? -1 : 0;
						if (SkipDepth == 0 && T.Is(")"))
						{
							SkipDepth = -1;
						}
						continue;
					}
					if (T.Is("="))
					{
						break;
					}
					if (T.Is("UPARAM"))
					{
						SkipDepth = 0;
						continue;
					}
					if (Previous && (Previous->IsIdentifier() || Previous->Type == ETokenType::Number || Previous->Is("*") || Previous->Is("&") || Previous->Is(">"))
						&& (T.IsIdentifier() || T.Type == ETokenType::Number))
					{
						Out += ' ';
					}
					Out += T.Text;
					Previous = &T;
				}
				return Out;
			}

			void ParseFunction(FClass& Class, EAccess Access)
			{
				const FToken& MacroTok = Reader.Next();
				FFunction Func;
				Func.Access = Access;
				Func.bEditorOnly = (MacroTok.Blocks & BLOCK_Editor) != 0;
				std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
				Func.Line = MacroTok.Line;
				ApplyFunctionSpecifiers(Func, Specs);
				const bool bBIE = Func.Meta.count("__BIE") != 0;
				const bool bBNE = Func.Meta.count("__BNE") != 0;
				if ((bBIE || bBNE) && Access == EAccess::Private)
				{
					throw FParseError{MacroTok.Line, bBIE ? "A Private function cannot be a BlueprintImplementableEvent!" : "A Private function cannot be a BlueprintNativeEvent!"};
				}

				// Modifiers before the return type.
				std::string ApiBeforeStatic;
				while (true)
				{
					const FToken& T = Reader.Peek();
					if (T.Is("virtual")) { Func.bVirtual = true; Reader.Next(); continue; }
					if (T.Is("static"))
					{
						if (!ApiBeforeStatic.empty())
						{
							throw FParseError{T.Line, "Unexpected API macro '" + ApiBeforeStatic + "'. Did you mean to put '" + ApiBeforeStatic + "' after the static keyword?"};
						}
						Func.bStatic = true;
						Reader.Next();
						continue;
					}
					if (T.Is("inline") || T.Is("FORCEINLINE") || T.Is("FORCENOINLINE") || T.Is("explicit") || T.Is("constexpr"))
					{
						Reader.Next();
						continue;
					}
					if (IsApiMacro(T))
					{
						if (Class.bApi)
						{
							throw FParseError{T.Line, "API must not be used on methods of a class that is marked with an API itself."};
						}
						if (!Func.bStatic)
						{
							ApiBeforeStatic = T.Text;
						}
						Func.bApi = true;
						Reader.Next();
						continue;
					}
					break;
				}

				const size_t RetStart = Reader.Position();
				FType Ret = ParseType(Reader);
				{
					std::vector<FToken> RetTokens;
					for (size_t I = RetStart; I < Reader.Position(); ++I)
					{
						RetTokens.push_back(Reader.At(I));
					}
					Func.RetCppType = TokensText(RetTokens);
				}
				if (IsApiMacro(Reader.Peek()))
				{
					Reader.Next();
				}
				const FToken& NameTok = Reader.RequireIdentifier("function declaration");
				Func.Name = NameTok.Text;
				const FToken& OpenTok = Reader.Peek();
				std::vector<std::vector<FToken>> ParamTokens = ReadParameterTokens();
				for (const std::vector<FToken>& Tokens : ParamTokens)
				{
					FProperty Param = ParseParameter(Tokens, false);
					Func.ParamCppDecls.push_back(TokensText(Tokens));
					Func.Params.push_back(std::move(Param));
				}
				if (!(Ret.Kind == ETypeKind::Void && !Ret.bNeedsResolve && !Ret.bPointer))
				{
					FProperty RetProp;
					RetProp.Name = "ReturnValue";
					RetProp.Type = Ret;
					RetProp.Line = NameTok.Line;
					Func.Return = RetProp;
				}

				// Trailing qualifiers; a /* */ comment from here to the ';' replaces the doc comment.
				const FToken* CommentTok = &MacroTok;
				if (OpenTok.bCommentIsBlock)
				{
					CommentTok = &OpenTok;
				}
				while (true)
				{
					const FToken& T = Reader.Peek();
					if (T.bCommentIsBlock && !T.Comment.empty())
					{
						CommentTok = &T;
					}
					if (T.Is("const")) { Func.bConst = true; Reader.Next(); continue; }
					if (T.Is("override")) { Reader.Next(); continue; }
					if (T.Is("final")) { Func.bFinal = true; Reader.Next(); continue; }
					if (T.Is("noexcept")) { Reader.Next(); continue; }
					if (T.Is("PURE_VIRTUAL"))
					{
						Reader.Next();
						Reader.SkipGroup();
						continue;
					}
					if (T.Is("="))
					{
						Reader.Next();
						const FToken& V = Reader.Next();
						if (V.Text != "0" && V.Text != "delete" && V.Text != "default")
						{
							throw FParseError{V.Line, "Expected 0 to indicate function is abstract"};
						}
						continue;
					}
					break;
				}
				if (Reader.Peek().Is("{"))
				{
					Reader.SkipGroup();
					Reader.Accept(";");
				}
				else
				{
					Reader.Require(";", "function declaration");
				}
				if (Func.Meta.count("ToolTip") == 0)
				{
					SetComment(Func.Meta, *CommentTok);
				}
				Func.Meta["ModuleRelativePath"] = Header.ModuleRelative;
				Class.Functions.push_back(std::move(Func));
			}

			// ----------------------------------------------------------------------------------
			// Enums

			void ParseEnum()
			{
				const FToken& MacroTok = Reader.Next();
				std::vector<FSpecifier> Specs = ReadSpecifiers(Reader);
				auto Enum = std::make_unique<FEnum>();
				Enum->Line = MacroTok.Line;
				for (const FSpecifier& Spec : Specs)
				{
					if (ApplyDefaultSpecifier(Spec, Enum->Meta, Session, File()))
					{
						continue;
					}
					const std::string N = ToLower(Spec.Name);
					if (N == "flags")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
						Enum->bFlags = true;
					}
					else if (N == "minimalapi")
					{
						CheckSpecifierValue(Spec, ESpecValue::None, Session, File());
					}
					else if (N != "verse")
					{
						UnknownSpecifier(Spec, "enum");
					}
				}
				SetComment(Enum->Meta, MacroTok);

				bool bNamespace = false;
				if (Reader.Accept("namespace"))
				{
					bNamespace = true;
					Enum->Form = EEnumForm::Namespaced;
					Enum->Name = Reader.RequireIdentifier("enum namespace").Text;
					Reader.Require("{", "enum namespace");
					Reader.Require("enum", "enum namespace");
					const FToken& TypeTok = Reader.RequireIdentifier("enum declaration");
					if (TypeTok.Text != "Type")
					{
						throw FParseError{TypeTok.Line, "Missing 'Type' in namespace enum"};
					}
				}
				else
				{
					Reader.Require("enum", "UENUM");
					if (Reader.Accept("class") || Reader.Accept("struct"))
					{
						Enum->Form = EEnumForm::EnumClass;
					}
					else
					{
						Enum->Form = EEnumForm::Regular;
					}
					Enum->Name = Reader.RequireIdentifier("enum declaration").Text;
				}
				if (Reader.Accept(":"))
				{
					const FToken& Base = Reader.RequireIdentifier("enum base");
					Enum->Underlying = Base.Text;
					static const char* const Allowed[] = {"uint8", "uint16", "uint32", "uint64", "int8", "int16", "int32", "int64", "int"};
					bool bOk = false;
					for (const char* A : Allowed)
					{
						if (EqualsIgnoreCase(Base.Text, A))
						{
							bOk = true;
						}
					}
					if (!bOk)
					{
						throw FParseError{Base.Line, "Unsupported enum underlying base type '" + Base.Text + "'"};
					}
				}
				if (Enum->bFlags && Enum->Form != EEnumForm::EnumClass)
				{
					throw FParseError{Enum->Line, "The 'Flags' specifier can only be used on enum classes"};
				}
				const auto Bp = Enum->Meta.find("BlueprintType");
				if (Bp != Enum->Meta.end() && Enum->Form == EEnumForm::EnumClass && !EqualsIgnoreCase(Enum->Underlying, "uint8"))
				{
					throw FParseError{Enum->Line, "Invalid BlueprintType enum base - currently only uint8 supported"};
				}

				Reader.Require("{", "enum declaration");
				int64_t NextValue = 0;
				bool bNextKnown = true;
				while (!Reader.Peek().Is("}"))
				{
					if (Reader.AtEnd())
					{
						Reader.Fail("Unexpected end of file in enum");
					}
					const FToken& EntryTok = Reader.RequireIdentifier("enum entry");
					FEnumEntry Entry;
					Entry.Name = EntryTok.Text;
					Entry.Line = EntryTok.Line;
					if (EqualsIgnoreCase(Entry.Name, "true") || EqualsIgnoreCase(Entry.Name, "false"))
					{
						throw FParseError{EntryTok.Line, "Enumerations can't have any elements named 'true' or 'false' regardless of case"};
					}
					if (Reader.Accept("="))
					{
						std::vector<const FToken*> ValueTokens;
						while (!Reader.AtEnd() && !Reader.Peek().Is(",") && !Reader.Peek().Is("}") && !Reader.Peek().Is("UMETA"))
						{
							ValueTokens.push_back(&Reader.Next());
						}
						bool bParsed = false;
						if (ValueTokens.size() == 1 && ValueTokens[0]->Type == ETokenType::Number)
						{
							Entry.Value = std::stoll(ValueTokens[0]->Text, nullptr, 0);
							bParsed = true;
						}
						else if (ValueTokens.size() == 2 && ValueTokens[0]->Is("-") && ValueTokens[1]->Type == ETokenType::Number)
						{
							Entry.Value = -std::stoll(ValueTokens[1]->Text, nullptr, 0);
							bParsed = true;
						}
						Entry.bValueKnown = bParsed;
						bNextKnown = bParsed;
						NextValue = Entry.Value + 1;
					}
					else
					{
						Entry.Value = NextValue;
						Entry.bValueKnown = bNextKnown;
						++NextValue;
					}
					if (Reader.Peek().Is("UMETA"))
					{
						Reader.Next();
						ReadMetaList(Reader, Entry.Meta, "", "metadata");
					}
					SetComment(Entry.Meta, EntryTok);
					Enum->Entries.push_back(std::move(Entry));
					if (!Reader.Accept(","))
					{
						break;
					}
				}
				Reader.Require("}", "enum declaration");
				Reader.Accept(";");
				if (bNamespace)
				{
					Reader.Require("}", "enum namespace");
					Reader.Accept(";");
				}
				Enum->Meta["ModuleRelativePath"] = Header.ModuleRelative;
				Header.Order.emplace_back(EDeclKind::Enum, Header.Enums.size());
				Header.Enums.push_back(std::move(Enum));
			}

			// ----------------------------------------------------------------------------------
			// Dynamic delegates

			void ParseDelegate(FClass* OuterClass, std::vector<FSpecifier>* Specs, const FToken* UDelegateTok)
			{
				const FToken& MacroTok = Reader.Next();
				const std::string& Macro = MacroTok.Text;
				auto Func = std::make_unique<FFunction>();
				Func->bDelegate = true;
				Func->Line = MacroTok.Line;
				Func->Flags = FUNC_Public | FUNC_Delegate;

				const bool bMulticast = Macro.find("_MULTICAST") != std::string::npos;
				const bool bSparse = Macro.find("_SPARSE") != std::string::npos;
				const bool bRetVal = Macro.find("_RetVal") != std::string::npos;
				const bool bConst = Macro.size() >= 6 && Macro.compare(Macro.size() - 6, 6, "_Const") == 0;
				int Count = 0;
				for (int I = 0; I < 9; ++I)
				{
					if (Macro.find(DelegateCountSuffixes[I]) != std::string::npos)
					{
						Count = I + 1;
						break;
					}
				}
				std::string Expected = std::string("DECLARE_DYNAMIC") + (bMulticast ? "_MULTICAST" : "") + (bSparse ? "_SPARSE" : "") + "_DELEGATE"
					+ (bRetVal ? "_RetVal" : "") + (Count > 0 ? DelegateCountSuffixes[Count - 1] : "") + (bConst ? "_Const" : "");
				if (Expected != Macro)
				{
					throw FParseError{MacroTok.Line, "Unable to parse delegate declaration; expected '" + Expected + "' but found '" + Macro + "'."};
				}
				if (bMulticast && bRetVal)
				{
					throw FParseError{MacroTok.Line, "Multi-cast delegates function signatures must not return a value"};
				}
				Func->bMulticast = bMulticast;
				if (bMulticast)
				{
					Func->Flags |= FUNC_MulticastDelegate;
				}
				if (bConst)
				{
					Func->Flags |= FUNC_Const;
					Func->bConst = true;
				}
				if (Specs)
				{
					ApplyFunctionSpecifiers(*Func, *Specs);
					Func->Flags &= ~(FUNC_Event | FUNC_BlueprintEvent);
				}

				std::vector<std::vector<FToken>> Args = ReadParameterTokens();
				Func->MacroEndLine = Reader.At(Reader.Position() - 1).Line;
				Reader.Accept(";");
				size_t ArgIndex = 0;
				if (bRetVal)
				{
					if (Args.empty())
					{
						Reader.Fail("Missing return type in delegate declaration");
					}
					FTokenReader Sub(Args[0]);
					FProperty RetProp;
					RetProp.Name = "ReturnValue";
					RetProp.Type = ParseType(Sub);
					RetProp.Line = MacroTok.Line;
					std::vector<FToken> RetTokens = Args[0];
					Func->RetCppType = TokensText(RetTokens);
					Func->Return = RetProp;
					++ArgIndex;
				}
				if (bSparse)
				{
					ArgIndex += 1; // the owning class comes first
				}
				if (ArgIndex >= Args.size() || Args[ArgIndex].size() != 1 || !Args[ArgIndex][0].IsIdentifier())
				{
					throw FParseError{MacroTok.Line, "Missing delegate name in '" + Macro + "'"};
				}
				Func->DelegateName = Args[ArgIndex][0].Text;
				++ArgIndex;
				if (bSparse)
				{
					ArgIndex += 1; // the property name
				}
				if (Func->DelegateName.empty() || Func->DelegateName[0] != 'F')
				{
					throw FParseError{MacroTok.Line, "Delegate type declarations must start with F"};
				}
				Func->Name = Func->DelegateName.substr(1) + "__DelegateSignature";

				const size_t Remaining = Args.size() - ArgIndex;
				const size_t Found = (Remaining + 1) / 2;
				if ((int)Found != Count || Remaining % 2 != 0)
				{
					throw FParseError{MacroTok.Line, "Expected " + std::to_string(Count) + " parameters but found " + std::to_string(Found) + " parameters"};
				}
				for (size_t I = ArgIndex; I + 1 < Args.size(); I += 2)
				{
					std::vector<FToken> Tokens = Args[I];
					if (Args[I + 1].size() != 1 || !Args[I + 1][0].IsIdentifier())
					{
						throw FParseError{Args[I + 1].empty() ? MacroTok.Line : Args[I + 1][0].Line, "Missing parameter name in delegate declaration"};
					}
					Func->ParamCppDecls.push_back(TokensText(Tokens) + " " + Args[I + 1][0].Text);
					Tokens.push_back(Args[I + 1][0]);
					Func->Params.push_back(ParseParameter(Tokens, true));
				}
				SetComment(Func->Meta, UDelegateTok ? *UDelegateTok : MacroTok);
				Func->Meta["ModuleRelativePath"] = Header.ModuleRelative;
				if (OuterClass)
				{
					Func->OuterClass = OuterClass->Name;
					OuterClass->Delegates.push_back(std::move(*Func));
				}
				else
				{
					Header.Order.emplace_back(EDeclKind::Delegate, Header.Delegates.size());
					Header.Delegates.push_back(std::move(Func));
				}
			}
		};
	}

	void ParseHeader(FSession& Session, FHeader& Header, const std::string& Text)
	{
		FTokenizeResult Tokens = Tokenize(Text, Header.BaseName);
		Header.bIncludesGenerated = Tokens.bIncludesGenerated;
		FParser Parser(Session, Header, Tokens);
		Parser.Run();
	}
}
