// Writes each header's .generated.h and .gen.cpp and the module's .init.gen.cpp.
//
// The generated .gen.cpp registers types through UE::Host::CodeGen (CoreUObject's Host/CodeGen.h):
// one AddProperty call per property, with offsets, sizes and enum values taken from the C++ types
// themselves (STRUCT_OFFSET, sizeof, decltype), so the compiler checks what the tool read.
#include "HeaderTool.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace HeaderTool
{
	using namespace Flags;

	namespace
	{
		std::string Hex64(uint64_t V)
		{
			char Buffer[32];
			std::snprintf(Buffer, sizeof(Buffer), "0x%016llXull", (unsigned long long)V);
			return Buffer;
		}

		std::string Hex32(uint32_t V)
		{
			char Buffer[32];
			std::snprintf(Buffer, sizeof(Buffer), "0x%08Xu", V);
			return Buffer;
		}

		std::string Lit(const std::string& S)
		{
			return "TEXT(\"" + EscapeCppString(S) + "\")";
		}

		std::string ApiOf(const std::string& Module)
		{
			return ToUpper(Module) + "_API";
		}

		class FGenerator
		{
		public:
			FGenerator(const FSession& InSession)
				: Session(InSession)
				, Module(InSession.Module.Name)
				, Api(InSession.Module.ApiMacro)
			{
			}

			bool Run()
			{
				bool bOk = true;
				for (const auto& Header : Session.Headers)
				{
					bOk &= WriteHeader(*Header);
				}
				bOk &= WriteInit();
				return bOk;
			}

		private:
			const FSession& Session;
			std::string Module;
			std::string Api;
			// Cross-module references of the file being written.
			std::set<std::string> Externs;

			const FKnownType* Find(const std::string& Name) const
			{
				const auto It = Session.Types.find(Name);
				return It == Session.Types.end() ? nullptr : &It->second;
			}

			std::string ModuleOf(const std::string& Name) const
			{
				const FKnownType* T = Find(Name);
				return T ? T->Module : Module;
			}

			std::string PackageSingleton(const std::string& InModule) const
			{
				return "Z_Construct_UPackage__Script_" + InModule;
			}

			std::string ClassSingleton(const std::string& Name)
			{
				const std::string F = "Z_Construct_UClass_" + Name + "_NoRegister";
				Externs.insert(ApiOf(ModuleOf(Name)) + " UClass* " + F + "();");
				return F;
			}

			std::string StructSingleton(const std::string& Name)
			{
				const std::string F = "Z_Construct_UScriptStruct_" + Name;
				Externs.insert(ApiOf(ModuleOf(Name)) + " UScriptStruct* " + F + "();");
				return F;
			}

			std::string EnumSingleton(const std::string& Name)
			{
				const std::string F = "Z_Construct_UEnum_" + ModuleOf(Name) + "_" + Name;
				Externs.insert(ApiOf(ModuleOf(Name)) + " UEnum* " + F + "();");
				return F;
			}

			std::string DelegateSingletonName(const std::string& DelegateName, const std::string& OuterClass, const std::string& InModule) const
			{
				return "Z_Construct_UDelegateFunction_" + (OuterClass.empty() ? InModule : OuterClass) + "_" + DelegateName.substr(1) + "__DelegateSignature";
			}

			std::string DelegateSingleton(const std::string& Name)
			{
				const FKnownType* T = Find(Name);
				const std::string Owner = T ? T->Super : std::string();
				const std::string F = DelegateSingletonName(Name, Owner, ModuleOf(Name));
				Externs.insert(ApiOf(ModuleOf(Name)) + " UFunction* " + F + "();");
				return F;
			}

			static const char* KindName(ETypeKind K)
			{
				switch (K)
				{
				case ETypeKind::Int8: return "Int8";
				case ETypeKind::Int16: return "Int16";
				case ETypeKind::Int32: return "Int";
				case ETypeKind::Int64: return "Int64";
				case ETypeKind::Byte: return "Byte";
				case ETypeKind::UInt16: return "UInt16";
				case ETypeKind::UInt32: return "UInt32";
				case ETypeKind::UInt64: return "UInt64";
				case ETypeKind::Float: return "Float";
				case ETypeKind::Double: return "Double";
				case ETypeKind::Bool: return "Bool";
				case ETypeKind::Str: return "Str";
				case ETypeKind::Name: return "Name";
				case ETypeKind::Text: return "Text";
				case ETypeKind::Enum: return "Enum";
				case ETypeKind::EnumAsByte: return "Byte";
				case ETypeKind::Struct: return "Struct";
				case ETypeKind::Object: return "Object";
				case ETypeKind::ObjectPtr: return "Object";
				case ETypeKind::Class: return "Class";
				case ETypeKind::WeakObject: return "WeakObject";
				case ETypeKind::SoftObject: return "SoftObject";
				case ETypeKind::SoftClass: return "SoftClass";
				case ETypeKind::Interface: return "Interface";
				case ETypeKind::Array: return "Array";
				case ETypeKind::Map: return "Map";
				case ETypeKind::Set: return "Set";
				case ETypeKind::Delegate: return "Delegate";
				case ETypeKind::MulticastDelegate: return "MulticastDelegate";
				default: return "Int";
				}
			}

			std::string UnderlyingKind(const std::string& EnumName) const
			{
				const FKnownType* T = Find(EnumName);
				const std::string U = T ? ToLower(T->Underlying) : std::string();
				if (U == "uint8") return "Byte";
				if (U == "int8") return "Int8";
				if (U == "int16") return "Int16";
				if (U == "uint16") return "UInt16";
				if (U == "uint32") return "UInt32";
				if (U == "int64") return "Int64";
				if (U == "uint64") return "UInt64";
				return "Int";
			}

			// As the engine's generated code has it: metadata only where the target keeps it
			// (WITH_METADATA), comments not in Shipping. The count is taken from the array, so that
			// it holds in every configuration.
			void MetaArray(std::ostringstream& Out, const std::string& Indent, const std::string& Name, const FMetaData& Meta)
			{
				size_t Visible = 0;
				size_t Comments = 0;
				for (const auto& Pair : Meta)
				{
					Visible += StartsWith(Pair.first, "__") ? 0 : 1;
					Comments += Pair.first == "Comment" ? 1 : 0;
				}
				MetaCount = 0;
				if (Visible == 0)
				{
					return;
				}
				// An array of comments alone stays whole, so that it is never empty.
				const bool bGuardComments = Comments < Visible;
				Out << "#if WITH_METADATA\n";
				Out << Indent << "static const UE::Host::CodeGen::FMetaDataPairParam " << Name << "[] = {\n";
				size_t Count = 0;
				for (const auto& [K, V] : Meta)
				{
					if (StartsWith(K, "__"))
					{
						continue;
					}
					const bool bGuard = bGuardComments && K == "Comment";
					if (bGuard)
					{
						Out << "#if !UE_BUILD_SHIPPING\n";
					}
					Out << Indent << "\t{ " << Lit(K) << ", " << Lit(V) << " },\n";
					if (bGuard)
					{
						Out << "#endif\n";
					}
					++Count;
				}
				Out << Indent << "};\n";
				Out << "#endif\n";
				MetaCount = Count;
			}

			// Points the parameters at the metadata array, where the target keeps metadata.
			static void MetaAssign(std::ostringstream& Out, const std::string& Indent, const std::string& Params, const std::string& Name)
			{
				Out << "#if WITH_METADATA\n";
				Out << Indent << Params << ".MetaData = " << Name << ";\n";
				Out << Indent << Params << ".NumMetaData = (int32)UE_ARRAY_COUNT(" << Name << ");\n";
				Out << "#endif\n";
			}
			size_t MetaCount = 0;

			// One property (and its inner properties) added to Owner.
			// Container: the C++ type whose member this is; Member: its name (for offsets).
			void EmitProperty(std::ostringstream& Out, const std::string& Indent, const std::string& OwnerExpr, const FProperty& Prop,
				const std::string& ContainerType, int& Counter)
			{
				const int Id = Counter++;
				const std::string MetaName = "Meta" + std::to_string(Id);
				MetaArray(Out, Indent, MetaName, Prop.Meta);
				const size_t NumMeta = MetaCount;
				Out << Indent << "UE::Host::CodeGen::FPropertyParams P" << Id << ";\n";
				EmitTypeFields(Out, Indent, "P" + std::to_string(Id), Prop.Type, ContainerType, Prop.Name, Prop.bBitfield);
				Out << Indent << "P" << Id << ".Name = " << Lit(Prop.Name) << ";\n";
				Out << Indent << "P" << Id << ".Flags = " << Hex64(Prop.Flags) << ";\n";
				if (!Prop.bBitfield)
				{
					Out << Indent << "P" << Id << ".Offset = STRUCT_OFFSET(" << ContainerType << ", " << Prop.Name << ");\n";
				}
				if (Prop.Type.bStaticArray)
				{
					Out << Indent << "P" << Id << ".ArrayDim = (int32)std::extent_v<decltype(" << ContainerType << "::" << Prop.Name << ")>;\n";
				}
				if (!Prop.RepNotify.empty())
				{
					Out << Indent << "P" << Id << ".RepNotify = " << Lit(Prop.RepNotify) << ";\n";
				}
				if (NumMeta)
				{
					MetaAssign(Out, Indent, "P" + std::to_string(Id), MetaName);
				}
				Out << Indent << (Prop.Type.Inner.empty() ? std::string() : "FProperty* Prop" + std::to_string(Id) + " = ")
					<< "UE::Host::CodeGen::AddProperty(" << OwnerExpr << ", P" << Id << ");\n";
				EmitInner(Out, Indent, "Prop" + std::to_string(Id), Prop.Name, Prop.Type, Counter);
			}

			void EmitInner(std::ostringstream& Out, const std::string& Indent, const std::string& OwnerVar, const std::string& Name, const FType& Type, int& Counter)
			{
				for (size_t I = 0; I < Type.Inner.size(); ++I)
				{
					const FType& Inner = Type.Inner[I];
					const int Id = Counter++;
					Out << Indent << "UE::Host::CodeGen::FPropertyParams P" << Id << ";\n";
					EmitTypeFields(Out, Indent, "P" + std::to_string(Id), Inner, std::string(), std::string(), false);
					std::string InnerName = Name;
					if (Type.Kind == ETypeKind::Map)
					{
						InnerName = I == 0 ? Name + "_Key" : Name;
					}
					Out << Indent << "P" << Id << ".Name = " << Lit(InnerName) << ";\n";
					uint64_t InnerFlags = 0;
					if (Inner.Kind == ETypeKind::ObjectPtr)
					{
						InnerFlags |= CPF_TObjectPtr | CPF_UObjectWrapper;
					}
					if (Inner.Kind == ETypeKind::Class && Inner.bSubclassOf)
					{
						InnerFlags |= CPF_UObjectWrapper;
					}
					if ((Inner.Kind == ETypeKind::Object || Inner.Kind == ETypeKind::ObjectPtr))
					{
						const FKnownType* C = Find(Inner.TypeName);
						if (C && (C->ClassFlags & CLASS_DefaultToInstanced))
						{
							InnerFlags |= CPF_InstancedReference | CPF_ExportObject;
						}
					}
					Out << Indent << "P" << Id << ".Flags = " << Hex64(InnerFlags) << ";\n";
					Out << Indent << (Inner.Inner.empty() ? std::string() : "FProperty* Prop" + std::to_string(Id) + " = ")
						<< "UE::Host::CodeGen::AddProperty(" << OwnerVar << ", P" << Id << ");\n";
					EmitInner(Out, Indent, "Prop" + std::to_string(Id), InnerName, Inner, Counter);
				}
			}

			void EmitTypeFields(std::ostringstream& Out, const std::string& Indent, const std::string& Var, const FType& Type,
				const std::string& ContainerType, const std::string& Member, bool bBitfield)
			{
				Out << Indent << Var << ".Kind = UE::Host::CodeGen::EPropertyKind::" << KindName(Type.Kind) << ";\n";
				switch (Type.Kind)
				{
				case ETypeKind::Bool:
					if (bBitfield)
					{
						Out << Indent << Var << ".ElementSize = sizeof(decltype(" << ContainerType << "::" << Member << "));\n";
						Out << Indent << Var << ".ContainerSize = sizeof(" << ContainerType << ");\n";
						Out << Indent << Var << ".SetBit = [](void* Obj) { ((" << ContainerType << "*)Obj)->" << Member << " = 1; };\n";
					}
					else
					{
						Out << Indent << Var << ".ElementSize = sizeof(bool);\n";
						Out << Indent << Var << ".bNativeBool = true;\n";
					}
					break;
				case ETypeKind::Enum:
					Out << Indent << Var << ".EnumFunc = &" << EnumSingleton(Type.TypeName) << ";\n";
					Out << Indent << Var << ".UnderlyingKind = UE::Host::CodeGen::EPropertyKind::" << UnderlyingKind(Type.TypeName) << ";\n";
					break;
				case ETypeKind::EnumAsByte:
					Out << Indent << Var << ".EnumFunc = &" << EnumSingleton(Type.TypeName) << ";\n";
					break;
				case ETypeKind::Struct:
					Out << Indent << Var << ".StructFunc = &" << StructSingleton(Type.TypeName) << ";\n";
					break;
				case ETypeKind::Object:
				case ETypeKind::ObjectPtr:
				case ETypeKind::WeakObject:
				case ETypeKind::SoftObject:
				case ETypeKind::Interface:
				{
					std::string ClassName = Type.TypeName;
					if (Type.Kind == ETypeKind::Interface && !Find(ClassName) && ClassName.size() > 1)
					{
						ClassName = "U" + ClassName.substr(1);
					}
					Out << Indent << Var << ".ClassFunc = &" << ClassSingleton(ClassName) << ";\n";
					if (Type.Kind == ETypeKind::ObjectPtr)
					{
						Out << Indent << Var << ".bObjectPtr = true;\n";
					}
					break;
				}
				case ETypeKind::Class:
				case ETypeKind::SoftClass:
					Out << Indent << Var << ".ClassFunc = &" << ClassSingleton("UClass") << ";\n";
					Out << Indent << Var << ".MetaClassFunc = &" << ClassSingleton(Type.MetaClassName.empty() ? "UObject" : Type.MetaClassName) << ";\n";
					break;
				case ETypeKind::Delegate:
				case ETypeKind::MulticastDelegate:
					Out << Indent << Var << ".SignatureFunc = &" << DelegateSingleton(Type.TypeName) << ";\n";
					break;
				case ETypeKind::Map:
				case ETypeKind::Set:
					Out << Indent << Var << ".ContainerOps = UE::Host::CodeGen::GetContainerOps<" << Type.CppType << ">();\n";
					break;
				default:
					break;
				}
			}

			// Within=GameInstance names UGameInstance; the prefix may also be written.
			std::string WithinSourceName(const std::string& Name) const
			{
				for (const std::string& Candidate : {"U" + Name, "A" + Name, Name})
				{
					const FKnownType* T = Find(Candidate);
					if (T && (T->Kind == EDeclKind::Class || T->Kind == EDeclKind::Interface))
					{
						return Candidate;
					}
				}
				return "U" + Name;
			}

			std::string EngineClassName(const FClass& Class) const
			{
				return EngineName(Class.Name);
			}

			std::string ParmsName(const FFunction& Func, const std::string& OuterEngineName) const
			{
				return OuterEngineName + "_event" + (Func.bDelegate ? Func.DelegateName.substr(1) : Func.Name) + "_Parms";
			}

			std::vector<const FProperty*> AllParams(const FFunction& Func) const
			{
				std::vector<const FProperty*> Out;
				for (const FProperty& P : Func.Params)
				{
					Out.push_back(&P);
				}
				if (Func.Return)
				{
					Out.push_back(&*Func.Return);
				}
				return Out;
			}

			void EmitParmsStruct(std::ostringstream& Out, const FFunction& Func, const std::string& Name)
			{
				if (AllParams(Func).empty())
				{
					return;
				}
				Out << "struct " << Name << "\n{\n";
				for (const FProperty* P : AllParams(Func))
				{
					Out << "\t" << P->Type.CppType << " " << P->Name << ";\n";
				}
				Out << "};\n";
			}

			// The UFunction singleton of a function or delegate signature.
			void EmitFunction(std::ostringstream& Out, const FFunction& Func, const std::string& Singleton, const std::string& ParmsStruct,
				const std::string& OuterExpr)
			{
				const bool bHasParms = !AllParams(Func).empty();
				const std::string Statics = Singleton + "_Statics";
				Out << "struct " << Statics << "\n{\n\tstatic void AddProperties(UStruct* Outer)\n\t{\n";
				int Counter = 0;
				for (const FProperty* P : AllParams(Func))
				{
					EmitProperty(Out, "\t\t", "Outer", *P, ParmsStruct, Counter);
				}
				Out << "\t\t(void)Outer;\n\t}\n};\n";
				Out << Api << " UFunction* " << Singleton << "()\n{\n";
				Out << "\tstatic UFunction* ReturnFunction = nullptr;\n\tif (!ReturnFunction)\n\t{\n";
				MetaArray(Out, "\t\t", "Meta", Func.Meta);
				Out << "\t\tUE::Host::CodeGen::FFunctionParams Params;\n";
				Out << "\t\tParams.OuterFunc = []() -> UObject* { return " << OuterExpr << "; };\n";
				Out << "\t\tParams.Name = " << Lit(Func.Name) << ";\n";
				Out << "\t\tParams.FunctionFlags = " << Hex32(Func.Flags) << ";\n";
				if (bHasParms)
				{
					Out << "\t\tParams.ParmsSize = (uint16)sizeof(" << ParmsStruct << ");\n";
					Out << "\t\tParams.ParmsAlignment = (uint16)alignof(" << ParmsStruct << ");\n";
				}
				Out << "\t\tParams.AddProperties = &" << Statics << "::AddProperties;\n";
				Out << "\t\tParams.bDelegateSignature = " << (Func.bDelegate ? "true" : "false") << ";\n";
				if (MetaCount)
				{
					MetaAssign(Out, "\t\t", "Params", "Meta");
				}
				Out << "\t\tUE::Host::CodeGen::ConstructFunction(ReturnFunction, Params);\n";
				Out << "\t}\n\treturn ReturnFunction;\n}\n";
			}

			std::string ParamList(const FFunction& Func) const
			{
				std::string S;
				for (size_t I = 0; I < Func.ParamCppDecls.size(); ++I)
				{
					S += (I ? ", " : "") + Func.ParamCppDecls[I];
				}
				return S;
			}

			// Copies arguments into Parms before dispatch and outputs back after it.
			void EmitPack(std::ostringstream& Out, const std::string& Indent, const FFunction& Func, const std::string& ParmsStruct)
			{
				if (AllParams(Func).empty())
				{
					return;
				}
				Out << Indent << ParmsStruct << " Parms{};\n";
				for (const FProperty& P : Func.Params)
				{
					if (P.Type.Kind == ETypeKind::Bool)
					{
						Out << Indent << "Parms." << P.Name << "=" << P.Name << " ? true : false;\n";
					}
					else
					{
						Out << Indent << "Parms." << P.Name << "=" << P.Name << ";\n";
					}
				}
			}

			void EmitCopyBack(std::ostringstream& Out, const std::string& Indent, const FFunction& Func)
			{
				for (const FProperty& P : Func.Params)
				{
					if ((P.Flags & CPF_OutParm) && !(P.Flags & CPF_ConstParm))
					{
						Out << Indent << P.Name << "=Parms." << P.Name << ";\n";
					}
				}
				if (Func.Return)
				{
					if (Func.Return->Type.Kind == ETypeKind::Bool)
					{
						Out << Indent << "return !!Parms.ReturnValue;\n";
					}
					else
					{
						Out << Indent << "return Parms.ReturnValue;\n";
					}
				}
			}

			void EmitThunk(std::ostringstream& Out, const FClass& Class, const FFunction& Func, const std::string& ParmsStruct, bool bBNE)
			{
				Out << "DEFINE_FUNCTION(" << Class.Name << "::exec" << Func.Name << ")\n{\n";
				const bool bHasParms = !AllParams(Func).empty();
				if (bHasParms)
				{
					Out << "\t" << ParmsStruct << "& Parms = *(" << ParmsStruct << "*)Stack.Locals;\n";
				}
				Out << "\tP_FINISH;\n\tP_NATIVE_BEGIN;\n\t";
				std::string Args;
				for (size_t I = 0; I < Func.Params.size(); ++I)
				{
					Args += (I ? ", " : "") + std::string("Parms.") + Func.Params[I].Name;
				}
				const std::string Target = Func.bStatic ? Class.Name + "::" : "P_THIS->";
				const std::string Call = Target + Func.Name + (bBNE ? "_Implementation" : "") + "(" + Args + ")";
				if (Func.Return)
				{
					Out << "Parms.ReturnValue = " << Call << ";\n";
				}
				else
				{
					Out << Call << ";\n";
				}
				Out << "\tP_NATIVE_END;\n";
				if (!bHasParms)
				{
					Out << "\t(void)Stack;\n";
				}
				Out << "}\n";
			}

			void EmitEventBody(std::ostringstream& Out, const FClass& Class, const FFunction& Func, const std::string& ParmsStruct, bool bBNE)
			{
				const std::string NameVar = "NAME_" + Class.Name + "_" + Func.Name;
				Out << "static const FName " << NameVar << " = FName(" << Lit(Func.Name) << ");\n";
				const std::string Ret = Func.Return ? Func.RetCppType : "void";
				Out << Ret << " " << Class.Name << "::" << Func.Name << "(" << ParamList(Func) << ")" << (Func.bConst ? " const" : "") << "\n{\n";
				const std::string Self = Func.bConst ? "const_cast<" + Class.Name + "*>(this)->" : std::string();
				const std::string ParmsArg = AllParams(Func).empty() ? "NULL" : "&Parms";
				Out << "\tUFunction* Func = " << Self << "FindFunctionChecked(" << NameVar << ");\n";
				if (bBNE)
				{
					Out << "\tif (!Func->GetOwnerClass()->HasAnyClassFlags(CLASS_Native))\n\t{\n";
					EmitPack(Out, "\t\t", Func, ParmsStruct);
					Out << "\t\t" << Self << "ProcessEvent(Func," << ParmsArg << ");\n";
					EmitCopyBack(Out, "\t\t", Func);
					Out << "\t}\n\telse\n\t{\n\t\t";
					std::string Args;
					for (size_t I = 0; I < Func.Params.size(); ++I)
					{
						Args += (I ? ", " : "") + Func.Params[I].Name;
					}
					Out << (Func.Return ? "return " : "") << Self << Func.Name << "_Implementation(" << Args << ");\n\t}\n";
				}
				else
				{
					EmitPack(Out, "\t", Func, ParmsStruct);
					Out << "\t" << Self << "ProcessEvent(Func," << ParmsArg << ");\n";
					EmitCopyBack(Out, "\t", Func);
				}
				Out << "}\n";
			}

			void EmitDelegateWrapper(std::ostringstream& Out, const FFunction& Func, const std::string& ParmsStruct)
			{
				const std::string Short = Func.DelegateName.substr(1);
				const std::string Qualifier = Func.OuterClass.empty() ? std::string() : Func.OuterClass + "::";
				const std::string Ret = Func.Return ? Func.RetCppType : "void";
				const char* DelegateType = Func.bMulticast ? "const FMulticastScriptDelegate& " : "const FScriptDelegate& ";
				Out << Ret << " " << Qualifier << Func.DelegateName << "_DelegateWrapper(" << DelegateType << Short
					<< (Func.ParamCppDecls.empty() ? "" : ", ") << ParamList(Func) << ")\n{\n";
				EmitPack(Out, "\t", Func, ParmsStruct);
				const std::string ParmsArg = AllParams(Func).empty() ? "NULL" : "&Parms";
				Out << "\t" << Short << (Func.bMulticast ? ".ProcessMulticastDelegate<UObject>(" : ".ProcessDelegate<UObject>(") << ParmsArg << ");\n";
				EmitCopyBack(Out, "\t", Func);
				Out << "}\n";
			}

			std::string DelegateWrapperDecl(const FFunction& Func, bool bNested)
			{
				const std::string Short = Func.DelegateName.substr(1);
				const std::string Ret = Func.Return ? Func.RetCppType : "void";
				const char* DelegateType = Func.bMulticast ? "const FMulticastScriptDelegate& " : "const FScriptDelegate& ";
				return std::string(bNested ? "static " : "") + Api + " " + Ret + " " + Func.DelegateName + "_DelegateWrapper(" + DelegateType + Short
					+ (Func.ParamCppDecls.empty() ? "" : ", ") + ParamList(Func) + ");";
			}

			bool SuperHasInitializerCtor(const FClass& Class) const
			{
				const FKnownType* Super = Find(Class.SuperName);
				if (!Super)
				{
					return true;
				}
				if (Super->Class)
				{
					const FClass& S = *Super->Class;
					return S.bHasObjectInitializerCtor || S.bLegacyBody || !S.bHasDefaultCtor;
				}
				return true;
			}

			// ------------------------------------------------------------------------------
			// .generated.h

			void HeaderForClass(std::ostringstream& H, const FHeader& Header, const FClass& Class)
			{
				const std::string Prefix = Header.FileId + "_" + std::to_string(Class.GeneratedBodyLine) + "_";
				if (Class.bNativeInterface)
				{
					const std::string UName = "U" + Class.Name.substr(1);
					H << "#define " << Prefix << "GENERATED_BODY \\\n"
					  << "protected: \\\n\tvirtual ~" << Class.Name << "() {} \\\npublic: \\\n"
					  << "\ttypedef " << UName << " UClassType; \\\n\ttypedef " << Class.Name << " ThisClass; \\\n"
					  << "\tvirtual UObject* _getUObject() const { return nullptr; } \\\nprivate:\n\n";
					H << "#define " << Prefix << "GENERATED_BODY_LEGACY " << Prefix << "GENERATED_BODY\n\n";
					return;
				}
				if (Class.bStruct)
				{
					if (Class.bNoExport)
					{
						return;
					}
					H << "#define " << Prefix << "GENERATED_BODY \\\n"
					  << "\tfriend struct Z_Construct_UScriptStruct_" << Class.Name << "_Statics; \\\n"
					  << "\t" << (Class.bApi ? Api + " " : std::string()) << "static class UScriptStruct* StaticStruct();";
					if (!Class.SuperName.empty())
					{
						H << " \\\n\ttypedef " << Class.SuperName << " Super;";
					}
					H << "\n\n";
					H << "#define " << Prefix << "GENERATED_BODY_LEGACY " << Prefix << "GENERATED_BODY\n\n";
					return;
				}
				const bool bExported = Class.bApi || (Class.ClassFlags & CLASS_MinimalAPI);
				const std::string ClassApi = bExported ? Api : "NO_API";

				H << "#define " << Prefix << "RPC_WRAPPERS_NO_PURE_DECLS";
				for (const FFunction& Func : Class.Functions)
				{
					const auto Event = Func.Meta.find("__Event");
					if (Event != Func.Meta.end() && Event->second == "BIE")
					{
						continue;
					}
					if (Func.bCustomThunk)
					{
						continue;
					}
					H << " \\\n\tDECLARE_FUNCTION(exec" << Func.Name << ");";
				}
				H << "\n\n";

				uint32_t CompiledFlags = Class.ClassFlags & (CLASS_Abstract | CLASS_DefaultConfig | CLASS_Config | CLASS_Transient | CLASS_Optional
					| CLASS_ProjectUserConfig | CLASS_NotPlaceable | CLASS_PerObjectConfig | CLASS_EditInlineNew | CLASS_CollapseCategories
					| CLASS_Interface | CLASS_Const | CLASS_MinimalAPI | CLASS_DefaultToInstanced | CLASS_Hidden | CLASS_Deprecated
					| CLASS_HideDropDown | CLASS_GlobalUserConfig | CLASS_ConfigDoNotCheckDefaults | CLASS_NeedsDeferredDependencyLoading);
				if (Class.bApi)
				{
					CompiledFlags |= CLASS_RequiredAPI;
				}
				H << "#define " << Prefix << "INCLASS_NO_PURE_DECLS \\\nprivate: \\\n"
				  << "\tstatic void StaticRegisterNatives" << Class.Name << "(); \\\n"
				  << "\tfriend struct Z_Construct_UClass_" << Class.Name << "_Statics; \\\n"
				  << "public: \\\n"
				  << "\tDECLARE_CLASS(" << Class.Name << ", " << Class.SuperName << ", COMPILED_IN_FLAGS(" << Hex32(CompiledFlags) << "), CASTCLASS_None, TEXT(\"/Script/"
				  << Module << "\"), " << ClassApi << ") \\\n"
				  << "\tDECLARE_SERIALIZER(" << Class.Name << ")";
				if (!Class.WithinName.empty())
				{
					H << " \\\n\tDECLARE_WITHIN(" << WithinSourceName(Class.WithinName) << ")";
				}
				if (!Class.ConfigName.empty())
				{
					H << " \\\n\tstatic const TCHAR* StaticConfigName() {return TEXT(\"" << Class.ConfigName << "\");}";
				}
				H << "\n\n";

				const bool bDeclareCtor = !Class.bHasObjectInitializerCtor && !Class.bHasDefaultCtor && !Class.bLegacyBody;
				const bool bUseInitializer = Class.bHasObjectInitializerCtor || bDeclareCtor || Class.bLegacyBody;
				H << "#define " << Prefix << "ENHANCED_CONSTRUCTORS \\\n";
				if (bDeclareCtor)
				{
					H << "\t/** Standard constructor, called after all reflected properties have been initialized */ \\\n"
					  << "\t" << Class.Name << "(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get())"
					  << (SuperHasInitializerCtor(Class) ? " : Super(ObjectInitializer)" : " : Super()") << " { } \\\n";
				}
				H << "private: \\\n"
				  << "\t/** Private move- and copy-constructors, should never be used */ \\\n"
				  << "\t" << Class.Name << "(" << Class.Name << "&&) = delete; \\\n"
				  << "\t" << Class.Name << "(const " << Class.Name << "&) = delete; \\\n"
				  << "public: \\\n"
				  << "\t" << (bUseInitializer ? "DEFINE_DEFAULT_OBJECT_INITIALIZER_CONSTRUCTOR_CALL(" : "DEFINE_DEFAULT_CONSTRUCTOR_CALL(") << Class.Name << ")";
				if (!Class.bHasDestructor)
				{
					H << " \\\n\t" << ClassApi << " virtual ~" << Class.Name << "();";
				}
				H << "\n\n";

				H << "#define " << Prefix << "GENERATED_BODY \\\n"
				  << "PRAGMA_DISABLE_DEPRECATION_WARNINGS \\\npublic: \\\n"
				  << "\t" << Prefix << "RPC_WRAPPERS_NO_PURE_DECLS \\\n"
				  << "\t" << Prefix << "INCLASS_NO_PURE_DECLS \\\n"
				  << "\t" << Prefix << "ENHANCED_CONSTRUCTORS \\\n"
				  << "private: \\\nPRAGMA_ENABLE_DEPRECATION_WARNINGS\n\n";
				// GENERATED_UCLASS_BODY: the class declares the initializer constructor itself.
				H << "#define " << Prefix << "GENERATED_BODY_LEGACY \\\n"
				  << "PRAGMA_DISABLE_DEPRECATION_WARNINGS \\\npublic: \\\n"
				  << "\t" << Prefix << "RPC_WRAPPERS_NO_PURE_DECLS \\\n"
				  << "\t" << Prefix << "INCLASS_NO_PURE_DECLS \\\n"
				  << "\t" << ClassApi << " " << Class.Name << "(const FObjectInitializer& ObjectInitializer); \\\n"
				  << "\t" << Prefix << "ENHANCED_CONSTRUCTORS \\\n"
				  << "public: \\\nPRAGMA_ENABLE_DEPRECATION_WARNINGS\n\n";

				for (const FFunction& Delegate : Class.Delegates)
				{
					EmitDelegateMacro(H, Header, Delegate, true);
				}
			}

			void EmitDelegateMacro(std::ostringstream& H, const FHeader& Header, const FFunction& Delegate, bool bNested)
			{
				// Clang expands __LINE__ in a multi-line macro call to the line of its closing
				// parenthesis, the engine tool keys on the macro's first line: define both.
				std::set<int> Lines = {Delegate.Line, Delegate.MacroEndLine};
				for (int L : Lines)
				{
					if (L <= 0)
					{
						continue;
					}
					H << "#define " << Header.FileId << "_" << L << "_DELEGATE \\\n" << DelegateWrapperDecl(Delegate, bNested) << "\n\n";
				}
			}

			void EmitEnumHeader(std::ostringstream& H, const FEnum& Enum)
			{
				H << "#define FOREACH_ENUM_" << ToUpper(Enum.Name) << "(op)";
				for (const FEnumEntry& E : Enum.Entries)
				{
					H << " \\\n\top(" << (Enum.Form == EEnumForm::Regular ? std::string() : Enum.Name + "::") << E.Name << ")";
				}
				H << "\n\n";
				if (Enum.Form == EEnumForm::EnumClass)
				{
					if (!Enum.Underlying.empty())
					{
						H << "enum class " << Enum.Name << " : " << Enum.Underlying << ";\n";
					}
					H << "template<> struct TIsUEnumClass<" << Enum.Name << "> { enum { Value = true }; };\n";
				}
				else if (!Enum.Underlying.empty())
				{
					// The generated header comes before the enum's definition, so it declares the enum itself.
					if (Enum.Form == EEnumForm::Namespaced)
					{
						H << "namespace " << Enum.Name << " { enum Type : " << Enum.Underlying << "; }\n";
					}
					else
					{
						H << "enum " << Enum.Name << " : " << Enum.Underlying << ";\n";
					}
				}
				// Only an enum with a fixed underlying type can be named before its definition.
				if (Enum.Form == EEnumForm::EnumClass || !Enum.Underlying.empty())
				{
					const std::string CppName = Enum.Form == EEnumForm::Namespaced ? Enum.Name + "::Type" : Enum.Name;
					H << "template<> " << Api << " UEnum* StaticEnum<" << CppName << ">();\n\n";
				}
			}

			bool WriteHeader(const FHeader& Header)
			{
				Externs.clear();
				std::ostringstream H;
				H << "// Generated by the header tool from " << Header.ModuleRelative << ". Do not edit.\n";
				H << "// IWYU pragma: private, include \"" << Header.IncludePath << "\"\n\n";
				H << "#include \"UObject/ObjectMacros.h\"\n#include \"UObject/ScriptMacros.h\"\n\n";
				H << "PRAGMA_DISABLE_DEPRECATION_WARNINGS\n";
				const std::string Guard = ToUpper(Module) + "_" + Header.BaseName + "_generated_h";
				H << "#ifdef " << Guard << "\n#error \"" << Header.BaseName << ".generated.h already included, missing '#pragma once' in "
				  << Header.BaseName << ".h\"\n#endif\n#define " << Guard << "\n\n";

				for (const auto& [Kind, Index] : Header.Order)
				{
					switch (Kind)
					{
					case EDeclKind::Class:
					case EDeclKind::Struct:
					case EDeclKind::Interface:
					{
						const FClass& Class = *Header.Classes[Index];
						HeaderForClass(H, Header, Class);
						if (!Class.bStruct && !Class.bNativeInterface)
						{
							H << "class " << Class.Name << ";\ntemplate<> " << Api << " UClass* StaticClass<class " << Class.Name << ">();\n\n";
						}
						else if (Class.bStruct && !Class.bNoExport)
						{
							H << "template<> " << Api << " UScriptStruct* StaticStruct<struct " << Class.Name << ">();\n\n";
						}
						break;
					}
					case EDeclKind::Enum:
						EmitEnumHeader(H, *Header.Enums[Index]);
						break;
					case EDeclKind::Delegate:
						EmitDelegateMacro(H, Header, *Header.Delegates[Index], false);
						break;
					}
				}
				H << "#undef CURRENT_FILE_ID\n#define CURRENT_FILE_ID " << Header.FileId << "\n\n";
				H << "PRAGMA_ENABLE_DEPRECATION_WARNINGS\n";

				std::ostringstream Body;
				for (const auto& [Kind, Index] : Header.Order)
				{
					switch (Kind)
					{
					case EDeclKind::Class:
					case EDeclKind::Interface:
						if (!Header.Classes[Index]->bNativeInterface)
						{
							ClassCpp(Body, Header, *Header.Classes[Index]);
						}
						break;
					case EDeclKind::Struct:
						StructCpp(Body, *Header.Classes[Index]);
						break;
					case EDeclKind::Enum:
						EnumCpp(Body, *Header.Enums[Index]);
						break;
					case EDeclKind::Delegate:
					{
						const FFunction& D = *Header.Delegates[Index];
						const std::string Parms = ParmsName(D, "_Script_" + Module);
						EmitParmsStruct(Body, D, Parms);
						EmitFunction(Body, D, DelegateSingletonName(D.DelegateName, std::string(), Module), Parms, PackageSingleton(Module) + "()");
						EmitDelegateWrapper(Body, D, Parms);
						break;
					}
					}
				}

				std::ostringstream C;
				C << "// Generated by the header tool from " << Header.ModuleRelative << ". Do not edit.\n\n";
				C << "#include \"UObject/GeneratedCppIncludes.h\"\n";
				if (!Header.bNoExportTypes)
				{
					C << "#include \"" << Header.IncludePath << "\"\n";
				}
				// A class's Within class is named by the generated registration, so it must be complete.
				std::set<std::string> WithinIncludes;
				for (const auto& Class : Header.Classes)
				{
					if (Class->WithinName.empty())
					{
						continue;
					}
					const FKnownType* Within = Find(WithinSourceName(Class->WithinName));
					if (Within && !Within->IncludePath.empty() && Within->IncludePath != Header.IncludePath)
					{
						WithinIncludes.insert(Within->IncludePath);
					}
				}
				for (const std::string& Include : WithinIncludes)
				{
					C << "#include \"" << Include << "\"\n";
				}
				C << "\n#include <type_traits>\n\n";
				C << "PRAGMA_DISABLE_DEPRECATION_WARNINGS\n";
				C << "// Reflected members of classes with virtual functions are located with offsetof, as the engine does.\n";
				C << "#pragma clang diagnostic ignored \"-Winvalid-offsetof\"\n\n";
				C << "void EmptyLinkFunctionForGeneratedCode" << Header.BaseName << "() {}\n\n";
				C << "// Cross Module References\n";
				C << Api << " UPackage* " << PackageSingleton(Module) << "();\n";
				for (const std::string& E : Externs)
				{
					C << E << "\n";
				}
				C << "// End Cross Module References\n\n";
				C << Body.str();

				// Registration of the header's types during static initialisation.
				std::vector<std::string> Constructors;
				for (const auto& [Kind, Index] : Header.Order)
				{
					if (Kind == EDeclKind::Enum)
					{
						Constructors.push_back("[]() { (void)Z_Construct_UEnum_" + Module + "_" + Header.Enums[Index]->Name + "(); }");
					}
					else if (Kind == EDeclKind::Struct)
					{
						Constructors.push_back("[]() { (void)Z_Construct_UScriptStruct_" + Header.Classes[Index]->Name + "(); }");
					}
				}
				for (const auto& [Kind, Index] : Header.Order)
				{
					if ((Kind == EDeclKind::Class || Kind == EDeclKind::Interface) && !Header.Classes[Index]->bNativeInterface)
					{
						Constructors.push_back("[]() { (void)Z_Construct_UClass_" + Header.Classes[Index]->Name + "(); }");
					}
				}
				if (!Constructors.empty())
				{
					C << "static void (*const Z_CompiledInDeferFile_" << Header.FileId << "_Constructors[])() = {\n";
					for (const std::string& F : Constructors)
					{
						C << "\t" << F << ",\n";
					}
					C << "};\n";
					C << "static UE::Host::CodeGen::FRegisterCompiledInInfo Z_CompiledInDeferFile_" << Header.FileId << "(TEXT(\"/Script/" << Module
					  << "\"), Z_CompiledInDeferFile_" << Header.FileId << "_Constructors, UE_ARRAY_COUNT(Z_CompiledInDeferFile_" << Header.FileId << "_Constructors));\n";
				}
				C << "PRAGMA_ENABLE_DEPRECATION_WARNINGS\n";

				const fs::path Out(Session.Module.OutDir);
				return WriteFileIfChanged((Out / "Inc" / (Header.BaseName + ".generated.h")).string(), H.str())
					&& WriteFileIfChanged((Out / (Header.BaseName + ".gen.cpp")).string(), C.str());
			}

			// ------------------------------------------------------------------------------
			// .gen.cpp pieces

			void EnumCpp(std::ostringstream& C, const FEnum& Enum)
			{
				const std::string Singleton = "Z_Construct_UEnum_" + Module + "_" + Enum.Name;
				const std::string CppName = Enum.Form == EEnumForm::Namespaced ? Enum.Name + "::Type" : Enum.Name;
				C << "// Enum " << Enum.Name << "\n";
				C << Api << " UEnum* " << Singleton << "()\n{\n\tstatic UEnum* ReturnEnum = nullptr;\n\tif (!ReturnEnum)\n\t{\n";
				C << "\t\tstatic const UE::Host::CodeGen::FEnumeratorParam Enumerators[] = {\n";
				for (const FEnumEntry& E : Enum.Entries)
				{
					const std::string Qualified = Enum.Form == EEnumForm::Regular ? E.Name : Enum.Name + "::" + E.Name;
					C << "\t\t\t{ " << Lit(Qualified) << ", (int64)" << Qualified << " },\n";
				}
				if (Enum.Entries.empty())
				{
					C << "\t\t\t{ nullptr, 0 },\n";
				}
				C << "\t\t};\n";
				MetaArray(C, "\t\t", "Meta", Enum.Meta);
				C << "\t\tUE::Host::CodeGen::FEnumParams Params;\n";
				C << "\t\tParams.PackageFunc = &" << PackageSingleton(Module) << ";\n";
				C << "\t\tParams.Name = " << Lit(Enum.Name) << ";\n";
				C << "\t\tParams.CppType = " << Lit(CppName) << ";\n";
				C << "\t\tParams.Enumerators = Enumerators;\n\t\tParams.NumEnumerators = " << Enum.Entries.size() << ";\n";
				C << "\t\tParams.CppForm = " << (Enum.Form == EEnumForm::EnumClass ? "UEnum::ECppForm::EnumClass" : Enum.Form == EEnumForm::Namespaced ? "UEnum::ECppForm::Namespaced" : "UEnum::ECppForm::Regular") << ";\n";
				C << "\t\tParams.bFlags = " << (Enum.bFlags ? "true" : "false") << ";\n";
				if (MetaCount)
				{
					MetaAssign(C, "\t\t", "Params", "Meta");
				}
				C << "\t\tUE::Host::CodeGen::ConstructEnum(ReturnEnum, Params);\n\t}\n\treturn ReturnEnum;\n}\n";
				if (Enum.Form != EEnumForm::Regular || !Enum.Underlying.empty())
				{
					C << "template<> " << Api << " UEnum* StaticEnum<" << CppName << ">()\n{\n\treturn " << Singleton << "();\n}\n";
				}
				C << "UEnum* " << Enum.Name << "_StaticEnum()\n{\n\treturn " << Singleton << "();\n}\n\n";
			}

			void StructCpp(std::ostringstream& C, const FClass& Struct)
			{
				const std::string Singleton = "Z_Construct_UScriptStruct_" + Struct.Name;
				C << "// Struct " << Struct.Name << "\n";
				C << "struct " << Singleton << "_Statics\n{\n\tstatic void AddProperties(UStruct* Outer)\n\t{\n";
				int Counter = 0;
				for (const FProperty& P : Struct.Properties)
				{
					EmitProperty(C, "\t\t", "Outer", P, Struct.Name, Counter);
				}
				C << "\t\t(void)Outer;\n\t}\n};\n";
				std::string SuperSingleton;
				if (!Struct.SuperName.empty())
				{
					SuperSingleton = StructSingleton(Struct.SuperName);
				}
				C << Api << " UScriptStruct* " << Singleton << "()\n{\n\tstatic UScriptStruct* ReturnStruct = nullptr;\n\tif (!ReturnStruct)\n\t{\n";
				MetaArray(C, "\t\t", "Meta", Struct.Meta);
				C << "\t\tstatic UScriptStruct::TCppStructOps<" << Struct.Name << "> StructOps;\n";
				C << "\t\tUE::Host::CodeGen::FStructParams Params;\n";
				C << "\t\tParams.PackageFunc = &" << PackageSingleton(Module) << ";\n";
				if (!SuperSingleton.empty())
				{
					C << "\t\tParams.SuperFunc = &" << SuperSingleton << ";\n";
				}
				C << "\t\tParams.Name = " << Lit(EngineName(Struct.Name)) << ";\n";
				C << "\t\tParams.StructOps = &StructOps;\n";
				C << "\t\tParams.StructFlags = " << Hex32(Struct.StructFlags) << ";\n";
				C << "\t\tParams.AddProperties = &" << Singleton << "_Statics::AddProperties;\n";
				if (MetaCount)
				{
					MetaAssign(C, "\t\t", "Params", "Meta");
				}
				C << "\t\tUE::Host::CodeGen::ConstructScriptStruct(ReturnStruct, Params);\n\t}\n\treturn ReturnStruct;\n}\n";
				if (!Struct.bNoExport)
				{
					C << "UScriptStruct* " << Struct.Name << "::StaticStruct()\n{\n\treturn " << Singleton << "();\n}\n";
					C << "template<> " << Api << " UScriptStruct* StaticStruct<" << Struct.Name << ">()\n{\n\treturn " << Struct.Name << "::StaticStruct();\n}\n";
				}
				C << "\n";
			}

			void ClassCpp(std::ostringstream& C, const FHeader& Header, const FClass& Class)
			{
				(void)Header;
				const std::string Engine = EngineClassName(Class);
				const std::string Singleton = "Z_Construct_UClass_" + Class.Name;
				C << "// Class " << Class.Name << "\n";

				// Functions.
				std::vector<std::pair<std::string, std::string>> Natives; // name, thunk
				std::vector<std::string> FunctionSingletons;
				for (const FFunction& Func : Class.Functions)
				{
					const auto EventIt = Func.Meta.find("__Event");
					const std::string Event = EventIt == Func.Meta.end() ? std::string() : EventIt->second;
					const std::string Parms = ParmsName(Func, Engine);
					const std::string FuncSingleton = "Z_Construct_UFunction_" + Class.Name + "_" + Func.Name;
					EmitParmsStruct(C, Func, Parms);
					EmitFunction(C, Func, FuncSingleton, Parms, Class.Name + "::StaticClass()");
					FunctionSingletons.push_back(FuncSingleton);
					if (Event != "BIE" && !Func.bCustomThunk)
					{
						EmitThunk(C, Class, Func, Parms, Event == "BNE");
						Natives.emplace_back(Func.Name, "&" + Class.Name + "::exec" + Func.Name);
					}
					else if (Func.bCustomThunk)
					{
						Natives.emplace_back(Func.Name, "&" + Class.Name + "::exec" + Func.Name);
					}
					if (!Event.empty())
					{
						EmitEventBody(C, Class, Func, Parms, Event == "BNE");
					}
				}
				for (const FFunction& D : Class.Delegates)
				{
					const std::string Parms = ParmsName(D, Engine);
					const std::string DS = DelegateSingletonName(D.DelegateName, Class.Name, Module);
					EmitParmsStruct(C, D, Parms);
					EmitFunction(C, D, DS, Parms, Class.Name + "::StaticClass()");
					EmitDelegateWrapper(C, D, Parms);
					FunctionSingletons.push_back(DS);
				}

				// Natives, sorted case-insensitively as the engine registers them.
				std::sort(Natives.begin(), Natives.end(), [](const auto& A, const auto& B) { return ToLower(A.first) < ToLower(B.first); });
				C << "void " << Class.Name << "::StaticRegisterNatives" << Class.Name << "()\n{\n";
				if (!Natives.empty())
				{
					C << "\tUClass* Class = " << Class.Name << "::StaticClass();\n";
					C << "\tstatic const FNameNativePtrPair Funcs[] = {\n";
					for (const auto& [Name, Thunk] : Natives)
					{
						C << "\t\t{ \"" << Name << "\", " << Thunk << " },\n";
					}
					C << "\t};\n\tFNativeFunctionRegistrar::RegisterFunctions(Class, Funcs, UE_ARRAY_COUNT(Funcs));\n";
				}
				C << "}\n";

				const std::string SuperClass = Class.SuperName;
				// A class without a Within of its own inherits its super class's; taking it from the
				// registered super class spares the header the Within class's full declaration.
				std::string WithinFunc = "&" + Class.Name + "::WithinClass::StaticClass";
				if (Class.WithinName.empty())
				{
					WithinFunc = "[]() -> UClass* { UClass* Within = " + Class.Name + "::Super::StaticClass()->ClassWithin; return Within ? Within : UObject::StaticClass(); }";
				}
				C << "UClass* " << Class.Name << "::GetPrivateStaticClass()\n{\n\tstatic UClass* Class = nullptr;\n\tif (!Class)\n\t{\n"
				  << "\t\tGetPrivateStaticClassBody(StaticPackage(), TEXT(\"" << Engine << "\"), Class, &StaticRegisterNatives" << Class.Name
				  << ", sizeof(" << Class.Name << "), alignof(" << Class.Name << "), " << Class.Name << "::StaticClassFlags, " << Class.Name
				  << "::StaticClassCastFlags(), " << Class.Name << "::StaticConfigName(), &InternalConstructor<" << Class.Name << ">, &"
				  << Class.Name << "::AddReferencedObjects, &" << Class.Name << "::Super::StaticClass, " << WithinFunc << ");\n"
				  << "\t}\n\treturn Class;\n}\n";
				C << Api << " UClass* " << Singleton << "_NoRegister()\n{\n\treturn " << Class.Name << "::StaticClass();\n}\n";

				C << "struct " << Singleton << "_Statics\n{\n\tstatic void AddProperties(UStruct* Outer)\n\t{\n";
				int Counter = 0;
				for (const FProperty& P : Class.Properties)
				{
					EmitProperty(C, "\t\t", "Outer", P, Class.Name, Counter);
				}
				C << "\t\t(void)Outer;\n\t}\n};\n";

				C << Api << " UClass* " << Singleton << "()\n{\n\tstatic UClass* OuterSingleton = nullptr;\n\tif (!OuterSingleton)\n\t{\n";
				MetaArray(C, "\t\t", "Meta", Class.Meta);
				C << "\t\tstatic UFunction* (*const Functions[])() = {\n";
				for (const std::string& F : FunctionSingletons)
				{
					C << "\t\t\t&" << F << ",\n";
				}
				if (FunctionSingletons.empty())
				{
					C << "\t\t\tnullptr,\n";
				}
				C << "\t\t};\n";
				C << "\t\tUE::Host::CodeGen::FClassParams Params;\n";
				C << "\t\tParams.ClassFunc = &" << Class.Name << "::StaticClass;\n";
				C << "\t\tParams.AddProperties = &" << Singleton << "_Statics::AddProperties;\n";
				C << "\t\tParams.Functions = Functions;\n\t\tParams.NumFunctions = " << FunctionSingletons.size() << ";\n";
				if (MetaCount)
				{
					MetaAssign(C, "\t\t", "Params", "Meta");
				}
				C << "\t\tUE::Host::CodeGen::ConstructClass(OuterSingleton, Params);\n\t}\n\treturn OuterSingleton;\n}\n";
				C << "template<> " << Api << " UClass* StaticClass<" << Class.Name << ">()\n{\n\treturn " << Class.Name << "::StaticClass();\n}\n";
				if (!Class.bHasDestructor)
				{
					C << Class.Name << "::~" << Class.Name << "() {}\n";
				}
				(void)SuperClass;
				C << "\n";
			}

			bool WriteInit()
			{
				Externs.clear();
				std::ostringstream C;
				C << "// Generated by the header tool: the package of module " << Module << ". Do not edit.\n\n";
				C << "#include \"UObject/GeneratedCppIncludes.h\"\n\n";
				std::vector<std::string> Singletons;
				for (const auto& Header : Session.Headers)
				{
					for (const auto& D : Header->Delegates)
					{
						const std::string S = DelegateSingletonName(D->DelegateName, std::string(), Module);
						C << Api << " UFunction* " << S << "();\n";
						Singletons.push_back(S);
					}
				}
				C << "\n" << Api << " UPackage* " << PackageSingleton(Module) << "()\n{\n\tstatic UPackage* ReturnPackage = nullptr;\n\tif (!ReturnPackage)\n\t{\n";
				C << "\t\tstatic UFunction* (*const Singletons[])() = {\n";
				for (const std::string& S : Singletons)
				{
					C << "\t\t\t&" << S << ",\n";
				}
				if (Singletons.empty())
				{
					C << "\t\t\tnullptr,\n";
				}
				C << "\t\t};\n";
				C << "\t\tUE::Host::CodeGen::FPackageParams Params;\n";
				C << "\t\tParams.Name = TEXT(\"/Script/" << Module << "\");\n";
				C << "\t\tParams.Singletons = Singletons;\n\t\tParams.NumSingletons = " << Singletons.size() << ";\n";
				C << "\t\tUE::Host::CodeGen::ConstructPackage(ReturnPackage, Params);\n\t}\n\treturn ReturnPackage;\n}\n";
				C << "static UE::Host::CodeGen::FRegisterCompiledInPackage Z_CompiledInDeferPackage_" << Module << "(&" << PackageSingleton(Module) << ");\n";
				return WriteFileIfChanged((fs::path(Session.Module.OutDir) / (Module + ".init.gen.cpp")).string(), C.str());
			}
		};
	}

	bool WriteGeneratedFiles(const FSession& Session)
	{
		FGenerator Generator(Session);
		return Generator.Run();
	}
}
