// Resolves the types that declarations name and runs the engine tool's validation: Blueprint
// support, pin kinds, defaults, prefixes and the other rejections.
#include "HeaderTool.h"
#include "Tokenizer.h"

#include <cctype>
#include <cstdio>
#include <functional>
#include <set>

namespace HeaderTool
{
	using namespace Flags;

	namespace
	{
		constexpr uint64_t CPF_ContainsInstancedReference = 0x8000000000ull;

		struct FChecker
		{
			FSession& Session;
			const FHeader* Header = nullptr;

			void Error(int Line, const std::string& Message)
			{
				Session.Diag.Error(Header->Path, Line, Message);
			}
			void Warning(int Line, const std::string& Message)
			{
				Session.Diag.Warning(Header->Path, Line, Message);
			}

			const FKnownType* Find(const std::string& Name) const
			{
				const auto It = Session.Types.find(Name);
				return It == Session.Types.end() ? nullptr : &It->second;
			}

			bool IsChildOf(const std::string& Class, const std::string& Base) const
			{
				std::string Current = Class;
				for (int Guard = 0; Guard < 64 && !Current.empty(); ++Guard)
				{
					if (Current == Base)
					{
						return true;
					}
					const FKnownType* T = Find(Current);
					if (!T)
					{
						return false;
					}
					Current = T->Super;
				}
				return false;
			}

			bool IsStructBlueprintType(const std::string& Name) const
			{
				std::string Current = Name;
				for (int Guard = 0; Guard < 64 && !Current.empty(); ++Guard)
				{
					const FKnownType* T = Find(Current);
					if (!T || T->Kind != EDeclKind::Struct)
					{
						return false;
					}
					if (T->bBlueprintType)
					{
						return true;
					}
					if (T->Class && T->Class->Meta.count("NotBlueprintType"))
					{
						return false;
					}
					Current = T->Super;
				}
				return false;
			}

			[[noreturn]] void UnknownType(const FType& Type, const std::string& Name)
			{
				throw FParseError{Type.Line, "Unable to find 'class', 'delegate', 'enum', or 'struct' with name '" + Name + "'"};
			}

			// Gives an unresolved type its kind from the known types. Throws on failure.
			void Resolve(FType& Type, bool bMember, bool bContainerElement)
			{
				for (FType& Inner : Type.Inner)
				{
					Inner.Line = Type.Line;
					Resolve(Inner, bMember, true);
				}
				if (Type.Kind == ETypeKind::Array)
				{
					const ETypeKind K = Type.Inner[0].Kind;
					if (K == ETypeKind::Array || K == ETypeKind::Map || K == ETypeKind::Set)
					{
						throw FParseError{Type.Line, "The type '" + Type.Inner[0].Decl + "' can not be used as a value in a TArray"};
					}
				}
				if (Type.Kind == ETypeKind::Map)
				{
					const ETypeKind K = Type.Inner[0].Kind;
					if (K == ETypeKind::Text || K == ETypeKind::Array || K == ETypeKind::Map || K == ETypeKind::Set || K == ETypeKind::Bool
						|| K == ETypeKind::Delegate || K == ETypeKind::MulticastDelegate)
					{
						throw FParseError{Type.Line, "The type '" + Type.Inner[0].Decl + "' can not be used as a key in a TMap"};
					}
					const ETypeKind V = Type.Inner[1].Kind;
					if (V == ETypeKind::Array || V == ETypeKind::Map || V == ETypeKind::Set)
					{
						throw FParseError{Type.Line, "The type '" + Type.Inner[1].Decl + "' can not be used as a value in a TMap"};
					}
				}
				if (Type.Kind == ETypeKind::Set)
				{
					const ETypeKind K = Type.Inner[0].Kind;
					if (K == ETypeKind::Text || K == ETypeKind::Array || K == ETypeKind::Map || K == ETypeKind::Set || K == ETypeKind::Bool)
					{
						throw FParseError{Type.Line, "The type '" + Type.Inner[0].Decl + "' can not be used as a key in a TSet"};
					}
				}
				if (!Type.bNeedsResolve)
				{
					if (Type.bPointer && Type.Kind != ETypeKind::Class)
					{
						throw FParseError{Type.Line, "Inappropriate '*' on variable of type '" + Type.Decl + "', cannot have an exposed pointer to this type."};
					}
					return;
				}
				Type.bNeedsResolve = false;
				switch (Type.Kind)
				{
				case ETypeKind::ObjectPtr:
				case ETypeKind::WeakObject:
				case ETypeKind::SoftObject:
				case ETypeKind::Class:
				case ETypeKind::SoftClass:
				case ETypeKind::Interface:
				{
					const FKnownType* T = Find(Type.TypeName);
					if (!T || (T->Kind != EDeclKind::Class && T->Kind != EDeclKind::Interface))
					{
						if (Type.Kind == ETypeKind::Interface && Type.TypeName.size() > 1 && Type.TypeName[0] == 'I' && Find("U" + Type.TypeName.substr(1)))
						{
							return;
						}
						UnknownType(Type, Type.TypeName);
					}
					if (Type.Kind == ETypeKind::ObjectPtr && T->Kind == EDeclKind::Interface)
					{
						throw FParseError{Type.Line, "UPROPERTY pointers cannot be interfaces - did you mean TScriptInterface<" + Type.TypeName + ">?"};
					}
					return;
				}
				case ETypeKind::EnumAsByte:
				{
					const FKnownType* T = Find(Type.TypeName);
					if (!T || T->Kind != EDeclKind::Enum)
					{
						UnknownType(Type, Type.TypeName);
					}
					return;
				}
				default:
					break;
				}
				if (Type.TypeName == "Text")
				{
					throw FParseError{Type.Line, "'Text' is missing a prefix, expecting 'FText'"};
				}
				const FKnownType* T = Find(Type.TypeName);
				if (!T)
				{
					UnknownType(Type, Type.TypeName);
				}
				switch (T->Kind)
				{
				case EDeclKind::Struct:
					if (Type.bPointer)
					{
						throw FParseError{Type.Line, "Inappropriate '*' on variable of type '" + Type.Decl + "', cannot have an exposed pointer to this type."};
					}
					Type.Kind = ETypeKind::Struct;
					return;
				case EDeclKind::Enum:
					if (Type.bPointer)
					{
						throw FParseError{Type.Line, "Inappropriate '*' on variable of type '" + Type.Decl + "', cannot have an exposed pointer to this type."};
					}
					if (bMember && !bContainerElement && T->EnumForm != EEnumForm::EnumClass)
					{
						throw FParseError{Type.Line, "You cannot use the raw enum name as a type for member variables, instead use TEnumAsByte or a C++11 enum class with an explicit underlying type."};
					}
					Type.Kind = ETypeKind::Enum;
					return;
				case EDeclKind::Delegate:
					Type.Kind = T->bMulticast ? ETypeKind::MulticastDelegate : ETypeKind::Delegate;
					return;
				case EDeclKind::Class:
				case EDeclKind::Interface:
					if (!Type.bPointer)
					{
						throw FParseError{Type.Line, "Class variables cannot be stored by value: '" + Type.Decl + "'"};
					}
					Type.Kind = Type.TypeName == "UClass" ? ETypeKind::Class : ETypeKind::Object;
					if (Type.Kind == ETypeKind::Class)
					{
						Type.MetaClassName = "UObject";
					}
					return;
				}
			}

			bool EnumIsByte(const std::string& Name) const
			{
				const FKnownType* T = Find(Name);
				return T && (T->Underlying.empty() ? T->EnumForm != EEnumForm::EnumClass : EqualsIgnoreCase(T->Underlying, "uint8"));
			}

			bool IsSupportedByBlueprint(const FType& Type, bool bParam) const
			{
				switch (Type.Kind)
				{
				case ETypeKind::Byte:
				case ETypeKind::Int32:
				case ETypeKind::Int64:
				case ETypeKind::Float:
				case ETypeKind::Double:
				case ETypeKind::Bool:
				case ETypeKind::Str:
				case ETypeKind::Name:
				case ETypeKind::Text:
				case ETypeKind::Object:
				case ETypeKind::ObjectPtr:
				case ETypeKind::Class:
				case ETypeKind::WeakObject:
				case ETypeKind::SoftObject:
				case ETypeKind::SoftClass:
				case ETypeKind::Interface:
				case ETypeKind::Delegate:
					return true;
				case ETypeKind::EnumAsByte:
					return true;
				case ETypeKind::Enum:
					return EnumIsByte(Type.TypeName);
				case ETypeKind::Struct:
					return IsStructBlueprintType(Type.TypeName);
				case ETypeKind::MulticastDelegate:
					return !bParam;
				case ETypeKind::Array:
				case ETypeKind::Set:
					return IsSupportedByBlueprint(Type.Inner[0], bParam);
				case ETypeKind::Map:
					return IsSupportedByBlueprint(Type.Inner[0], bParam) && IsSupportedByBlueprint(Type.Inner[1], bParam);
				default:
					return false;
				}
			}

			bool ClassIsDefaultToInstanced(const std::string& Name) const
			{
				const FKnownType* T = Find(Name);
				return T && (T->ClassFlags & CLASS_DefaultToInstanced);
			}

			bool ContainsObjectPtr(const FType& Type) const
			{
				if (Type.Kind == ETypeKind::ObjectPtr)
				{
					return true;
				}
				for (const FType& Inner : Type.Inner)
				{
					if (ContainsObjectPtr(Inner))
					{
						return true;
					}
				}
				return false;
			}

			// Flags and metadata that come from the resolved type rather than the specifiers.
			void ApplyTypeFlags(FProperty& Prop)
			{
				const FType& T = Prop.Type;
				if (T.Kind == ETypeKind::ObjectPtr)
				{
					Prop.Flags |= CPF_TObjectPtr | CPF_UObjectWrapper;
				}
				if (T.Kind == ETypeKind::Class && T.bSubclassOf)
				{
					Prop.Flags |= CPF_UObjectWrapper;
				}
				auto IsInstancedObject = [&](const FType& X)
				{
					return (X.Kind == ETypeKind::Object || X.Kind == ETypeKind::ObjectPtr) && ClassIsDefaultToInstanced(X.TypeName);
				};
				if (IsInstancedObject(T))
				{
					Prop.Flags |= CPF_InstancedReference | CPF_ExportObject;
					Prop.Meta["EditInline"] = "true";
				}
				else if ((T.Kind == ETypeKind::Array || T.Kind == ETypeKind::Set) && IsInstancedObject(T.Inner[0]))
				{
					Prop.Flags |= CPF_ContainsInstancedReference;
					Prop.Meta["EditInline"] = "true";
				}
				else if (T.Kind == ETypeKind::Map && IsInstancedObject(T.Inner[1]))
				{
					Prop.Flags |= CPF_ContainsInstancedReference;
					Prop.Meta["EditInline"] = "true";
				}
			}

			bool IsObjectKind(ETypeKind K) const
			{
				return K == ETypeKind::Object || K == ETypeKind::ObjectPtr || K == ETypeKind::Class || K == ETypeKind::WeakObject
					|| K == ETypeKind::SoftObject || K == ETypeKind::SoftClass || K == ETypeKind::Interface;
			}

			void CheckMember(FClass& Owner, FProperty& Prop)
			{
				Resolve(Prop.Type, true, false);
				ApplyTypeFlags(Prop);
				const FType& T = Prop.Type;
				const bool bMulticast = T.Kind == ETypeKind::MulticastDelegate;
				if (!bMulticast)
				{
					if (Prop.bBlueprintAssignable)
					{
						throw FParseError{Prop.Line, "'BlueprintAssignable' is only allowed on multicast delegate properties"};
					}
					if (Prop.bBlueprintCallableSpec)
					{
						throw FParseError{Prop.Line, "'BlueprintCallable' is only allowed on multicast delegate properties"};
					}
					if (Prop.bBlueprintAuthorityOnlySpec)
					{
						throw FParseError{Prop.Line, "'BlueprintAuthorityOnly' is only allowed on multicast delegate properties"};
					}
				}
				if (Prop.bInstanced)
				{
					const ETypeKind Elem = (T.Kind == ETypeKind::Array || T.Kind == ETypeKind::Set) ? T.Inner[0].Kind
						: T.Kind == ETypeKind::Map ? T.Inner[1].Kind : T.Kind;
					if (!IsObjectKind(Elem))
					{
						throw FParseError{Prop.Line, "'Instanced' is only allowed on an object property, an array of objects, a set of objects, or a map with an object value type."};
					}
				}
				if (Prop.bConfig && IsObjectKind(T.Kind) && T.Kind != ETypeKind::SoftObject && T.Kind != ETypeKind::SoftClass)
				{
					throw FParseError{Prop.Line, "Not allowed to use 'config' with object variables"};
				}
				if (Owner.bStruct && (Prop.Flags & (CPF_Transient | CPF_DuplicateTransient | CPF_NonPIEDuplicateTransient | CPF_TextExportTransient)) && false)
				{
				}

				const bool bExposed = (Prop.Flags & (CPF_Edit | CPF_BlueprintVisible | CPF_BlueprintAssignable | CPF_BlueprintCallable)) != 0;
				if (Prop.bBlueprintVisible && !(Prop.Flags & (CPF_BlueprintAssignable | CPF_BlueprintCallable)) && !bMulticast)
				{
					if (Owner.bStruct && !IsStructBlueprintType(Owner.Name))
					{
						throw FParseError{Prop.Line, "Cannot expose property to blueprints in a struct that is not a BlueprintType. Struct: " + Owner.Name + " Property: " + Prop.Name};
					}
					if (T.bStaticArray)
					{
						throw FParseError{Prop.Line, "Static array cannot be exposed to blueprint Class: " + Owner.Name + " Property: " + Prop.Name};
					}
					if (!IsSupportedByBlueprint(T, false))
					{
						throw FParseError{Prop.Line, "Type '" + T.Decl + "' is not supported by blueprint. " + (Owner.bStruct ? "Struct: " : "Class: ") + Owner.Name + " Property: " + Prop.Name};
					}
				}
				if (Prop.bEditorOnly && Owner.bStruct && Prop.bBlueprintVisible)
				{
					throw FParseError{Prop.Line, "Blueprint exposed struct members cannot be editor only"};
				}
				if (Prop.Meta.count("ExposeOnSpawn") && !(Prop.Flags & CPF_BlueprintVisible) && !((Prop.Flags & CPF_Edit) && !(Prop.Flags & CPF_DisableEditOnInstance)))
				{
					throw FParseError{Prop.Line, "ExposeOnSpawn - Property cannot be exposed"};
				}
				if (Prop.Meta.count("ExposeOnSpawn"))
				{
					Prop.Flags |= CPF_ExposeOnSpawn;
				}
				for (const char* Key : {"UIMin", "UIMax", "ClampMin", "ClampMax"})
				{
					const auto It = Prop.Meta.find(Key);
					if (It != Prop.Meta.end())
					{
						char* End = nullptr;
						const std::string V = Trim(It->second);
						std::strtod(V.c_str(), &End);
						if (V.empty() || End != V.c_str() + V.size())
						{
							throw FParseError{Prop.Line, std::string("Metadata value for '") + Key + "' is non-numeric : '" + It->second + "'"};
						}
					}
				}
				if (Prop.bHasCategory && !bExposed)
				{
					Warning(Prop.Line, "Property has a Category set but is not exposed to the editor or Blueprints with EditAnywhere, BlueprintReadWrite, VisibleAnywhere, BlueprintReadOnly, BlueprintAssignable, BlueprintCallable keywords.");
				}
				if (!Prop.bHasCategory && bExposed)
				{
					if (Session.Module.bEngineModule)
					{
						throw FParseError{Prop.Line, "An explicit Category specifier is required for any property exposed to the editor or Blueprints in an Engine module."};
					}
					Prop.Meta["Category"] = EngineName(Owner.Name);
				}
			}

			// Parameter flags and pin kinds (engine rules for references and const).
			void SetParamFlags(FProperty& Param)
			{
				Param.Flags |= CPF_Parm | CPF_NativeAccessSpecifierPublic;
				const FType& T = Param.Type;
				if (T.bConst)
				{
					Param.Meta["NativeConst"] = "";
				}
				if (T.bInnerConst || (T.Kind == ETypeKind::Array && !T.Inner.empty() && T.Inner[0].bConst))
				{
					Param.Meta["NativeConstTemplateArg"] = "";
				}
				if (T.bReference)
				{
					if (T.bConst)
					{
						if (T.Kind != ETypeKind::Str)
						{
							Param.Flags |= CPF_ConstParm | CPF_OutParm | CPF_ReferenceParm;
						}
					}
					else
					{
						Param.Flags |= CPF_OutParm;
						if (Param.bRefParam)
						{
							Param.Flags |= CPF_ReferenceParm;
						}
					}
				}
				if (T.Kind == ETypeKind::ObjectPtr)
				{
					Param.Flags |= CPF_TObjectPtr | CPF_UObjectWrapper;
				}
				if (T.Kind == ETypeKind::Class && T.bSubclassOf)
				{
					Param.Flags |= CPF_UObjectWrapper;
				}
			}

			bool SanitizeDefault(const FType& Type, const std::string& Text, std::string& Out)
			{
				const std::string V = Trim(Text);
				auto IsInt = [](const std::string& S)
				{
					size_t I = (!S.empty() && (S[0] == '-' || S[0] == '+')) ? 1 : 0;
					if (I >= S.size())
					{
						return false;
					}
					for (; I < S.size(); ++I)
					{
						if (!std::isdigit((unsigned char)S[I]))
						{
							return false;
						}
					}
					return true;
				};
				auto StringLiteral = [](const std::string& S, std::string& Result) -> bool
				{
					std::string X = S;
					if (StartsWith(X, "TEXT(") && X.back() == ')')
					{
						X = X.substr(5, X.size() - 6);
					}
					if (X.size() >= 2 && X.front() == '"' && X.back() == '"')
					{
						Result = Unquote(X);
						return true;
					}
					return false;
				};
				switch (Type.Kind)
				{
				case ETypeKind::Int32:
				case ETypeKind::Int64:
					if (IsInt(V))
					{
						Out = V[0] == '+' ? V.substr(1) : V;
						return true;
					}
					return false;
				case ETypeKind::Byte:
				{
					if (IsInt(V))
					{
						const long N = std::stol(V);
						if (N >= 0 && N <= 255)
						{
							Out = std::to_string(N);
							return true;
						}
					}
					return false;
				}
				case ETypeKind::Float:
				case ETypeKind::Double:
				{
					std::string X = V;
					if (!X.empty() && (X.back() == 'f' || X.back() == 'F'))
					{
						X.pop_back();
					}
					char* End = nullptr;
					const double D = std::strtod(X.c_str(), &End);
					if (X.empty() || End != X.c_str() + X.size())
					{
						return false;
					}
					char Buffer[64];
					std::snprintf(Buffer, sizeof(Buffer), "%.6f", D);
					Out = Buffer;
					return true;
				}
				case ETypeKind::Bool:
					if (V == "true" || V == "false")
					{
						Out = V;
						return true;
					}
					return false;
				case ETypeKind::Str:
				{
					std::string X = V;
					if (StartsWith(X, "FString(") && X.back() == ')')
					{
						X = X.substr(8, X.size() - 9);
					}
					return StringLiteral(X, Out);
				}
				case ETypeKind::Name:
				{
					if (V == "NAME_None")
					{
						Out = "None";
						return true;
					}
					std::string X = V;
					if (StartsWith(X, "FName(") && X.back() == ')')
					{
						X = X.substr(6, X.size() - 7);
					}
					return StringLiteral(X, Out);
				}
				case ETypeKind::Text:
					if (V == "FText()" || V == "FText::GetEmpty()")
					{
						Out = "";
						return true;
					}
					if (StartsWith(V, "INVTEXT(") || StartsWith(V, "NSLOCTEXT(") || StartsWith(V, "LOCTABLE("))
					{
						Out = V;
						return true;
					}
					if (StartsWith(V, "FText::FromString("))
					{
						Out = V;
						return true;
					}
					return false;
				case ETypeKind::Enum:
				case ETypeKind::EnumAsByte:
				{
					std::string Entry = V;
					const size_t Scope = Entry.rfind("::");
					if (Scope != std::string::npos)
					{
						Entry = Entry.substr(Scope + 2);
					}
					const FKnownType* E = Find(Type.TypeName);
					if (E && E->Enum)
					{
						for (const FEnumEntry& Candidate : E->Enum->Entries)
						{
							if (Candidate.Name == Entry)
							{
								if (Candidate.Meta.count("Hidden"))
								{
									Out = "\x01" + Entry;
									return false;
								}
								Out = Entry;
								return true;
							}
						}
						return false;
					}
					Out = Entry;
					return !Entry.empty();
				}
				case ETypeKind::Object:
				case ETypeKind::Class:
					if (V == "nullptr" || V == "NULL" || V == "0" || V == "{}")
					{
						Out = "None";
						return true;
					}
					return false;
				case ETypeKind::Struct:
				{
					if (V == Type.TypeName + "()" || V == Type.TypeName + "{}")
					{
						Out = "";
						return true;
					}
					if ((Type.TypeName == "FVector2D" || Type.TypeName == "FVector" || Type.TypeName == "FLinearColor" || Type.TypeName == "FColor"
							|| Type.TypeName == "FRotator") && StartsWith(V, Type.TypeName))
					{
						Out = V.substr(Type.TypeName.size());
						return true;
					}
					return false;
				}
				default:
					return false;
				}
			}

			void CheckFunction(FClass& Owner, FFunction& Func, bool bDelegate)
			{
				const bool bBIE = Func.Meta.erase("__BIE") != 0;
				const bool bBNE = Func.Meta.erase("__BNE") != 0;
				const bool bEvent = bBIE || bBNE;

				for (FProperty& Param : Func.Params)
				{
					Resolve(Param.Type, false, false);
					SetParamFlags(Param);
				}
				if (Func.Return)
				{
					Resolve(Func.Return->Type, false, false);
					Func.Return->Flags |= CPF_Parm | CPF_OutParm | CPF_ReturnParm | CPF_NativeAccessSpecifierPublic;
					if (Func.Return->Type.bConst && Func.Return->Type.bReference)
					{
						Func.Return->Meta["NativeConst"] = "";
					}
				}

				if (!bDelegate)
				{
					for (const FProperty& Param : Func.Params)
					{
						if (ContainsObjectPtr(Param.Type))
						{
							throw FParseError{Param.Line, "UFunctions cannot take a TObjectPtr as a function parameter or return value."};
						}
					}
					if (Func.Return && ContainsObjectPtr(Func.Return->Type))
					{
						throw FParseError{Func.Return->Line, "UFunctions cannot take a TObjectPtr as a function parameter or return value."};
					}
				}

				// Function flags.
				Func.Flags |= Func.Access == EAccess::Public ? FUNC_Public : Func.Access == EAccess::Protected ? FUNC_Protected : FUNC_Private;
				if (bDelegate)
				{
					Func.Flags = (Func.Flags & ~(FUNC_Protected | FUNC_Private)) | FUNC_Public;
				}
				if (!bDelegate)
				{
					if (!bBIE)
					{
						Func.Flags |= FUNC_Native;
					}
					if (Func.bStatic)
					{
						Func.Flags |= FUNC_Static | FUNC_Final;
					}
					else if (!bEvent && (!Func.bVirtual || Func.bFinal))
					{
						Func.Flags |= FUNC_Final;
					}
					if (Func.bConst)
					{
						Func.Flags |= FUNC_Const;
					}
					if (Func.bEditorOnly)
					{
						Func.Flags |= FUNC_EditorOnly;
					}
					if (Func.bApi)
					{
						Func.Flags |= FUNC_RequiredAPI;
					}
				}
				bool bHasOutputs = Func.Return.has_value();
				for (const FProperty& Param : Func.Params)
				{
					if (Param.Flags & CPF_OutParm)
					{
						bHasOutputs = true;
					}
				}
				if (bHasOutputs)
				{
					Func.Flags |= FUNC_HasOutParms;
				}

				if (bEvent && Func.bFinal)
				{
					throw FParseError{Func.Line, "Blueprint events cannot be declared 'final'"};
				}
				if (bBIE && Func.bVirtual)
				{
					Warning(Func.Line, "BlueprintImplementableEvents should not be virtual. Use BlueprintNativeEvent instead.");
				}
				if (bBNE && Func.bVirtual)
				{
					throw FParseError{Func.Line, "BlueprintNativeEvent functions must be non-virtual."};
				}

				// A const BlueprintCallable function with outputs becomes pure.
				if (!bDelegate && Func.bConst && (Func.Flags & FUNC_BlueprintCallable) && bHasOutputs && !Func.bBlueprintPureFalse)
				{
					Func.Flags |= FUNC_BlueprintPure;
				}
				if ((Func.Flags & FUNC_BlueprintPure) && !bHasOutputs)
				{
					throw FParseError{Func.Line, "BlueprintPure specifier is not allowed for functions with no return value and no output parameters."};
				}

				const bool bBlueprint = (Func.Flags & (FUNC_BlueprintCallable | FUNC_BlueprintEvent)) != 0;
				if (bBlueprint && !bDelegate)
				{
					for (const FProperty& Param : Func.Params)
					{
						if (EqualsIgnoreCase(Param.Name, "self"))
						{
							throw FParseError{Param.Line, "Parameter name 'self' in function is invalid, 'self' is a reserved name."};
						}
						if (Param.Type.Kind == ETypeKind::EnumAsByte && !EnumIsByte(Param.Type.TypeName))
						{
							const FKnownType* E = Find(Param.Type.TypeName);
							if (E && E->EnumForm == EEnumForm::EnumClass)
							{
								throw FParseError{Param.Line, "Invalid enum param for Blueprints - currently only uint8 supported"};
							}
						}
						if (!IsSupportedByBlueprint(Param.Type, true))
						{
							throw FParseError{Param.Line, "Type '" + Param.Type.Decl + "' is not supported by blueprint. Function:  " + Func.Name + " Parameter " + Param.Name};
						}
					}
					if (Func.Return && !IsSupportedByBlueprint(Func.Return->Type, true))
					{
						throw FParseError{Func.Return->Line, "Type '" + Func.Return->Type.Decl + "' is not supported by blueprint. Function:  " + Func.Name + " Parameter ReturnValue"};
					}
				}
				if (Session.Module.bEngineModule && bBlueprint && !bDelegate && !Func.Meta.count("Category") && !Func.Meta.count("BlueprintInternalUseOnly"))
				{
					throw FParseError{Func.Line, "An explicit Category specifier is required for Blueprint accessible functions in an Engine module."};
				}

				// Default values: only Blueprint-callable and exec functions read them.
				if (!bDelegate && (Func.Flags & (FUNC_BlueprintCallable | FUNC_Exec)))
				{
					for (FProperty& Param : Func.Params)
					{
						if (!Param.bHasDefault)
						{
							continue;
						}
						const std::string Key = "CPP_Default_" + Param.Name;
						if (Func.Meta.count(Key))
						{
							continue;
						}
						if (Param.Type.Kind == ETypeKind::Text && StartsWith(Trim(Param.DefaultText), "LOCTEXT("))
						{
							throw FParseError{Param.Line, "LOCTEXT default parameter values are not supported; use NSLOCTEXT instead: " + Param.Name};
						}
						std::string Value;
						if (!SanitizeDefault(Param.Type, Param.DefaultText, Value))
						{
							if (!Value.empty() && Value[0] == '\x01')
							{
								throw FParseError{Param.Line, "Hidden enum entries cannot be used as default values: '" + Param.Name + "' '" + Value.substr(1) + "'"};
							}
							throw FParseError{Param.Line, "C++ Default parameter not parsed: " + Param.Name + " '" + Param.DefaultText + "'"};
						}
						if (Param.Type.Kind == ETypeKind::Text && StartsWith(Trim(Param.DefaultText), "FText::FromString("))
						{
							Warning(Param.Line, "FText::FromString should be replaced with INVTEXT for default parameter values");
						}
						Func.Meta[Key] = Value;
						Func.Flags |= FUNC_HasDefaults;
					}
				}

				// Parameters may not shadow the class's members.
				if (!bDelegate)
				{
					for (const FProperty& Param : Func.Params)
					{
						for (const FProperty& Member : Owner.Properties)
						{
							if (EqualsIgnoreCase(Member.Name, Param.Name))
							{
								throw FParseError{Param.Line, "Function parameter: '" + Param.Name + "' cannot be defined in '" + Func.Name
									+ "' as it is already defined in scope '" + Owner.Name + "' (shadowing is not allowed)"};
							}
						}
					}
				}
				if (bEvent)
				{
					Func.Meta["__Event"] = bBIE ? "BIE" : "BNE";
				}
			}

			void CheckClass(FClass& Class)
			{
				if (Class.bNativeInterface)
				{
					return;
				}
				if (!Class.bStruct)
				{
					if (Class.SuperName.empty() && !Class.bInterface)
					{
						throw FParseError{Class.Line, "UClass '" + Class.Name + "' should derive from UObject or another UClass"};
					}
					const FKnownType* Super = Find(Class.SuperName);
					if (!Super || (Super->Kind != EDeclKind::Class && Super->Kind != EDeclKind::Interface))
					{
						throw FParseError{Class.Line, Class.bInterface ? "Interface '" + Class.Name + "' must derive from an interface or UInterface"
							: "UClass '" + Class.Name + "' should derive from UObject or another UClass"};
					}
					const std::string Engine = EngineName(Class.Name);
					if (Engine.empty())
					{
						throw FParseError{Class.Line, "When compiling class definition for '" + Class.Name + "', attempting to strip prefix results in an empty name. Did you leave off a prefix?"};
					}
					const bool bActor = IsChildOf(Class.SuperName, "AActor");
					std::string Expected = (bActor ? "A" : "U") + (Class.Name == EngineName(Class.Name) ? Class.Name : Engine);
					if (Expected != Class.Name)
					{
						throw FParseError{Class.Line, "Class '" + Class.Name + "' has an invalid Unreal prefix, expecting '" + Expected + "'"};
					}
					if ((Class.ClassFlags & CLASS_MinimalAPI) && Class.bApi)
					{
						throw FParseError{Class.Line, "MinimalAPI cannot be specified when class is fully exported using a MODULENAME_API macro"};
					}
					for (const std::string& Base : Class.Interfaces)
					{
						const FKnownType* B = Find(Base);
						if (B && B->Kind == EDeclKind::Class)
						{
							throw FParseError{Class.Line, "Class '" + Base + "' is not an interface; Can only inherit from non-UObjects or UInterface derived interfaces"};
						}
					}
				}
				else if (!Class.SuperName.empty())
				{
					const FKnownType* Super = Find(Class.SuperName);
					if (Super && Super->Kind != EDeclKind::Struct)
					{
						throw FParseError{Class.Line, "'" + Class.SuperName + "' can not be used as a super for '" + Class.Name + "'"};
					}
					if (!Super)
					{
						// A struct may derive from a non-reflected C++ struct; it is then not a USTRUCT super.
						Class.SuperName.clear();
					}
				}

				bool bHasConfigProperty = false;
				for (FProperty& Prop : Class.Properties)
				{
					CheckMember(Class, Prop);
					bHasConfigProperty |= Prop.bConfig;
				}
				if (bHasConfigProperty && !Class.bStruct)
				{
					const FKnownType* Self = Find(Class.Name);
					if (!Self || !(Self->ClassFlags & CLASS_Config))
					{
						throw FParseError{Class.Line, "Classes with config / globalconfig member variables need to specify config file."};
					}
				}

				std::map<std::string, const FFunction*> Seen;
				for (FFunction& Func : Class.Functions)
				{
					const std::string Key = ToLower(Func.Name);
					const auto It = Seen.find(Key);
					if (It != Seen.end())
					{
						throw FParseError{Func.Line, "'" + Func.Name + "' conflicts with 'Function /Script/" + Session.Module.Name + "."
							+ EngineName(Class.Name) + ":" + It->second->Name + "'"};
					}
					Seen[Key] = &Func;
					CheckFunction(Class, Func, false);
				}
				for (FFunction& Delegate : Class.Delegates)
				{
					CheckFunction(Class, Delegate, true);
				}
			}

			void CheckEnum(FEnum& Enum)
			{
				for (FEnumEntry& Entry : Enum.Entries)
				{
					FMetaData Prefixed;
					for (const auto& [K, V] : Entry.Meta)
					{
						Prefixed[Entry.Name + "." + K] = V;
					}
					for (const auto& [K, V] : Prefixed)
					{
						Enum.Meta[K] = V;
					}
					if (Enum.Form != EEnumForm::Regular)
					{
						Enum.Meta[Entry.Name + ".Name"] = Enum.Name + "::" + Entry.Name;
					}
				}
				if (Enum.Meta.count("BlueprintType"))
				{
					bool bAllKnown = true;
					bool bHasZero = false;
					for (const FEnumEntry& Entry : Enum.Entries)
					{
						bAllKnown &= Entry.bValueKnown;
						bHasZero |= Entry.Value == 0;
					}
					if (bAllKnown && !bHasZero && !Enum.Entries.empty())
					{
						Warning(Enum.Line, "'" + Enum.Name + "' does not have a 0 entry! (This is a problem when the enum is initialized by default)");
					}
				}
			}

			void Run(FHeader& InHeader)
			{
				Header = &InHeader;
				bool bExportsTypes = false;
				int FirstLine = 0;
				for (const auto& Class : InHeader.Classes)
				{
					if (!Class->bNoExport && !Class->bNativeInterface)
					{
						bExportsTypes = true;
						FirstLine = FirstLine ? FirstLine : Class->Line;
					}
				}
				if (!InHeader.Enums.empty() || !InHeader.Delegates.empty())
				{
					bExportsTypes = true;
					if (!FirstLine)
					{
						FirstLine = !InHeader.Enums.empty() ? InHeader.Enums[0]->Line : InHeader.Delegates[0]->Line;
					}
				}
				try
				{
					if (bExportsTypes && !InHeader.bIncludesGenerated && !InHeader.bNoExportTypes)
					{
						throw FParseError{FirstLine, "The given include must appear at the top of the header following all other includes: '#include \""
							+ InHeader.BaseName + ".generated.h\"'"};
					}
					for (auto& Enum : InHeader.Enums)
					{
						CheckEnum(*Enum);
					}
					for (auto& Class : InHeader.Classes)
					{
						CheckClass(*Class);
					}
					for (auto& Delegate : InHeader.Delegates)
					{
						FClass Dummy;
						CheckFunction(Dummy, *Delegate, true);
					}
				}
				catch (const FParseError& E)
				{
					Error(E.Line, E.Message);
				}
			}
		};
	}

	void RegisterBuiltinTypes(FSession& Session)
	{
		// Classes the host's CoreUObject registers by hand, as the engine's intrinsic classes.
		const std::pair<const char*, const char*> Intrinsics[] = {{"UObject", ""}, {"UField", "UObject"}, {"UStruct", "UField"},
			{"UClass", "UStruct"}, {"UFunction", "UStruct"}, {"UScriptStruct", "UStruct"}, {"UEnum", "UField"},
			{"UPackage", "UObject"}, {"UInterface", "UObject"}, {"UDelegateFunction", "UFunction"}};
		for (const auto& [Name, Super] : Intrinsics)
		{
			FKnownType T;
			T.Kind = std::string(Name) == "UInterface" ? EDeclKind::Interface : EDeclKind::Class;
			T.Name = Name;
			T.Super = Super;
			T.Module = "CoreUObject";
			T.IncludePath = "UObject/Object.h";
			T.bIntrinsic = true;
			T.ClassFlags = CLASS_Native | CLASS_Intrinsic;
			if (T.Kind == EDeclKind::Interface)
			{
				T.ClassFlags |= CLASS_Interface | CLASS_Abstract;
			}
			Session.Types[Name] = T;
		}
	}

	void RegisterModuleTypes(FSession& Session)
	{
		for (const auto& Header : Session.Headers)
		{
			for (const auto& Class : Header->Classes)
			{
				if (Class->bNativeInterface)
				{
					continue;
				}
				FKnownType T;
				T.Kind = Class->bStruct ? EDeclKind::Struct : Class->bInterface ? EDeclKind::Interface : EDeclKind::Class;
				T.Name = Class->Name;
				T.Module = Session.Module.Name;
				T.Super = Class->SuperName;
				T.IncludePath = Header->IncludePath;
				T.bBlueprintType = Class->Meta.count("BlueprintType") != 0;
				T.ClassFlags = Class->ClassFlags;
				T.ConfigName = Class->ConfigName;
				T.bNoExport = Class->bNoExport;
				T.Class = Class.get();
				T.Header = Header.get();
				Session.Types[T.Name] = T;
			}
			for (const auto& Enum : Header->Enums)
			{
				FKnownType T;
				T.Kind = EDeclKind::Enum;
				T.Name = Enum->Name;
				T.Module = Session.Module.Name;
				T.IncludePath = Header->IncludePath;
				T.bBlueprintType = Enum->Meta.count("BlueprintType") != 0;
				T.Underlying = Enum->Underlying;
				T.EnumForm = Enum->Form;
				T.Enum = Enum.get();
				T.Header = Header.get();
				Session.Types[T.Name] = T;
			}
			auto AddDelegate = [&](const FFunction& D)
			{
				FKnownType T;
				T.Kind = EDeclKind::Delegate;
				T.Name = D.DelegateName;
				T.Module = Session.Module.Name;
				T.IncludePath = Header->IncludePath;
				T.bMulticast = D.bMulticast;
				T.Super = D.OuterClass;
				for (size_t I = 0; I < D.ParamCppDecls.size(); ++I)
				{
					T.Signature += (I ? ", " : "") + D.ParamCppDecls[I];
				}
				T.Delegate = &D;
				T.Header = Header.get();
				Session.Types[T.Name] = T;
			};
			for (const auto& D : Header->Delegates)
			{
				AddDelegate(*D);
			}
			for (const auto& Class : Header->Classes)
			{
				for (const FFunction& D : Class->Delegates)
				{
					AddDelegate(D);
				}
			}
		}
		// Inherited class flags, now that every super of this module is known.
		std::function<uint32_t(const std::string&, int)> Inherited = [&](const std::string& Name, int Depth) -> uint32_t
		{
			auto It = Session.Types.find(Name);
			if (It == Session.Types.end() || Depth > 64)
			{
				return 0;
			}
			FKnownType& T = It->second;
			if (T.Kind != EDeclKind::Class || !T.Class)
			{
				return T.ClassFlags;
			}
			uint32_t Flags = T.Class->ClassFlags | CLASS_Native;
			const uint32_t SuperFlags = Inherited(T.Super, Depth + 1);
			Flags |= SuperFlags & CLASS_Inherit;
			if (T.ConfigName.empty() && (SuperFlags & CLASS_Config))
			{
				auto SuperIt = Session.Types.find(T.Super);
				if (SuperIt != Session.Types.end())
				{
					T.ConfigName = SuperIt->second.ConfigName;
				}
			}
			T.ClassFlags = Flags;
			return Flags;
		};
		for (auto& [Name, T] : Session.Types)
		{
			if (T.Kind == EDeclKind::Class && T.Class)
			{
				Inherited(Name, 0);
			}
		}
	}

	void ResolveAndCheck(FSession& Session)
	{
		FChecker Checker{Session};
		for (auto& Header : Session.Headers)
		{
			Checker.Run(*Header);
		}
	}
}
